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

// One child program, run to its end. Its standard input is /dev/null (this
// program never reads its own), its standard output and error come back
// through the callbacks, and it dies with us (PR_SET_PDEATHSIG).
struct ChildCommand {
    QStringList argv; // program (looked up on PATH) and arguments
    std::optional<int> nice;
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
};

struct ChildResult {
    QString startError;          // not empty: the program could not be run
    int status = 0;              // as from waitpid
    bool stopped = false;        // it was stopped because we were asked to stop
    std::optional<int> niceness; // what the child ran at, when a niceness was asked
    bool abandoned = false;      // killed because another child failed
};

ChildResult runChild(const ChildCommand &command);

// Several children at once, each as runChild runs one. A stop request goes to
// every child. With stopOthersOnFailure, the first child that fails (exits
// non-zero, dies of a signal or cannot be started) has the others killed;
// their results then say abandoned. The results come in the order of COMMANDS.
QList<ChildResult> runChildren(const QList<ChildCommand> &commands, bool stopOthersOnFailure);

// A child's end that is not a success.
bool failed(const ChildResult &result);

#endif
