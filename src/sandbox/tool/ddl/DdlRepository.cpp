// Where the DDL repository's files go and what they are called, the
// built-in models read in installation order, and the writing of the files.
#include "sandbox/tool/ddl/DdlRepository.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "engine/ZEP2ModelerNames.h"
#include "sandbox/tool/ddl/DdlModelTexts.h"

namespace {

// Copy k of a scaled repository appends "_k" to names of up to 26
// characters: beyond "_999" they would pass Oracle's 30.
constexpr int MaxScale = 999;

const DdlModelText* FindModel(const std::string& file) {
  for (std::size_t i = 0; i < DdlBuiltInModelCount; ++i) {
    if (file == DdlBuiltInModels[i].file) return &DdlBuiltInModels[i];
  }
  return nullptr;
}

bool WriteFile(const std::string& path, const std::string& text, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (out) out.close();
  if (!out) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

const std::vector<std::string>& DdlModelerNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all(ZEP2ModelerNames.begin(), ZEP2ModelerNames.end());
    all.emplace_back(ZEP2VaultModelerName);
    return all;
  }();
  return names;
}

std::string DdlBaseFileName(const std::string& modeler) {
  return modeler == ZEP2VaultModelerName ? "ZEP_" + modeler : modeler;
}

std::string DdlFileName(const std::string& modeler, DdlFileRole role, DdlDialect dialect) {
  static const char* const prefixes[] = {"", "custo_", "insert_", "grant_"};
  return prefixes[static_cast<int>(role)] + DdlBaseFileName(modeler) +
         (dialect == DdlDialect::Db2 ? ".clp" : ".sql");
}

bool LoadDdlModels(DdlModelSet& models, std::string& error) {
  std::set<std::string> expected;
  for (const std::string& name : DdlModelerNames()) {
    const std::string file = name + ".model";
    expected.insert(file);
    const DdlModelText* model = FindModel(file);
    if (!model) {
      error = "no model for the modeler " + name + " (sandbox/model/" + file + ")";
      return false;
    }
    if (!models.Add(model->text, file, error)) return false;
  }
  // A model of a name the installer never asks for would be silently unused.
  for (std::size_t i = 0; i < DdlBuiltInModelCount; ++i) {
    if (!expected.count(DdlBuiltInModels[i].file)) {
      error = std::string("sandbox/model/") + DdlBuiltInModels[i].file + " is no modeler's model";
      return false;
    }
  }
  return true;
}

int WriteDdlRepository(const std::string& directory, int scale, std::string& error) {
  if (scale < 1 || scale > MaxScale) {
    error = "the scale is 1 to " + std::to_string(MaxScale) + ", not " + std::to_string(scale);
    return -1;
  }
  DdlModelSet models;
  if (!LoadDdlModels(models, error)) return -1;
  std::error_code failure;
  std::filesystem::create_directories(directory, failure);
  if (failure) {
    error = "cannot create " + directory + ": " + failure.message();
    return -1;
  }
  for (const DdlModeler& modeler : models.Modelers()) {
    for (const DdlFileRole role :
         {DdlFileRole::Base, DdlFileRole::Custo, DdlFileRole::Insert, DdlFileRole::Grant}) {
      if (!HasDdlFile(modeler, role)) continue;
      for (const DdlDialect dialect : {DdlDialect::Db2, DdlDialect::Oracle}) {
        const std::string path = directory + "/" + DdlFileName(modeler.name, role, dialect);
        if (!WriteFile(path, RenderDdlFile(modeler, role, dialect, scale), error)) return -1;
      }
    }
  }
  return 0;
}
