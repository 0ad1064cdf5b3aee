// tessardbsetup-sandbox orbixd: the site's stand-in Orbix daemon, a process
// named orbixd, started in a session of its own and stopped by its pid, so
// tests can see both states of the daemon check.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "SandboxCommand.h"

namespace {

constexpr const char* Help =
    "usage: tessardbsetup-sandbox orbixd start|stop|status [--site DIR]\n"
    "  start   start the stand-in daemon (nothing when it runs)\n"
    "  stop    stop it and wait until it is gone\n"
    "  status  exit 0 when it runs, 1 when not\n";

std::string PidFile(const std::string& site) {
  return site + "/orbixd.pid";
}

// The daemon's pid when it runs, else 0.
pid_t RunningDaemon(const std::string& site) {
  std::ifstream file(PidFile(site));
  pid_t pid = 0;
  if (!(file >> pid) || pid <= 0) return 0;
  return kill(pid, 0) == 0 ? pid : 0;
}

int Start(const std::string& site) {
  if (RunningDaemon(site)) return ExitOk;
  const std::string program = site + "/pdm/startup/orbix/bin/orbixd";
  const pid_t child = fork();
  if (child < 0) {
    std::perror("tessardbsetup-sandbox orbixd: fork");
    return ExitError;
  }
  if (child == 0) {
    setsid();
    const int null = open("/dev/null", O_RDWR);
    for (int descriptor = 0; descriptor <= 2; ++descriptor) dup2(null, descriptor);
    execl(program.c_str(), "orbixd", static_cast<char*>(nullptr));
    _exit(127);
  }
  std::ofstream(PidFile(site)) << child << "\n";
  return ExitOk;
}

int Stop(const std::string& site) {
  const pid_t pid = RunningDaemon(site);
  if (pid) {
    // The daemon leads its own process group: its sleeping child goes too.
    kill(-pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (kill(pid, 0) == 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (kill(pid, 0) == 0) {
      std::fprintf(stderr, "tessardbsetup-sandbox orbixd: process %d does not stop\n", pid);
      return ExitError;
    }
  }
  unlink(PidFile(site).c_str());
  return ExitOk;
}

}  // namespace

int RunOrbixdVerb(const std::vector<std::string>& arguments) {
  CommandOptions options;
  std::string error;
  if (!ParseCommandOptions(arguments, {"site"}, {"help"}, options, error) ||
      options.flags.count("help") || options.positional.size() != 1) {
    std::fprintf(options.flags.count("help") ? stdout : stderr, "%s%s", error.c_str(), Help);
    return options.flags.count("help") ? ExitOk : ExitUsage;
  }
  const std::string site = CommandSite(options);
  if (site.empty()) {
    std::fprintf(stderr,
                 "tessardbsetup-sandbox orbixd: no site (--site or $TESSARDBSETUP_SANDBOX)\n");
    return ExitUsage;
  }
  const std::string& action = options.positional[0];
  if (action == "start") return Start(site);
  if (action == "stop") return Stop(site);
  if (action == "status") return RunningDaemon(site) ? ExitOk : ExitError;
  std::fprintf(stderr, "tessardbsetup-sandbox orbixd: unknown action '%s'\n%s", action.c_str(),
               Help);
  return ExitUsage;
}
