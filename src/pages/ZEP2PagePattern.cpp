// Shared page construction. Texts missing from a catalogue never stop a
// page: they are traced and shown empty.
#include "ZEP2PagePattern.h"

#include <string>

#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"

namespace {

std::string TraceName(const std::string& key) {
  if (key == "Frame1.Frame11.Frame112.Title") return "Title";
  std::string name = key;
  const std::string suffix = ".Title";
  if (name.size() > suffix.size() && name.ends_with(suffix))
    name.resize(name.size() - suffix.size());
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(dot + 1);
}

}  // namespace

void ZEP2LoadCatalogTexts(const char* catalogName, std::initializer_list<ZEP2CatalogKey> keys) {
  ZEP2LoadCatalogTexts(catalogName, std::vector<ZEP2CatalogKey>(keys));
}

void ZEP2LoadCatalogTexts(const char* catalogName, const std::vector<ZEP2CatalogKey>& keys) {
  QelMsgCatalog catalog;
  if (catalog.LoadMsgCatalog(catalogName) != 0) {
    WriteTraceLogFile(std::string("\nError on LoadMsgCatalog ") + catalogName + "!!!", 2);
  }
  const QelListValQelUnicodeString noParameters;
  for (const ZEP2CatalogKey& key : keys) {
    QelMsg message;
    catalog.GetCatalogMsg(key.key, message);
    if (message.IsEmpty()) {
      WriteTraceLogFile(
          std::string("\nError on GetCatalogMsg ") + catalogName + " " + TraceName(key.key), 2);
    }
    QelMsgCatalog::BuildMessage(message, *key.text, noParameters);
  }
}

void ZEP2FrameSkeleton::Build(QelDlgFrame* pageFrame, const QelUnicodeString& frame112Title,
                              bool fieldArea) {
  Frame1 = new QelDlgFrame(pageFrame, "Frame1", 0);
  Frame11 = new QelDlgFrame(Frame1, "Frame11", 0);
  Frame111 = new QelDlgFrame(Frame11, "Frame111", 0);
  Label111 = new QelDlgLabel(Frame111, "Label111", 0);
  Frame112 = new QelDlgFrame(Frame11, "Frame112", 1);
  Frame112->SetTitle(frame112Title);
  Frame1121 = new QelDlgFrame(Frame112, "Frame1121", 0);
  if (fieldArea) Frame1122 = new QelDlgFrame(Frame112, "Frame1122", 0);
}

void ZEP2FrameSkeleton::SetPos() const {
  Frame1->SetConstraints(0, 0, ZEP2FrameJustification);
  Frame1->GetParent()->SetResizableRow(0);
  Frame1->GetParent()->SetResizableColumn(0);
  Frame11->SetConstraints(0, 0, ZEP2FrameJustification);
  Frame1->SetResizableRow(0);
  Frame1->SetResizableColumn(0);
  Frame111->SetConstraints(0, 0, ZEP2FrameJustification);
  Label111->SetConstraints(0, 0, ZEP2FrameJustification);
  Frame112->SetConstraints(0, 1, ZEP2FrameJustification);
  Frame11->SetResizableRow(0);
  Frame11->SetResizableColumn(1);
  Frame1121->SetConstraints(0, 0, ZEP2FrameJustification);
  if (Frame1122) {
    Frame1122->SetConstraints(1, 0, ZEP2FrameJustification);
    Frame112->SetResizableRow(1);
  }
  Frame112->SetResizableColumn(0);
}

void ZEP2StackRows(std::initializer_list<QelDlgObject*> widgets, int justification) {
  int row = 0;
  for (QelDlgObject* widget : widgets) widget->SetConstraints(row++, 0, justification);
}

void ZEP2FieldRows(std::initializer_list<std::pair<QelDlgObject*, QelDlgObject*>> rows) {
  int row = 0;
  for (const auto& [label, input] : rows) {
    if (label) label->SetConstraints(row, 0, ZEP2FieldLabelJustification);
    if (input) {
      input->SetConstraints(row, 1, ZEP2FrameJustification);
      input->GetParent()->SetResizableColumn(1);
    }
    ++row;
  }
}

QelDlgFrame* ZEP2NewFrame(QelDlgObject* parent, const char* name) {
  return new QelDlgFrame(parent, name, 0);
}

