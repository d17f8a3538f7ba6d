// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef ENCODERJOB_H
#define ENCODERJOB_H

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

#include "timeleft.h"

// One run of the encoder at a time, on a process object the caller owns: an
// encode, or a probe that writes to a throw-away directory. The job reads the
// encoder's error output, stops it on request (terminate, then kill after a
// grace time), and on its end says how it went. It shows nothing itself.
class EncoderJob : public QObject
{
    Q_OBJECT

public:
    enum class Kind { None, Encode, Probe };
    Q_ENUM(Kind)

    enum class Outcome {
        Encoded,     // exit 0 and a non-empty output file
        NoOutput,    // exit 0, but no output file
        EmptyOutput, // exit 0, but an empty output file
        Failed,      // a non-zero exit code
        Crashed,
        Cancelled,  // stopped on request before it ended (a probe: before it read a time)
        NotStarted, // the program could not be started
        NoTempDir,  // a probe found no place for its throw-away output
        Measured,   // a probe read a time
        NoLength,   // a probe ended without reading any time
    };
    Q_ENUM(Outcome)

    explicit EncoderJob(QProcess &encoder, QObject *parent = nullptr);

    // Starts COMMAND, which encodes INPUT to OUTPUT. False when nothing runs
    // afterwards; ended() has then been emitted already.
    bool startEncode(const QString &command, const QString &output,
                     const QString &input = QString());
    // Starts PROGRAM on INPUT, writing to a temporary directory that goes when
    // the probe ends. The probe stops itself once it has measured the length.
    bool startProbe(const QString &program, const QString &input);

    // Asks the encoder to stop; one that does not within the grace time is killed.
    void stop();
    // Stops the encoder and waits for its end (used when the window closes).
    void stopAndWait();
    void setStopGraceMs(int ms) { stopGraceMs = ms; }

    Kind kind() const { return current; }
    // The input of the running job, or of the one that ended last.
    QString input() const { return currentInput; }
    bool running() const { return current != Kind::None; }
    bool stopping() const { return running() && stopRequested; }

    // About the job that ended last (valid in and after ended()).
    int exitCode() const { return lastExitCode; }
    QString errorString() const { return lastError; }
    QString output() const { return outputPath; }
    bool phraseShown() const { return !phrases.isEmpty(); }
    bool partialFileLeft() const;
    // The last lines of the encoder's error output.
    QString lastOutput(int lines) const;
    // The share of the encode that the encoder kept in chunks for the same
    // command to resume, in percent (-1: nothing kept).
    int keptShare() const { return kept; }

    // Reads what the encoder has written to its error output so far.
    void readErrorOutput();

    // The progress bar's format at POSITION of MAXIMUM: the percentage, and
    // the time left once the clock, started at the job's first position, can tell.
    QString progressFormat(int position, int maximum);
    // The same after the last picture, while the encoder joins and checks.
    QString finishingFormat() const;

signals:
    // The first time of a piece of error output, as "H:MM:SS", and as seconds
    // with the fraction the encoder wrote ("7.8").
    void timeRead(const QString &time, const QString &seconds);
    // A known error phrase, the first time it appears in this job, with the
    // encoder's own line that holds it.
    void phraseRead(const QString &phrase, const QString &line);
    // The length of INPUT as the encoder gave it, as "H:MM:SS" and as seconds
    // ("7.8"): a probe's first time, or an encode's "Duration:" line. Both are
    // empty when the encoder said it cannot tell the length.
    void lengthMeasured(const QString &input, const QString &time, const QString &seconds);
    // How far an encode has got in its input, in seconds.
    void positionRead(double seconds);
    // The encode goes on from the chunks an earlier run kept, PERCENT of it.
    void resuming(int percent);
    // The last picture is encoded and the encoder joins and checks the
    // result: once when it says so, then each second until the job ends.
    void finishing();
    void ended(EncoderJob::Kind kind, EncoderJob::Outcome outcome);

private:
    bool start(Kind kind, const QString &command);
    void finish(Outcome outcome);
    void readTime(const QString &result, const QString &time);
    void readKeptChunks(const QString &text);
    void readFinishing(const QString &text);
    void processFinished(int exitCode, QProcess::ExitStatus status);
    void processError(QProcess::ProcessError error);

    QProcess &process;
    Kind current = Kind::None;
    bool stopRequested = false;
    bool timeSeen = false;
    QSet<QString> phrases;
    QByteArray errorTail;
    QString outputPath;
    QString currentInput;
    QDateTime outputBefore; // when the file at outputPath was last written, if one was there
    QString lastError;
    int lastExitCode = 0;
    std::unique_ptr<QTemporaryDir> probeDir;
    QTimer killTimer;
    int stopGraceMs = 3000;
    QElapsedTimer clock;
    int clockFirst = -1;
    double lastPosition = 0; // in seconds, with the fraction the encoder wrote
    TimeLeft timeLeft;
    QTimer finishingTicks;
    int kept = -1;
    int resumed = -1;
};

#endif
