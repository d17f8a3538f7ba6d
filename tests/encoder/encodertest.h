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
#include <QString>
#include <QStringList>
#include <QTest>

struct EncoderRun {
    int exitCode = -1;
    bool finished = false;
    QString out;
    QString err;
};

// Runs the encoder with its standard input open and never written, as the
// window does; it must not wait for it.
inline EncoderRun
runEncoder(const QStringList &args,
           const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    EncoderRun r;
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(FFMPEG2THEORA), args);
    r.finished = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    if (!r.finished) {
        p.kill();
        p.waitForFinished();
    }
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// Runs a helper program (ffmpeg, ffprobe) and gives its standard output, or
// fails the test.
inline QByteArray runTool(const QString &program, const QStringList &args, bool *ok = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool done =
        p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (ok)
        *ok = done;
    else if (!done)
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
    return p.readAllStandardOutput();
}

// Makes a clip at PATH from lavfi sources, e.g.
// {"-f", "lavfi", "-i", "testsrc2=s=160x120:d=2", "-c:v", "mpeg4"}.
inline bool makeClip(const QString &path, const QStringList &args)
{
    bool ok = false;
    runTool(QStringLiteral("ffmpeg"),
            QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"),
                        QStringLiteral("-y")} +
                args + QStringList{path},
            &ok);
    return ok;
}

// What ffprobe says about a file's streams and format.
struct Probe {
    QJsonObject format;
    QJsonObject video; // empty when there is none
    QJsonObject audio;
    int videoStreams = 0;
    int audioStreams = 0;
    QString tag(const QJsonObject &stream, const QString &name) const
    {
        return stream.value(QLatin1String("tags")).toObject().value(name).toString();
    }
};

inline Probe probe(const QString &path)
{
    Probe pr;
    const QByteArray json = runTool(
        QStringLiteral("ffprobe"),
        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-of"),
         QStringLiteral("json"), QStringLiteral("-show_entries"),
         QStringLiteral("format=format_name,duration,size:stream=codec_type,codec_name,width,height,"
                        "display_aspect_ratio,sample_rate,channels,bit_rate,r_frame_rate,"
                        "duration:stream_tags"),
         path});
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    pr.format = root.value(QLatin1String("format")).toObject();
    for (const QJsonValue &v : root.value(QLatin1String("streams")).toArray()) {
        const QJsonObject s = v.toObject();
        if (s.value(QLatin1String("codec_type")).toString() == QLatin1String("video")) {
            pr.video = s;
            ++pr.videoStreams;
        } else if (s.value(QLatin1String("codec_type")).toString() == QLatin1String("audio")) {
            pr.audio = s;
            ++pr.audioStreams;
        }
    }
    return pr;
}

// The file decodes from start to end without a complaint.
inline bool playable(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"),
             QStringLiteral("-i"), path, QStringLiteral("-f"), QStringLiteral("null"),
             QStringLiteral("-")});
    return p.waitForFinished(60000) && p.exitCode() == 0 && p.readAllStandardError().isEmpty();
}

// Seconds of the times the window would read from standard error: the first
// h:mm:ss in each line, as the line is split at carriage returns and line
// feeds; the fraction after the seconds is kept when there is one.
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

#endif
