// Texts, traces and pressed-button values of the message boxes.
#include "ZEP2MessageBoxes.h"

#include <string>
#include <vector>

#include "platform/QelLog.h"

namespace {

// UTF-8 text split into characters, so wrapping never cuts one in two.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) == 0x80 && !characters.empty()) {
      characters.back() += c;
    } else {
      characters.emplace_back(1, c);
    }
  }
  return characters;
}

// The notice names are the boxes' class names; declaring them lets a silent
// run's answers be checked against them before any box is shown.
const char* const CancelInCallBackClass = QelDlgNotify::DeclareClass("ZEP2CancelInCallBack");
const char* const YesNoInCallBackClass = QelDlgNotify::DeclareClass("ZEP2YesNoInCallBack");
const char* const ErrInCallBackClass = QelDlgNotify::DeclareClass("ZEP2ErrInCallBack");
const char* const ErrInSubsIdleClass = QelDlgNotify::DeclareClass("ZEP2ErrInSubsIdle");
const char* const ErrDlgDirClass = QelDlgNotify::DeclareClass("ZEP2ErrDlgDir");

void TraceAnswer(int value) {
  WriteTraceLogFile(value == 1 ? "\n1" : value == 2 ? "\n2" : "\ndefault", 1);
}

}  // namespace

QelUnicodeString ZEP2WrapDetail(const QelUnicodeString& detail) {
  constexpr std::size_t Width = 68;
  std::vector<std::string> characters = Characters(detail.str());
  if (characters.size() <= Width + 1) return detail;
  std::size_t p = Width;
  std::size_t q = 0;
  do {
    characters.insert(characters.begin() + static_cast<std::ptrdiff_t>(p + 1), "\n");
    q = p;
    p += Width;
  } while (characters.size() - q - 1 > Width);
  std::string wrapped;
  for (const std::string& character : characters) wrapped += character;
  return wrapped;
}

QelUnicodeString ZEP2ComposeErrorText(const QelUnicodeString& text,
                                      const QelUnicodeString& detail) {
  if (detail.Compare("") == 2) return text;
  return text + " \n" + ZEP2WrapDetail(detail);
}

int ZEP2MessageBox::ShowBlocked(const char* noticeName, unsigned long style,
                                const QelUnicodeString& title, const QelUnicodeString& text,
                                const QelUnicodeString* okCaption,
                                const QelUnicodeString* cancelCaption) {
  QelDlgNotify* notice = QelDlgNotify::Create(_Parent, noticeName, style);
  if (okCaption) notice->SetOKTitle(*okCaption);
  if (cancelCaption) notice->SetCANCELTitle(*cancelCaption);
  notice->SetTitle(title);
  notice->SetText(text);
  notice->SetSubject(_Subject);
  notice->SetVisibility(QelDlgObject::Shown);
  const int value = notice->DisplayBlocked(text, title);
  notice->SetVisibility(QelDlgObject::Hidden);
  notice->Release();
  return value;
}

ZEP2CancelInCallBack::ZEP2CancelInCallBack(ZEP2InstHQ* controller, QelDialog* parent,
                                           QelUnicodeString title, QelUnicodeString text,
                                           QelUnicodeString spare, QelUnicodeString okCaption,
                                           QelUnicodeString cancelCaption)
    : ZEP2MessageBox(controller, parent),
      _Title(std::move(title)),
      _Text(std::move(text)),
      _Spare(std::move(spare)),
      _OKCaption(std::move(okCaption)),
      _CancelCaption(std::move(cancelCaption)) {}

int ZEP2CancelInCallBack::Build() {
  WriteTraceLogFile("\n\nZEP2CancelInCallBack::Build Begin ...\n", 0);
  const int value = ShowBlocked(CancelInCallBackClass, QelDlgNotify::OkCancelStyle, _Title, _Text,
                                &_OKCaption, &_CancelCaption);
  WriteTraceLogFile(value == 1   ? "\nPressedButton : 1"
                    : value == 2 ? "\nPressedButton : 2"
                                 : "\nPressedButton : default",
                    1);
  WriteTraceLogFile("\nZEP2CancelInCallBack::Build End.\n\n", 0);
  return value;
}

ZEP2YesNoInCallBack::ZEP2YesNoInCallBack(ZEP2InstHQ* controller, QelDialog* parent,
                                         QelUnicodeString title, QelUnicodeString text,
                                         QelUnicodeString spare1, QelUnicodeString spare2,
                                         QelUnicodeString spare3)
    : ZEP2MessageBox(controller, parent),
      _Title(std::move(title)),
      _Text(std::move(text)),
      _Spare1(std::move(spare1)),
      _Spare2(std::move(spare2)),
      _Spare3(std::move(spare3)) {}

int ZEP2YesNoInCallBack::Build() {
  WriteTraceLogFile("\n\nZEP2YesNoInCallBack::Build Begin ...\n", 0);
  // The framework's own Yes and No captions stand whatever the caller gave.
  const int value =
      ShowBlocked(YesNoInCallBackClass, QelDlgNotify::YesNoStyle, _Title, _Text, nullptr, nullptr);
  WriteTraceLogFile(value == 3   ? "\nPressedButton : Yes"
                    : value == 4 ? "\nPressedButton : No"
                                 : "\nPressedButton : default",
                    1);
  WriteTraceLogFile("\nPressedButton : <" + QelUnicodeString::FromInt(value) + ">", 1);
  WriteTraceLogFile("\nZEP2YesNoInCallBack::Build End.\n\n", 0);
  return value;
}

int ZEP2ErrInCallBack::Build() {
  const int value = ShowBlocked(ErrInCallBackClass, QelDlgNotify::OkStyle, _Title,
                                ZEP2ComposeErrorText(_Text, _Detail), &_OKCaption, nullptr);
  TraceAnswer(value);
  return value;
}

void ZEP2ErrInSubsIdle::Build() {
  _Notify = QelDlgNotify::Create(_Parent, ErrInSubsIdleClass, QelDlgNotify::OkStyle);
  _Notify->SetOKTitle(_OKCaption);
  _Notify->SetTitle(_Title);
  _Notify->SetText(ZEP2ComposeErrorText(_Text, _Detail));
  _Notify->SetVisibility(QelDlgObject::Shown);
}

ZEP2ErrDlgDir::ZEP2ErrDlgDir(ZEP2InstHQ* controller, QelUnicodeString text)
    : ZEP2MessageBox(controller, nullptr), _Text(std::move(text)) {}

void ZEP2ErrDlgDir::Build() {
  if (!_Controller) return;
  for (QelDialog* dialog : QelDialog::AllDialogs()) {
    if (dynamic_cast<QelDlgDialog*>(dialog) && dialog->IsVisible()) _Parent = dialog;
  }
  const int value = ShowBlocked(ErrDlgDirClass, QelDlgNotify::DirectoryErrorStyle,
                                "KEYBOARD INPUT ERROR", "INPUT ERROR:\n" + _Text, nullptr, nullptr);
  TraceAnswer(value);
}
