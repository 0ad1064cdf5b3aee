// A new file for the administrator (the DDL file of file mode) at a path he
// chose: what was there before is kept beside it, never overwritten in
// silence, and nothing at the path is waited on.
#pragma once

#include <sys/types.h>

#include <string>

// Creates path anew for writing with mode. An earlier regular file of this
// user with one link is first renamed to "<path>.1" (replacing an earlier
// "<path>.1"), which kept then names. Refused, with the reason in error
// ("<path>: <reason>"): a symbolic link, a directory, a named pipe, a socket
// or a device (never opened, so never waited on), a file with several links
// or of another user, and a path whose directory is missing or closed. The
// descriptor, or -1.
int QelCreateKeepingEarlier(const std::string& path, mode_t mode, std::string& kept,
                            std::string& error);
