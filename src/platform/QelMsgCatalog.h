// Message catalogues: the texts of a dialog or frame class, read at run time
// from "<class>.cat" files, and the substitution of parameters into them.
//
// Catalogue file (docs/msgcatalog-format.md): UTF-8 text, one "key = text" per
// line. Blank lines and lines whose first non-blank character is '#' are
// ignored, and so are lines without '=' or with an empty key. The key is what
// precedes the first '=', the text what follows it, both trimmed of blanks and
// tabs. Escapes in the text: \n line feed, \t tab, \\ backslash, \s a blank
// (keeps a blank that trimming would remove); any other escaped character
// stands for itself. A later line replaces an earlier one with the same key.
// A trailing CR and a leading byte-order mark are dropped, so files edited
// elsewhere read the same.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "QelList.h"
#include "QelUnicodeString.h"

class QelMsg {
 public:
  QelMsg() = default;
  explicit QelMsg(const QelUnicodeString& text) : text_(text) {}

  bool IsEmpty() const { return text_.Length() == 0; }
  const QelUnicodeString& GetText() const { return text_; }
  void SetText(const QelUnicodeString& text) { text_ = text; }

 private:
  QelUnicodeString text_;
};

class QelMsgCatalog {
 public:
  // Reads "<catalogName>.cat" from the first catalogue directory holding it.
  // 0, or -1 when none does; either way the earlier messages are dropped. A
  // catalogue that is missing, cannot be read or holds no text is said once
  // per process on stderr and is a warning of the run: every text of its
  // class would be empty.
  int LoadMsgCatalog(const QelString& catalogName);

  // 0 and the key's text, or -1 and an empty message when the key is absent.
  int GetCatalogMsg(const QelString& key, QelMsg& message) const;

  // Copies the text into result with %1 .. %9 replaced by the 1-based
  // parameters and %% by %. A %n without its parameter stays as written, and
  // substituted parameters are not scanned again. Always 0.
  static int BuildMessage(const QelMsg& message, QelUnicodeString& result,
                          const QelListValQelUnicodeString& parameters);

  // The key's text from the catalogue with the parameters substituted, or
  // defaultText (substituted as well) when the catalogue or the key is missing.
  static QelUnicodeString BuildMessage(const QelString& catalogName, const QelString& key,
                                       const QelListValQelUnicodeString& parameters,
                                       const QelUnicodeString& defaultText);

  // Where catalogues are searched, in order: the non-empty elements of the
  // colon-separated $QelMsgCatalogPath when it is set and not empty, else
  // <executable directory>/share/msgcatalog (build tree) and then
  // <executable directory>/../share/tessardbsetup/msgcatalog (installed).
  static std::vector<std::string> CatalogDirectories();
  static std::vector<std::string> CatalogDirectories(const char* configuredPath,
                                                     const std::string& executableDirectory);

  // Reads catalogue lines into the messages, later keys replacing earlier ones.
  void Parse(const std::string& content);

 private:
  std::unordered_map<std::string, std::string> messages_;
};
