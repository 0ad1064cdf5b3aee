// Text editors: plain, password, numeric and multi-line. A person's input
// passes the verify callback (which may refuse it) and raises the modify
// notification; SetText from the program does neither, so handlers can
// write back into the editor that notified them.
#pragma once

#include <string>
#include <vector>

#include "QelDlgObject.h"
#include "QelNotification.h"

// Editor filters: (text, client data) -> int. A verify callback returns 0
// to refuse the text.
using QelEditorCallback = int (*)(const QelUnicodeString& text, void* data);

class QelDlgEditor : public QelDlgObject {
 public:
  static constexpr unsigned long PasswordStyle = 0x40000;
  static constexpr unsigned long NumericStyle = 0x200000;
  static constexpr unsigned long MultiLineStyle = 0x4080000;

  using QelDlgObject::QelDlgObject;
  const char* GetKind() const override { return "editor"; }
  bool IsPassword() const { return (GetStyle() & PasswordStyle) && !IsMultiLine(); }
  bool IsNumeric() const { return GetStyle() & NumericStyle; }
  bool IsMultiLine() const { return (GetStyle() & MultiLineStyle) == MultiLineStyle; }

  QelUnicodeString GetText() const;
  void SetText(const QelUnicodeString& text);

  // Lines of a multi-line editor, 1-based; SetLine past the end appends.
  int GetLineCount() const { return static_cast<int>(lines_.size()); }
  QelUnicodeString GetLine(int line) const;
  void SetLine(int line, const QelUnicodeString& text);
  void ClearLine(int line);

  // 0: no limit.
  void SetMaxCharacterWidth(int characters) { maxCharacters_ = characters; }
  int GetMaxCharacterWidth() const { return maxCharacters_; }

  void SetVerifyCallback(QelEditorCallback callback, void* data) {
    verify_ = callback;
    verifyData_ = data;
  }
  void SetInputCallback(QelEditorCallback callback, void* data) {
    input_ = callback;
    inputData_ = data;
  }

  QelNotification* GetModifyNotification() { return &modify_; }

  // A person commits a text: refused (false, nothing changes, *refusal
  // says why in words) when it is too long, not numeric in a numeric
  // editor, or refused by the verify callback; otherwise stored, the input
  // callback told and the modify notification sent.
  bool CommitText(const QelUnicodeString& text, std::string* refusal = nullptr);

 private:
  std::vector<QelUnicodeString> lines_;
  int maxCharacters_ = 0;
  QelEditorCallback verify_ = nullptr;
  void* verifyData_ = nullptr;
  QelEditorCallback input_ = nullptr;
  void* inputData_ = nullptr;
  QelNotification modify_{this};
};
