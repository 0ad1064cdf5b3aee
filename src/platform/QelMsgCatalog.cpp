// Loading of catalogue files, their line format and the parameter
// substitution of message texts.
#include "QelMsgCatalog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string_view>

#include "QelEscape.h"
#include "QelLog.h"
#include "QelRunNotes.h"
#include "QelText.h"

namespace {

// A text's line breaks and tabs, and the blanks the line's trimming would
// take from its ends.
constexpr QelEscape kTextEscapes[] = {{'\n', 'n'}, {'\t', 't'}, {' ', 's'}};

// Only regular files count: a directory or a device named like a catalogue
// would otherwise be "found" and then read as nothing, or forever. Empty
// reason: there is nothing at path; otherwise why it cannot be read.
bool ReadRegularFile(const std::string& path, std::string& content, std::string& reason) {
  reason.clear();
  content.clear();
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) {
    if (errno != ENOENT) reason = std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (fstat(descriptor, &info) != 0) {
    reason = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    reason = S_ISDIR(info.st_mode) ? "is a directory" : "not a regular file";
  }
  char buffer[65536];
  while (reason.empty()) {
    const ssize_t count = read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) reason = std::strerror(errno);
    if (count <= 0) break;
    content.append(buffer, static_cast<std::size_t>(count));
  }
  close(descriptor);
  return reason.empty();
}

// A catalogue that cannot be had leaves every text of its class empty: said
// once per catalogue and process on stderr, and a warning of the run.
void TellOnce(const std::string& name, const std::string& problem) {
  static std::set<std::string> told;
  if (!told.insert(name).second) return;
  const std::string text = "message catalogue " + name + ".cat " + problem;
  QelTellOnStderr("tessardbsetup: " + text +
                  ": texts will be missing (set QelMsgCatalogPath to the directory of the "
                  "catalogues)");
  QelWarn(text);
}

// A class without texts of its own ships a catalogue that says so in a
// comment; an empty file or lines without a key are a damaged catalogue.
bool OnlyComments(std::string_view content) {
  bool comment = false;
  while (!content.empty()) {
    const std::size_t end = content.find('\n');
    const std::string_view line = QelTrimBlanks(content.substr(0, end));
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    if (line.empty() || line == "\r") continue;
    if (line.front() != '#') return false;
    comment = true;
  }
  return comment;
}

std::string Searched(const std::vector<std::string>& directories) {
  std::string searched;
  for (const std::string& directory : directories) {
    searched += (searched.empty() ? "" : ":") + directory;
  }
  return searched.empty() ? "(no directory)" : searched;
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
  std::string reason;
  std::string unreadable;
  const std::vector<std::string> directories = CatalogDirectories();
  for (const std::string& directory : directories) {
    const std::string path = directory + "/" + name + ".cat";
    if (ReadRegularFile(path, content, reason)) {
      Parse(content);
      if (messages_.empty() && !OnlyComments(content)) {
        TellOnce(name, "(" + path + ") holds no text");
      }
      return 0;
    }
    if (!reason.empty()) unreadable += (unreadable.empty() ? "" : "; ") + path + ": " + reason;
  }
  TellOnce(name, unreadable.empty() ? "not found in " + Searched(directories)
                                    : "cannot be read (" + unreadable + ")");
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
