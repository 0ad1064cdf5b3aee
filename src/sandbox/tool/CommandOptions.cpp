// Option parsing and the site directory, shared by the verbs.
#include <cstdlib>

#include "SandboxCommand.h"

bool ParseCommandOptions(const std::vector<std::string>& arguments,
                         const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions, CommandOptions& options,
                         std::string& error) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 3 || argument.compare(0, 2, "--") != 0) {
      options.positional.push_back(argument);
      continue;
    }
    std::string name = argument.substr(2);
    std::string value;
    const std::size_t equals = name.find('=');
    const bool inline_value = equals != std::string::npos;
    if (inline_value) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (flagOptions.count(name) && !inline_value) {
      options.flags.insert(name);
    } else if (valueOptions.count(name)) {
      if (!inline_value) {
        if (i + 1 >= arguments.size()) {
          error = "option --" + name + " needs a value";
          return false;
        }
        value = arguments[++i];
      }
      options.values[name] = value;
    } else {
      error = "unknown option --" + name;
      return false;
    }
  }
  return true;
}

std::string CommandSite(const CommandOptions& options) {
  const auto site = options.values.find("site");
  if (site != options.values.end()) return site->second;
  const char* environment = std::getenv("TESSARDBSETUP_SANDBOX");
  return environment ? environment : "";
}
