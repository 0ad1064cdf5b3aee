// Site files. The stand-in commands append one line per call (name,
// arguments, the DBMS environment) to <site>/calls.log and exit with
// $TESSARDBSETUP_STANDIN_EXIT_<NAME> (default 0), so tests can make any of
// them fail.
#include "SiteFiles.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string StandIn(const std::string& site, const std::string& name, const std::string& extra) {
  std::string variable = name;
  for (char& c : variable) {
    if (c == '.') c = '_';
  }
  return "#!/bin/sh\n"
         "# Stand-in for the PDM command " +
         name +
         ": records the call, then succeeds\n"
         "# unless TESSARDBSETUP_STANDIN_EXIT_" +
         variable +
         " asks for another status.\n"
         "{\n"
         "  printf '%s' '" +
         name +
         "'\n"
         "  for argument in \"$@\"; do printf ' %s' \"$argument\"; done\n"
         "  printf ' | DB2INSTANCE=%s ORACLE_HOME=%s TNS_ADMIN=%s\\n' \"$DB2INSTANCE\" "
         "\"$ORACLE_HOME\" \"$TNS_ADMIN\"\n"
         "} >>'" +
         site + "/calls.log'\n" + extra + "exit \"${TESSARDBSETUP_STANDIN_EXIT_" + variable +
         ":-0}\"\n";
}

}  // namespace

void WriteSiteFile(const std::string& path, const std::string& content, mode_t mode) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!(file << content)) throw std::runtime_error("cannot write " + path);
  file.close();
  fs::permissions(path, static_cast<fs::perms>(mode), fs::perm_options::replace);
}

void WriteInstalledTree(const std::string& site, const std::string& executableDirectory,
                        const std::string& db2Instance) {
  const std::string install = site + "/pdm";
  const std::string commands = install + "/code/command";
  for (const char* name : {"LK0ADSRB", "RegisterVaultStarter"}) {
    WriteSiteFile(commands + "/" + name, StandIn(site, name, ""), 0755);
  }
  const std::string implementations = install + "/startup/orbix/config/Repositories/ImpRep";
  WriteSiteFile(commands + "/RegisterTavoClashStarter",
                StandIn(site, "RegisterTavoClashStarter",
                        "# A successful registration leaves the server's implementation entry.\n"
                        "if [ \"${TESSARDBSETUP_STANDIN_EXIT_RegisterTavoClashStarter:-0}\" = 0 ]; "
                        "then\n"
                        "  printf 'server TESSARClashServer\\nlauncher %s\\n' "
                        "\"$QelCommandPath/RunTavoClashStarter\" >'" +
                            implementations +
                            "/TESSARClashServer.imp'\n"
                            "fi\n"),
                0755);
  // The Orbix daemon's stand-in: a process named orbixd that runs until it
  // is stopped (tessardbsetup-sandbox orbixd start|stop).
  WriteSiteFile(install + "/startup/orbix/bin/orbixd",
                "#!/bin/sh\n# Stand-in for the Orbix daemon: stays until it is stopped.\n"
                "trap 'exit 0' TERM INT\nwhile :; do sleep 1; done\n",
                0755);
  WriteSiteFile(commands + "/SetEnv",
                StandIn(site, "SetEnv",
                        "# SetEnv -c COMMAND runs the PDM command in the PDM environment.\n"
                        "if [ \"$1\" = \"-c\" ] && [ -x \"$QelCommandPath/$2\" ]; then\n"
                        "  command=$2; shift 2; \"$QelCommandPath/$command\" \"$@\" || exit $?\n"
                        "fi\n"),
                0755);
  WriteSiteFile(commands + "/GetDB2IList.sh",
                StandIn(site, "GetDB2IList.sh",
                        "# The instances of this machine, for the wizard to read.\n"
                        "printf '%s\\n' '" +
                            db2Instance + "' >/tmp/ZEP2_db2ilist_result.txt\n"),
                0755);
  const fs::path program = fs::path(executableDirectory) / "tessardbsetup";
  fs::remove(commands + "/WQ0INST");
  fs::create_symlink(program, commands + "/WQ0INST");
  WriteSiteFile(install + "/code/bin/ZEPVaultStarter", StandIn(site, "ZEPVaultStarter", ""), 0755);
  WriteSiteFile(install + "/docs/java/VaultServer.properties",
                "# Vault server settings\n"
                "VaultServer_HostName = localhost\n"
                "VaultServer_DaemonPort = 6100\n"
                "VaultServer_DBName = UNSET\n"
                "VaultServer_DBVendor = UNSET\n"
                "VaultServer_DBUser = UNSET\n"
                "VaultServer_DBPassword = UNSET\n"
                "VaultServer_Repo_0_Path = /unset\n"
                "VaultServer_LogLevel = INFO\n",
                0644);
  WriteSiteFile(install + "/startup/orbix/Orbix.cfg",
                "# Orbix daemon configuration\nIT_DAEMON_PORT 1570\nIT_IMP_REP_PATH " +
                    implementations + "\n",
                0644);
  fs::create_directories(implementations);
  WriteSiteFile(commands + "/RunTavoClashStarter",
                "#!/bin/sh\n# Starts the clash server as its administrator\nZEPADM_UID=0\n"
                "ZEPADM_GID=0\nexec \"$QelCommandPath/RunTavoClashServer\" \"$@\"\n",
                0755);
  WriteSiteFile(commands + "/RunTavoClashServer",
                "#!/bin/sh\n# The clash server\nexport HOME=/\nCLASH_OUTDIR=/tmp\n"
                "echo \"clash server for $HOME writing to $CLASH_OUTDIR\"\n",
                0755);
  WriteSiteFile(commands + "/Tessar_ITFCHECK",
                "#!/bin/sh\n# Checks that the Orbix daemon answers\nIT_DAEMON_PORT=1570\n"
                "QelvarV5installPath=/opt/cad\nexit 0\n",
                0755);
}

