// Whether this run only checks: asked on the command line (-validate) of
// the first process and handed to the second through its environment, as
// the response file is.
#pragma once

#include <string>
#include <vector>

#include "ZEP2ValidationReport.h"

namespace zep2validation {

// Makes this process and the processes it starts check only; jsonPath (may
// be empty) receives the JSON document. Relative paths are made absolute,
// since the second process may start elsewhere.
void Request(const std::string& jsonPath);
bool Requested();
std::string JsonPath();
// A silent run: a response file drives the pages, so a refused answer is
// recorded and the run goes on.
bool Silent();

// The refusals recorded on the pages of both processes: the first process's
// reach the second, which makes the report, through the environment too.
void HandOn(const ZEP2ValidationProblem& problem);
std::vector<ZEP2ValidationProblem> HandedOn();

}  // namespace zep2validation
