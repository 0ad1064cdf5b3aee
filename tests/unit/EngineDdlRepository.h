// A small DDL repository for the engine tests: CDMSTEP with all four files
// and ZEPADMIN with its base file, in both dialects; every other modeler of
// the catalogue has no file, as a repository may ship them.
#pragma once

#include <string>

struct EngineDdlFile {
  const char* name;
  const char* text;
};

inline constexpr EngineDdlFile EngineDb2Files[] = {
    {"CDMSTEP.clp",
     "-- the base file\n"
     "CONNECT TO SAMPLE;\n"
     "CREATE TABLE $(SCHEMA).CDM_PART (ID INTEGER NOT NULL);\n"
     "CREATE TABLE $(SCHEMA).CDM_LINK (ID INTEGER NOT NULL);\n"
     "CREATE VIEW $(SCHEMA).CDM_PARTS AS SELECT ID FROM $(SCHEMA).CDM_PART;\n"},
    {"custo_CDMSTEP.clp", "CREATE TABLE $(SCHEMA).CDM_SITE (ID INTEGER NOT NULL);\n"},
    {"insert_CDMSTEP.clp", "INSERT INTO $(SCHEMA).CDM_SITE VALUES (1);\n"},
    {"grant_CDMSTEP.clp", "GRANT SELECT ON $(SCHEMA).CDM_PART TO USER $(ACCOUNT);\n"},
    {"ZEPADMIN.clp",
     "CREATE TABLE $(SCHEMA).ZEP_ADMIN (ID INTEGER NOT NULL);\n"
     "CREATE INDEX $(SCHEMA).ZEP_ADMIN_IX ON $(SCHEMA).ZEP_ADMIN (ID);\n"},
};

inline constexpr EngineDdlFile EngineOracleFiles[] = {
    {"CDMSTEP.sql",
     "-- the base file\n"
     "SET ECHO ON\n"
     "CREATE TABLE $(SCHEMA).CDM_PART (ID INTEGER NOT NULL);\n"
     "CREATE TABLE $(SCHEMA).CDM_LINK (ID INTEGER NOT NULL);\n"
     "CREATE VIEW $(SCHEMA).CDM_PARTS AS SELECT ID FROM $(SCHEMA).CDM_PART;\n"},
    {"custo_CDMSTEP.sql", "CREATE TABLE $(SCHEMA).CDM_SITE (ID INTEGER NOT NULL);\n"},
    {"insert_CDMSTEP.sql", "INSERT INTO $(SCHEMA).CDM_SITE VALUES (1);\n"},
    {"grant_CDMSTEP.sql", "GRANT SELECT ON $(SCHEMA).CDM_PART TO $(ACCOUNT);\n"},
    {"ZEPADMIN.sql",
     "CREATE TABLE $(SCHEMA).ZEP_ADMIN (ID INTEGER NOT NULL);\n"
     "CREATE INDEX $(SCHEMA).ZEP_ADMIN_IX ON $(SCHEMA).ZEP_ADMIN (ID);\n"},
};
