-- insert_COLLABWS.sql: COLLABWS modeler, reference rows the PDM server expects.
-- Collaborative workspaces: their members and access, the objects shared in them, discussions.
-- Oracle script (SQL*Plus): each statement ends with ';'.
-- The installer replaces $(SCHEMA), $(ACCOUNT), $(TABLESPACE) and $(BLOB_TABLESPACE)
-- before it plays a statement, and commits itself.
-- Generated from sandbox/model/COLLABWS.model: change the model, not this file.

INSERT INTO $(SCHEMA).COLLAB_ACCESS (ACCESS_CODE, DESCRIPTION)
  VALUES ('READ', 'Sees the shared objects');

INSERT INTO $(SCHEMA).COLLAB_ACCESS (ACCESS_CODE, DESCRIPTION, CAN_WRITE)
  VALUES ('WRITE', 'Also changes them and shares new ones', 1);

INSERT INTO $(SCHEMA).COLLAB_ACCESS (ACCESS_CODE, DESCRIPTION, CAN_WRITE)
  VALUES ('OWNER', 'Also manages the members', 1);
