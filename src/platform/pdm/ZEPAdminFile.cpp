// The project administration file (ZEPAdmin.adm): a tolerant reader for the
// small XML subset it is written in, and its import into the ZEPADMIN tables.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "PdmConnection.h"
#include "platform/pdm/ZEPServices.h"

namespace {

constexpr const char* Service = "ZEPXmlAdm";

struct FileFault {
  int code = ZEPErrorMalformedFile;
  int line = 0;
  std::string reason;
};

struct Element {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<Element> children;
  int line = 0;
};

bool SameName(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (std::size_t i = 0; i < left.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(left[i]) != lower(right[i])) return false;
  }
  return true;
}

// Reads elements and attributes; everything else a file may hold (the XML
// declaration, comments, a DOCTYPE, text between elements) is passed over.
// Nothing is validated beyond well-formedness: the meaning is checked later.
class XmlReader {
 public:
  explicit XmlReader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") position_ = 3;
  }

  Element ReadDocument() {
    SkipMarkup();
    if (AtEnd()) {
      // The line after a final newline is no line of the file.
      if (line_ > 1 && text_.back() == '\n') --line_;
      Fail("the file holds no element");
    }
    Element root = ReadElement(0);
    SkipMarkup();
    if (!AtEnd()) Fail("text after the closing </" + root.name + ">");
    return root;
  }

 private:
  static constexpr int MaximumDepth = 64;

  [[noreturn]] void Fail(const std::string& reason) const {
    throw FileFault{ZEPErrorMalformedFile, line_, reason};
  }

  bool AtEnd() const { return position_ >= text_.size(); }
  bool LooksAt(std::string_view what) const { return text_.substr(position_, what.size()) == what; }

  void Advance(std::size_t count) {
    for (; count > 0 && !AtEnd(); --count) {
      if (text_[position_++] == '\n') ++line_;
    }
  }

  void SkipBlanks() {
    while (!AtEnd() && std::strchr(" \t\r\n", text_[position_])) Advance(1);
  }

  void SkipPast(std::string_view end, const char* what) {
    const int startLine = line_;
    const std::size_t found = text_.find(end, position_);
    if (found == std::string_view::npos) {
      line_ = startLine;
      Fail(std::string("unterminated ") + what);
    }
    Advance(found + end.size() - position_);
  }

  // Declarations, processing instructions, comments and blanks.
  void SkipMarkup() {
    for (;;) {
      SkipBlanks();
      if (LooksAt("<?")) {
        SkipPast("?>", "processing instruction");
      } else if (LooksAt("<!--")) {
        SkipPast("-->", "comment");
      } else if (LooksAt("<!")) {
        SkipDeclaration();
      } else {
        return;
      }
    }
  }

  void SkipDeclaration() {
    const int startLine = line_;
    int depth = 0;
    while (!AtEnd()) {
      const char c = text_[position_];
      Advance(1);
      if (c == '[') ++depth;
      if (c == ']') --depth;
      if (c == '>' && depth <= 0) return;
    }
    line_ = startLine;
    Fail("unterminated declaration");
  }

  static bool NameCharacter(char c, bool first) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || byte >= 0x80) {
      return true;
    }
    return !first && ((c >= '0' && c <= '9') || c == '-' || c == '.');
  }

  std::string ReadName(const char* what) {
    const std::size_t start = position_;
    while (!AtEnd() && NameCharacter(text_[position_], position_ == start)) Advance(1);
    if (position_ == start) Fail(std::string(what) + " name expected");
    return std::string(text_.substr(start, position_ - start));
  }

  Element ReadElement(int depth) {
    if (depth > MaximumDepth) Fail("elements nested too deep");
    Element element;
    element.line = line_;
    Advance(1);  // '<'
    element.name = ReadName("element");
    for (;;) {
      SkipBlanks();
      if (AtEnd() || LooksAt("<")) {
        line_ = element.line;
        Fail("unterminated <" + element.name + "> tag");
      }
      if (LooksAt("/>")) {
        Advance(2);
        return element;
      }
      if (LooksAt(">")) {
        Advance(1);
        break;
      }
      ReadAttribute(element);
    }
    ReadContent(element, depth);
    return element;
  }

  void ReadAttribute(Element& element) {
    const std::string name = ReadName("attribute");
    SkipBlanks();
    if (!LooksAt("=")) Fail("attribute " + name + " of <" + element.name + "> has no value");
    Advance(1);
    SkipBlanks();
    if (AtEnd() || (text_[position_] != '"' && text_[position_] != '\'')) {
      Fail("the value of attribute " + name + " is not quoted");
    }
    const char quote = text_[position_];
    const int startLine = line_;
    Advance(1);
    std::string value;
    while (!AtEnd() && text_[position_] != quote) {
      if (text_[position_] == '&') {
        value += ReadReference();
      } else {
        value += text_[position_];
        Advance(1);
      }
    }
    if (AtEnd()) {
      line_ = startLine;
      Fail("the value of attribute " + name + " is not closed");
    }
    Advance(1);
    for (const auto& [existing, unused] : element.attributes) {
      if (SameName(existing, name)) Fail("attribute " + name + " is given twice");
    }
    element.attributes.emplace_back(name, std::move(value));
  }

  std::string ReadReference() {
    const std::size_t end = text_.find(';', position_);
    if (end == std::string_view::npos || end - position_ > 10) Fail("a lone & (write &amp;)");
    const std::string_view entity = text_.substr(position_ + 1, end - position_ - 1);
    Advance(end + 1 - position_);
    if (entity == "lt") return "<";
    if (entity == "gt") return ">";
    if (entity == "amp") return "&";
    if (entity == "quot") return "\"";
    if (entity == "apos") return "'";
    if (entity.size() > 1 && entity[0] == '#') {
      const bool hexadecimal = entity[1] == 'x' || entity[1] == 'X';
      const std::string digits(entity.substr(hexadecimal ? 2 : 1));
      char* stop = nullptr;
      const unsigned long code = std::strtoul(digits.c_str(), &stop, hexadecimal ? 16 : 10);
      if (!digits.empty() && *stop == '\0' && code > 0 && code <= 0x10FFFF) return Utf8(code);
    }
    Fail("unknown reference &" + std::string(entity) + ";");
  }

  static std::string Utf8(unsigned long code) {
    std::string bytes;
    if (code < 0x80) {
      bytes += static_cast<char>(code);
    } else if (code < 0x800) {
      bytes += static_cast<char>(0xC0 | (code >> 6));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      bytes += static_cast<char>(0xE0 | (code >> 12));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | (code >> 18));
      bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
    return bytes;
  }

  void ReadContent(Element& element, int depth) {
    for (;;) {
      if (AtEnd())
        Fail("<" + element.name + "> opened on line " + std::to_string(element.line) +
             " is never closed");
      if (LooksAt("</")) {
        Advance(2);
        const std::string closing = ReadName("element");
        SkipBlanks();
        if (!LooksAt(">")) Fail("unterminated </" + closing + "> tag");
        Advance(1);
        if (closing != element.name) {
          Fail("</" + closing + "> closes <" + element.name + "> opened on line " +
               std::to_string(element.line));
        }
        return;
      }
      if (LooksAt("<!--")) {
        SkipPast("-->", "comment");
      } else if (LooksAt("<![CDATA[")) {
        SkipPast("]]>", "CDATA section");
      } else if (LooksAt("<?")) {
        SkipPast("?>", "processing instruction");
      } else if (LooksAt("<")) {
        element.children.push_back(ReadElement(depth + 1));
      } else {
        Advance(1);  // text between elements means nothing here
      }
    }
  }

  std::string_view text_;
  std::size_t position_ = 0;
  int line_ = 1;
};

