// SPDX-License-Identifier: GPL-3.0-or-later
#include "report.h"

#include "contract.h"

#include <QRegularExpression>
#include <QStringList>

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
    return contract::stoppedBase + stopSignal();
}

namespace
{

// ffmpeg's lines without the "[name @ 0x55d0c1a2b3c0] " that names the
// object speaking.
QStringList lines(const QByteArray &errors)
{
    static const QRegularExpression speaker(QStringLiteral("^\\[[^\\]]* @ 0x[0-9a-fA-F]+\\] *"));
    QStringList found;
    for (QString line :
         QString::fromLocal8Bit(errors).split(QRegularExpression(QStringLiteral("[\r\n]")))) {
        line = line.remove(speaker).trimmed();
        if (!line.isEmpty())
            found << line;
    }
    return found;
}

} // namespace

QString failureReason(const QByteArray &errors)
{
    // Lines that follow the reason and say only that it failed.
    static const QRegularExpression consequence(
        QStringLiteral(
            "^(Conversion failed!?|Error while (opening encoder|filtering|decoding|processing)|"
            "Error (initializing|reinitializing|sending|opening|closing)|Failed to (inject|set "
            "value)|Error submitting|Nothing was written|Exiting normally|Terminating)"),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList all = lines(errors);
    for (const QString &line : all)
        if (!consequence.match(line).hasMatch())
            return line;
    return all.isEmpty() ? QString() : all.first();
}

int damageReports(const QByteArray &errors)
{
    return int(lines(errors).size());
}

QString cannotRun(const ChildResult &run, const QByteArray &errors)
{
    if (!run.startError.isEmpty())
        return run.startError;
    if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 127)
        return QString();
    // "ffprobe: error while loading shared libraries: ...": the program's
    // name is said already.
    static const QRegularExpression named(QStringLiteral("^\\S+: (?=error while loading)"));
    const QString reason = failureReason(errors).remove(named);
    return reason.isEmpty() ? QStringLiteral("exit status 127") : reason;
}

int reportFailure(const QString &program, const ChildResult &run, const QByteArray &errors)
{
    if (const QString why = cannotRun(run, errors); !why.isEmpty()) {
        complain(QStringLiteral("cannot run %1: %2").arg(program, why));
        return 1;
    }
    const QString reason = failureReason(errors);
    if (WIFSIGNALED(run.status)) {
        const int sig = WTERMSIG(run.status);
        // strsignal gives the shell's words, such as "Floating point exception".
        complain(QStringLiteral("%1 died: %2%3")
                     .arg(program, QString::fromLocal8Bit(strsignal(sig)),
                          reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
        return 128 + sig;
    }
    const int code = WIFEXITED(run.status) ? WEXITSTATUS(run.status) : 1;
    if (code != 0) {
        if (reason.isEmpty())
            complain(QStringLiteral("%1 failed with exit status %2").arg(program).arg(code));
        else
            complain(QStringLiteral("%1 failed: %2").arg(program, reason));
    }
    return code;
}
