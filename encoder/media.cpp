#include "media.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace
{

// The highest bit rate a Theora header can state (24 bits of bit/s).
constexpr int theoraMaxKbps = 16777;

// Bit rates (kbit/s) that libvorbis accepts in managed mode, by sample rate
// band: per channel for one channel or uncoupled channels, and in total for a
// stereo pair. Outside these bands it accepts no bit rate at all, only a
// quality. Found by trying each band's edges.
struct VorbisBand {
    int rateFrom; // Hz, inclusive
    int rateTo;   // Hz, exclusive
    int monoMin, monoMax;
    int stereoMin, stereoMax;
};

constexpr VorbisBand vorbisBands[] = {
    {8000, 9000, 8, 42, 12, 84},      {9000, 15000, 12, 50, 16, 100},
    {15000, 19000, 16, 100, 24, 200}, {19000, 26000, 16, 90, 30, 180},
    {26000, 40000, 30, 190, 36, 380}, {40000, 50001, 32, 240, 45, 500},
};

const VorbisBand *vorbisBand(int rate)
{
    for (const auto &band : vorbisBands)
        if (rate >= band.rateFrom && rate < band.rateTo)
            return &band;
    return nullptr;
}

// The range of bit rates Vorbis reaches in BAND with CHANNELS.
std::pair<int, int> vorbisRange(const VorbisBand &band, int channels)
{
    if (channels == 2)
        return {band.stereoMin, band.stereoMax};
    if (channels == 6 && band.rateFrom >= 40000) // its own 5.1 setup
        return {84, 6 * band.monoMax};
    return {channels * band.monoMin, channels * band.monoMax};
}

int even(int n)
{
    return std::max(2, n & ~1);
}

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
    if (!o.format.isEmpty() || o.input.contains(QLatin1String("://")))
        return o.input;
    return QStringLiteral("file:") + o.input;
}

