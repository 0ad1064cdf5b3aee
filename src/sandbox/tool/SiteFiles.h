// The files of a sandbox site that stand for an installed PDM machine: the
// installed tree with its stand-in commands, the reference files, and the
// environment script.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Writes content to path (parents created) with mode; throws on failure.
void WriteSiteFile(const std::string& path, const std::string& content, mode_t mode);

// QelInstallPath: code/command with the stand-in commands (each records its
// call in <site>/calls.log), code/bin, the vault properties, Orbix.cfg and
// the clash scripts.
void WriteInstalledTree(const std::string& site, const std::string& executableDirectory,
                        const std::string& db2Instance);

// QelReffilesPath's samples, QelDictionaryPath's project file and the
// runtime's environment file.
void WriteReferenceFiles(const std::string& site);

// <site>/env.sh: every variable the wizard reads, and a PATH on which the
// site's commands and the program are found.
void WriteEnvironmentScript(const std::string& site, const std::string& executableDirectory);

// <site>/odbc: odbcinst.ini registering the sandbox's ODBC driver (beside
// the command in executableDirectory) once per dialect under its own names
// and under the default names "DB2" and "Oracle", and odbc.ini with a data
// source named after each DB2 alias of db2Instance and after the Oracle
// service.
void WriteOdbcConfiguration(const std::string& site, const std::string& executableDirectory,
                            const std::string& db2Instance,
                            const std::vector<std::string>& db2Aliases,
                            const std::string& oracleService);
