// The terminal front end: renders the widget model with curses and turns
// keys into the model's notifications, through the same paths the response
// file front end takes. Handlers return reaction flags and never draw; the
// model marks what changed and the loop draws, at most every few tens of
// milliseconds while the installation runs.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "../../QelDialog.h"
#include "../../QelDisplay.h"
#include "TuiLayout.h"
#include "TuiLineEdit.h"
#include "TuiTerminal.h"

class QelDlgCombo;
class QelDlgEditor;
class QelDlgNotify;

class QelTuiDisplay : public QelDisplay {
 public:
  QelTuiDisplay();
  ~QelTuiDisplay() override;
  // False when curses could not start on this terminal.
  bool Start();

  void DialogShown(QelDialog* dialog) override;
  void DialogHidden(QelDialog* dialog) override;
  void DialogRaised(QelDialog* dialog) override;
  void ObjectChanged(QelDlgObject* object) override;
  int DisplayBlocked(QelDlgNotify* notice) override;
  void UpdateDisplay() override;
  void SetBusyCursor() override;
  bool BeforeWaiting() override;
  void IdleCallDone() override;
  void StatementPlayed() override { ++statementsPlayed_; }
  void ReleaseTerminal() override;
  void ReclaimTerminal() override;
  bool HoldsTerminal() const override;
  void ApplicationEnding(int status, const std::string& outcome) override;

 private:
  // Reaction flags of key handlers.
  enum Reaction { Ignored = 0, Handled = 1, Redraw = 2 };
  // A place the focus can be: a widget, or one of the page's buttons.
  struct Focus {
    QelDlgObject* widget = nullptr;
    int button = -1;  // QelDlgDialog::Button when widget is null
    bool operator==(const Focus&) const = default;
  };
  struct OpenCombo {
    QelDlgCombo* combo = nullptr;
    int highlighted = 0;
    std::string typed;
    std::chrono::steady_clock::time_point lastTyped;
  };
  struct Box {
    QelDlgNotify* notice;
    int selected;  // 0 the first button, 1 the second
    int answer;    // the pressed value, 0 while none
  };
  // A box of the front end's own over a page: the page's help, or the
  // question before Close ends the run. Neither is an answer to the
  // program, so neither goes through the widget model.
  enum class OverlayKind { None, Help, CloseQuestion };
  struct Overlay {
    OverlayKind kind = OverlayKind::None;
    QelDlgDialog* page = nullptr;
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
    int selected = 0;
    int scroll = 0;  // first line of the text shown
  };
  struct HeldKey {
    int key;
    std::string character;
    bool alt;
  };

  // State.
  QelDlgDialog* CurrentPage() const;
  QelDlgNotify* CurrentNotice() const;
  std::vector<QelDlgDialog::Button> Buttons(QelDlgDialog* page) const;
  std::vector<Focus> FocusRing(QelDlgDialog* page, const TuiLayout& layout) const;
  Focus& PageFocus(QelDlgDialog* page);
  void SettleFocus(QelDlgDialog* page, const TuiLayout& layout);
  void FocusChanged();
  TuiLayout PageLayout(QelDlgDialog* page) const;
  int BodyHeight() const;
  int BodyWidth() const;

  // Keys (TuiKeys.cpp).
  // Reads the keys there are; readable: the terminal said it had some (a
  // terminal that says so again and again and gives nothing has gone).
  void ReadKeys(bool readable);
  // alt: the character came with Alt (Esc and the character at once).
  int HandleKey(int key, const std::string& character, bool alt = false);
  int PageKey(QelDlgDialog* page, int key, const std::string& character, bool alt);
  // A page button's or Help's hotkey; Ignored when the character is none.
  int HotkeyKey(QelDlgDialog* page, const std::string& character);
  // A character nothing takes: said, never dropped in silence.
  int RefuseCharacter(QelDlgDialog* page);
  int EditorKey(TuiLineEdit& edit, int key, const std::string& character);
  // Keys on a combo that offers an entry field: typing goes into the field.
  int EntryComboKey(QelDlgDialog* page, QelDlgCombo* combo, int key, const std::string& character);
  void StartTyping(QelDlgCombo* combo);
  int ComboKey(int key, const std::string& character);
  int TextViewKey(QelDlgObject* view, int key);
  int NoticeKey(QelDlgNotify* notice, int key, const std::string& character);
  int MoveFocus(QelDlgDialog* page, bool forward);
  int Activate(QelDlgDialog* page, bool enter);
  // Commits what was typed into the focused editor or combo field.
  bool CommitEdit();
  bool CommitTyping();
  // Forgets what was typed into a combo of a page other than shown.
  void DropTyping(const QelDlgDialog* shown);
  void PressButton(QelDlgDialog* page, QelDlgDialog::Button button);
  void Close(QelDlgDialog* page);
  int DefaultButtonOf(QelDlgDialog* page) const;
  // Captions of the page's button row as drawn, Help last.
  std::vector<std::string> RowCaptions(QelDlgDialog* page) const;
  // After a box about a refused answer: the focus goes back to the field.
  void FocusAfterBox(QelDlgNotify* notice);
  void FocusField(QelDlgDialog* page, QelDlgObject* field, bool refused);
  // Something the person set on this run: closing would lose it.
  bool CloseAsks() const;

