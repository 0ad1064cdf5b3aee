-- custo_ELECTRICAL.clp: ELECTRICAL modeler, site customisation: added columns, site views and comments.
-- Electrical harnesses: connectors and their pins, the wires between pins, and the signals they carry.
-- DB2 command-line script (db2 -tvf): each statement ends with ';'.
-- The installer replaces $(SCHEMA), $(ACCOUNT), $(TABLESPACE) and $(BLOB_TABLESPACE)
-- before it plays a statement, and commits itself.
-- Generated from sandbox/model/ELECTRICAL.model: change the model, not this file.

ALTER TABLE $(SCHEMA).ELEC_WIRE ADD COLUMN SHIELDED SMALLINT NOT NULL DEFAULT 0;

COMMENT ON COLUMN $(SCHEMA).ELEC_WIRE.SHIELDED IS '1 for a shielded wire, which the site routes apart.';