void WriteEnvironmentScript(const std::string& site, const std::string& executableDirectory) {
  WriteSiteFile(site + "/env.sh",
                "# Source this file (. env.sh) to run the wizard against this sandbox site.\n"
                "export TESSARDBSETUP_SANDBOX='" +
                    site +
                    "'\n"
                    "export QelInstallPath='" +
                    site +
                    "/pdm'\n"
                    "export QelCommandPath='" +
                    site +
                    "/pdm/code/command'\n"
                    "export QelReffilesPath='" +
                    site +
                    "/reffiles'\n"
                    "export QelDictionaryPath='" +
                    site +
                    "/dictionary'\n"
                    "export QelUserSettingPath='" +
                    site +
                    "/settings'\n"
                    "export QelvarV5_environment_name=TESSAR\n"
                    "export QelvarV5_environment_directory='" +
                    site +
                    "/runtime/env'\n"
                    "export TESSARDBSETUP_LOGDIR='" +
                    site +
                    "/logs'\n"
                    "export ODBCSYSINI='" +
                    site +
                    "/odbc'\n"
                    "export ODBCINI='" +
                    site +
                    "/odbc/odbc.ini'\n"
                    "export PATH='" +
                    site + "/pdm/code/command:" + executableDirectory + "':\"$PATH\"\n",
                0644);
}

void WriteReferenceFiles(const std::string& site) {
  const std::string samples = site + "/reffiles/sample";
  WriteSiteFile(samples + "/ZEPDocument.VGraph",
                "# Life cycle of documents\n"
                "graph ZEP_DOCUMENT\n"
                "state IN_WORK initial\n"
                "state \"IN CHECK\" colour=ORANGE\n"
                "state RELEASED final\n"
                "state OBSOLETE final\n"
                "transition IN_WORK \"IN CHECK\" Submit\n"
                "transition \"IN CHECK\" IN_WORK \"Send back\"\n"
                "transition \"IN CHECK\" RELEASED Release\n"
                "transition RELEASED OBSOLETE Obsolete\n",
                0644);
  WriteSiteFile(samples + "/ZEPPart.VGraph",
                "# Life cycle of parts and their revisions\n"
                "graph ZEP_PART\n"
                "state PRELIMINARY initial\n"
                "state DESIGN\n"
                "state PROTOTYPE colour=YELLOW\n"
                "state PRODUCTION final colour=GREEN\n"
                "transition PRELIMINARY DESIGN Start\n"
                "transition DESIGN PROTOTYPE Build\n"
                "transition PROTOTYPE DESIGN Rework\n"
                "transition PROTOTYPE PRODUCTION Approve\n",
                0644);
  WriteSiteFile(samples + "/ZEPChange.VGraph",
                "# Engineering change requests\n"
                "graph ZEP_CHANGE\n"
                "state REQUESTED initial\n"
                "state ANALYSED\n"
                "state APPROVED\n"
                "state REJECTED final\n"
                "state IMPLEMENTED final\n"
                "transition REQUESTED ANALYSED Analyse\n"
                "transition ANALYSED APPROVED Approve\n"
                "transition ANALYSED REJECTED Reject\n"
                "transition APPROVED IMPLEMENTED Implement\n",
                0644);
  // Not imported: the installer takes only *.VGraph files named ZEP...
  WriteSiteFile(samples + "/Workshop.VGraph",
                "# A site's own graph, imported by hand\ngraph WORKSHOP\nstate OPEN initial\n",
                0644);
  WriteSiteFile(samples + "/ZEPDocument.VGraph.orig",
                "# Shipped copy kept for reference\ngraph ZEP_DOCUMENT\nstate IN_WORK initial\n",
                0644);

  WriteSiteFile(site + "/dictionary/ZEPAdmin.adm",
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<!-- Project administration of a new PDM server -->\n"
                "<zepadmin>\n"
                "  <site id=\"DEFAULT_LOCAL_SITE_V5R8\" name=\"Local site\" local=\"1\"/>\n"
                "  <project name=\"DEFAULT\" site=\"DEFAULT_LOCAL_SITE_V5R8\" "
                "description=\"Default project\"/>\n"
                "  <project name=\"STANDARD_PARTS\" site=\"DEFAULT_LOCAL_SITE_V5R8\" "
                "description=\"Standard parts library\"/>\n"
                "</zepadmin>\n",
                0644);

  WriteSiteFile(site + "/runtime/env/TESSAR.txt",
                "# Environment of the PDM runtime\n"
                "TESSAR_HOME=" +
                    site +
                    "/pdm\n"
                    "LIBPATH=" +
                    site +
                    "/pdm/code/lib\n"
                    "LD_LIBRARY_PATH=" +
                    site +
                    "/pdm/code/lib\n"
                    "LD_LIBRARYN32_PATH=" +
                    site +
                    "/pdm/code/lib32\n"
                    "SHLIB_PATH=" +
                    site +
                    "/pdm/code/lib\n"
                    "CLASSPATH=" +
                    site + "/pdm/docs/java\n",
                0644);
}
