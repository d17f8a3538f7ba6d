// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_PROCESS_H
#define FFMPEG2THEORA_PROCESS_H

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <csignal>
#include <functional>
#include <optional>

// Catches SIGTERM, SIGINT and SIGHUP so that a running child can be stopped in
// good order; call once, before any child is started.
void installStopHandlers();

// The first stop signal received so far, or 0.
int stopSignal();

// One child program, run to its end. Its standard input is /dev/null unless
// it reads the input from ours, its standard output and error come back
// through the callbacks, and it dies with us (PR_SET_PDEATHSIG).
struct ChildCommand {
    QStringList argv; // program (looked up on PATH) and arguments
    std::optional<int> nice;
    // Runs only on a core no other process wants (SCHED_IDLE), so that it
    // takes no time from the pooled children yet fills any core they leave;
    // runChildren makes it an ordinary child again as soon as a worker has
    // nothing left to take, or on a stop request. Where that could not be
    // undone (an ordinary user may not raise a priority), it is an ordinary
    // child from the start.
    bool idle = false;
    // Sent to the child when we are asked to stop; SIGKILL follows after
    // graceMs if it is still there, or at once on a second stop request.
    int stopWith = SIGKILL;
    int graceMs = 0;
    std::function<void(const QByteArray &)> onStdout;
    std::function<void(const QByteArray &)> onStderr;
    // Set: the child's descriptor 3 is a pipe read into this (ffmpeg's
    // progress, so that its standard output is free for the data).
    std::function<void(const QByteArray &)> onProgress;
    // Without onStdout: the child writes to our standard output when set,
    // else to /dev/null.
    bool passStdout = false;
    // The child reads our standard input (its input is there), not
    // /dev/null.
    bool passStdin = false;
    // Waits for a free worker: runChildren runs at most WORKERS of these at
    // a time, in the order given.
    bool pooled = false;
    // Asked when the child has exited with success: a non-empty answer says
    // what is wrong with what it made, and makes its end a failure.
    std::function<QString()> onSuccess;
};

struct ChildResult {
    QString startError;          // not empty: the program could not be run
    int status = 0;              // as from waitpid
    bool stopped = false;        // it was stopped because we were asked to stop
    std::optional<int> niceness; // what the child ran at, when a niceness was asked
    bool abandoned = false;      // killed, or never started, because another child failed
    QString rejected;            // what onSuccess found wrong
    // When it started and ended, in ms since runChildren began; -1 if never.
    qint64 startMs = -1;
    qint64 endMs = -1;
};

ChildResult runChild(const ChildCommand &command);

// Several children at once, each as runChild runs one; of the pooled ones at
// most WORKERS at a time (0: all at once), each started when one before it
// has ended. A stop request goes to every child, and no pooled one starts
// after it (those say stopped). With stopOthersOnFailure, the first child
// that fails (exits non-zero, dies of a signal, cannot be started or is
// rejected) has the others killed and the waiting ones left; their results
// then say abandoned. The results come in the order of COMMANDS.
QList<ChildResult> runChildren(const QList<ChildCommand> &commands, bool stopOthersOnFailure,
                               int workers = 0);

// A child's end that is not a success.
bool failed(const ChildResult &result);

#endif
