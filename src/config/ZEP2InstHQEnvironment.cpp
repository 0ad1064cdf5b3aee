// The PDM runtime's environment: the DBMS variables, library paths and JDBC
// class path in its environment file, and the script that stamps the
// installation and gives the vault starter and repository their owners.
#include <memory>
#include <string>

#include "app/ZEP2InstHQ.h"
#include "app/ZEP2ShellScript.h"
#include "platform/QelLog.h"
#include "platform/QelRunNotes.h"
#include "platform/QelSysEnv.h"
#include "platform/QelSystem.h"
#include "platform/QelTime.h"

namespace {

using H = ZEP2InstHQ;

constexpr const char* EnvCustomScript = "/tmp/TessarEnvCustom.sh";

// The first of the variables the runtime's files are found through that is
// missing, reported; null when all are set.
const char* MissingFrameworkVariable(int traceLevel) {
  for (const char* name :
       {"QelInstallPath", "QelvarV5_environment_name", "QelvarV5_environment_directory"}) {
    if (!QelGetEnv(name)) {
      WriteErrLogFile("\n" + QelUnicodeString(name) + " Not Found!!!\n");
      WriteTraceLogFile("\n" + QelUnicodeString(name) + " Not Found!!!", traceLevel);
      return name;
    }
  }
  return nullptr;
}

// The edits of one update. The file refuses a value holding a line break
// (an answer, or an old value ending in a stray CR): then nothing is
// written, so the file never holds half an update that a later run would
// prepend to again.
class EnvEdits {
 public:
  explicit EnvEdits(QelSysEnv& env) : env_(env) {}

  const QelSysEnv& Env() const { return env_; }
  const char* Refused() const { return refused_; }

  void Put(const char* name, const QelUnicodeString& value) {
    if (env_.PutEnv(name, value, 1, 0, "") != 0 && !refused_) refused_ = name;
  }

  void Prepend(const char* name, const QelUnicodeString& directories) {
    const QelUnicodeString* old = env_.GetEnv(name);
    Put(name, directories + ":" + (old ? *old : QelUnicodeString()));
  }

