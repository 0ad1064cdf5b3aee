// Files the program writes for itself: never through a symbolic link, never
// into a file of another owner, with the mode asked for.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

// Opens path for writing (created with mode when absent; O_APPEND or O_TRUNC
// among extraFlags). Refuses a symbolic link, anything but a regular file, a
// file with several links and a file of another owner. The descriptor, or -1
// with the reason in error.
int QelOpenOwnedFile(const std::string& path, int extraFlags, mode_t mode, std::string& error);

// Creates path exclusively for this process (O_EXCL, never through a link)
// with mode, for a file that will be run or trusted later. A leftover of this
// user's own (a regular file with one link) is removed first; anything else
// at the path is refused, and error says what is there. The descriptor, or
// -1 with the reason in error.
int QelCreateExclusiveFile(const std::string& path, mode_t mode, std::string& error);

// What is at path, in words for a person: "a symbolic link to /x",
// "a directory", "a file of user bob (uid 1001)", ...; empty when nothing.
std::string QelDescribePath(const std::string& path);

// Writes all of content to the descriptor (retrying short writes). An
// injected file-write fault fails it as a full disk would (errno ENOSPC).
bool QelWriteAll(int descriptor, std::string_view content);

// Replaces path with content in one step (a temporary file beside it, then a
// rename), so a reader sees the old or the new file, never a partial one.
// The content is on the disk before the rename, and the rename once 0 is
// returned. -1 with the reason in error; after the rename only when its
// directory cannot be synced, which the reason says.
int QelWriteFileAtomically(const std::string& path, std::string_view content, mode_t mode,
                           std::string& error);

// Appends content to path through QelOpenOwnedFile (created with mode when
// absent) and flushes it to the disk before returning, so what was appended
// survives the process. 0 on success, -1 with the reason in error.
int QelAppendToOwnedFile(const std::string& path, std::string_view content, mode_t mode,
                         std::string& error);

// Replaces the content of the existing regular file path in one step (a
// temporary file beside it, then a rename), keeping its mode and owner.
// Refuses a symbolic link and anything but a regular file. Synced to the
// disk as QelWriteFileAtomically is. 0 on success, -1 with the reason in
// error (the file is then unchanged, unless the reason says it is written).
int QelReplaceFileContent(const std::string& path, std::string_view content, std::string& error);

// Creates copy as a new file (never through a link, never over anything)
// with the bytes and the mode of the regular file source, which is not
// followed either. 0 on success, -1 with the reason in error.
int QelCopyFileExclusively(const std::string& source, const std::string& copy, std::string& error);

// Creates a directory and its missing parents with mode. 0 on success.
int QelMakeDirectories(const std::string& path, mode_t mode);
