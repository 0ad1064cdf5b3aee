// The framework's verify callbacks for account names and passwords. Both
// accept an empty text: an empty answer is refused by the page's own check,
// with a message that says what is missing.
#pragma once

#include "QelUnicodeString.h"

// 1 for a Unix account name (letters, digits, '.', '_', '-', not starting
// with '-', at most 32 characters), else 0.
int InputCheckIdName(const QelUnicodeString& text, void* data);

// 1 for a password that can be typed on one line (no line feed, carriage
// return or other control character, at most 256 bytes), else 0.
int InputCheckIdPasswd(const QelUnicodeString& text, void* data);
