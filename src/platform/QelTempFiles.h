// The program's files in the temporary directory: what a run writes there
// goes when the run ends, and what a killed run left goes at the next start,
// never a file of a run still going on, of another user, or behind a link.
#pragma once

#include <string>
#include <vector>

// Whether name (a directory entry) is one of the program's temporary files;
// pid is the process id the name carries (zep2inst<pid>.sh), 0 when none.
bool QelIsTempFileName(const std::string& name, int& pid);

// Removes what earlier runs left in directory: names of the program
// (QelIsTempFileName) that are plain files of this user with one link, and
// either carry the id of a process that is gone or, when no other run holds
// the directory, carry none. Then holds the directory (a shared lock) for
// as long as the returned descriptor stays open, which tells later starts
// that this run goes on. removed gets the names removed; -1 when the
// directory cannot be opened (nothing removed).
int QelClaimTempDirectory(const std::string& directory, std::vector<std::string>& removed);

// The same for "/tmp", held until the process ends; the names removed.
std::vector<std::string> QelClaimTempDirectory();

// path goes at the end of the process (QelRemoveTempFiles) if it is then a
// plain file of this user with one link.
void QelRemoveAtEnd(const std::string& path);
void QelRemoveTempFiles();
