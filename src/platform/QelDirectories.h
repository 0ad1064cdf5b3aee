// Directory trees the wizard prepares for the PDM components: creation with
// parents, and the modes and owner a whole tree must have.
#pragma once

#include <sys/types.h>

#include "QelUnicodeString.h"

// Creates path and every missing parent. 0 on success.
int CreateDirRecurs(const QelUnicodeString& path);

// Gives every directory of the tree rooted at path the vault's modes: 0777,
// and 0755 for a directory named "secured0" (only the owner writes there).
// Links are not followed. 0 on success.
int ZEPChmod(const QelUnicodeString& path);

// Gives every file and directory of the tree to uid and gid, links
// themselves included, never their targets. 0 on success.
int ZEPChown(const QelUnicodeString& path, int uid, int gid);
