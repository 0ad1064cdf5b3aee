// How the sandbox keeps account passwords: a salted slow hash stored in the
// database or the site's accounts, checked at every connection.
#pragma once

#include <string>

namespace qelsandbox {

std::string HashPassword(const std::string& password);

// Whether password is the one hash was made from. A process that connects
// again with a password it already proved pays the slow hash once: the
// installer opens a connection per schema it looks at, and each would
// otherwise cost a millisecond or more of hashing.
bool VerifyPassword(const std::string& password, const std::string& hash);

}  // namespace qelsandbox
