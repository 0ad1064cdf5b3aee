// Curses mode and its guaranteed end. A crash restores the terminal from
// inside the signal handler with nothing but write() and tcsetattr(), which
// are safe there, then ends the process by the signal as before; curses' own
// endwin() is not safe in a handler. The interrupting signals (SIGINT,
// SIGTERM, SIGHUP) keep the handlers the program gives them: they end the
// run on the loop, which restores the terminal as any end does; ours only
// stands in where the program installs none.
#include "TuiTerminal.h"

#include <curses.h>
#include <term.h>
#include <termios.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

// Read by the signal handler: plain data written before handlers exist.
struct termios originalModes;
bool haveOriginalModes = false;
volatile sig_atomic_t inCursesMode = 0;
char leaveSequence[256];
std::size_t leaveSequenceLength = 0;

constexpr int FatalSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV,
                                SIGBUS, SIGFPE,  SIGILL, SIGABRT};

void AppendCapability(const char* name) {
  char* value = tigetstr(const_cast<char*>(name));
  if (!value || value == reinterpret_cast<char*>(-1)) return;
  const std::size_t length = std::strlen(value);
  if (leaveSequenceLength + length >= sizeof leaveSequence) return;
  std::memcpy(leaveSequence + leaveSequenceLength, value, length);
  leaveSequenceLength += length;
}

void RestoreFromHandler() {
  if (inCursesMode) {
    // A background writer would be stopped by SIGTTOU; the restore must
    // not hang the death of the process.
    signal(SIGTTOU, SIG_IGN);
    [[maybe_unused]] const ssize_t written =
        write(STDOUT_FILENO, leaveSequence, leaveSequenceLength);
    if (haveOriginalModes) tcsetattr(STDIN_FILENO, TCSAFLUSH, &originalModes);
    inCursesMode = 0;
  }
}

void FatalSignal(int signal) {
  RestoreFromHandler();
  // SA_RESETHAND made the action the default again: this ends the process
  // by the signal, as without the handler.
  raise(signal);
}

void InstallFatalHandlers() {
  for (const int signal : FatalSignals) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    // An ignored signal stays ignored (a run started with nohup).
    if (current.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = FatalSignal;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace

TuiTerminal::~TuiTerminal() {
  Stop();
}

bool TuiTerminal::Start() {
  if (started_) return true;
  haveOriginalModes = tcgetattr(STDIN_FILENO, &originalModes) == 0;
  // Esc closes a page: a long wait for a following key would feel dead.
  if (!std::getenv("ESCDELAY")) set_escdelay(25);
  std::setlocale(LC_ALL, "");
  // newterm, unlike initscr, fails with a result instead of ending the
  // process on an unknown terminal type.
  screen_ = newterm(nullptr, stdout, stdin);
  if (!screen_) return false;
  set_term(static_cast<SCREEN*>(screen_));
  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  intrflush(stdscr, FALSE);
  leaveSequenceLength = 0;
  AppendCapability("sgr0");
  AppendCapability("cnorm");
  AppendCapability("rmcup");
  SetUpColours();
  started_ = true;
  inCursesMode = 1;
  InstallFatalHandlers();
  return true;
}

void TuiTerminal::SetUpColours() {
  const char* noColour = std::getenv("NO_COLOR");
  colours_ = has_colors() && !(noColour && *noColour);
  if (!colours_) return;
  start_color();
  use_default_colors();
  init_pair(1, COLOR_WHITE, COLOR_BLUE);   // title bar
  init_pair(2, COLOR_BLACK, COLOR_CYAN);   // focus
  init_pair(3, COLOR_BLACK, COLOR_WHITE);  // box
  init_pair(4, COLOR_WHITE, COLOR_RED);    // error
  init_pair(5, COLOR_BLACK, COLOR_GREEN);  // progress done
  init_pair(6, COLOR_BLUE, COLOR_WHITE);   // box title
  init_pair(7, COLOR_CYAN, -1);            // hints
}

unsigned long TuiTerminal::Attribute(TuiStyle style) const {
  if (colours_) {
    switch (style) {
      case TuiStyle::TitleBar:
        return COLOR_PAIR(1) | A_BOLD;
      case TuiStyle::Focus:
        return COLOR_PAIR(2);
      case TuiStyle::Field:
        return A_UNDERLINE;
      case TuiStyle::Dim:
        return A_DIM;
      case TuiStyle::Box:
        return COLOR_PAIR(3);
      case TuiStyle::BoxTitle:
        return COLOR_PAIR(6) | A_BOLD;
      case TuiStyle::Error:
        return COLOR_PAIR(4) | A_BOLD;
      case TuiStyle::BarDone:
        return COLOR_PAIR(5);
      case TuiStyle::BarLeft:
        return A_DIM;
      case TuiStyle::Button:
        return A_NORMAL;
      case TuiStyle::DefaultButton:
        return A_BOLD;
      case TuiStyle::Hint:
        return COLOR_PAIR(7);
      case TuiStyle::Normal:
        return A_NORMAL;
    }
  }
  switch (style) {
    case TuiStyle::TitleBar:
    case TuiStyle::Focus:
    case TuiStyle::BarDone:
      return A_REVERSE;
    case TuiStyle::Field:
      return A_UNDERLINE;
    case TuiStyle::Dim:
    case TuiStyle::BarLeft:
      return A_DIM;
    case TuiStyle::BoxTitle:
    case TuiStyle::DefaultButton:
      return A_BOLD;
    case TuiStyle::Error:
      return A_BOLD | A_REVERSE;
    default:
      return A_NORMAL;
  }
}

void TuiTerminal::Release() {
  if (!started_ || released_) return;
  // The terminal's modes go back to the shell's, but the alternate screen
  // stays: what the borrower's script prints before it draws lands there,
  // not in the administrator's scrollback, and the borrower's own end
  // returns to the screen as it was before the wizard.
  def_prog_mode();
  curs_set(1);
  refresh();
  reset_shell_mode();
  fflush(stdout);
  inCursesMode = 0;
  released_ = true;
}

void TuiTerminal::Reclaim() {
  if (!started_ || !released_) return;
  released_ = false;
  inCursesMode = 1;
  // The borrower drew over everything and may have changed the size.
  reset_prog_mode();
  // The borrower left the alternate screen on its way out: back into it.
  putp(tigetstr(const_cast<char*>("smcup")));
  fflush(stdout);
  clearok(curscr, TRUE);
  refresh();
  flushinp();
}

void TuiTerminal::Stop() {
  if (!started_) return;
  if (!released_) endwin();
  // After a lend, the terminal is restored by hand: curses believes it is
  // in shell mode already.
  // A borrower killed without warning leaves its modes behind.
  if (haveOriginalModes) tcsetattr(STDIN_FILENO, TCSADRAIN, &originalModes);
  if (released_ && leaveSequenceLength) {
    [[maybe_unused]] const ssize_t written =
        write(STDOUT_FILENO, leaveSequence, leaveSequenceLength);
  }
  inCursesMode = 0;
  started_ = false;
  released_ = false;
}
