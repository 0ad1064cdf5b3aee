// The machine-side checks of a check-only run: directories, files the last
// steps edit, commands they start, host names, ports and the scratch
// directory of the generated scripts. Each adds what it finds to the report
// and changes nothing.
#pragma once

#include <string>

#include "ZEP2ValidationReport.h"

// A directory the installation writes into: it exists, is a directory, is
// writable, lies on a file system mounted read-write and, when ownerUid is
// not -1, belongs to that account with at least the bits of mode for it.
void ZEP2CheckDirectory(ZEP2ValidationReport& report, const std::string& check,
                        const std::string& path, int ownerUid, unsigned mode);

// A directory the installation creates when it is missing: checked as
// above when it exists, otherwise its nearest existing parent must let it
// be created (a writable directory on a file system mounted read-write).
void ZEP2CheckCreatableDirectory(ZEP2ValidationReport& report, const std::string& check,
                                 const std::string& path, int ownerUid, unsigned mode);

// A file the last steps rewrite: present, a regular file and no symbolic
// link, writable, in a writable directory (the new content is written
// beside it and renamed), on a file system mounted read-write.
void ZEP2CheckEditableFile(ZEP2ValidationReport& report, const std::string& check,
                           const std::string& path);

// A command the last steps start: present and executable.
void ZEP2CheckCommand(ZEP2ValidationReport& report, const std::string& check,
                      const std::string& path);

// The directory the generated scripts are written to and run from: not
// read-only, not mounted noexec, with room for them.
void ZEP2CheckScriptDirectory(ZEP2ValidationReport& report, const std::string& path);

// Free space of the file system holding path against kilobytes needed.
void ZEP2CheckFreeSpace(ZEP2ValidationReport& report, const std::string& check,
                        const std::string& path, long long neededKilobytes);

// A host name the PDM server will reach: it resolves.
void ZEP2CheckHostName(ZEP2ValidationReport& report, const std::string& check,
                       const std::string& host);

// A port number answer: a number from 1 to 65535.
void ZEP2CheckPort(ZEP2ValidationReport& report, const std::string& check, const std::string& port);
