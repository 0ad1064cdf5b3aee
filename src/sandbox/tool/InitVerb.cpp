// The `init` verb: a complete, self-contained sandbox site in a directory:
// the installed PDM tree with stand-in commands, the reference files with
// the DDL repository, Unix accounts, a DB2 instance with catalogued
// databases, an Oracle home and service, the ODBC driver and data sources
// that reach them, and env.sh to source.
#include <crypt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SandboxCommand.h"
#include "SiteFiles.h"
#include "platform/pdm/TAVOVaultServices.h"
#include "sandbox/dbms/SandboxSite.h"
#include "sandbox/tool/ddl/DdlRepository.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* Help =
    "usage: tessardbsetup-sandbox init DIR [--force] [OPTIONS]\n"
    "\n"
    "Creates a sandbox site in DIR (which must be empty, or is replaced with --force).\n"
    "  --password P          password of every account and of SYSTEM (default sandbox)\n"
    "  --admin NAME          PDM administrator account (default pdmadm)\n"
    "  --dictionary NAME     dictionary owner account (default pdmdico)\n"
    "  --instance NAME       DB2 instance and its owner account (default db2inst1)\n"
    "  --unlisted-instance NAME\n"
    "                        a second DB2 instance, with its owner account and the same\n"
    "                        databases, that the site's instance listing does not name\n"
    "  --service NAME        Oracle net service name (default PDMORA)\n"
    "  --ddl-scale N         size of the DDL repository, 1 to 999 (default 1)\n"
    "Then: . DIR/env.sh   and run tessardbsetup.\n";

// The databases every DB2 instance of a site catalogues.
const std::vector<std::string> Db2Aliases = {"PDMDB", "PDMTEST", "PDMREMOT"};

struct SiteOptions {
  std::string site;
  std::string password = "sandbox";
  std::string admin = "pdmadm";
  std::string dictionary = "pdmdico";
  std::string instance = "db2inst1";
  std::string unlistedInstance;
  std::string service = "PDMORA";
  int scale = 1;
};

std::string Hash(const std::string& password) {
  char salt[CRYPT_GENSALT_OUTPUT_SIZE];
  crypt_data data{};
  if (!crypt_gensalt_rn("$6$", 0, nullptr, 0, salt, sizeof salt)) return "*";
  const char* hash = crypt_r(password.c_str(), salt, &data);
  return hash ? hash : "*";
}

void WriteAccounts(const SiteOptions& options) {
  const uid_t uid = getuid();
  const gid_t gid = getgid();
  std::string passwd = "root:x:0:0:root:" + options.site + "/home/root:/bin/sh\n";
  std::string shadow = "root:" + Hash(options.password) + ":20000:0:99999:7:::\n";
  // Every PDM account is the invoking user underneath, so chown works
  // without privileges.
  std::vector<std::string> accounts = {options.admin, options.dictionary, "pdmvault", "pdmclash",
                                       options.instance};
  if (!options.unlistedInstance.empty()) accounts.push_back(options.unlistedInstance);
  for (const std::string& account : accounts) {
    passwd += account + ":x:" + std::to_string(uid) + ":" + std::to_string(gid) + ":" + account +
              ":" + options.site + "/home/" + account + ":/bin/sh\n";
    shadow += account + ":" + Hash(options.password) + ":20000:0:99999:7:::\n";
  }
  WriteSiteFile(options.site + "/etc/passwd", passwd, 0644);
  WriteSiteFile(options.site + "/etc/shadow", shadow, 0600);
  for (const std::string& home : {std::string("root"), options.admin, options.dictionary,
                                  std::string("pdmvault"), std::string("pdmclash")}) {
    fs::create_directories(options.site + "/home/" + home);
  }
}

// An instance in its owner's home: the directory-scan library, the profile,
// and a database directory cataloguing two local databases (their data under
// dataDirectory) and a remote one, all three created in the DBMS.
void WriteDb2Instance(const SiteOptions& options, const std::string& instance,
                      const std::string& dataDirectory, const std::string& executableDirectory) {
  const std::string sqllib = options.site + "/home/" + instance + "/sqllib";
  for (const char* directory : {"/lib", "/lib32", "/sqldbdir", "/bin"}) {
    fs::create_directories(sqllib + directory);
  }
  fs::copy_file(executableDirectory + "/libLK0DB2.so", sqllib + "/lib/libLK0DB2.so",
                fs::copy_options::overwrite_existing);
  WriteSiteFile(sqllib + "/db2profile",
                "# Environment of DB2 instance " + instance + "\nDB2INSTANCE=" + instance +
                    "\nexport DB2INSTANCE\n",
                0644);
  const std::string data = options.site + "/" + dataDirectory;
  fs::create_directories(data + "/PDMDB");
  fs::create_directories(data + "/PDMTEST");
  WriteSiteFile(sqllib + "/sqldbdir/sqldbdir",
                "# System database directory of instance " + instance +
                    "\n# alias|dbname|drive|nodename|type (0 local, 1 remote)|authentication\n"
                    "PDMTEST|PDMTEST|" +
                    data +
                    "/PDMTEST||0|0\n"
                    "PDMREMOT|PDMPROD||NODE1|1|0\n"
                    "PDMDB|PDMDB|" +
                    data + "/PDMDB||0|0\n",
                0644);
  for (const std::string& alias : Db2Aliases) {
    qelsandbox::CreateDatabase(qelsandbox::Db2Location(options.site, instance, alias), instance,
                               options.password);
  }
}