struct Site {
  std::string id;
  std::string name;
  std::string host;
  int local = 0;
  int line = 0;
};

struct Member {
  std::string login;
  std::string role;
  int line = 0;
};

struct Project {
  std::string name;
  std::string site;
  std::string description;
  std::string state;
  std::vector<Member> members;
  int line = 0;
};

struct AdminFile {
  std::vector<Site> sites;
  std::vector<Project> projects;
};

const std::string* Attribute(const Element& element, std::string_view name) {
  for (const auto& [key, value] : element.attributes) {
    if (SameName(key, name)) return &value;
  }
  return nullptr;
}

std::string Optional(const Element& element, std::string_view name) {
  const std::string* value = Attribute(element, name);
  return value ? *value : std::string();
}

std::string Required(const Element& element, std::string_view name) {
  const std::string* value = Attribute(element, name);
  if (!value || value->empty()) {
    throw FileFault{ZEPErrorMalformedFile, element.line,
                    "<" + element.name + "> without its " + std::string(name) + " attribute"};
  }
  return *value;
}

int Flag(const Element& element, std::string_view name) {
  const std::string value = Optional(element, name);
  if (value.empty() || value == "0" || SameName(value, "false") || SameName(value, "no")) return 0;
  if (value == "1" || SameName(value, "true") || SameName(value, "yes")) return 1;
  throw FileFault{ZEPErrorMalformedFile, element.line,
                  std::string(name) + "=\"" + value + "\" is neither 1 nor 0"};
}

