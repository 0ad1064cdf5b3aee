// Loading of catalogue files, their line format and the parameter
// substitution of message texts.
#include "QelMsgCatalog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "QelEscape.h"
#include "QelText.h"

namespace {

// A text's line breaks and tabs, and the blanks the line's trimming would
// take from its ends.
constexpr QelEscape kTextEscapes[] = {{'\n', 'n'}, {'\t', 't'}, {' ', 's'}};

// Only regular files count: a directory or a device named like a catalogue
// would otherwise be "found" and then read as nothing, or forever.
bool ReadRegularFile(const std::string& path, std::string& content) {
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  struct stat info {};
  bool ok = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
  content.clear();
  char buffer[65536];
  while (ok) {
    const ssize_t count = read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      ok = count == 0;
      break;
    }
    content.append(buffer, static_cast<std::size_t>(count));
  }
  close(descriptor);
  return ok;
}

std::string ExecutableDirectory() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      break;
    }
    // readlink truncates silently: a full buffer may be a cut path.
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

void QelMsgCatalog::Parse(const std::string& content) {
  std::string_view rest(content);
  // Some editors start UTF-8 files with a byte-order mark.
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    const std::string_view trimmed = QelTrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = QelTrimBlanks(line.substr(0, equals));
    if (key.empty()) continue;
    messages_[std::string(key)] =
        QelUnescaped(QelTrimBlanks(line.substr(equals + 1)), kTextEscapes);
  }
}

int QelMsgCatalog::LoadMsgCatalog(const QelString& catalogName) {
  messages_.clear();
  // A catalogue name is a class name; one that reaches into other
  // directories is no catalogue of ours.
  const std::string& name = catalogName.str();
  if (name.empty() || name.find('/') != std::string::npos || name.find('\0') != std::string::npos) {
    return -1;
  }
  std::string content;
  for (const std::string& directory : CatalogDirectories()) {
    if (ReadRegularFile(directory + "/" + name + ".cat", content)) {
      Parse(content);
      return 0;
    }
  }
  return -1;
}

int QelMsgCatalog::GetCatalogMsg(const QelString& key, QelMsg& message) const {
  const auto found = messages_.find(key.str());
  if (found == messages_.end()) {
    message.SetText({});
    return -1;
  }
  message.SetText(found->second);
  return 0;
}

int QelMsgCatalog::BuildMessage(const QelMsg& message, QelUnicodeString& result,
                                const QelListValQelUnicodeString& parameters) {
  const std::string& text = message.GetText().str();
  std::string built;
  built.reserve(text.size());
  for (std::size_t position = 0; position < text.size(); ++position) {
    const char c = text[position];
    const char next = position + 1 < text.size() ? text[position + 1] : '\0';
    if (c == '%' && next == '%') {
      built += '%';
      ++position;
    } else if (c == '%' && next >= '1' && next <= '9' && next - '0' <= parameters.Size()) {
      built += parameters(next - '0').str();
      ++position;
    } else {
      built += c;
    }
  }
  result = std::move(built);
  return 0;
}

QelUnicodeString QelMsgCatalog::BuildMessage(const QelString& catalogName, const QelString& key,
                                             const QelListValQelUnicodeString& parameters,
                                             const QelUnicodeString& defaultText) {
  QelMsgCatalog catalog;
  QelMsg message(defaultText);
  if (catalog.LoadMsgCatalog(catalogName) == 0) {
    QelMsg found;
    if (catalog.GetCatalogMsg(key, found) == 0) message = found;
  }
  QelUnicodeString result;
  BuildMessage(message, result, parameters);
  return result;
}

std::vector<std::string> QelMsgCatalog::CatalogDirectories() {
  return CatalogDirectories(std::getenv("QelMsgCatalogPath"), ExecutableDirectory());
}

std::vector<std::string> QelMsgCatalog::CatalogDirectories(const char* configuredPath,
                                                           const std::string& executableDirectory) {
  std::vector<std::string> directories;
  if (configuredPath && *configuredPath) {
    std::string_view rest(configuredPath);
    while (!rest.empty()) {
      const std::size_t colon = rest.find(':');
      const std::string_view element = rest.substr(0, colon);
      if (!element.empty()) directories.emplace_back(element);
      rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1);
    }
    return directories;
  }
  // Without the executable's location the defaults would be relative to
  // the filesystem root, which is never where the catalogues are.
  if (executableDirectory.empty()) return directories;
  directories.push_back(executableDirectory + "/share/msgcatalog");
  directories.push_back(executableDirectory + "/../share/tessardbsetup/msgcatalog");
  return directories;
}

bool QelMsgCatalog::WarnIfMissing(const QelString& catalogName) {
  QelMsgCatalog catalog;
  if (catalog.LoadMsgCatalog(catalogName) == 0) return false;
  std::string searched;
  for (const std::string& directory : CatalogDirectories()) {
    searched += (searched.empty() ? "" : ":") + directory;
  }
  std::fprintf(stderr,
               "tessardbsetup: message catalogue %s.cat not found in %s: texts will be missing "
               "(set QelMsgCatalogPath to the directory of the catalogues)\n",
               catalogName.c_str(), searched.empty() ? "(no directory)" : searched.c_str());
  return true;
}
