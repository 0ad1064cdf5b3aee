// The loop's contract with the installation steps: one subscription per
// command, replacement, subscription from inside a call, removal, and
// signals handled on the loop rather than in the signal context.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include "platform/QelApplication.h"
#include "platform/QelSignal.h"

namespace {

std::vector<std::string> calls;
QelApplication* application = nullptr;
int countdown = 0;

void StepA(QelCommand*, int, void*) {
  calls.push_back("A");
}
void StepB(QelCommand*, int, void*) {
  calls.push_back("B");
}

// A chain like the engine's: each step removes itself and subscribes the next.
void ChainSecond(QelCommand* command, int priority, void*) {
  calls.push_back("second");
  application->RemoveSubscribe(priority, command);
}
void ChainFirst(QelCommand* command, int priority, void*) {
  calls.push_back("first");
  application->RemoveSubscribe(priority, command);
  application->Subscribe(priority, command, nullptr, ChainSecond);
}

void CountDown(QelCommand* command, int priority, void* data) {
  calls.push_back(std::to_string(*static_cast<int*>(data)));
  if (--countdown == 0) application->RemoveSubscribe(priority, command);
}

class IdleLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    application = &app;
  }
  QelApplication app{nullptr, "test"};
  QelCommand first{nullptr, "first"};
  QelCommand second{nullptr, "second"};
};

TEST_F(IdleLoop, SubscribeReplacesTheCommandsCurrentFunction) {
  app.Subscribe(2, &first, nullptr, StepA);
  app.Subscribe(2, &first, nullptr, StepB);
  app.Subscribe(2, &second, nullptr, StepA);
  ASSERT_TRUE(app.RunOnce());
  EXPECT_EQ(calls, (std::vector<std::string>{"B", "A"}));
}

TEST_F(IdleLoop, StepsChainFromInsideAnIdleCallAndTheLoopEndsWhenIdle) {
  app.Subscribe(2, &first, nullptr, ChainFirst);
  int rounds = 0;
  while (app.RunOnce()) ++rounds;
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(rounds, 2) << "each step runs once, in its own pass";
  EXPECT_FALSE(app.IsSubscribed(2, &first));
}

TEST_F(IdleLoop, IdleCallsRunBackToBackUntilRemoved) {
  int data = 7;
  countdown = 1000;
  app.Subscribe(2, &first, &data, CountDown);
  app.SetWindowShown(this, true);  // a shown window: the loop could block now
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(app.RunOnce());
  EXPECT_EQ(calls.size(), 1000u);
  EXPECT_EQ(calls.front(), "7") << "the client data reaches the function";
  EXPECT_FALSE(app.IsSubscribed(2, &first));
}

TEST_F(IdleLoop, DestroyInsideACallStopsTheRound) {
  app.Subscribe(2, &first, nullptr, [](QelCommand*, int, void*) {
    calls.push_back("destroy");
    application->Destroy();
  });
  app.Subscribe(2, &second, nullptr, StepA);
  EXPECT_FALSE(app.RunOnce());
  EXPECT_EQ(calls, (std::vector<std::string>{"destroy"}));
}

int signalsSeen = 0;
int handlerRanInsideSignalContext = 0;
volatile sig_atomic_t insideSignalContext = 0;

int CountSignal(int signal) {
  if (insideSignalContext) ++handlerRanInsideSignalContext;
  if (signal == SIGUSR1) ++signalsSeen;
  return signal;
}

TEST_F(IdleLoop, SignalReachesTheLoopAndNotTheSignalContext) {
  signalsSeen = 0;
  ASSERT_EQ(QelSetSignalAction(SIGUSR1, CountSignal, SA_RESETHAND), 0);
  insideSignalContext = 1;
  raise(SIGUSR1);  // delivered before raise returns
  insideSignalContext = 0;
  EXPECT_EQ(signalsSeen, 0) << "nothing runs before the loop reads the pipe";

  // A shown window and no idle work: the pass blocks until the byte is read.
  app.SetWindowShown(this, true);
  ASSERT_TRUE(app.RunOnce());
  EXPECT_EQ(signalsSeen, 1);
  EXPECT_EQ(handlerRanInsideSignalContext, 0);

  // SA_RESETHAND: the action is gone after one delivery until reinstalled.
  struct sigaction current {};
  sigaction(SIGUSR1, nullptr, &current);
  EXPECT_EQ(current.sa_handler, SIG_DFL);
}

// While idle work goes on, descriptors are looked at only now and then; a
// signal must not wait for that, and a readable descriptor must not be
// forgotten.
TEST_F(IdleLoop, IdleWorkLeavesRoomForSignalsAndDescriptors) {
  signalsSeen = 0;
  int data = 0;
  countdown = 1 << 30;
  app.Subscribe(2, &first, &data, CountDown);
  ASSERT_EQ(QelSetSignalAction(SIGUSR1, CountSignal, SA_RESETHAND), 0);
  ASSERT_TRUE(app.RunOnce());
  raise(SIGUSR1);
  ASSERT_TRUE(app.RunOnce());
  EXPECT_EQ(signalsSeen, 1) << "the pass right after the signal handles it";

  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  bool read = false;
  app.WatchDescriptor(fds[0], [&] {
    char byte = 0;
    read = ::read(fds[0], &byte, 1) == 1;
  });
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!read && std::chrono::steady_clock::now() < deadline) ASSERT_TRUE(app.RunOnce());
  EXPECT_TRUE(read) << "the watched descriptor was never looked at";
  app.UnwatchDescriptor(fds[0]);
  close(fds[0]);
  close(fds[1]);
}

}  // namespace
