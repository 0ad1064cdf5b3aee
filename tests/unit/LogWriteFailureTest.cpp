// A log file the disk stops taking: the failure is told once, where the user
// sees it, and the run goes on without writing to that file again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>

#include "TempDirectory.h"
#include "platform/QelDisplay.h"
#include "platform/QelLog.h"

namespace {

// A front end drawing on the terminal until told otherwise.
class DrawingDisplay : public QelDisplay {
 public:
  explicit DrawingDisplay(bool* holds) : holds_(holds) {}
  int DisplayBlocked(QelDlgNotify*) override { return 0; }
  bool HoldsTerminal() const override { return *holds_; }

 private:
  bool* holds_;
};

// What the process writes on stderr meanwhile, through a pipe: a capture
// into a file would meet the file size limit itself.
class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    if (pipe2(pipe_, O_NONBLOCK) == 0) {
      saved_ = dup(STDERR_FILENO);
      dup2(pipe_[1], STDERR_FILENO);
    }
  }
  ~StderrCapture() { Text(); }
  std::string Text() {
    if (saved_ >= 0) {
      std::fflush(stderr);
      dup2(saved_, STDERR_FILENO);
      close(saved_);
      close(pipe_[1]);
      saved_ = -1;
      char buffer[4096];
      for (ssize_t got; (got = read(pipe_[0], buffer, sizeof buffer)) > 0;) {
        text_.append(buffer, static_cast<std::size_t>(got));
      }
      close(pipe_[0]);
    }
    return text_;
  }

 private:
  int pipe_[2] = {-1, -1};
  int saved_ = -1;
  std::string text_;
};

// The file size limit makes a real write fail (EFBIG) past a given size.
class LogWriteFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved_), 0);
    savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    unsetenv("TESSARDBSETUP_TRACE_LEVEL");
    QelSetErrLogFile(directory.File("err").c_str());
  }
  void TearDown() override {
    Unlimit();
    std::signal(SIGXFSZ, savedSignal_);
    QelSetDisplay(nullptr);
    QelCloseLogFiles();
    QelSetErrLogFile(nullptr);
  }
  void LimitFileSize(rlim_t bytes) {
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  void Unlimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
  std::string Told(const std::string& file, const std::string& path) const {
    return "tessardbsetup: cannot write the " + file + " " + path +
           ": File too large; nothing more is written to it\n";
  }

  TempDirectory directory;
  rlimit saved_{};
  void (*savedSignal_)(int) = SIG_DFL;
};

TEST_F(LogWriteFailure, AFullLogIsToldOnceAndLeftAloneUntilReopened) {
  const std::string log = directory.File("log");
  ASSERT_EQ(OpenLogFile(log.c_str(), 1), 0);
  LimitFileSize(256);
  StderrCapture capture;
  const std::string first(200, 'a'), second(100, 'b');
  WriteLogFile(first.c_str());
  WriteLogFile(second.c_str());  // 56 bytes fit, the rest is refused
  WriteLogFile("later\n");
  WriteLogFile("and later\n");
  WriteErrLogFile("error line\n");  // another file, still below the limit
  const std::string told = capture.Text();
  Unlimit();
  EXPECT_EQ(told, Told("log", log));
  EXPECT_EQ(ReadWholeFile(log), first + second.substr(0, 56));
  // The error log says where the log stops, and goes on.
  EXPECT_EQ(ReadWholeFile(directory.File("err")),
            told.substr(std::string("tessardbsetup: ").size()) + "error line\n");

  // A file opened again is written again: the refusal was the old one's.
  ASSERT_EQ(OpenLogFile(log.c_str(), 0), 0);
  WriteLogFile("\nreopened\n");
  EXPECT_EQ(ReadWholeFile(log), first + second.substr(0, 56) + "\nreopened\n");
}

TEST_F(LogWriteFailure, ATraceFailureWaitsUntilTheTerminalIsFree) {
  const std::string trace = directory.File("trace");
  ASSERT_EQ(OpenTraceLogFile(trace.c_str(), 1), 0);
  bool drawing = true;
  QelSetDisplay(std::make_unique<DrawingDisplay>(&drawing));
  LimitFileSize(4);
  StderrCapture drawn;
  WriteTraceLogFile("\nStep Begin ...", 0);
  QelFlushLogFiles();
  const std::string whileDrawing = drawn.Text();
  EXPECT_EQ(whileDrawing, "") << "a line over the drawn page would be lost in it";

  drawing = false;
  StderrCapture freed;
  WriteTraceLogFile("\nStep End ...", 0);
  QelFlushLogFiles();
  QelFlushLogFiles();
  const std::string once = freed.Text();
  Unlimit();
  EXPECT_EQ(once, Told("trace", trace));
  EXPECT_EQ(ReadWholeFile(trace), "\nSte");
}

}  // namespace
