// Writing the DBA's bundle: the scripts read back and derived, their
// checksums, and the directory made anew, owner-only.
#include "ZEP2DDLBundle.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/QelSecureFile.h"
#include "platform/db/QelDb.h"
#include "platform/db/QelDbScript.h"
#include "platform/db/QelZepDDLFile.h"

namespace {

constexpr const char* ForwardName = "forward.sql";
constexpr const char* ReverseName = "reverse.sql";
constexpr const char* ManifestName = "MANIFEST";
constexpr const char* ReadmeName = "README";

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An earlier bundle of the same DDL file goes, but only what a bundle holds:
// a directory with anything else in it is the administrator's, not ours.
int RemoveEarlier(const std::string& directory, std::string& error) {
  struct stat info {};
  if (lstat(directory.c_str(), &info) != 0) {
    if (errno == ENOENT) return 0;
    error = directory + ": " + std::strerror(errno);
    return -1;
  }
  if (!S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
    error = directory + " is in the way: " + QelDescribePath(directory);
    return -1;
  }
  for (const char* name : {ForwardName, ReverseName, ManifestName, ReadmeName}) {
    const std::string path = directory + "/" + name;
    if (unlink(path.c_str()) != 0 && errno != ENOENT) {
      error = path + ": " + std::strerror(errno);
      return -1;
    }
  }
  if (rmdir(directory.c_str()) != 0) {
    error = directory + " holds files of its own and is not replaced: " + std::strerror(errno);
    return -1;
  }
  return 0;
}

int WriteFile(const std::string& path, const std::string& content, std::string& error) {
  const int descriptor = QelCreateExclusiveFile(path, 0600, error);
  if (descriptor < 0) return -1;
  const bool written = QelWriteAll(descriptor, content);
  if (!written) error = path + ": " + std::strerror(errno);
  if (close(descriptor) != 0 && written) {
    error = path + ": " + std::strerror(errno);
    return -1;
  }
  return written ? 0 : -1;
}

}  // namespace

std::string ZEP2Sha256Hex(std::string_view content) {
  unsigned char digest[crypto_hash_sha256_BYTES];
  crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(content.data()),
                     content.size());
  static constexpr char Digits[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char byte : digest) {
    hex += Digits[byte >> 4];
    hex += Digits[byte & 0xF];
  }
  return hex;
}

std::string ZEP2BundleManifest(const std::string& dbms, const std::string& database,
                               const std::string& date, const std::vector<ZEP2BundleFile>& files) {
  std::string manifest =
      "# tessardbsetup DBA bundle. Check it in this directory with: sha256sum -c --strict "
      "MANIFEST\n# dbms: " +
      dbms + "\n# database: " + database + "\n# generated: " + date + "\n";
  for (const ZEP2BundleFile& file : files) {
    if (file.statements >= 0) {
      manifest += "# statements: " + file.name + " " + std::to_string(file.statements) + "\n";
    }
  }
  for (const ZEP2BundleFile& file : files) {
    manifest += ZEP2Sha256Hex(file.content) + "  " + file.name + "\n";
  }
  return manifest;
}

ZEP2DDLBundle::ZEP2DDLBundle(int dbms, std::string database, std::string dbaUser,
                             std::string ddlPath, int descriptor)
    : dbms_(dbms),
      database_(std::move(database)),
      dbaUser_(std::move(dbaUser)),
      ddlPath_(std::move(ddlPath)),
      descriptor_(descriptor) {}

ZEP2DDLBundle::~ZEP2DDLBundle() {
  if (descriptor_ >= 0) close(descriptor_);
}

void ZEP2DDLBundle::Written(const std::string& undo) {
  ++forwardStatements_;
  if (!undo.empty()) undos_.push_back(undo);
}

std::string ZEP2DDLBundle::ReverseScript(const std::string& date) const {
  std::string script = "-- Reverse of " + BaseName(ddlPath_) + ", generated " + date +
                       "\n-- Undoes " + ForwardName +
                       ", last statement first, as the installer's rollback does;\n"
                       "-- the tablespaces go last.\n\n";
  for (auto undo = undos_.rbegin(); undo != undos_.rend(); ++undo) {
    script += QelDbScriptForm(dbms_, QelSqlType::Drop, *undo);
  }
  return script;
}

