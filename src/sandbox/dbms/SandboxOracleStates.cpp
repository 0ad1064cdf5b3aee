// The SQLSTATEs that go with the ORA numbers the sandbox raises, as an ODBC
// client of Oracle sees them: a client branches on the class (28000 a
// refused logon, 42S02 a missing table) before it reads the number.
#include <algorithm>
#include <array>
#include <utility>

#include "SandboxSql.h"

namespace qelsandbox {

namespace {

// By ORA number, ascending.
constexpr std::array<std::pair<int, const char*>, 43> States = {{
    {1, "23000"},     {60, "40001"},    {900, "42000"},   {902, "42000"},  {904, "42S22"},
    {913, "21S01"},   {921, "42000"},   {922, "42000"},   {933, "42000"},  {942, "42S02"},
    {947, "21S01"},   {955, "42S01"},   {957, "42S21"},   {990, "42000"},  {1017, "28000"},
    {1031, "42000"},  {1045, "28000"},  {1400, "23000"},  {1418, "42S12"}, {1430, "42S21"},
    {1432, "42S02"},  {1434, "42S02"},  {1452, "23000"},  {1543, "42S01"}, {1702, "42000"},
    {1722, "22018"},  {1740, "42000"},  {1756, "42000"},  {1917, "42000"}, {1918, "42000"},
    {1919, "42000"},  {1920, "42000"},  {1921, "42000"},  {1940, "42000"}, {2289, "42S02"},
    {2290, "23000"},  {3114, "08003"},  {4043, "42S02"},  {8004, "22003"}, {12154, "08001"},
    {12514, "08001"}, {12899, "22001"}, {28000, "28000"},
}};

}  // namespace

std::string OracleSqlstate(int number) {
  const auto found =
      std::lower_bound(States.begin(), States.end(), number,
                       [](const auto& entry, int wanted) { return entry.first < wanted; });
  return found != States.end() && found->first == number ? found->second : "HY000";
}

}  // namespace qelsandbox