ProbeResult probeInput(const Options &o, const QString &ffprobe)
{
    ProbeResult r;
    QByteArray out, err;
    ChildCommand command;
    command.argv = QStringList{ffprobe,
                               QStringLiteral("-v"),
                               QStringLiteral("error"),
                               QStringLiteral("-hide_banner"),
                               QStringLiteral("-of"),
                               QStringLiteral("json"),
                               QStringLiteral("-show_entries"),
                               QStringLiteral("format=duration,start_time:stream=index,codec_type,width,"
                                              "height,sample_rate,channels,r_frame_rate,"
                                              "avg_frame_rate:"
                                              "stream_disposition=attached_pic")};
    if (!o.format.isEmpty())
        command.argv << QStringLiteral("-f") << o.format;
    command.argv << inputUrl(o);
    command.onStdout = [&out](const QByteArray &b) { out += b; };
    command.onStderr = [&err](const QByteArray &b) { err += b; };
    r.child = runChild(command);
    if (!r.child.startError.isEmpty() || r.child.stopped)
        return r;

    // ffprobe names the input at the start of its complaint; the message we
    // print names it already.
    const QString url = inputUrl(o);
    QString complaint = QString::fromLocal8Bit(err).trimmed().split(QLatin1Char('\n')).first();
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

Plan makePlan(const Options &o, const MediaInfo &m)
{
    Plan p;
    p.video = m.videoStream >= 0;
    p.audio = m.audioStream >= 0 && !o.noSound;
    if (!p.video && !p.audio) {
        p.error = QStringLiteral("nothing to encode: the input has no video, and --nosound "
                                 "leaves out its sound");
        return p;
    }
    if (o.startTime && m.duration && *o.startTime >= *m.duration) {
        p.error = QStringLiteral("--starttime %1 is not within the input, which lasts %2 seconds")
                      .arg(*o.startTime)
                      .arg(*m.duration);
        return p;
    }

    p.head << QStringLiteral("-hide_banner") << QStringLiteral("-nostdin") << QStringLiteral("-nostats")
      << QStringLiteral("-loglevel") << QStringLiteral("error") << QStringLiteral("-y")
      << QStringLiteral("-progress") << QStringLiteral("pipe:1") << QStringLiteral("-stats_period")
      << QStringLiteral("0.25");
    if (!o.format.isEmpty())
        p.inputFormat << QStringLiteral("-f") << o.format;
    if (!o.inputFps.isEmpty())
        p.inputFormat << QStringLiteral("-r") << o.inputFps;
    p.start = o.startTime.value_or(0);
    p.startStamp = p.start + m.startTime;
    p.url = inputUrl(o);
    if (p.video)
        p.videoMap << QStringLiteral("-map") << QStringLiteral("0:%1").arg(m.videoStream);
    if (p.audio)
        p.audioMap << QStringLiteral("-map") << QStringLiteral("0:%1").arg(m.audioStream);
    if (o.endTime)
        p.length = *o.endTime - p.start;
    if (o.inputFps.isEmpty() && m.rateNum > 0) {
        p.rateNum = m.rateNum;
        p.rateDen = m.rateDen;
    }

    if (p.video) {
        QStringList &a = p.videoCodec;
        a << QStringLiteral("-c:v") << QStringLiteral("libtheora");
        if (o.videoBitrate) {
            int kbps = *o.videoBitrate;
            if (kbps > theoraMaxKbps) {
                p.notes << QStringLiteral("video bit rate %1 kbit/s is above the %2 kbit/s a "
                                          "Theora stream can state; using %2 kbit/s")
                               .arg(kbps)
                               .arg(theoraMaxKbps);
                kbps = theoraMaxKbps;
            }
            a << QStringLiteral("-b:v") << QStringLiteral("%1k").arg(kbps);
        } else {
            a << QStringLiteral("-q:v") << QString::number(o.videoQuality.value_or(6));
        }
        // ffmpeg's own default interval for Theora is 12.
        a << QStringLiteral("-g") << QString::number(o.keyint);
        a << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p");

        // Deinterlace before anything moves or scales lines of the picture,
        // and before frames are dropped: it looks at the neighbours.
        if (o.deinterlace == Options::Deinterlace::Auto)
            p.earlyFilters << QStringLiteral("yadif=deint=interlaced");
        else if (o.deinterlace == Options::Deinterlace::On)
            p.earlyFilters << QStringLiteral("yadif=deint=all");
        QStringList &filters = p.lateFilters;

        const bool cropping = o.cropTop || o.cropBottom || o.cropLeft || o.cropRight;
        const bool scaling = o.width || o.height;
        if (m.width > 0 && m.height > 0) {
            int w = m.width - o.cropLeft - o.cropRight;
            int h = m.height - o.cropTop - o.cropBottom;
            if (w < 2 || h < 2) {
                p.error = QStringLiteral("the cropping leaves no picture: the input is %1x%2 "
                                         "pixels")
                              .arg(m.width)
                              .arg(m.height);
                return p;
            }
            // Theora wants 4:2:0 pictures of even size: without scaling, an
            // odd size loses its last column or row.
            if (!scaling) {
                w &= ~1;
                h &= ~1;
            }
            if (w != m.width || h != m.height)
                filters << QStringLiteral("crop=%1:%2:%3:%4")
                               .arg(w)
                               .arg(h)
                               .arg(o.cropLeft)
                               .arg(o.cropTop);
        } else if (cropping) {
            filters << QStringLiteral("crop=iw-%1:ih-%2:%3:%4")
                           .arg(o.cropLeft + o.cropRight)
                           .arg(o.cropTop + o.cropBottom)
                           .arg(o.cropLeft)
                           .arg(o.cropTop);
        }

        if (scaling) {
            auto side = [&p](const std::optional<int> &given, const char *name) {
                if (!given)
                    return -2; // follows the other side, kept even
                if (*given % 2)
                    p.notes << QStringLiteral("%1 %2 made even: %3")
                                   .arg(QString::fromLatin1(name))
                                   .arg(*given)
                                   .arg(even(*given));
                return even(*given);
            };
            const int sw = side(o.width, "--width");
            const int sh = side(o.height, "--height");
            filters << QStringLiteral("scale=%1:%2").arg(sw).arg(sh);
        }
        if (!o.aspect.isEmpty()) {
            QString dar = o.aspect;
            dar.replace(QLatin1Char(':'), QLatin1Char('/'));
            filters << QStringLiteral("setdar=%1").arg(dar);
        }
    }

    if (p.audio) {
        QStringList &a = p.audioCodec;
        a << QStringLiteral("-c:a") << QStringLiteral("libvorbis");
        int rate = o.sampleRate.value_or(m.sampleRate);
        if (o.audioBitrate) {
            const VorbisBand *band = vorbisBand(rate);
            if (!band && rate > 0) {
                const int usable = rate < vorbisBands[0].rateFrom ? 8000 : 48000;
                p.notes << QStringLiteral("Vorbis has no bit rate mode at %1 Hz; resampling "
                                          "to %2 Hz")
                               .arg(rate)
                               .arg(usable);
                rate = usable;
                band = vorbisBand(rate);
            }
            int kbps = *o.audioBitrate;
            if (band) {
                const int channels = m.channels > 0 ? m.channels : 2;
                const auto [low, high] = vorbisRange(*band, channels);
                const int nearest = std::clamp(kbps, low, high);
                if (nearest != kbps)
                    p.notes << QStringLiteral("audio bit rate %1 kbit/s is outside the %2 to %3 "
                                              "kbit/s Vorbis reaches at %4 Hz with %5 "
                                              "channel(s); using %6 kbit/s")
                                   .arg(kbps)
                                   .arg(low)
                                   .arg(high)
                                   .arg(rate)
                                   .arg(channels)
                                   .arg(nearest);
                kbps = nearest;
            }
            a << QStringLiteral("-b:a") << QStringLiteral("%1k").arg(kbps);
        } else {
            a << QStringLiteral("-q:a") << QString::number(o.audioQuality.value_or(1));
        }
        if (rate > 0 && rate != m.sampleRate)
            a << QStringLiteral("-ar") << QString::number(rate);
    }

    for (const auto &c : o.comments)
        p.metadata << QStringLiteral("-metadata") << c.first + QLatin1Char('=') + c.second;
    // Pages reach the file as they are made, so the progress line can tell
    // the bit rates from what is there.
    p.output << QStringLiteral("-flush_packets") << QStringLiteral("1") << QStringLiteral("-f")
             << QStringLiteral("ogg") << QStringLiteral("file:") + o.output;

    QStringList &a = p.args;
    a << p.head << p.inputFormat;
    if (p.rateNum)
        a << QStringLiteral("-copyts");
    if (p.start > 0)
        a << QStringLiteral("-ss") << number(p.start);
    a << QStringLiteral("-i") << p.url << p.videoMap << p.audioMap;
    if (p.length)
        a << QStringLiteral("-t") << number(*p.length);
    if (p.video) {
        QStringList filters = p.earlyFilters;
        if (p.rateNum)
            filters << frameGridFilter(p, firstGridFrame(p))
                    << QStringLiteral("setpts=PTS-STARTPTS");
        filters << p.lateFilters;
        a << p.videoCodec << videoFilterArgs(filters);
    }
    a << p.audioCodec;
    if (p.audio && p.rateNum)
        a << QStringLiteral("-af") << QStringLiteral("asetpts=PTS-STARTPTS");
    a << p.metadata << p.output;
    return p;
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

qint64 firstGridFrame(const Plan &p)
{
    // As the fps filter rounds its start time: to the nearest place, halves
    // away from zero.
    return qint64(std::round(p.startStamp * p.rateNum / p.rateDen));
}

QString frameGridFilter(const Plan &p, qint64 first)
{
    return QStringLiteral("fps=%1/%2:start_time=%3")
        .arg(p.rateNum)
        .arg(p.rateDen)
        .arg(number(double(first) * p.rateDen / p.rateNum));
}

QStringList videoFilterArgs(const QStringList &filters)
{
    if (filters.isEmpty())
        return {};
    return {QStringLiteral("-vf"), filters.join(QLatin1Char(','))};
}
