// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef ENCODERTEST_H
#define ENCODERTEST_H

// Helpers shared by the tests of ffmpeg2theora: running it, making clips with
// ffmpeg and reading results with ffprobe.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

// "a b c" as the words a, b and c.
inline QStringList words(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

struct EncoderRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// How long a test waits for an encode of these tiny clips at most: far more
// than one takes on the busiest machine, so that only a hang reaches it.
constexpr int encodeWaitMs = 1200000;

// Stops P if it still runs as a user would (SIGTERM), so that it removes
// what it was writing, and waits until it is gone; a QProcess destroyed
// while running would kill it outright and leave its files to the next test.
inline void stopAndWait(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(encodeWaitMs)) {
        p.kill();
        p.waitForFinished(-1);
    }
}

// Stops the process, as above, when a check fails and the test returns early.
struct StopOnReturn {
    QProcess &p;
    ~StopOnReturn() { stopAndWait(p); }
};

// Runs the encoder with its standard input open and never written, as the
// window does: it must not wait for it.
inline EncoderRun
runEncoder(const QStringList &args,
           const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    const StopOnReturn stop{p};
    p.start(QStringLiteral(FFMPEG2THEORA), args);
    if (!p.waitForFinished(encodeWaitMs) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

// Runs ffmpeg or ffprobe; its standard output, or a null array if it failed.
inline QByteArray runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    const StopOnReturn stop{p};
    p.start(program, args);
    if (!p.waitForFinished(encodeWaitMs) || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return {};
    }
    return p.readAllStandardOutput() + ' '; // not null, even when empty
}

inline bool makeClip(const QString &path, const QString &ffmpegArgs)
{
    return !runTool(QStringLiteral("ffmpeg"),
                    words(QStringLiteral("-v error -nostdin -y ") + ffmpegArgs) << path)
                .isNull();
}

// What ffprobe says about a file: its format and its (last) video and audio
// stream.
struct Probe {
    QJsonObject format, video, audio;
    int videoStreams = 0, audioStreams = 0;
};

inline Probe probe(const QString &path)
{
    const QByteArray json = runTool(
        QStringLiteral("ffprobe"),
        words(QStringLiteral("-v error -of json -show_entries format=format_name,duration,size:"
                             "stream=codec_type,codec_name,width,height,display_aspect_ratio,"
                             "sample_rate,bit_rate,duration,start_time:stream_tags"))
            << path);
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    Probe p;
    p.format = root.value(QLatin1String("format")).toObject();
    for (const QJsonValue &v : root.value(QLatin1String("streams")).toArray()) {
        const QString type = v.toObject().value(QLatin1String("codec_type")).toString();
        if (type == QLatin1String("video"))
            p.video = v.toObject(), ++p.videoStreams;
        if (type == QLatin1String("audio"))
            p.audio = v.toObject(), ++p.audioStreams;
    }
    return p;
}

inline QString field(const QJsonObject &o, const char *name)
{
    const QJsonValue v = o.value(QLatin1String(name));
    return v.isDouble() ? QString::number(v.toDouble()) : v.toString();
}

// The file decodes from start to end without an error.
inline bool playable(const QString &path)
{
    return !runTool(QStringLiteral("ffmpeg"), words(QStringLiteral("-v error -xerror -nostdin -i"))
                                                  << path << words(QStringLiteral("-f null -")))
                .isNull();
}

// The Ogg file is well formed, as the format's own validator sees it.
inline bool oggValid(const QString &path)
{
    return !runTool(QStringLiteral("oggz-validate"), {path}).isNull();
}

// The PSNR of each picture of B against the same picture of A, in dB
// (identical pictures: 1000); empty if they cannot be compared.
inline QList<double> psnrPerFrame(const QString &a, const QString &b)
{
    const QByteArray stats = runTool(
        QStringLiteral("ffmpeg"),
        words(QStringLiteral("-v error -nostdin -i %1 -i %2 -lavfi [0:v][1:v]psnr=stats_file=- "
                             "-f null -")
                  .arg(a, b)));
    QList<double> found;
    static const QRegularExpression value(QStringLiteral("psnr_avg:(\\S+)"));
    for (auto m = value.globalMatch(QString::fromLatin1(stats)); m.hasNext();) {
        const QString v = m.next().captured(1);
        found << (v == QLatin1String("inf") ? 1000 : v.toDouble());
    }
    return found;
}

// In seconds, the times the window reads from standard error: the first
// h:mm:ss of each line (lines end at carriage returns and line feeds), here
// with the fraction that follows it.
inline QList<double> timesShown(const QString &err)
{
    static const QRegularExpression time(
        QStringLiteral("([0-9]+):([0-9][0-9]):([0-9][0-9])(\\.[0-9]+)?"));
    QList<double> times;
    for (const QString &line : err.split(QRegularExpression(QStringLiteral("[\r\n]")))) {
        const auto m = time.match(line);
        if (m.hasMatch())
            times << m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 +
                         m.captured(3).toInt() + m.captured(4).toDouble();
    }
    return times;
}

// Field INDEX of /proc/PID/stat, counted from the state (0); empty when gone.
inline QByteArray statField(const QString &pid, int index)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll(); // pid (name) state ppid ...
    return text.mid(text.lastIndexOf(')') + 2).split(' ').value(index);
}

// The processes whose parent is PID.
inline QStringList childrenOf(qint64 pid)
{
    QStringList found;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs))
        if (entry.toLongLong() > 0 && statField(entry, 1).toLongLong() == pid)
            found << entry;
    return found;
}

#endif
