// What every wizard page shares: the catalogue texts it loads (with the
// traces of a missing catalogue or key), the frame skeleton and its layout
// rule, the standard construction of a page dialog, and the small handlers
// that recur on many pages.
#pragma once

#include <initializer_list>
#include <vector>

#include "platform/QelDialog.h"
#include "platform/QelDlgCombo.h"
#include "platform/QelDlgEditor.h"
#include "platform/QelDlgToggle.h"
#include "platform/QelDlgWidgets.h"

// A catalogue key and the text field it is loaded into.
struct ZEP2CatalogKey {
  const char* key;
  QelUnicodeString* text;
};

// Loads the catalogue and every key in order. A missing catalogue is traced
// "\nError on LoadMsgCatalog <catalog>!!!", a missing key
// "\nError on GetCatalogMsg <catalog> <name>", and its text is left empty.
// The name is the key without ".Title" for flat keys, the last widget of the
// path for dotted ones ("Title" for the titled frame's own key).
void ZEP2LoadCatalogTexts(const char* catalogName, std::initializer_list<ZEP2CatalogKey> keys);
void ZEP2LoadCatalogTexts(const char* catalogName, const std::vector<ZEP2CatalogKey>& keys);

// The frame skeleton: Frame1 > Frame11 > (Frame111 > Label111) and
// (Frame112 > Frame1121 for the introduction labels, Frame1122 for fields).
struct ZEP2FrameSkeleton {
  QelDlgFrame* Frame1 = nullptr;
  QelDlgFrame* Frame11 = nullptr;
  QelDlgFrame* Frame111 = nullptr;
  QelDlgLabel* Label111 = nullptr;
  QelDlgFrame* Frame112 = nullptr;
  QelDlgFrame* Frame1121 = nullptr;
  QelDlgFrame* Frame1122 = nullptr;

  // Creates the skeleton below the page frame; Frame1122 only when the page
  // has a field area.
  void Build(QelDlgFrame* pageFrame, const QelUnicodeString& frame112Title, bool fieldArea);
  // The common part of SetPos: skeleton cells and resizable rows and columns.
  void SetPos() const;
};

// Layout helpers of SetPos.
constexpr int ZEP2FrameJustification = 30;
constexpr int ZEP2FieldLabelJustification = 94;
// Stacks widgets in rows 0, 1, 2, ... of column 0.
void ZEP2StackRows(std::initializer_list<QelDlgObject*> widgets, int justification);
// Field rows: label in column 0, input in column 1, one pair per row.
void ZEP2FieldRows(std::initializer_list<std::pair<QelDlgObject*, QelDlgObject*>> rows);

// Create a widget under its parent and apply its caption, sizes and
// initial state right away, as every frame constructor does.
QelDlgFrame* ZEP2NewFrame(QelDlgObject* parent, const char* name);
QelDlgLabel* ZEP2NewLabel(QelDlgObject* parent, const char* name, const QelUnicodeString& title);
QelDlgEditor* ZEP2NewEditor(QelDlgObject* parent, const char* name, unsigned long style,
                            int visibleWidth);
QelDlgCombo* ZEP2NewCombo(QelDlgObject* parent, const char* name, int visibleWidth);
QelDlgCheckButton* ZEP2NewCheckButton(QelDlgObject* parent, const char* name,
                                      const QelUnicodeString& title, int state);
QelDlgRadioButton* ZEP2NewRadioButton(QelDlgObject* parent, const char* name,
                                      const QelUnicodeString& title, int state);

// The rule of the path and name filters: 1 when the text holds no blank, no
// line feed and no carriage return, else 0.
int ZEP2RefuseBlanksAndLineBreaks(const QelUnicodeString& text);

// Common dialog construction and Build steps of every page, and the texts
// most pages load (the controller reads them by name).
class ZEP2PageDialog : public QelDlgDialog {
 public:
  static constexpr unsigned long PageStyle = 0xC2C01;
  static constexpr unsigned long FrameStyle = 0xC0001;

  ZEP2PageDialog(QelInteractiveApplication* application, const QelString& name, unsigned long style)
      : QelDlgDialog(application, name, style), _Application(application) {}

  QelUnicodeString Title;
  QelUnicodeString CANCELWndTitle;
  QelUnicodeString CANCELTextToDisplayForCANCEL;
  QelUnicodeString CANCELYESBUTTON;
  QelUnicodeString CANCELNOBUTTON;
  QelUnicodeString CREATEDIRWndTitle;
  QelUnicodeString CREATEDIRTextToDisplayForCREATEDIR;
  QelUnicodeString CREATEDIRYESBUTTON;
  QelUnicodeString CREATEDIRNOBUTTON;
  QelUnicodeString ERRMSGWndTitle;
  QelUnicodeString ERRMSGOKTitle;
  // The question being asked on this page's behalf (directory creation,
  // user confirmation), built from a catalogue text.
  QelUnicodeString CurrentQuestion;

 protected:
  enum KeyGroups { NoGroup = 0, CancelGroup = 1, CancelAndDirectoryGroups = 3 };
  // Loads the dialog's catalogue: the keys before, the groups (Cancel, then
  // directory creation), the keys after; then the title.
  void LoadTexts(const char* catalogName, std::initializer_list<ZEP2CatalogKey> before,
                 KeyGroups groups, std::initializer_list<ZEP2CatalogKey> after = {});

  // The steps after the frame exists: frame cell, resizable window cell,
  // the page's callbacks, default button, dimensions, hidden.
  void FinishBuild(QelDlgFrame* frame, int defaultButton, int width);
  virtual void CallBacksManager() {}

  QelInteractiveApplication* _Application;
};

// Common handlers, for AddAnalyseNotificationCB on an editor's modify
// notification (the editor is the notification's source).
void ZEP2UpperCaseHandler(QelCommand*, QelNotification* notification, void*);
void ZEP2TrailingSlashHandler(QelCommand*, QelNotification* notification, void*);
// Radio buttons in different frames kept exclusive by hand: checks own,
// unchecks other, without notification, after the trace line.
void ZEP2PairRadioButtons(QelDlgToggle* own, QelDlgToggle* other, const char* traceLine);
