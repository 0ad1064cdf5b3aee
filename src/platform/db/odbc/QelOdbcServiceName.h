// Whether an Oracle net service name resolves before any connection: the
// page that asks for it can then refuse a name no client could reach, and
// say so of the name instead of as a failed login on the next page.
#pragma once

#include <string>
#include <vector>

// The entries a tnsnames.ora text defines, as written ("A, B = (...)"
// defines A and B); comments and the descriptions' own "=" are skipped.
std::vector<std::string> QelOdbcTnsNames(const std::string& content);

// Why service cannot be resolved, or an empty text: a data source named
// like it, a connect descriptor or Easy Connect text, or an entry of
// tnsAdmin/tnsnames.ora resolves it (names compared without case).
std::string QelOdbcCheckServiceName(const std::string& service, const std::string& tnsAdmin);
