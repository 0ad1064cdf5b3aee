// Tree walks with nftw: FTW_PHYS so that a link planted in the tree never
// makes the wizard change something outside it.
#include "QelDirectories.h"

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "QelSecureFile.h"

namespace {

uid_t ownerUid = 0;
gid_t ownerGid = 0;

int ChmodEntry(const char* path, const struct stat*, int type, FTW* position) {
  if (type != FTW_D && type != FTW_DP) return 0;
  const bool secured = std::strcmp(path + position->base, "secured0") == 0;
  return chmod(path, secured ? 0755 : 0777) == 0 ? 0 : -1;
}

int ChownEntry(const char* path, const struct stat*, int, FTW*) {
  return lchown(path, ownerUid, ownerGid) == 0 ? 0 : -1;
}

}  // namespace

int CreateDirRecurs(const QelUnicodeString& path) {
  std::string directory = path.str();
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return QelMakeDirectories(directory, 0755);
}

int ZEPChmod(const QelUnicodeString& path) {
  return nftw(path.c_str(), ChmodEntry, 16, FTW_PHYS) == 0 ? 0 : -1;
}

int ZEPChown(const QelUnicodeString& path, int uid, int gid) {
  ownerUid = static_cast<uid_t>(uid);
  ownerGid = static_cast<gid_t>(gid);
  return nftw(path.c_str(), ChownEntry, 16, FTW_PHYS) == 0 ? 0 : -1;
}
