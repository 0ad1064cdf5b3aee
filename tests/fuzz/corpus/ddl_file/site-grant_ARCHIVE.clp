-- grant_ARCHIVE.clp: ARCHIVE modeler, rights of the PDM administrator on every table, view and sequence.
-- Archive: media, archiving batches, archived objects with their content, and restore requests.
-- DB2 command-line script (db2 -tvf): each statement ends with ';'.
-- The installer replaces $(SCHEMA), $(ACCOUNT), $(TABLESPACE) and $(BLOB_TABLESPACE)
-- before it plays a statement, and commits itself.
-- Generated from sandbox/model/ARCHIVE.model: change the model, not this file.

GRANT SELECT, INSERT, UPDATE, DELETE ON TABLE $(SCHEMA).ARCHIVE_MEDIUM TO USER $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON TABLE $(SCHEMA).ARCHIVE_BATCH TO USER $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON TABLE $(SCHEMA).ARCHIVE_ENTRY TO USER $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON TABLE $(SCHEMA).ARCHIVE_RESTORE TO USER $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON TABLE $(SCHEMA).ARCHIVE_V_OPEN_BATCH TO USER $(ACCOUNT);

GRANT SELECT, INSERT, UPDATE, DELETE ON TABLE $(SCHEMA).ARCHIVE_V_PENDING_RESTORE TO USER $(ACCOUNT);

GRANT USAGE ON SEQUENCE $(SCHEMA).ARCHIVE_SEQ_BATCH TO USER $(ACCOUNT);

GRANT USAGE ON SEQUENCE $(SCHEMA).ARCHIVE_SEQ_ENTRY TO USER $(ACCOUNT);