std::string ZEP2DDLBundle::Readme(const std::string& date) const {
  const bool db2 = dbms_ == QelDbDB2;
  const std::string dba = dbaUser_.empty() ? std::string("<DBA>") : dbaUser_;
  std::string text =
      "DBA bundle of the DDL file " + BaseName(ddlPath_) + "\nGenerated " + date +
      " by tessardbsetup for the " + (db2 ? "DB2 database " : "Oracle service ") + database_ +
      ".\n\n"
      "Files\n"
      "  forward.sql  the DDL file as generated: tablespaces, users, rights and the\n"
      "               PDM schemas. It holds the passwords of the users it creates:\n"
      "               keep it private.\n"
      "  reverse.sql  undoes forward.sql, last statement first, as the installer's\n"
      "               rollback does, and drops the tablespaces last.\n"
      "  MANIFEST     the statement counts and the SHA-256 of every file.\n\n"
      "1. Check that no file was changed since it was generated (in this "
      "directory):\n"
      "     sha256sum -c --strict MANIFEST\n"
      "   Every file must say OK. A FAILED file is not the one generated: do not run "
      "it.\n\n";
  if (db2) {
    text += "2. Play the forward script as a DBA of " + database_ +
            ", stopping at the first error:\n"
            "     db2 CONNECT TO " +
            database_ + " USER " + dba +
            "\n"
            "     db2 -tvsf forward.sql\n"
            "     db2 CONNECT RESET\n\n"
            "3. To undo it, going on past an undo that finds nothing left to undo:\n"
            "     db2 CONNECT TO " +
            database_ + " USER " + dba +
            "\n"
            "     db2 -tvf reverse.sql\n"
            "     db2 CONNECT RESET\n\n";
  } else {
    text += "2. Play the forward script as a DBA of " + database_ +
            ", stopping at the first error:\n"
            "     sqlplus -L " +
            dba + "@" + database_ +
            "\n"
            "     SQL> WHENEVER SQLERROR EXIT FAILURE\n"
            "     SQL> @forward.sql\n"
            "     SQL> EXIT\n\n"
            "3. To undo it, going on past an undo that finds nothing left to undo:\n"
            "     sqlplus -L " +
            dba + "@" + database_ +
            "\n"
            "     SQL> WHENEVER SQLERROR CONTINUE\n"
            "     SQL> @reverse.sql\n"
            "     SQL> EXIT\n\n";
  }
  text +=
      "On a sandbox site (after . SITE/env.sh) the sandbox's runner plays them the same way;\n"
      "it reads the password from $TESSARDBSETUP_SQL_PASSWORD or asks for it:\n"
      "     tessardbsetup-sandbox sql " +
      database_ + " -u " + dba +
      " -f forward.sql\n"
      "     tessardbsetup-sandbox sql " +
      database_ + " -u " + dba + " -f reverse.sql --continue\n";
  return text;
}

bool ZEP2DDLBundle::ReadForward(std::string& content, std::string& error) const {
  content.clear();
  char buffer[65536];
  for (off_t offset = 0;;) {
    const ssize_t count = pread(descriptor_, buffer, sizeof buffer, offset);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      error = ddlPath_ + ": " + std::strerror(errno);
      return false;
    }
    if (count == 0) return true;
    content.append(buffer, static_cast<std::size_t>(count));
    offset += count;
  }
}

int ZEP2DDLBundle::Write(std::string& error) const {
  const std::string directory = Directory();
  std::vector<ZEP2BundleFile> files(3);
  files[0].name = ForwardName;
  files[0].statements = forwardStatements_;
  if (!ReadForward(files[0].content, error)) return -1;
  char date[64];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
  files[1] = {ReverseName, ReverseScript(date), static_cast<int>(undos_.size())};
  files[2] = {ReadmeName, Readme(date), -1};
  if (RemoveEarlier(directory, error) != 0) return -1;
  if (mkdir(directory.c_str(), 0700) != 0) {
    error = directory + ": " + std::strerror(errno);
    return -1;
  }
  for (const ZEP2BundleFile& file : files) {
    if (WriteFile(directory + "/" + file.name, file.content, error) != 0) return -1;
  }
  const std::string manifest =
      ZEP2BundleManifest(dbms_ == QelDbDB2 ? "DB2" : "Oracle", database_, date, files);
  return WriteFile(directory + "/" + ManifestName, manifest, error);
}
