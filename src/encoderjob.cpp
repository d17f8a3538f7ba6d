// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoderjob.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "../encoder/contract.h"
#include <csignal>
#include <sys/prctl.h>

#include "commandline.h"
#include "timeleft.h"

namespace
{
// Enough of the encoder's error output to quote its last lines.
const qsizetype errorTailBytes = 4096;
} // namespace

EncoderJob::EncoderJob(QProcess &encoder, QObject *parent) : QObject(parent), process(encoder)
{
    killTimer.setSingleShot(true);
    killTimer.setTimerType(Qt::PreciseTimer); // never before the grace time is over
    connect(&killTimer, &QTimer::timeout, this, [this] {
        if (process.state() != QProcess::NotRunning)
            process.kill();
    });
    finishingTicks.setInterval(1000);
    connect(&finishingTicks, &QTimer::timeout, this, &EncoderJob::finishing);
    connect(&process, &QProcess::readyReadStandardError, this, &EncoderJob::readErrorOutput);
    connect(&process, &QProcess::finished, this, &EncoderJob::processFinished);
    connect(&process, &QProcess::errorOccurred, this, &EncoderJob::processError);
}

bool EncoderJob::startEncode(const QString &command, const QString &output, const QString &input)
{
    currentInput = input;
    outputPath = output;
    const QFileInfo before(output);
    outputBefore = before.isFile() ? before.lastModified() : QDateTime();
    return start(Kind::Encode, command);
}

bool EncoderJob::startProbe(const QString &program, const QString &input)
{
    currentInput = input;
    outputPath.clear();
    probeDir = std::make_unique<QTemporaryDir>();
    if (!probeDir->isValid()) {
        lastError = probeDir->errorString();
        current = Kind::Probe;
        finish(Outcome::NoTempDir);
        return false;
    }
    return start(Kind::Probe,
                 baseCommand(program, input, probeDir->filePath(QStringLiteral("probe.ogg"))));
}

bool EncoderJob::start(Kind kind, const QString &command)
{
    current = kind;
    stopRequested = false;
    timeSeen = false;
    phrases.clear();
    errorTail.clear();
    lastError.clear();
    lastExitCode = 0;
    clockFirst = -1;
    timeLeft.reset();
    finishingTicks.stop();
    kept = -1;
    resumed = -1;
    // What the encoder writes to its standard output is of no use here; it is
    // thrown away as it comes instead of piling up in memory.
    process.setStandardOutputFile(QProcess::nullDevice());
    // The encoder does not outlive the window, however the window ends: it is
    // asked to stop as at Cancel, and keeps what it finished.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.startCommand(command, QIODevice::ReadWrite);
    // A program that cannot be started has ended the job by now.
    return current == kind;
}

void EncoderJob::stop()
{
    if (!running())
        return;
    stopRequested = true;
    process.terminate();
    if (!killTimer.isActive())
        killTimer.start(stopGraceMs);
}

void EncoderJob::stopAndWait()
{
    if (process.state() == QProcess::NotRunning)
        return;
    stopRequested = true;
    process.terminate();
    if (!process.waitForFinished(stopGraceMs)) {
        process.kill();
        process.waitForFinished(stopGraceMs);
    }
}

bool EncoderJob::partialFileLeft() const
{
    // A file that was there before and was not written since is the user's
    // own, left as it was (the encoder replaces a file only when it succeeds).
    const QFileInfo out(outputPath);
    return !outputPath.isEmpty() && out.isFile() &&
           (!outputBefore.isValid() || out.lastModified() != outputBefore);
}

QString EncoderJob::lastOutput(int lines) const
{
    return lastLines(errorTail, lines);
}

void EncoderJob::readErrorOutput()
{
    const QByteArray bytes = process.readAllStandardError();
    if (bytes.isEmpty())
        return;
    errorTail.append(bytes);
    if (errorTail.size() > errorTailBytes)
        errorTail = errorTail.right(errorTailBytes);
    const QString result = errorOutputText(bytes);

    const QString phrase = firstErrorPhrase(result);
    if (!phrase.isEmpty() && !phrases.contains(phrase)) {
        phrases.insert(phrase);
        // The phrase is found byte for byte; the line around it is shown
        // as the encoder wrote it, in UTF-8.
        QString line = lineHolding(QString::fromUtf8(bytes.left(result.size())), phrase);
        if (line.isEmpty())
            line = lineHolding(result, phrase);
        emit phraseRead(phrase, line);
    }
    static const QRegularExpression noLength(QStringLiteral("Duration:\\s*N/A"));
    if (current == Kind::Encode && result.contains(noLength))
        emit lengthMeasured(currentInput, QString(), QString());
    const QString time = firstTime(result);
    if (!time.isEmpty())
        readTime(result, time);
    // After the length: a resumed encode starts from a share of it.
    if (current == Kind::Encode && bytes.contains(" chunks "))
        readKeptChunks(QString::fromLocal8Bit(bytes));
    if (current == Kind::Encode && bytes.contains("finishing: "))
        readFinishing(QString::fromLocal8Bit(bytes));
}

