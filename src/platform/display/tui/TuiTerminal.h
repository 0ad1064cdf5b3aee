// The terminal's life cycle: curses mode on and off, lending the terminal to
// a child process and taking it back, colours with a monochrome fallback, and
// the guarantee that the terminal is given back as it was found even when
// the process crashes. SIGINT, SIGTERM and SIGHUP end the run through the
// program's own handlers, which leave curses on the way out.
#pragma once

// What the drawing code asks for; each maps to colours or, without colours,
// to plain attributes.
enum class TuiStyle {
  Normal,
  TitleBar,
  Focus,
  Field,
  Dim,
  Box,
  BoxTitle,
  Error,
  BarDone,
  BarLeft,
  Button,
  DefaultButton,
  Hint,
};

class TuiTerminal {
 public:
  TuiTerminal() = default;
  TuiTerminal(const TuiTerminal&) = delete;
  TuiTerminal& operator=(const TuiTerminal&) = delete;
  ~TuiTerminal();

  // Enters curses mode; false when the terminal cannot be driven.
  bool Start();
  // Leaves curses mode for good; the terminal is as it was before Start.
  void Stop();

  // Another process is to own the terminal: curses mode is left and nothing
  // is drawn or read until Reclaim.
  void Release();
  // Back to curses mode after the borrower ended, whatever state it left.
  void Reclaim();
  bool IsReleased() const { return released_; }
  bool IsStarted() const { return started_; }

  bool HasColours() const { return colours_; }
  // The attribute (colour pair included) for a style.
  unsigned long Attribute(TuiStyle style) const;

 private:
  void SetUpColours();

  void* screen_ = nullptr;  // the curses SCREEN
  bool started_ = false;
  bool released_ = false;
  bool colours_ = false;
};
