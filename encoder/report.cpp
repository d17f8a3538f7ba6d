#include "report.h"

#include <cerrno>
#include <cstring>

#include <sys/wait.h>
#include <unistd.h>

void say(const QByteArray &text)
{
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = write(STDERR_FILENO, text.constData() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

void say(const QString &text)
{
    say(text.toLocal8Bit());
}

void complain(const QString &message)
{
    say(QStringLiteral("ffmpeg2theora: %1\n").arg(message));
}

int stoppedExit()
{
    return 128 + stopSignal();
}

int reportFailure(const QString &program, const ChildResult &run, const QByteArray &errors)
{
    if (!run.startError.isEmpty()) {
        complain(QStringLiteral("cannot run %1: %2").arg(program, run.startError));
        return 1;
    }
    if (WIFSIGNALED(run.status)) {
        say(errors);
        const int sig = WTERMSIG(run.status);
        // strsignal gives the shell's words, such as "Floating point exception".
        say(QStringLiteral("%1 died: %2\n").arg(program, QString::fromLocal8Bit(strsignal(sig))));
        return 128 + sig;
    }
    const int code = WIFEXITED(run.status) ? WEXITSTATUS(run.status) : 1;
    if (code != 0) {
        if (errors.isEmpty())
            complain(QStringLiteral("%1 failed with exit status %2").arg(program).arg(code));
        else
            say(errors);
    }
    return code;
}
