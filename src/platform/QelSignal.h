// Signal delivery through a self-pipe: the handler given here runs later on
// the application's loop, never inside the asynchronous signal context.
#pragma once

#include <csignal>

using QelSignalHandler = int (*)(int signal);

// Installs the action with sigaction (the flags are sigaction's, e.g.
// SA_RESETHAND; the mask is empty). 0 on success, -1 on failure.
int QelSetSignalAction(int signal, QelSignalHandler handler, int flags);

// As QelSetSignalAction, and the signal becomes an interruption: a wait for
// a child (QelWaitProcess) ends once one arrives, the child's processes
// killed, so the handler runs on the loop soon after instead of never.
int QelSetInterruptAction(int signal, QelSignalHandler handler, int flags);

// The descriptor the loop watches; -1 before any action was installed.
int QelSignalDescriptor();

// Whether a signal arrived that QelDispatchPendingSignals has not run yet;
// cheap enough to ask between any two pieces of work.
bool QelSignalPending();

// Whether an interruption arrived that QelDispatchPendingSignals has not run
// yet: every wait for a child until then ends at once.
bool QelInterruptPending();

// A descriptor whose readability interrupts a wait for a child as an
// interruption does (the son's pipe from its father, whose end means the
// father is gone); -1 for none.
void QelSetInterruptDescriptor(int descriptor);
int QelInterruptDescriptor();

// The signals installed as interruptions, for a wait to unblock only them.
sigset_t QelInterruptSignals();

// Runs the handlers of the signals that arrived since the last call.
void QelDispatchPendingSignals();
