// The sandbox site's DDL repository: the base, custo_, insert_ and grant_
// files of every modeler in both dialects, rendered from one model each.
#pragma once

#include <string>
#include <vector>

#include "sandbox/tool/ddl/DdlModel.h"

// The modelers in installation order; VAULTFILE, installed with the vault
// only, comes last.
const std::vector<std::string>& DdlModelerNames();

// The name files of the modeler start from: ZEP_VAULTFILE for VAULTFILE.
std::string DdlBaseFileName(const std::string& modeler);

// "custo_PEOPLE.clp", "ZEP_VAULTFILE.sql" and the like.
std::string DdlFileName(const std::string& modeler, DdlFileRole role, DdlDialect dialect);

// Reads the models built into the program, in installation order. false
// with the reason ("PEOPLE.model:12: ...") in error.
bool LoadDdlModels(DdlModelSet& models, std::string& error);

// custo_ and insert_ files exist only when the model has something for them.
bool HasDdlFile(const DdlModeler& modeler, DdlFileRole role);

// The text of one file. Scale n repeats every object n times: the first copy
// with the model's names, copy k with "_k" after every object name.
std::string RenderDdlFile(const DdlModeler& modeler, DdlFileRole role, DdlDialect dialect,
                          int scale);

// Writes every file of every modeler in both dialects into directory,
// creating it; files of the same names are replaced. Scale 1 to 999. 0, or
// -1 with the reason in error.
int WriteDdlRepository(const std::string& directory, int scale, std::string& error);
