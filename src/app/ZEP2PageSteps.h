// Where the run stands on a page ("DB2 - step 6 of 11"), for the front end's
// title line.
#pragma once

#include <string>

class QelDialog;

// The page's place in the pages this run visits with the answers given so
// far; empty for a page outside that sequence (the wait page, boxes).
std::string ZEP2WhereTheRunStands(const QelDialog* page);
