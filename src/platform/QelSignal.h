// Signal delivery through a self-pipe: the handler given here runs later on
// the application's loop, never inside the asynchronous signal context.
#pragma once

using QelSignalHandler = int (*)(int signal);

// Installs the action with sigaction (the flags are sigaction's, e.g.
// SA_RESETHAND; the mask is empty). 0 on success, -1 on failure.
int QelSetSignalAction(int signal, QelSignalHandler handler, int flags);

// The descriptor the loop watches; -1 before any action was installed.
int QelSignalDescriptor();

// Whether a signal arrived that QelDispatchPendingSignals has not run yet;
// cheap enough to ask between any two pieces of work.
bool QelSignalPending();

// Runs the handlers of the signals that arrived since the last call.
void QelDispatchPendingSignals();