// The sites and projects the document declares; elements of other names
// are left for other tools and ignored.
AdminFile Interpret(const Element& root) {
  if (!SameName(root.name, "zepadmin")) {
    throw FileFault{ZEPErrorMalformedFile, root.line,
                    "the root element is <" + root.name + ">, not <zepadmin>"};
  }
  AdminFile file;
  for (const Element& child : root.children) {
    if (SameName(child.name, "site")) {
      file.sites.push_back({Required(child, "id"), Required(child, "name"), Optional(child, "host"),
                            Flag(child, "local"), child.line});
    } else if (SameName(child.name, "project")) {
      Project project{Required(child, "name"),
                      Required(child, "site"),
                      Optional(child, "description"),
                      Optional(child, "state"),
                      {},
                      child.line};
      for (const Element& member : child.children) {
        if (!SameName(member.name, "member")) continue;
        project.members.push_back({QelUnicodeString(Required(member, "login")).ToUpper().str(),
                                   Required(member, "role"), member.line});
      }
      file.projects.push_back(std::move(project));
    }
  }
  for (const Site& site : file.sites) {
    if (site.id == ZEPPlaceholderSite) {
      throw FileFault{ZEPErrorPlaceholderSite, site.line,
                      std::string("site ") + ZEPPlaceholderSite +
                          " still has the shipped placeholder identifier"};
    }
  }
  for (const Project& project : file.projects) {
    if (project.site == ZEPPlaceholderSite) {
      throw FileFault{
          ZEPErrorPlaceholderSite, project.line,
          "project " + project.name + " names the shipped placeholder site " + ZEPPlaceholderSite};
    }
  }
  return file;
}

// The whole file; false with the reason when it cannot be read.
bool ReadFile(const std::string& path, std::string& content, std::string& reason) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             &std::fclose);
  if (!file) {
    reason = std::strerror(errno);
    return false;
  }
  char block[8192];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) content.append(block, got);
  if (std::ferror(file.get())) {
    reason = std::strerror(errno);
    return false;
  }
  return true;
}

std::string OrNull(const std::string& value) {
  return value.empty() ? "NULL" : pdm::Literal(value);
}

