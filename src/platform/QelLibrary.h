// Functions of libraries loaded at run time, found on the library path.
#pragma once

// The function of lib<library>.so, or null when the library or the function
// cannot be loaded. A library stays loaded until the process ends.
void* QelGetFunctionAddress(const char* library, const char* function);
