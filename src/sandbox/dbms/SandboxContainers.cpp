// Creating and removing tablespace containers.
#include "SandboxContainers.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace qelsandbox {

namespace fs = std::filesystem;

ContainerResult CreateDataFile(const std::string& path, long long bytes, bool reuse) {
  const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (reuse ? 0 : O_EXCL);
  const int descriptor = open(path.c_str(), flags, 0600);
  if (descriptor < 0) {
    return errno == EEXIST ? ContainerResult::AlreadyExists : ContainerResult::Failed;
  }
  const bool sized = ftruncate(descriptor, bytes) == 0;
  close(descriptor);
  return sized ? ContainerResult::Created : ContainerResult::Failed;
}

ContainerResult CreateContainerDirectory(const std::string& path) {
  std::error_code error;
  if (fs::exists(path, error)) {
    return fs::is_directory(path, error) && fs::is_empty(path, error)
               ? ContainerResult::Adopted
               : ContainerResult::AlreadyExists;
  }
  fs::create_directories(path, error);
  return error ? ContainerResult::Failed : ContainerResult::Created;
}

void RemoveContainer(const std::string& path) {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

}  // namespace qelsandbox