// The rows of the file, in one unit of work. 0, or the failing code with
// the failure filled in and nothing committed.
int Insert(pdm::Connection& db, const std::string& path, const AdminFile& file,
           pdm::Failure& failure) {
  const auto at = [&](int line) { return path + ":" + std::to_string(line) + ": "; };
  const auto run = [&](const std::string& statement, int line) {
    if (db.Execute(statement, failure) != 0) failure.message = at(line) + failure.message;
    return failure.code;
  };
  for (const Site& site : file.sites) {
    if (run("INSERT INTO " + db.Object("ZEPADMIN_SITE") +
                " (SITE_ID, SITE_UUID, NAME, IS_LOCAL, HOST) VALUES (" +
                db.NextValue("ZEPADMIN_SEQ_SITE") + ", " + pdm::Literal(site.id) + ", " +
                pdm::Literal(site.name) + ", " + std::to_string(site.local) + ", " +
                OrNull(site.host) + ")",
            site.line) != 0) {
      return failure.code;
    }
  }
  for (const Project& project : file.projects) {
    std::vector<QelDbRow> rows;
    if (db.Query("SELECT SITE_ID FROM " + db.Object("ZEPADMIN_SITE") +
                     " WHERE SITE_UUID = " + pdm::Literal(project.site),
                 rows, failure) != 0) {
      return failure.code;
    }
    if (rows.empty()) {
      failure = {ZEPErrorMissingReference,
                 at(project.line) + "project " + project.name + " names site " + project.site +
                     ", which neither the file nor " + db.Object("ZEPADMIN_SITE") + " holds"};
      return failure.code;
    }
    const std::string state = project.state.empty() ? "" : ", STATE";
    if (run("INSERT INTO " + db.Object("ZEPADMIN_PROJECT") +
                " (PROJECT_ID, NAME, SITE_UUID, DESCRIPTION" + state + ") VALUES (" +
                db.NextValue("ZEPADMIN_SEQ_PROJECT") + ", " + pdm::Literal(project.name) + ", " +
                pdm::Literal(project.site) + ", " + OrNull(project.description) +
                (state.empty() ? "" : ", " + pdm::Literal(project.state)) + ")",
            project.line) != 0) {
      return failure.code;
    }
    if (project.members.empty()) continue;
    if (db.Query("SELECT PROJECT_ID FROM " + db.Object("ZEPADMIN_PROJECT") +
                     " WHERE NAME = " + pdm::Literal(project.name),
                 rows, failure) != 0) {
      return failure.code;
    }
    if (rows.empty() || rows.front().empty()) {
      failure = {-1, at(project.line) + "project " + project.name +
                         " cannot be read back after its insertion"};
      return failure.code;
    }
    for (const Member& member : project.members) {
      if (run("INSERT INTO " + db.Object("ZEPADMIN_MEMBER") +
                  " (PROJECT_ID, LOGIN, ROLE_NAME) VALUES (" + rows.front().at(0) + ", " +
                  pdm::Literal(member.login) + ", " + pdm::Literal(member.role) + ")",
              member.line) != 0) {
        return failure.code;
      }
    }
  }
  return 0;
}

// Every import is recorded with its result, a failed one too: the
// administrator can see which file was tried, by whom, and how it ended.
int RecordImport(pdm::Connection& db, const std::string& path, int result, pdm::Failure& failure) {
  return db.Execute("INSERT INTO " + db.Object("ZEPADMIN_IMPORT") +
                        " (IMPORT_ID, FILE_PATH, IMPORTED_BY, RESULT_CODE) VALUES (" +
                        db.NextValue("ZEPADMIN_SEQ_IMPORT") + ", " + pdm::Literal(path) + ", " +
                        pdm::Literal(db.User()) + ", " + std::to_string(result) + ")",
                    failure);
}

}  // namespace

int ZEPXmlAdm(const char* path, const char* administrator, const char* password) {
  pdm::ClearReport();
  const std::string file = path ? path : "";
  std::string content;
  std::string reason;
  if (!ReadFile(file, content, reason)) {
    return pdm::Report(Service, {ZEPErrorFileUnreadable, "cannot read " + file + ": " + reason},
                       true);
  }
  AdminFile admin;
  try {
    admin = Interpret(XmlReader(content).ReadDocument());
  } catch (const FileFault& fault) {
    return pdm::Report(
        Service, {fault.code, file + ":" + std::to_string(fault.line) + ": " + fault.reason}, true);
  }
  const pdm::Target* target = pdm::CurrentTarget();
  if (!target) {
    return pdm::Report(
        Service, {ZEPErrorNotConfigured, "no database is configured for the PDM services"}, true);
  }
  pdm::Failure failure;
  const std::unique_ptr<pdm::Connection> db = pdm::Connection::Open(
      *target, administrator ? administrator : "", password ? password : "", failure);
  if (!db) return pdm::Report(Service, failure, true);
  if (Insert(*db, file, admin, failure) != 0 || RecordImport(*db, file, 0, failure) != 0 ||
      db->Commit(failure) != 0) {
    db->Rollback();
    pdm::Failure ignored;
    if (RecordImport(*db, file, failure.code, ignored) == 0) db->Commit(ignored);
    return pdm::Report(Service, failure, true);
  }
  return 0;
}
