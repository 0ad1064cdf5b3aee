// What the command line asks for, checked before anything else runs: a
// mistyped option must not start a wizard that then ignores it.
#pragma once

#include <string>
#include <vector>

enum class ZEP2CommandLineRequest { Run, Help, Version, Refused };

struct ZEP2CommandLineCheck {
  ZEP2CommandLineRequest request = ZEP2CommandLineRequest::Run;
  // Refused: the one line that says why.
  std::string message;
  // Run: what is ignored, one line each, for stderr.
  std::vector<std::string> ignored;
  // Run: -validate was given.
  bool checkOnly = false;
};

// Every argument from 1 on is examined as an option, the value after an
// option included, as the log paths are looked up; so an option that is
// some option's value still counts.
ZEP2CommandLineCheck ZEP2CheckCommandLine(int count, char* const* vector);

// The text of --help and of --version.
std::string ZEP2UsageText();
std::string ZEP2VersionText();
