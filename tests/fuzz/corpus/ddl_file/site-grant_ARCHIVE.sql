-- grant_ARCHIVE.sql: ARCHIVE modeler, rights of the PDM administrator on every table, view and sequence.
-- Archive: media, archiving batches, archived objects with their content, and restore requests.
-- Oracle script (SQL*Plus): each statement ends with ';'.
-- The installer replaces $(SCHEMA), $(ACCOUNT), $(TABLESPACE) and $(BLOB_TABLESPACE)
-- before it plays a statement, and commits itself.
-- Generated from sandbox/model/ARCHIVE.model: change the model, not this file.

GRANT SELECT, INSERT, UPDATE, DELETE ON $(SCHEMA).ARCHIVE_MEDIUM TO $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON $(SCHEMA).ARCHIVE_BATCH TO $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON $(SCHEMA).ARCHIVE_ENTRY TO $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON $(SCHEMA).ARCHIVE_RESTORE TO $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON $(SCHEMA).ARCHIVE_V_OPEN_BATCH TO $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON $(SCHEMA).ARCHIVE_V_PENDING_RESTORE TO $(ACCOUNT);

GRANT SELECT ON $(SCHEMA).ARCHIVE_SEQ_BATCH TO $(ACCOUNT);

GRANT SELECT ON $(SCHEMA).ARCHIVE_SEQ_ENTRY TO $(ACCOUNT);