void WriteOracleHome(const SiteOptions& options) {
  const std::string home = options.site + "/oracle";
  for (const char* directory : {"/lib", "/lib32", "/network/admin", "/nls/data", "/bin"}) {
    fs::create_directories(home + directory);
  }
  WriteSiteFile(home + "/network/admin/tnsnames.ora",
                "# Net service names of the sandbox\n" + options.service +
                    " =\n  (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = localhost)(PORT = "
                    "1521))\n    (CONNECT_DATA = (SERVICE_NAME = " +
                    options.service + ")))\n",
                0644);
  qelsandbox::CreateDatabase(qelsandbox::OracleLocation(options.site, options.service), "",
                             options.password);
}

int Initialise(const SiteOptions& options, const std::string& executableDirectory) {
  WriteAccounts(options);
  WriteInstalledTree(options.site, executableDirectory, options.instance);
  WriteReferenceFiles(options.site);
  std::string error;
  if (TAVOVaultServices::EnsureKey(options.site + "/pdm", error) != 0) {
    std::fprintf(stderr, "tessardbsetup-sandbox init: %s\n", error.c_str());
    return ExitError;
  }
  if (WriteDdlRepository(options.site + "/reffiles/DBMS/ddl", options.scale, error) != 0) {
    std::fprintf(stderr, "tessardbsetup-sandbox init: %s\n", error.c_str());
    return ExitError;
  }
  WriteDb2Instance(options, options.instance, "db2data", executableDirectory);
  // As on a machine whose instance listing misses one: only typed in.
  if (!options.unlistedInstance.empty()) {
    WriteDb2Instance(options, options.unlistedInstance, "db2data-" + options.unlistedInstance,
                     executableDirectory);
  }
  WriteOracleHome(options);
  for (const char* directory : {"/settings", "/logs", "/tablespaces", "/ddlout"}) {
    fs::create_directories(options.site + directory);
  }
  WriteOdbcConfiguration(options.site, executableDirectory, options.instance, Db2Aliases,
                         options.service);
  WriteEnvironmentScript(options.site, executableDirectory);
  return ExitOk;
}

std::string ExecutableDirectory() {
  std::error_code ignored;
  const fs::path self = fs::read_symlink("/proc/self/exe", ignored);
  return self.parent_path().string();
}

}  // namespace

int RunInitVerb(const std::vector<std::string>& arguments) {
  CommandOptions parsed;
  std::string error;
  if (!ParseCommandOptions(arguments,
                           {"password", "admin", "dictionary", "instance", "unlisted-instance",
                            "service", "ddl-scale"},
                           {"force", "help"}, parsed, error)) {
    std::fprintf(stderr, "tessardbsetup-sandbox init: %s\n\n%s", error.c_str(), Help);
    return ExitUsage;
  }
  if (parsed.flags.count("help")) {
    std::fputs(Help, stdout);
    return ExitOk;
  }
  if (parsed.positional.size() != 1) {
    std::fprintf(stderr, "tessardbsetup-sandbox init: name one directory\n\n%s", Help);
    return ExitUsage;
  }
  SiteOptions options;
  options.site = fs::absolute(parsed.positional[0]).lexically_normal().string();
  while (options.site.size() > 1 && options.site.back() == '/') options.site.pop_back();
  const auto value = [&](const char* name, std::string& field) {
    if (const auto found = parsed.values.find(name); found != parsed.values.end()) {
      field = found->second;
    }
  };
  value("password", options.password);
  value("admin", options.admin);
  value("dictionary", options.dictionary);
  value("instance", options.instance);
  value("unlisted-instance", options.unlistedInstance);
  if (options.unlistedInstance == options.instance) {
    std::fprintf(stderr, "tessardbsetup-sandbox init: --unlisted-instance names the listed one\n");
    return ExitUsage;
  }
  value("service", options.service);
  if (const auto found = parsed.values.find("ddl-scale"); found != parsed.values.end()) {
    options.scale = std::atoi(found->second.c_str());
    if (options.scale < 1 || options.scale > 999) {
      std::fprintf(stderr, "tessardbsetup-sandbox init: --ddl-scale takes 1 to 999\n");
      return ExitUsage;
    }
  }
  for (char& c : options.service)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

  std::error_code status;
  const bool exists = fs::exists(options.site, status);
  if (exists && !fs::is_directory(options.site)) {
    std::fprintf(stderr, "tessardbsetup-sandbox init: %s is not a directory\n",
                 options.site.c_str());
    return ExitError;
  }
  if (exists && !fs::is_empty(options.site)) {
    if (!parsed.flags.count("force")) {
      std::fprintf(stderr, "tessardbsetup-sandbox init: %s is not empty; --force replaces it\n",
                   options.site.c_str());
      return ExitError;
    }
    for (const auto& entry : fs::directory_iterator(options.site)) fs::remove_all(entry.path());
  }
  fs::create_directories(options.site);
  try {
    const int result = Initialise(options, ExecutableDirectory());
    if (result == ExitOk) {
      std::printf("Sandbox site ready in %s\nUse it with:  . %s/env.sh\n", options.site.c_str(),
                  options.site.c_str());
    }
    return result;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "tessardbsetup-sandbox init: %s\n", failure.what());
    return ExitError;
  }
}