  // The front end's own boxes (TuiOverlay.cpp).
  int AskToClose(QelDlgDialog* page);
  int ShowHelp(QelDlgDialog* page);
  int OverlayKey(int key, const std::string& character);
  void AnswerClose(bool close);
  void DrawOverlay();

  // Drawing (TuiDraw.cpp, TuiBoxes.cpp).
  void Draw();
  void DrawIfDue();
  void DrawTooSmall();
  void DrawTitleBar(QelDlgDialog* page);
  void DrawBody(QelDlgDialog* page, const TuiLayout& layout);
  void DrawItem(const TuiItem& item, int screenY, bool focused);
  void DrawEditor(const TuiItem& item, int y, bool focused);
  void DrawTextView(const TuiItem& item, int y, bool focused);
  void DrawProgress(const TuiItem& item, int y);
  void DrawButtons(QelDlgDialog* page);
  void DrawHintLine(QelDlgDialog* page);
  void DrawNotice(QelDlgNotify* notice, int selected);
  // A centred box: title, text from line scroll on, a row of buttons.
  void DrawBox(const std::string& title, const std::string& text,
               const std::vector<std::string>& buttons, int selected, int scroll);
  // A button as "< Caption >" (or "<[Caption]>" for the default one), its
  // hotkey letter underlined.
  void DrawButton(int y, int x, const std::string& caption, int hotkey, bool isDefault,
                  unsigned long style);
  void DrawComboList(const TuiLayout& layout);
  int ScrollFor(QelDlgDialog* page, const TuiLayout& layout);

  // Boxes (TuiBoxes.cpp).
  std::vector<std::string> BoxButtons(const QelDlgNotify* notice) const;
  int BoxValue(const QelDlgNotify* notice, int selected) const;

  TuiTerminal terminal_;
  std::vector<QelDlgDialog*> pages_;    // shown pages, the last on top
  std::vector<QelDlgNotify*> notices_;  // shown notices, the last on top
  std::vector<Box> blocked_;            // boxes waiting for an answer
  std::map<const QelDialog*, Focus> focus_;
  std::map<const QelDialog*, int> scroll_;
  std::map<const QelDlgObject*, int> textScroll_;
  std::map<const QelDialog*, std::chrono::steady_clock::time_point> shownAt_;
  QelDlgEditor* editing_ = nullptr;
  TuiLineEdit edit_;
  OpenCombo openCombo_;
  // The combo whose entry field is being typed into, and the text so far;
  // the model gets it once, when it is committed.
  QelDlgCombo* typing_ = nullptr;
  TuiLineEdit typed_;
  std::string message_;  // one-line message on the hint line (a refused text)
  Overlay overlay_;
  // Keys typed while the terminal is too small, used once it is not.
  std::vector<HeldKey> heldKeys_;
  // The field each page's person was last in, for a box that names none.
  std::map<const QelDialog*, QelDlgObject*> lastField_;
  // Typing replaces the text of the field just refused, as a selection would.
  bool replaceOnType_ = false;
  bool answered_ = false;
  bool closedByKey_ = false;
  bool dirty_ = true;
  bool busy_ = false;
  int spinner_ = 0;
  // Statements executed (or written to the DDL file) since the program began.
  long statementsPlayed_ = 0;
  int silentReads_ = 0;
  int cursorY_ = -1;
  int cursorX_ = -1;
  std::chrono::steady_clock::time_point lastDraw_;
};

// Screen size under which pages are not drawn.
constexpr int TuiMinimumColumns = 80;
constexpr int TuiMinimumLines = 24;
