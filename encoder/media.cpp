// SPDX-License-Identifier: GPL-3.0-or-later
#include "media.h"

#include "report.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>
#include <cmath>

#include <sys/stat.h>

namespace
{

QString number(double d)
{
    return QString::number(d, 'f', 6);
}

std::pair<int, int> ratio(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    bool okNum = false, okDen = false;
    const int num = parts.value(0).toInt(&okNum);
    const int den = parts.size() == 2 ? parts.at(1).toInt(&okDen) : 1;
    if (!okNum || (parts.size() == 2 && !okDen) || num <= 0 || den <= 0)
        return {0, 0};
    return {num, den};
}

// The rate ffmpeg takes for the frames, from the stream's real base rate and
// its average: the average where the real rate is a time base in disguise.
std::pair<int, int> guessRate(const QString &real, const QString &average)
{
    const auto r = ratio(real);
    const auto a = ratio(average);
    if (r.first && a.first && double(a.first) / a.second < 70 && double(r.first) / r.second > 210)
        return a;
    return r.first ? r : a;
}

} // namespace

QString inputUrl(const Options &o)
{
    if (!o.format.isEmpty() || o.input.startsWith(QLatin1String("pipe:")))
        return o.input;
    if (o.input == QLatin1String("-"))
        return QStringLiteral("pipe:0");
    // ffmpeg reads a file: URL's path as it stands, without its escapes.
    if (o.input.startsWith(QLatin1String("file://"))) {
        const QString path = localInputPath(o);
        return path.isEmpty() ? o.input : QStringLiteral("file:") + path;
    }
    if (o.input.contains(QLatin1String("://")) || o.input.startsWith(QLatin1String("file:")))
        return o.input;
    return QStringLiteral("file:") + o.input;
}