void EncoderJob::readFinishing(const QString &text)
{
    static const QRegularExpression line(QString::fromLatin1(contract::finishingPattern));
    const QRegularExpressionMatch m = line.match(text);
    if (!m.hasMatch() || clockFirst < 0)
        return;
    timeLeft.finishing(clock.elapsed(), m.captured(1).toDouble());
    finishingTicks.start();
    emit finishing();
}

void EncoderJob::readKeptChunks(const QString &text)
{
    const KeptChunks chunks = keptChunks(text);
    if (chunks.kept >= 0)
        kept = chunks.kept;
    if (chunks.resumed >= 0 && resumed < 0) {
        resumed = chunks.resumed;
        // The position jumps to what is done already: no pace to measure.
        clockFirst = -1;
        timeLeft.reset();
        emit resuming(resumed);
    }
}

// TIME is the first time in the piece RESULT of the error output.
void EncoderJob::readTime(const QString &result, const QString &time)
{
    const bool first = !timeSeen;
    timeSeen = true;
    const QString seconds = firstTimeSeconds(result);
    // What the time means comes first, then the time as it was written.
    if (current == Kind::Probe) {
        if (first && !stopRequested) {
            emit lengthMeasured(currentInput, time, seconds);
            stop(); // the probe has done its work
        }
    } else if (current == Kind::Encode) {
        // Most pieces are position lines: the pattern is made only for a length.
        if (result.contains(QLatin1String("Duration:")) &&
            result.contains(QRegularExpression(QStringLiteral("Duration:\\s*") +
                                               QRegularExpression::escape(time))))
            emit lengthMeasured(currentInput, time, seconds);
        else
            emit positionRead(lastPosition = seconds.toDouble());
    }
    emit timeRead(time, seconds);
}

QString EncoderJob::progressFormat(int position, int maximum)
{
    // The clock starts at the first position, and again when the position
    // goes back (the input's length, read as a position).
    if (clockFirst < 0 || position < clockFirst) {
        clockFirst = position;
        clock.start();
        timeLeft.reset();
    }
    // The position as the encoder wrote it, when it is the one shown.
    const double at = int(lastPosition) == position ? lastPosition : position;
    timeLeft.position(clock.elapsed(), at, maximum);
    return timeLeft.format(clock.elapsed());
}

QString EncoderJob::finishingFormat() const
{
    return timeLeft.format(clock.elapsed());
}

void EncoderJob::processFinished(int exitCode, QProcess::ExitStatus status)
{
    readErrorOutput(); // what came with the end
    lastExitCode = exitCode;
    if (current == Kind::Probe) {
        finish(timeSeen        ? Outcome::Measured
               : stopRequested ? Outcome::Cancelled
                               : Outcome::NoLength);
    } else if (current == Kind::Encode) {
        const QFileInfo out(outputPath);
        finish(stopRequested                       ? Outcome::Cancelled
               : status == QProcess::CrashExit     ? Outcome::Crashed
               : exitCode != contract::exitSuccess ? Outcome::Failed
               : !out.isFile()                     ? Outcome::NoOutput
               : out.size() == 0                   ? Outcome::EmptyOutput
                                                   : Outcome::Encoded);
    }
}

void EncoderJob::processError(QProcess::ProcessError error)
{
    // A crash also ends in finished(), which reports it.
    if (error != QProcess::FailedToStart || !running())
        return;
    lastError = process.errorString();
    finish(Outcome::NotStarted);
}

void EncoderJob::finish(Outcome outcome)
{
    const Kind kind = current;
    current = Kind::None;
    killTimer.stop();
    finishingTicks.stop();
    probeDir.reset();
    emit ended(kind, outcome);
}
