// The environment file format: one NAME=value a line; any other line is
// kept as it is. A line is parsed only to find its name and value, never
// rebuilt unless its variable is set.
#include "QelSysEnv.h"

#include <fstream>
#include <sstream>

#include "QelSecureFile.h"

namespace {

bool IsIdentifier(const std::string& name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (const char c : name) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!letter && !(c >= '0' && c <= '9') && c != '_') return false;
  }
  return true;
}

}  // namespace

QelSysEnv::QelSysEnv(std::string path, std::string text) : path_(std::move(path)) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t newline = text.find('\n', start);
    Line line;
    if (newline == std::string::npos) {
      line.text = text.substr(start);
      start = text.size();
    } else {
      line.text = text.substr(start, newline - start);
      line.end = "\n";
      start = newline + 1;
      if (!line.text.empty() && line.text.back() == '\r') {
        line.text.pop_back();
        line.end = "\r\n";
      }
    }
    const std::size_t equal = line.text.find('=');
    if (equal != std::string::npos && IsIdentifier(line.text.substr(0, equal))) {
      line.name = line.text.substr(0, equal);
      line.value = line.text.substr(equal + 1);
    }
    lines_.push_back(std::move(line));
  }
}

QelSysEnv::Line* QelSysEnv::LastAssignment(const std::string& name) {
  for (auto line = lines_.rbegin(); line != lines_.rend(); ++line) {
    if (line->name == name) return &*line;
  }
  return nullptr;
}

const QelSysEnv::Line* QelSysEnv::LastAssignment(const std::string& name) const {
  return const_cast<QelSysEnv*>(this)->LastAssignment(name);
}

std::string QelSysEnv::LineEnd() const {
  // New lines follow the file's own convention.
  return !lines_.empty() && lines_.front().end == "\r\n" ? "\r\n" : "\n";
}

const QelUnicodeString* QelSysEnv::GetEnv(const QelUnicodeString& name) const {
  const Line* line = LastAssignment(name.str());
  return line ? &line->value : nullptr;
}

int QelSysEnv::PutEnv(const QelUnicodeString& name, const QelUnicodeString& value, int options, int,
                      const QelUnicodeString& comment) {
  if (!IsIdentifier(name.str()) || value.str().find_first_of("\r\n") != std::string::npos) {
    return -1;
  }
  if (Line* line = LastAssignment(name.str())) {
    if (options == 1) {
      line->value = value;
      line->text = name.str() + "=" + value.str();
    }
    return 0;
  }
  const std::string end = LineEnd();
  // The last line must end before anything can follow it.
  if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = end;
  if (comment.Length() > 0) lines_.push_back({"# " + comment.str(), end, "", ""});
  lines_.push_back({name.str() + "=" + value.str(), end, name.str(), value});
  return 0;
}

std::string QelSysEnv::Text() const {
  std::string text;
  for (const Line& line : lines_) text += line.text + line.end;
  return text;
}

int QelSysEnvManager::Read(const QelUnicodeString& path, int, int,
                           std::unique_ptr<QelSysEnv>& env) {
  env.reset();
  std::ifstream file(path.str(), std::ios::binary);
  if (!file) return -1;
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) return -1;
  env = std::make_unique<QelSysEnv>(path.str(), text.str());
  return 0;
}

int QelSysEnvManager::Write(const QelSysEnv& env, int) {
  std::string error;
  return QelReplaceFileContent(env.GetPath(), env.Text(), error);
}