 private:
  QelSysEnv& env_;
  const char* refused_ = nullptr;
};

bool LibraryPathHolds(const QelSysEnv& env, const QelUnicodeString& directories) {
  const QelUnicodeString* libraryPath = env.GetEnv("LIBPATH");
  return libraryPath && libraryPath->str().find(directories.str()) != std::string::npos;
}

bool LibraryPathSet(const QelSysEnv& env) {
  const QelUnicodeString* libraryPath = env.GetEnv("LIBPATH");
  return libraryPath && libraryPath->Length() > 0;
}

QelUnicodeString OracleNlsDirectory(const QelUnicodeString& home) {
  for (const char* candidate : {"/ocommon/nls/admin/data", "/nls/data"}) {
    if (QelFileAccess(home + candidate, 0) == 0) return home + candidate;
  }
  return home;
}

QelUnicodeString UpdateOracle(EnvEdits& env) {
  const QelUnicodeString home = H::_svORACLE_HOME;
  const QelUnicodeString n32 = H::_svORACLE_N32_HOME;
  env.Put("ORACLE_HOME", home);
  env.Put("ORA_NLS33", OracleNlsDirectory(home));
  if (H::_svORATNS_ADMIN.Length() > 0) env.Put("TNS_ADMIN", H::_svORATNS_ADMIN);
  const QelUnicodeString libraries = home + "/lib32:" + home + "/lib:" + home + "/jdbc/lib";
  if (LibraryPathSet(env.Env())) {
    if (LibraryPathHolds(env.Env(), libraries)) {
      WriteTraceLogFile("\nLibrary path already updated for Oracle libraries.", 1);
    } else {
      WriteTraceLogFile("\nLibrary path to update for Oracle libraries ...", 1);
      env.Prepend("LIBPATH", libraries);
      env.Prepend("LD_LIBRARY_PATH", libraries);
      if (n32.Length() > 0) env.Prepend("LD_LIBRARYN32_PATH", n32 + "/lib32:" + n32 + "/jdbc/lib");
      env.Prepend("SHLIB_PATH", libraries);
    }
  }
  return home + "/jdbc/lib/ojdbc14.jar:" + home + "/jdbc/lib/nls_charset12.jar";
}

QelUnicodeString UpdateDB2(EnvEdits& env) {
  const QelUnicodeString home = H::_svDB2INSTANCE_HOMDIR;
  env.Put("DB2INSTANCE", H::_svDB2INSTANCE);
  const QelUnicodeString libraries = home + "/sqllib/lib32:" + home + "/sqllib/lib";
  if (LibraryPathSet(env.Env())) {
    if (LibraryPathHolds(env.Env(), libraries)) {
      WriteTraceLogFile("\nLibrary path already updated for IBMDB2UDB libraries.", 1);
    } else {
      WriteTraceLogFile("\nLibrary path to update for IBMDB2UDB libraries ...", 1);
      for (const char* name : {"LIBPATH", "LD_LIBRARY_PATH", "LD_LIBRARYN32_PATH", "SHLIB_PATH"}) {
        env.Prepend(name, libraries);
      }
    }
  }
  const QelUnicodeString java = home + "/sqllib/java/";
  return java + "db2jcc.jar:" + java + "db2jcc_license_cu.jar:" + java + "db2jcc_license_cisuz.jar";
}

void WriteHeaderBox(ZEP2ShellScript& script) {
  QelTime now;
  now.GetCurrentLocalTime();
  script.Line("");
  for (const char* line : {"#################################################",
                           "#                                               #",
                           "# Corvane                                       #",
                           "#                                               #",
                           "# TessarEnvCustom.sh shell                      #",
                           "#                                               #",
                           "# File Generated by tessardbsetup installation  #",
                           "#                                               #",
                           "# Generation date:                              #"}) {
    script.Line(line);
  }
  script.Line("#         " + now.ConvertToString("%c").str() + "              #");
  script.Line("#                                               #");
  script.Line("#################################################");
  script.Line("\n\n\n");
  if (H::_nvIBMDB2UDB) script.Line("");
  script.Line("\n");
}

// Owners and modes of the vault starter and repository, and the starter's
// registration with the Orbix daemon. Paths are quoted for the shell.
void WriteVaultBlock(ZEP2ShellScript& script, const std::string& install,
                     const std::string& commands) {
  const std::string starter = ZEP2ShellScript::Quote(install + "/code/bin/ZEPVaultStarter");
  const std::string repository = H::_svVAULTRepository.str();
  const auto in = [&](const char* sub) { return ZEP2ShellScript::Quote(repository + "/" + sub); };
  const std::string root = std::to_string(H::_nvRootUid) + ":" + std::to_string(H::_nvRootGid);
  const std::string vaultUid = std::to_string(H::_nvVAULTAdmUid);
  const std::string vaultGid = std::to_string(H::_nvVAULTAdmGid);
  const std::string vault = vaultUid + ":" + vaultGid;
  const std::string registration = commands + "/RegisterVaultStarter";
  script.Line("  ## VAULT Installation Update\n");
  script.Line("chmod -fR a+wrx,og-w,+st " + starter + " \n");
  script.Line("chown " + root + " " + starter + " \n\n");
  script.Line("mkdir -p " + in("secured0") + "\n\n");
  script.Line("mkdir -p " + in("tmp") + "\n\n");
  script.Line("chmod -fR a+wrx,og-w " + in("secured0") + "\n\n");
  script.Line("chown -R " + vault + " " + in("secured0") + "\n\n");
  script.Line("chmod -fR a+wrx " + in("tmp") + "\n\n");
  script.Line("chown -R " + vault + " " + ZEP2ShellScript::Quote(repository) + "\n\n\n");
  script.Line("chown -R " + vault + " " + in("tmp") + "\n\n\n\n");
  script.Line("  ## VAULT Orbix Register\n");
  script.Line("if [ -f " + ZEP2ShellScript::Quote(registration) + " ] \n");
  script.Line("then \n");
  script.Line(ZEP2ShellScript::Quote(registration) + "  TESSARVaultServer " + vaultUid + " " +
              vaultGid + " " + ZEP2ShellScript::Quote(install + "/startup/orbix") + "\n");
  script.Line("fi ;\n\n\n");
}

void ReportScriptError() {
  WriteErrLogFile("\nSt_UpdateBDEnv Error!!!\n");
  WriteTraceLogFile("\nSt_UpdateBDEnv Error!!!", 2);
}

}  // namespace