QelDlgCombo* ZEP2NewCombo(QelDlgObject* parent, const char* name, int visibleWidth) {
  auto* combo = new QelDlgCombo(parent, name, 0x40000);
  if (visibleWidth) combo->SetVisibleTextWidth(visibleWidth);
  return combo;
}

QelDlgCheckButton* ZEP2NewCheckButton(QelDlgObject* parent, const char* name,
                                      const QelUnicodeString& title, int state) {
  auto* button = new QelDlgCheckButton(parent, name, 0);
  button->SetTitle(title);
  button->SetState(state);
  return button;
}

QelDlgRadioButton* ZEP2NewRadioButton(QelDlgObject* parent, const char* name,
                                      const QelUnicodeString& title, int state) {
  auto* button = new QelDlgRadioButton(parent, name, 0);
  button->SetTitle(title);
  button->SetState(state);
  return button;
}

int ZEP2RefuseBlanksAndLineBreaks(const QelUnicodeString& text) {
  return text.str().find_first_of(" \n\r") == std::string::npos ? 1 : 0;
}

QelDlgLabel* ZEP2NewLabel(QelDlgObject* parent, const char* name, const QelUnicodeString& title) {
  auto* label = new QelDlgLabel(parent, name, 0);
  label->SetTitle(title);
  return label;
}

QelDlgEditor* ZEP2NewEditor(QelDlgObject* parent, const char* name, unsigned long style,
                            int visibleWidth) {
  auto* editor = new QelDlgEditor(parent, name, style);
  if (visibleWidth) editor->SetVisibleTextWidth(visibleWidth);
  return editor;
}

void ZEP2PageDialog::LoadTexts(const char* catalogName,
                               std::initializer_list<ZEP2CatalogKey> before, KeyGroups groups,
                               std::initializer_list<ZEP2CatalogKey> after) {
  std::vector<ZEP2CatalogKey> keys(before);
  if (groups & CancelGroup) {
    keys.insert(keys.end(), {{"CANCELWndTitle.Title", &CANCELWndTitle},
                             {"CANCELTextToDisplayForCANCEL.Title", &CANCELTextToDisplayForCANCEL},
                             {"CANCELYESBUTTON.Title", &CANCELYESBUTTON},
                             {"CANCELNOBUTTON.Title", &CANCELNOBUTTON}});
  }
  if (groups == CancelAndDirectoryGroups) {
    keys.insert(keys.end(),
                {{"CREATEDIRWndTitle.Title", &CREATEDIRWndTitle},
                 {"CREATEDIRTextToDisplayForCREATEDIR.Title", &CREATEDIRTextToDisplayForCREATEDIR},
                 {"CREATEDIRYESBUTTON.Title", &CREATEDIRYESBUTTON},
                 {"CREATEDIRNOBUTTON.Title", &CREATEDIRNOBUTTON}});
  }
  keys.insert(keys.end(), after);
  ZEP2LoadCatalogTexts(catalogName, keys);
  SetTitle(Title);
}

void ZEP2PageDialog::FinishBuild(QelDlgFrame* frame, int defaultButton, int width) {
  frame->SetConstraints(0, 0, ZEP2FrameJustification);
  SetResizableRow(0);
  SetResizableColumn(0);
  CallBacksManager();
  if (defaultButton) SetDefaultButton(defaultButton);
  SetRectDimensions(0, 0, width, 545);
  SetVisibility(Hidden);
}

void ZEP2UpperCaseHandler(QelCommand*, QelNotification* notification, void*) {
  auto* editor = static_cast<QelDlgEditor*>(notification->GetSource());
  editor->SetText(editor->GetText().ToUpper());
}

void ZEP2TrailingSlashHandler(QelCommand*, QelNotification* notification, void*) {
  auto* editor = static_cast<QelDlgEditor*>(notification->GetSource());
  editor->SetText(editor->GetText().Strip(QelUnicodeString::Trailing, '/'));
}

void ZEP2PairRadioButtons(QelDlgToggle* own, QelDlgToggle* other, const char* traceLine) {
  WriteTraceLogFile(traceLine, 1);
  own->SetState(QelDlgToggle::Checked);
  other->SetState(QelDlgToggle::Unchecked);
}
