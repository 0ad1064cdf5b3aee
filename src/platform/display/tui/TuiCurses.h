// curses for the terminal front end. Included after the widget model: curses
// defines OK as a macro, which would break the dialog's OK button.
#pragma once

#include <curses.h>
#undef OK