int ZEP2InstHQ::TESSAREnvironmentUpdate() {
  WriteTraceLogFile("\n\nTESSAREnvironmentUpdate Begin ...\n", 0);
  if (!MissingFrameworkVariable(2)) {
    QelUnicodeString path = QelGetEnv("QelvarV5_environment_directory");
    if (path.str().empty() || path.str().back() != '/') path += "/";
    path += QelUnicodeString(QelGetEnv("QelvarV5_environment_name")) + ".txt";
    WriteTraceLogFile("\nTESSAREnvironmentFullPathName: <" + path + ">", 1);
    std::unique_ptr<QelSysEnv> env;
    if (QelSysEnvManager::Read(path, 2, 2, env) != 0 || !env) {
      WriteTraceLogFile("\nError while reading environment file.", 1);
      return -1;
    }
    WriteTraceLogFile("\nEnvironment file read.", 1);
    EnvEdits edits(*env);
    QelUnicodeString oracleClassPath;
    QelUnicodeString db2ClassPath;
    if (_nvOracle) oracleClassPath = UpdateOracle(edits);
    if (_nvIBMDB2UDB) db2ClassPath = UpdateDB2(edits);
    edits.Put("CLASSPATH_JDBC_solaris_a", db2ClassPath + oracleClassPath);
    if (edits.Refused()) {
      const QelUnicodeString reason = "\nTESSAREnvironmentUpdate: the value of " +
                                      QelUnicodeString(edits.Refused()) +
                                      " would hold a line break: " + path + " is left unchanged.";
      WriteErrLogFile(reason + "\n");
      WriteTraceLogFile(reason, 1);
      WriteTraceLogFile("\nTESSAREnvironmentUpdate End.\n\n", 0);
      return -1;
    }
    const int code = QelSysEnvManager::Write(*env, 1);
    WriteTraceLogFile("\nTESSAREnvironmentUpdate Return Code : " + QelUnicodeString::FromInt(code),
                      1);
    if (code != 0) ReportScriptError();
  }
  WriteTraceLogFile("\nTESSAREnvironmentUpdate End.\n\n", 0);
  return 0;
}

void ZEP2InstHQ::St_UpdateDBEnv() {
  WriteTraceLogFile("\n\nSt_UpdateBDEnv Begin ...\n", 0);
  if (!MissingFrameworkVariable(2)) {
    const std::string install = QelGetEnv("QelInstallPath");
    ZEP2ShellScript script(EnvCustomScript, "TESSARDBSETUP_TRACE");
    WriteTraceLogFile("\nSt_UpdateBDEnv Do the script file TessarEnvCustom.sh executable Begin", 1);
    if (script.IsOpen()) script.MakeExecutable("\nchmod rc : ");
    WriteTraceLogFile("\nSt_UpdateBDEnv Do the script file TessarEnvCustom.sh executable End", 1);
    script.SendOutputToLog();
    WriteHeaderBox(script);
    const char* commands = QelGetEnv("QelCommandPath");
    if (!commands) {
      WriteErrLogFile("\nQelCommandPath Not Found!!!\n");
      WriteTraceLogFile("\nQelCommandPath Not Found!!!", 1);
    } else if (_nvEXEVault) {
      WriteVaultBlock(script, install, commands);
    }
    script.Line("rc=$?");
    script.Line("");
    script.Line("return $rc");
    int pid = 0;
    int code = 0;
    const int started = script.Run("TessarEnvCustom.sh", 1, pid, code);
    WriteTraceLogFile(QelUnicodeString("\n<") + EnvCustomScript + "> <TessarEnvCustom.sh>", 1);
    WriteTraceLogFile("\nSt_UpdateBDEnv Return Code : " + QelUnicodeString::FromInt(code), 1);
    if (code != 0) ReportScriptError();
    // The runtime is then not configured: the end of the run says so.
    if (started != 0) {
      QelWarn(std::string("the environment script ") + EnvCustomScript +
              " was not run: " + script.GetError());
    } else if (code != 0) {
      QelWarn(std::string("the environment script ") + EnvCustomScript + " ended with status " +
              std::to_string(code));
    }
  }
  WriteTraceLogFile("\nSt_UpdateBDEnv End.\n\n", 0);
}
