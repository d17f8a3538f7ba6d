// SPDX-License-Identifier: GPL-3.0-or-later
#include "encodepreflight.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "../encoder/contract.h"
#include "commandline.h"
#include "queue.h"

namespace
{
const char *const boxTitle = "Velkoran Theora Encoder";

// The words of a command as they decide what is encoded: without --restart.
QStringList decisive(QStringList words)
{
    words.removeAll(QStringLiteral("--restart"));
    return words;
}

// What PROGRAM says of the chunks kept for the command WORDS: whether it
// would go on from them. Unknown when it cannot tell within the time given
// (an encoder without the question, an input it cannot read, a slow disk).
// The window is redrawn meanwhile, but takes no input.
contract::ResumeAnswer askEncoder(const QString &program, const QStringList &words)
{
    QProcess check;
    check.setStandardInputFile(QProcess::nullDevice());
    check.setStandardErrorFile(QProcess::nullDevice());
    QEventLoop loop;
    QObject::connect(&check, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&check, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(EncodePreflight::resumeCheckMs, &loop, &QEventLoop::quit);
    check.start(program, decisive(words) << QLatin1String(contract::resumeCheckOption));
    if (check.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (check.state() != QProcess::NotRunning) {
        check.kill();
        check.waitForFinished(1000);
        return {};
    }
    if (check.exitStatus() != QProcess::NormalExit || check.exitCode() != 0)
        return {};
    return contract::readResumeAnswer(check.readAllStandardOutput());
}
} // namespace

QString EncodePreflight::findProgram(const QString &program)
{
    if (program.contains(u'/'))
        return QFileInfo(program).isExecutable() ? program : QString();
    return QStandardPaths::findExecutable(program);
}

bool EncodePreflight::keptPartBusy(const QString &output)
{
    // The encoder holds its chunk directory with a lock while it runs.
    const int fd = ::open(QFile::encodeName(keptChunksDir(output)).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool busy = flock(fd, LOCK_SH | LOCK_NB) != 0;
    ::close(fd);
    return busy;
}

int EncodePreflight::keptShare(const QString &output)
{
    QFile file(keptChunksDir(output) + QStringLiteral("/manifest"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QJsonObject m = QJsonDocument::fromJson(file.readAll()).object();
    const qint64 frames = m.value(QStringLiteral("frames")).toInteger();
    if (frames <= 0)
        return -1;
    qint64 pictures = 0;
    for (const QJsonValue chunk : m.value(QStringLiteral("chunks")).toArray())
        pictures += chunk.toObject().value(QStringLiteral("pictures")).toInteger();
    return int(std::min<qint64>(100, pictures * 100 / frames));
}

void EncodePreflight::keptAfter(const QString &output, const QStringList &words, int percent)
{
    const QString dir = keptChunksDir(output);
    if (percent < 0)
        kept.remove(dir);
    else
        kept.insert(dir, {decisive(words), percent});
}

EncodePreflight::Answer EncodePreflight::ask(const QString &program, const QString &input,
                                             const QString &output, const QStringList &words,
                                             EncodeQueue *queue)
{
    why.clear();
    if (findProgram(program).isEmpty()) {
        why = QCoreApplication::translate("Velkoran", "The encoder \"%1\" was not found.")
                  .arg(program);
        QMessageBox::critical(
            parent, boxTitle,
            why + u'\n' +
                QCoreApplication::translate("Velkoran", "It was looked for in:\n%1")
                    .arg(QString::fromLocal8Bit(qgetenv("PATH"))
                             .split(u':', Qt::SkipEmptyParts)
                             .join(u'\n')));
        return Answer::Stop;
    }
    if (sameExistingFile(input, output)) {
        QMessageBox::critical(parent, boxTitle,
                              QCoreApplication::translate(
                                  "Velkoran",
                                  "The encoded file would replace the video being encoded:\n%1\n\n"
                                  "Please choose another file name or directory.")
                                  .arg(output));
        why = QCoreApplication::translate("Velkoran", "it would replace its own input");
        return Answer::Skip;
    }
    if (keptPartBusy(output)) {
        sayRunningElsewhere(output);
        return Answer::Skip;
    }
    if (!replaceAllowed(input, output, queue)) {
        why = EncodeQueue::tr("%1 was kept").arg(QFileInfo(output).fileName());
        return Answer::Skip;
    }
    if (queue && !queue->active())
        return Answer::Stop;
    return resumeAnswer(program, output, words, queue);
}

void EncodePreflight::sayRunningElsewhere(const QString &output)
{
    why = QCoreApplication::translate("Velkoran", "an encode of this file is running elsewhere");
    QMessageBox::warning(
        parent, boxTitle,
        QCoreApplication::translate("Velkoran",
                                    "An encode of %1 is running elsewhere (in another window or "
                                    "program).\n\nPlease wait for its end, or choose another name.")
            .arg(output));
}

bool EncodePreflight::replaceAllowed(const QString &input, const QString &output,
                                     EncodeQueue *queue)
{
    Q_UNUSED(input);
    if (!QFileInfo(output).isFile())
        return true; // nothing of the user's to lose; the encoder reports a bad path
    // In a queue the answer may hold for the files after this one too.
    if (queue && queue->replaceAll)
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        parent, boxTitle,
        QCoreApplication::translate("Velkoran",
                                    "The file %1 already exists.\n\nDo you want to replace it?")
            .arg(output),
        queue ? QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::Cancel
              : QMessageBox::Yes | QMessageBox::No,
        QMessageBox::No);
    if (queue) {
        queue->replaceAll = answer == QMessageBox::YesToAll;
        if (answer == QMessageBox::Cancel)
            queue->skipRest(EncodeQueue::tr("the queue was stopped"));
    }
    return answer == QMessageBox::Yes || answer == QMessageBox::YesToAll;
}

// When an earlier encode to OUTPUT stopped with chunks kept, the user chooses
// between resuming it (the encoder goes on from them by itself) and starting
// over. Kept by other settings, it can only start over. Whether the command
// about to run would resume is the encoder's to say; when it cannot tell in
// time, what this window ran and the manifest's share stand in.
EncodePreflight::Answer EncodePreflight::resumeAnswer(const QString &program, const QString &output,
                                                      const QStringList &words, EncodeQueue *queue)
{
    const QString dir = keptChunksDir(output);
    if (!QFileInfo(dir + QStringLiteral("/manifest")).isFile())
        return Answer::Go;
    using Said = contract::ResumeAnswer::Kind;
    const contract::ResumeAnswer said = askEncoder(program, words);
    if (said.kind == Said::None)
        return Answer::Go;
    if (said.kind == Said::Running) {
        sayRunningElsewhere(output);
        return Answer::Skip;
    }
    const auto known = kept.constFind(dir);
    const bool changed =
        said.kind == Said::Changed ||
        (said.kind == Said::Unknown && known != kept.cend() && known->words != decisive(words));
    const int percent = said.kind == Said::Share ? said.share
                        : known != kept.cend()   ? known->percent
                                                 : keptShare(output);
    QString text = percent >= 0
                       ? QCoreApplication::translate(
                             "Velkoran", "An earlier encode of this file stopped at %1 %.")
                             .arg(percent)
                       : QCoreApplication::translate(
                             "Velkoran", "An earlier encode of this file stopped before its end.");
    QMessageBox box(QMessageBox::Question, boxTitle, text,
                    (changed ? QMessageBox::NoButton : QMessageBox::Yes) | QMessageBox::No |
                        QMessageBox::Cancel,
                    parent);
    if (changed)
        box.setText(text + QStringLiteral("\n\n") +
                    QCoreApplication::translate(
                        "Velkoran", "The settings changed since; the kept part cannot be used."));
    else
        box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("Velkoran", "&Resume"));
    box.button(QMessageBox::No)->setText(QCoreApplication::translate("Velkoran", "&Start over"));
    box.setDefaultButton(changed ? QMessageBox::No : QMessageBox::Yes);
    const int answer = box.exec();
    if (answer == QMessageBox::No)
        return Answer::Restart;
    if (answer == QMessageBox::Yes)
        return Answer::Go;
    why = queue ? EncodeQueue::tr("the queue was stopped") : QString();
    return queue ? Answer::Stop : Answer::Skip;
}
