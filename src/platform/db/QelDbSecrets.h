// Statements hold passwords (IDENTIFIED BY "..."): every text that goes to a
// log, a trace or a message passes through here first.
#pragma once

#include "platform/QelUnicodeString.h"

// The statement with the text of every IDENTIFIED BY password (quoted or
// not) replaced by ***.
QelUnicodeString QelDbMaskPasswords(const QelUnicodeString& statement);
