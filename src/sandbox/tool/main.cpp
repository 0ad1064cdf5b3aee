// tessardbsetup-sandbox: administration of a sandbox site. The verbs are
// listed in one table; each verb lives in a file of its own.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "SandboxCommand.h"

namespace {

struct Verb {
  const char* name;
  const char* summary;
  int (*run)(const std::vector<std::string>& arguments);
};

constexpr Verb Verbs[] = {
    {"init", "create a complete sandbox site in a directory", RunInitVerb},
    {"db", "create, show and reset the databases of the sandbox DBMS", RunDbVerb},
    {"sql", "play a SQL script on a sandbox database as the DBMS's command-line tool does",
     RunSqlVerb},
    {"orbixd", "start, stop or query the stand-in Orbix daemon", RunOrbixdVerb},
    {"vault", "decrypt the vault server's database password (tests)", RunVaultVerb},
};

void Usage(std::FILE* out) {
  std::fprintf(out,
               "usage: tessardbsetup-sandbox VERB [ARGUMENTS] [--site DIR]\n"
               "The site is --site DIR, or $TESSARDBSETUP_SANDBOX.\n\nVerbs:\n");
  for (const Verb& verb : Verbs) std::fprintf(out, "  %-6s %s\n", verb.name, verb.summary);
  std::fprintf(out, "\n'tessardbsetup-sandbox VERB --help' describes a verb.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Usage(stderr);
    return ExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    Usage(stdout);
    return ExitOk;
  }
  for (const Verb& verb : Verbs) {
    if (name == verb.name) return verb.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "tessardbsetup-sandbox: unknown verb '%s'\n", name.c_str());
  Usage(stderr);
  return ExitUsage;
}
