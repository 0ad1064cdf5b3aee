// The five boxes the controller shows: Cancel confirmation, yes/no
// question, error of a button handler, error of an idle step (not
// blocking), and the directory input error. Each is created right before it
// is shown and destroyed right after.
#pragma once

#include "platform/QelDialog.h"
#include "platform/QelDlgNotify.h"
#include "platform/QelMsgCatalog.h"

class ZEP2InstHQ;

// The detail of an error box, with a line feed after character 69 and then
// after every further 68 characters (first line 69, following lines 67).
QelUnicodeString ZEP2WrapDetail(const QelUnicodeString& detail);
// The text, and when the detail is not empty " \n" and the wrapped detail.
QelUnicodeString ZEP2ComposeErrorText(const QelUnicodeString& text, const QelUnicodeString& detail);

class ZEP2MessageBox {
 public:
  ZEP2MessageBox(ZEP2InstHQ* controller, QelDialog* parent)
      : _Controller(controller), _Parent(parent) {}
  ZEP2MessageBox(const ZEP2MessageBox&) = delete;
  ZEP2MessageBox& operator=(const ZEP2MessageBox&) = delete;
  virtual ~ZEP2MessageBox() = default;

  // The field whose answer the box refuses: the person is put back there
  // once the box is closed.
  void SetSubject(QelDlgObject* field) { _Subject = field; }

 protected:
  // Shows the notice modally, hides and releases it, returns the button.
  int ShowBlocked(const char* noticeName, unsigned long style, const QelUnicodeString& title,
                  const QelUnicodeString& text, const QelUnicodeString* okCaption,
                  const QelUnicodeString* cancelCaption);

  ZEP2InstHQ* _Controller;
  QelDialog* _Parent;
  QelDlgObject* _Subject = nullptr;
  QelMsgCatalog _Catalog;
  QelMsg _Message;
};

class ZEP2CancelInCallBack : public ZEP2MessageBox {
 public:
  ZEP2CancelInCallBack(ZEP2InstHQ* controller, QelDialog* parent, QelUnicodeString title,
                       QelUnicodeString text, QelUnicodeString spare, QelUnicodeString okCaption,
                       QelUnicodeString cancelCaption);
  int Build();

 private:
  QelUnicodeString _Title, _Text, _Spare, _OKCaption, _CancelCaption;
};

class ZEP2YesNoInCallBack : public ZEP2MessageBox {
 public:
  ZEP2YesNoInCallBack(ZEP2InstHQ* controller, QelDialog* parent, QelUnicodeString title,
                      QelUnicodeString text, QelUnicodeString spare1, QelUnicodeString spare2,
                      QelUnicodeString spare3);
  int Build();

 private:
  QelUnicodeString _Title, _Text, _Spare1, _Spare2, _Spare3;
};

// Texts of the two error boxes: a title, a text with an optional detail
// (wrapped), and the OK caption.
class ZEP2ErrorBox : public ZEP2MessageBox {
 public:
  ZEP2ErrorBox(ZEP2InstHQ* controller, QelDialog* parent, QelUnicodeString title,
               QelUnicodeString text, QelUnicodeString detail, QelUnicodeString okCaption)
      : ZEP2MessageBox(controller, parent),
        _Title(std::move(title)),
        _Text(std::move(text)),
        _Detail(std::move(detail)),
        _OKCaption(std::move(okCaption)) {}

 protected:
  QelUnicodeString _Title, _Text, _Detail, _OKCaption;
};

class ZEP2ErrInCallBack : public ZEP2ErrorBox {
 public:
  using ZEP2ErrorBox::ZEP2ErrorBox;
  int Build();
};

// Shown without blocking: the caller subscribes the notice's OK
// notification (GetNotify) and goes on with its idle steps.
class ZEP2ErrInSubsIdle : public ZEP2ErrorBox {
 public:
  using ZEP2ErrorBox::ZEP2ErrorBox;
  void Build();
  QelDlgNotify* GetNotify() const { return _Notify; }

 private:
  QelDlgNotify* _Notify = nullptr;
};

class ZEP2ErrDlgDir : public ZEP2MessageBox {
 public:
  // Shown over the page on screen.
  ZEP2ErrDlgDir(ZEP2InstHQ* controller, QelUnicodeString text);
  void Build();

 private:
  QelUnicodeString _Text;
};
