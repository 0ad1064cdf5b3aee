// Tablespace containers on disk: DB2 directories and Oracle data files.
#pragma once

#include <string>

namespace qelsandbox {

// Adopted: an existing empty directory, left in place when the creation is
// undone.
enum class ContainerResult { Created, Adopted, AlreadyExists, Failed };

// A sparse data file of bytes bytes. An existing file is kept and reused
// only when reuse is set.
ContainerResult CreateDataFile(const std::string& path, long long bytes, bool reuse);
// A container directory and its missing parents; an existing empty
// directory is taken over, a non-empty one or a file is refused.
ContainerResult CreateContainerDirectory(const std::string& path);
// Removes a container (file or directory with its content); a missing one
// is no error.
void RemoveContainer(const std::string& path);

}  // namespace qelsandbox