QString localInputPath(const Options &o)
{
    if (!o.format.isEmpty() || o.input == QLatin1String("-") ||
        o.input.startsWith(QLatin1String("pipe:")))
        return QString();
    if (o.input.startsWith(QLatin1String("file:"))) {
        // file:PATH as ffmpeg takes it, or a file:// URL with its escapes.
        if (!o.input.startsWith(QLatin1String("file://")))
            return o.input.mid(5);
        const QUrl url(o.input);
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    if (o.input.contains(QLatin1String("://")))
        return QString();
    return o.input;
}

bool readOnce(const Options &o)
{
    if (o.input == QLatin1String("-") || o.input.startsWith(QLatin1String("pipe:")))
        return true;
    const QString path = o.format.isEmpty() ? localInputPath(o) : o.input;
    struct stat st;
    return !path.isEmpty() && stat(QFile::encodeName(path).constData(), &st) == 0 &&
           (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
}

bool readsStandardInput(const QString &url)
{
    static const QStringList names = {
        QStringLiteral("-"),         QStringLiteral("pipe:"),
        QStringLiteral("pipe:0"),    QStringLiteral("/dev/stdin"),
        QStringLiteral("/dev/fd/0"), QStringLiteral("/proc/self/fd/0")};
    return names.contains(url.startsWith(QLatin1String("file:")) ? url.mid(5) : url);
}

ProbeResult probeInput(const Options &o, const QString &ffprobe)
{
    ProbeResult r;
    if (readOnce(o)) {
        r.info.videoStream = firstOfKind;
        r.info.audioStream = firstOfKind;
        r.opened = true;
        return r;
    }
    QByteArray out, err;
    ChildCommand command;
    command.argv = QStringList{ffprobe,
                               QStringLiteral("-v"),
                               QStringLiteral("error"),
                               QStringLiteral("-hide_banner"),
                               QStringLiteral("-of"),
                               QStringLiteral("json"),
                               QStringLiteral("-show_entries"),
                               QStringLiteral("format=duration,start_time,format_name:stream=index,"
                                              "codec_type,width,height,sample_rate,channels,"
                                              "r_frame_rate,avg_frame_rate:"
                                              "stream_disposition=attached_pic:"
                                              "stream_side_data=rotation")};
    if (!o.format.isEmpty())
        command.argv << QStringLiteral("-f") << o.format;
    command.argv << inputUrl(o);
    command.passStdin = readsStandardInput(inputUrl(o));
    command.onStdout = [&out](const QByteArray &b) { out += b; };
    command.onStderr = [&err](const QByteArray &b) { err += b; };
    r.child = runChild(command);
    if (r.child.stopped)
        return r;
    r.child.startError = cannotRun(r.child, err);
    if (!r.child.startError.isEmpty())
        return r;

    // ffprobe names the input at the start of its complaint; the message we
    // print names it already.
    const QString url = inputUrl(o);
    QString complaint = failureReason(err);
    if (complaint.startsWith(url + QLatin1String(": ")))
        complaint = complaint.mid(url.size() + 2);
    if (!WIFEXITED(r.child.status) || WEXITSTATUS(r.child.status) != 0) {
        r.unknownFormat = err.contains("Unknown input format");
        r.reason = complaint.isEmpty() ? QStringLiteral("ffprobe could not read it") : complaint;
        return r;
    }

    const QJsonObject root = QJsonDocument::fromJson(out).object();
    bool ok = false;
    const double duration = root.value(QLatin1String("format"))
                                .toObject()
                                .value(QLatin1String("duration"))
                                .toString()
                                .toDouble(&ok);
    if (ok && std::isfinite(duration) && duration >= 0)
        r.info.duration = duration;
    const double start = root.value(QLatin1String("format"))
                             .toObject()
                             .value(QLatin1String("start_time"))
                             .toString()
                             .toDouble(&ok);
    if (ok && std::isfinite(start))
        r.info.startTime = start;
    r.info.formatName = root.value(QLatin1String("format"))
                            .toObject()
                            .value(QLatin1String("format_name"))
                            .toString();

    for (const QJsonValue &v : root.value(QLatin1String("streams")).toArray()) {
        const QJsonObject s = v.toObject();
        const QString type = s.value(QLatin1String("codec_type")).toString();
        const int index = s.value(QLatin1String("index")).toInt(-1);
        const bool picture = s.value(QLatin1String("disposition"))
                                 .toObject()
                                 .value(QLatin1String("attached_pic"))
                                 .toInt() != 0;
        if (type == QLatin1String("video") && !picture && r.info.videoStream < 0) {
            r.info.videoStream = index;
            r.info.width = s.value(QLatin1String("width")).toInt();
            r.info.height = s.value(QLatin1String("height")).toInt();
            // ffmpeg turns a picture stored on its side before our filters
            // see it: they crop and scale the picture as it is shown.
            for (const QJsonValue &d : s.value(QLatin1String("side_data_list")).toArray()) {
                const int turn = d.toObject().value(QLatin1String("rotation")).toInt();
                if (turn % 180 != 0)
                    std::swap(r.info.width, r.info.height);
            }
            const auto [num, den] = guessRate(s.value(QLatin1String("r_frame_rate")).toString(),
                                              s.value(QLatin1String("avg_frame_rate")).toString());
            r.info.rateNum = num;
            r.info.rateDen = den;
        } else if (type == QLatin1String("audio") && r.info.audioStream < 0) {
            r.info.audioStream = index;
            r.info.sampleRate = s.value(QLatin1String("sample_rate")).toString().toInt();
            r.info.channels = s.value(QLatin1String("channels")).toInt();
        }
    }
    r.opened = r.info.videoStream >= 0 || r.info.audioStream >= 0;
    if (!r.opened)
        r.reason = QStringLiteral("it holds no audio or video");
    return r;
}

QString formatTime(double seconds)
{
    const qint64 cs = static_cast<qint64>(std::floor(std::max(0.0, seconds) * 100 + 1e-6));
    return QStringLiteral("%1:%2:%3.%4")
        .arg(cs / 360000)
        .arg(cs / 6000 % 60, 2, 10, QLatin1Char('0'))
        .arg(cs / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(cs % 100, 2, 10, QLatin1Char('0'));
}

QString seconds(double s)
{
    return number(s);
}

VideoScan scanVideo(const Options &o, const MediaInfo &m, const QString &ffprobe,
                    ChildResult *result)
{
    VideoScan scan;
    QByteArray out;
    ChildCommand command;
    command.argv = QStringList{ffprobe,
                               QStringLiteral("-v"),
                               QStringLiteral("quiet"),
                               QStringLiteral("-select_streams"),
                               QString::number(m.videoStream),
                               QStringLiteral("-show_data_hash"),
                               QStringLiteral("MD5"),
                               QStringLiteral("-show_entries"),
                               QStringLiteral("packet=pts_time,dts_time,duration_time,size,flags,"
                                              "data_hash"),
                               QStringLiteral("-of"),
                               QStringLiteral("compact=p=0")};
    if (!o.format.isEmpty())
        command.argv << QStringLiteral("-f") << o.format;
    command.argv << inputUrl(o);
    command.passStdin = readsStandardInput(inputUrl(o));
    command.onStdout = [&out](const QByteArray &b) { out += b; };
    const ChildResult run = runChild(command);
    if (result)
        *result = run;
    if (failed(run))
        return scan;
    // A time that goes back further than a decoder reorders pictures, or
    // leaps ahead further than ffmpeg takes for a jump in a stream
    // (-dts_delta_threshold).
    constexpr double back = 0.5, leap = 10;
    double latest = qQNaN();
    // pts_time=1.44|dts_time=1.4|duration_time=0.04|size=2310|flags=K_
    for (const QByteArray &line : out.split('\n')) {
        double pts = qQNaN(), dts = qQNaN(), duration = 0;
        qint64 size = 0;
        bool key = false;
        QByteArray hash;
        for (const QByteArray &pair : line.split('|')) {
            const int eq = pair.indexOf('=');
            const QByteArray k = pair.left(eq), v = pair.mid(eq + 1);
            bool ok = false;
            const double d = v.toDouble(&ok);
            if (k == "pts_time" && ok)
                pts = d;
            else if (k == "dts_time" && ok)
                dts = d;
            else if (k == "duration_time" && ok)
                duration = d;
            else if (k == "size" && ok)
                size = qint64(d);
            else if (k == "flags")
                key = v.startsWith('K');
            else if (k == "data_hash")
                hash = v;
        }
        if (std::isnan(pts))
            continue;
        const double t = std::isnan(dts) ? pts : dts;
        if (!scan.broken && !std::isnan(latest) && (t < latest - back || t > latest + leap))
            scan.broken = latest;
        latest = std::isnan(latest) ? t : std::max(latest, t);
        if (key)
            scan.keyFrames.append({pts, std::isnan(dts) ? pts : std::min(pts, dts)});
        scan.packets.append({pts, size, hash});
        scan.end = std::max(scan.end.value_or(pts), pts + duration);
    }
    std::sort(
        scan.keyFrames.begin(), scan.keyFrames.end(),
        [](const VideoScan::KeyFrame &a, const VideoScan::KeyFrame &b) { return a.pts < b.pts; });
    scan.ok = !scan.keyFrames.isEmpty() && scan.end;
    return scan;
}
