// Whole-file reads and writes for the clash setup, traced step by step so a
// failed edit can be followed. Writes go into the existing file in place
// (its mode stays) and never through a symbolic link.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"
#include "platform/QelSystem.h"

namespace {

QelUnicodeString Number(long long value) {
  return QelUnicodeString::FromInt(value);
}

// fopen's "r" and "w", refusing a symbolic link at path.
FILE* OpenNoFollow(const QelUnicodeString& path, bool forWriting) {
  const int flags = forWriting ? O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC
                               : O_RDONLY | O_NOFOLLOW | O_CLOEXEC;
  const int descriptor = open(path.c_str(), flags, 0644);
  if (descriptor < 0) return nullptr;
  struct stat info {};
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(descriptor);
    errno = EINVAL;
    return nullptr;
  }
  FILE* file = fdopen(descriptor, forWriting ? "w" : "r");
  if (!file) close(descriptor);
  return file;
}

}  // namespace

int ZEP2InstHQ::ReadFileIntoString(const QelUnicodeString& path, QelUnicodeString& text) {
  WriteTraceLogFile("\n\nReadFileToString Begin ...\n", 0);
  WriteTraceLogFile("\nFile to read is: <" + path + ">", 1);
  QelFileInfo info;
  QelGetFileInfo(path, info);
  WriteTraceLogFile("\nFile size is: <" + Number(info.size) + ">", 1);
  int result = 0;
  if (FILE* file = OpenNoFollow(path, false)) {
    WriteTraceLogFile("\nfopen OK.", 1);
    std::vector<char> buffer(static_cast<std::size_t>(info.size));
    const std::size_t read = std::fread(buffer.data(), 1, buffer.size(), file);
    if (read == 0 && info.size > 0) {
      WriteTraceLogFile("\nERROR: fread KO.", 1);
      result = -2;
    } else {
      WriteTraceLogFile("\nfread OK.", 1);
      text = std::string(buffer.data(), read);
    }
    const int closed = std::fclose(file);
    WriteTraceLogFile("\nRC_fclose = " + Number(closed), 1);
    if (closed != 0) result = -3;
  } else {
    WriteTraceLogFile("\nERROR: fopen for read KO : errno = " + Number(errno), 1);
    result = -1;
  }
  WriteTraceLogFile("\n\nReadFileToString End.\n", 0);
  return result;
}

int ZEP2InstHQ::WriteStringIntoFile(const QelUnicodeString& text, const QelUnicodeString& path) {
  WriteTraceLogFile("\n\nWriteStringIntoFile Begin ...\n", 0);
  WriteTraceLogFile("\nOutputFileName is: <" + path + ">", 1);
  FILE* file = OpenNoFollow(path, true);
  if (!file) {
    WriteTraceLogFile("\nfopen OutputFile for write KO : errno = " + Number(errno), 1);
    return -1;
  }
  WriteTraceLogFile("\nfopen OutputFile for write OK", 1);
  WriteTraceLogFile("\nDataBufferLength = " + Number(static_cast<long long>(text.Length())), 1);
  const std::size_t written = std::fwrite(text.c_str(), 1, text.Length(), file);
  WriteTraceLogFile("\nRC_fwrite = " + Number(static_cast<long long>(written)), 1);
  const int closed = std::fclose(file);
  WriteTraceLogFile("\nRC_fclose = " + Number(closed), 1);
  WriteTraceLogFile("\n\nWriteStringIntoFile End.\n", 0);
  return closed == 0 ? 0 : -2;
}
