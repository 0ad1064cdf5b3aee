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
std::string chmodRoot;

// The repository and its tmp are shared by everyone; secured0 and every
// directory inside it stay closed to others, however often the tree is
// walked again.
int ChmodEntry(const char* path, const struct stat*, int type, FTW*) {
  if (type != FTW_D && type != FTW_DP) return 0;
  const std::string secured = chmodRoot + "/secured0";
  const std::string entry = path;
  const bool inSecured = entry.compare(0, secured.size(), secured) == 0 &&
                         (entry.size() == secured.size() || entry[secured.size()] == '/');
  return chmod(path, inSecured ? 0755 : 0777) == 0 ? 0 : -1;
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
  chmodRoot = path.str();
  while (chmodRoot.size() > 1 && chmodRoot.back() == '/') chmodRoot.pop_back();
  return nftw(path.c_str(), ChmodEntry, 16, FTW_PHYS) == 0 ? 0 : -1;
}

int ZEPChown(const QelUnicodeString& path, int uid, int gid) {
  ownerUid = static_cast<uid_t>(uid);
  ownerGid = static_cast<gid_t>(gid);
  return nftw(path.c_str(), ChownEntry, 16, FTW_PHYS) == 0 ? 0 : -1;
}
