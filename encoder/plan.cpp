// SPDX-License-Identifier: GPL-3.0-or-later
#include "plan.h"

#include "report.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

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

// Refuses pictures too small to be decoded.
Plan checkPicture(Plan p, const Options &o, const MediaInfo &m)
{
    if (!p.video || !p.width || !p.height)
        return p;
    if (p.width < smallestSide || p.height < smallestSide) {
        const bool changed =
            o.width || o.height || o.cropTop || o.cropBottom || o.cropLeft || o.cropRight;
        p.error =
            QStringLiteral("the pictures would be %1x%2 pixels%3; Theora pictures must be "
                           "at least %4x%4 to be played: choose a larger --width or "
                           "--height")
                .arg(p.width)
                .arg(p.height)
                .arg(changed ? QStringLiteral(" after cropping and scaling")
                             : QStringLiteral(" (the input is %1x%2)").arg(m.width).arg(m.height))
                .arg(smallestSide);
    }
    return p;
}

// VALUE as a filter option in a -vf graph: escaped once for the option's
// own parser, and once more for the graph's.
QString filterEscaped(const QString &value)
{
    const auto escape = [](const QString &text, const QString &special) {
        QString out;
        for (const QChar c : text) {
            if (special.contains(c))
                out += QLatin1Char('\\');
            out += c;
        }
        return out;
    };
    return escape(escape(value, QStringLiteral("\\':")), QStringLiteral("\\'[],;"));
}

} // namespace

Plan makePlan(const Options &o, const MediaInfo &m)
{
    Plan p;
    p.video = (m.videoStream >= 0 || m.videoStream == firstOfKind) && !o.noVideo;
    p.audio = (m.audioStream >= 0 || m.audioStream == firstOfKind) && !o.noSound;
    if (o.noVideo && !p.audio) {
        p.error = QStringLiteral("nothing to encode: --novideo leaves out the video, and the "
                                 "input has no sound");
        return p;
    }
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

    if (o.sharpness != 0)
        p.notes << QStringLiteral("--sharpness has no effect: ffmpeg's Theora encoder "
                                  "(libtheora) has no sharpness setting");
    if (!o.format.isEmpty())
        p.inputFormat << QStringLiteral("-f") << o.format;
    if (!o.inputFps.isEmpty())
        p.inputFormat << QStringLiteral("-r") << o.inputFps;
    p.start = o.startTime.value_or(0);
    p.startStamp = p.start + m.startTime;
    p.url = inputUrl(o);
    p.seekable = !readOnce(o);
    p.videoStream = p.video ? m.videoStream : -1;
    p.audioStream = p.audio ? m.audioStream : -1;
    if (o.endTime)
        p.length = *o.endTime - p.start;
    if (p.length && *p.length <= 0) {
        p.error = QStringLiteral("--endtime %1 leaves nothing to encode").arg(*o.endTime);
        return p;
    }
    // Sound alone (--novideo) has no frame grid: its place is its time.
    if (p.video && o.inputFps.isEmpty() && m.rateNum > 0) {
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
            p.width = w;
            p.height = h;
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
            // The side that follows keeps the aspect, made even.
            if (p.width && p.height) {
                const double w = p.width, h = p.height;
                p.width = sw > 0 ? sw : even(int(std::lround(w * sh / h)));
                p.height = sh > 0 ? sh : even(int(std::lround(h * sw / w)));
            }
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
        } else if (const double q = o.audioQuality.value_or(1); q >= 0) {
            a << QStringLiteral("-q:a") << QString::number(q);
        } else {
            // ffmpeg drops a -q:a below 0 and libvorbis then falls back to
            // its default bit rate: the quality is passed as -q:a passes it,
            // in lambda units (FF_QP2LAMBDA a step).
            constexpr int lambdaPerStep = 118;
            a << QStringLiteral("-global_quality:a") << QString::number(qRound(q * lambdaPerStep))
              << QStringLiteral("-flags:a") << QStringLiteral("+qscale");
        }
        if (rate > 0 && rate != m.sampleRate)
            a << QStringLiteral("-ar") << QString::number(rate);
    }

    for (const auto &c : o.comments)
        p.metadata << QStringLiteral("-metadata") << c.first + QLatin1Char('=') + c.second;
    return checkPicture(p, o, m);
}

qint64 firstGridFrame(const Plan &p)
{
    // As the fps filter rounds its start time: to the nearest place, halves
    // away from zero.
    return qint64(std::round(p.startStamp * p.rateNum / p.rateDen));
}

double gridTime(const Plan &p, qint64 place)
{
    return double(place) * p.rateDen / p.rateNum;
}

void countFrames(Plan &p, std::optional<double> videoEnd)
{
    if (!p.video || !p.rateNum)
        return;
    std::optional<double> end;
    if (p.length)
        end = p.startStamp + *p.length;
    if (videoEnd)
        end = std::min(end.value_or(*videoEnd), *videoEnd);
    if (!end)
        return;
    // The places whose time falls before the end.
    const qint64 last = qint64(std::ceil(*end * p.rateNum / p.rateDen - 1e-6));
    p.frames = std::max<qint64>(0, last - firstGridFrame(p));
    if (p.frames == 0)
        p.error = QStringLiteral("the range from %1 holds no picture: the video ends at %2")
                      .arg(formatTime(p.start))
                      .arg(formatTime(*end - (p.startStamp - p.start)));
}

double neededFrom(const Plan &p, const Slice &slice)
{
    if (!p.rateNum)
        return p.startStamp;
    double from = gridTime(p, firstGridFrame(p) + slice.first - slice.lead);
    if (slice.audio || slice.first == 0)
        from = std::min(from, p.startStamp);
    return from;
}

double seekFor(double stamp, double inputStart, const QString &formatName, const VideoScan *scan,
               double frameDuration)
{
    double at = stamp;
    if (scan && scan->ok) {
        // Containers whose seeking lands on the key frames of an index.
        static const QStringList indexed = {QStringLiteral("mov"), QStringLiteral("matroska"),
                                            QStringLiteral("avi"), QStringLiteral("nut"),
                                            QStringLiteral("asf")};
        bool keyFrameSeek = false;
        for (const QString &name : formatName.split(QLatin1Char(',')))
            keyFrameSeek = keyFrameSeek || indexed.contains(name);
        const VideoScan::KeyFrame *key = nullptr;
        for (const auto &k : scan->keyFrames)
            if (k.pts <= stamp + 1e-6)
                key = &k;
        if (!key)
            return 0; // before the first key frame: from the start
        at = std::min(stamp, keyFrameSeek ? key->pts : key->dts - frameDuration / 2);
    }
    return std::max(0.0, at - inputStart);
}

QStringList ffmpegCommand(const Plan &p, const Slice &slice)
{
    QStringList a;
    a << QStringLiteral("-hide_banner") << QStringLiteral("-nostdin") << QStringLiteral("-nostats")
      << QStringLiteral("-loglevel") << QStringLiteral("error") << QStringLiteral("-y")
      << QStringLiteral("-progress") << QStringLiteral("pipe:3") << QStringLiteral("-stats_period")
      << QStringLiteral("0.25");
    a << p.inputFormat;
    // On the grid, the input's timestamps are kept and every cut is made by
    // the filters, in those timestamps; without it, ffmpeg counts from the
    // seek and -t ends the range.
    const bool grid = p.rateNum > 0;
    if (grid)
        a << QStringLiteral("-copyts");
    // An input read once cannot seek (a Matroska demuxer loses its way
    // trying): what comes before the start is decoded and dropped.
    const QStringList seek{QStringLiteral("-ss"), number(slice.seek)};
    if (slice.seek > 0 && p.seekable)
        a << seek;
    a << QStringLiteral("-i") << p.url;
    if (slice.seek > 0 && !p.seekable)
        a << seek;
    const auto stream = [](int index, char kind) {
        return index >= 0 ? QStringLiteral("0:%1").arg(index)
                          : QStringLiteral("0:%1:0?").arg(QLatin1Char(kind));
    };
    if (slice.video)
        a << QStringLiteral("-map") << stream(p.videoStream, 'v');
    if (slice.audio)
        a << QStringLiteral("-map") << stream(p.audioStream, 'a');
    // The input's own tags stay out of the Vorbis comments.
    a << QStringLiteral("-map_metadata") << QStringLiteral("-1");
    if (!grid && p.length)
        a << QStringLiteral("-t") << number(*p.length);

    if (slice.video) {
        QStringList filters;
        if (!slice.decodedLog.isEmpty())
            filters << QStringLiteral("metadata=mode=add:key=ffmpeg2theora:value=1")
                    << QStringLiteral("metadata=mode=print:key=ffmpeg2theora:file=") +
                           filterEscaped(slice.decodedLog);
        filters << p.earlyFilters;
        if (grid) {
            const qint64 from = firstGridFrame(p) + slice.first - slice.lead;
            filters << QStringLiteral("fps=%1/%2:start_time=%3")
                           .arg(p.rateNum)
                           .arg(p.rateDen)
                           .arg(number(gridTime(p, from)));
            QStringList trim;
            if (slice.lead)
                trim << QStringLiteral("start_frame=%1").arg(slice.lead);
            if (slice.count)
                trim << QStringLiteral("end_frame=%1").arg(slice.lead + slice.count);
            if (!trim.isEmpty())
                filters << QStringLiteral("trim=") + trim.join(QLatin1Char(':'));
            filters << QStringLiteral("setpts=PTS-STARTPTS");
        }
        filters << p.lateFilters;
        if (!slice.output.isEmpty())
            a << p.videoCodec;
        if (!filters.isEmpty())
            a << QStringLiteral("-vf") << filters.join(QLatin1Char(','));
    }
    if (slice.audio) {
        if (!slice.output.isEmpty())
            a << p.audioCodec;
        if (grid) {
            // The sound keeps its place beside the pictures: a sound that
            // starts late still does.
            const double origin = gridTime(p, firstGridFrame(p));
            QString trim = QStringLiteral("atrim=start=%1").arg(number(origin));
            if (p.length)
                trim += QStringLiteral(":end=%1").arg(number(p.startStamp + *p.length));
            a << QStringLiteral("-af")
              << trim + QStringLiteral(",asetpts=PTS-%1/TB").arg(number(origin));
        }
    }
    if (slice.output.isEmpty()) {
        // Only decoded: what the decoders say is all that is wanted.
        a << QStringLiteral("-f") << QStringLiteral("null") << QStringLiteral("-");
        return a;
    }
    a << p.metadata;
    // Pages reach the file as they are made, so the progress line can tell
    // the bit rates from what is there.
    a << QStringLiteral("-flush_packets") << QStringLiteral("1") << QStringLiteral("-f")
      << QStringLiteral("ogg") << slice.output;
    return a;
}

namespace
{

// The chunks as cutPoints makes them, for one choice of FACTOR (the rounds
// take a FACTOR-th of what is left) and LEAST (the smallest chunk); or, with
// COUNT, that many chunks of equal work.
QList<qint64> chunksFor(qint64 frames, int workers, qint64 k, qint64 least, int factor, int count,
                        const std::vector<double> &before, const QList<qint64> &decodeFrom)
{
    const qint64 most = std::max(least, largestChunk / k * k);
    const qint64 shortestLast = std::max<qint64>(shortestPart, least / 2);
    const auto onKeyFrame = [k](qint64 at) { return std::max<qint64>(1, (at + k / 2) / k) * k; };
    // What decoding the pictures before a chunk from P in vain costs: a
    // tenth of their work (none known without DECODEFROM).
    const auto wasted = [&](qint64 p) {
        const auto after = std::upper_bound(decodeFrom.begin(), decodeFrom.end(), p);
        const qint64 from = decodeFrom.isEmpty()          ? p
                            : after == decodeFrom.begin() ? 0
                                                          : *(after - 1);
        return 0.1 * (before[size_t(p)] - before[size_t(std::min(from, p))]);
    };
    // The end of a chunk from FROM that holds about AMOUNT of work: of the
    // key frame places where it holds a third more or less, the one where
    // the work it is off by and the work its ffmpeg decodes in vain add up
    // to the least, the nearest of those to the even end; never too near
    // the chunk before or the end of the range, nor farther than the
    // largest chunk. -1 if there is none.
    const auto end = [&](qint64 from, double amount) {
        const double start = before[size_t(from)];
        const qint64 reached =
            std::lower_bound(before.begin(), before.end(), start + amount) - before.begin();
        const qint64 even = std::clamp(onKeyFrame(reached), from + least, from + most);
        qint64 best = -1;
        double bestCost = 0;
        for (qint64 p = from + least; p <= std::min(frames, from + most); p += k) {
            const double off = std::abs(before[size_t(p)] - start - amount);
            if (frames - p < shortestLast || (p != even && off > amount / 3))
                continue;
            const double cost = off + wasted(p);
            if (best < 0 || cost < bestCost - 1e-9 ||
                (cost < bestCost + 1e-9 && std::abs(p - even) < std::abs(best - even))) {
                best = p;
                bestCost = cost;
            }
        }
        return best;
    };
    QList<qint64> starts{0};
    qint64 at = 0;
    for (int left = count; left > 1; --left) {
        const qint64 next = end(at, (before.back() - before[size_t(at)]) / left);
        if (next < 0)
            break;
        starts << (at = next);
    }
    // So many chunks cannot be made, or the last would be too large.
    if (count)
        return frames - at <= most ? starts : QList<qint64>();
    // Rounds of chunks of equal work while more than two rounds of the
    // smallest are left, then the smallest to the end.
    for (bool more = true; more && frames - at > 2 * workers * least;) {
        const double amount = (before.back() - before[size_t(at)]) / (factor * workers);
        for (int i = 0; more && i < workers; ++i) {
            const qint64 next = end(at, amount);
            more = next >= 0;
            if (more)
                starts << (at = next);
        }
    }
    while (frames - at - least >= shortestLast)
        starts << (at += least);
    return starts;
}

// How long WORKERS workers that each take the next chunk of STARTS when done
// take to encode it all, where a picture costs WORK (its share in BEFORE,
// times STRETCH above 1), decoding one in vain a tenth of that, and each
// chunk CHUNKCOST more.
double makespan(const QList<qint64> &starts, qint64 frames, int workers,
                const std::vector<double> &before, double stretch, const QList<qint64> &decodeFrom,
                double chunkCost)
{
    const auto work = [&](qint64 a, qint64 b) {
        return (b - a) + stretch * (before[size_t(b)] - before[size_t(a)] - (b - a));
    };
    std::vector<double> free(size_t(workers), 0);
    for (int i = 0; i < starts.size(); ++i) {
        const qint64 a = starts.at(i);
        const qint64 b = i + 1 < starts.size() ? starts.at(i + 1) : frames;
        const auto after = std::upper_bound(decodeFrom.begin(), decodeFrom.end(), a);
        const qint64 from = decodeFrom.isEmpty()          ? a
                            : after == decodeFrom.begin() ? 0
                                                          : *(after - 1);
        const double cost = work(a, b) + 0.1 * work(std::min(from, a), a) + chunkCost;
        auto first = std::min_element(free.begin(), free.end());
        *first += cost;
    }
    return *std::max_element(free.begin(), free.end()) / (work(0, frames) / workers);
}

} // namespace

QList<qint64> cutPoints(qint64 frames, int workers, int keyint, const QList<qint64> &decodeFrom,
                        const QList<double> &work, double chunkCost)
{
    const qint64 k = std::max(1, keyint);
    if (workers <= 1 || frames <= 0)
        return {0};
    // The work before each picture: one for each, and what WORK says more.
    std::vector<double> before(size_t(frames) + 1, 0);
    const bool weighed = work.size() == frames;
    for (qint64 i = 0; i < frames; ++i)
        before[i + 1] = before[i] + 1 + (weighed ? std::max(work.at(i) - 1, 0.0) : 0);
    // Of a few ways to cut, the one that would take least long if the work
    // were as WORK says, half or twice as uneven: WORK is a guess. Rounds of
    // several sizes, or a number of chunks of equal work.
    const qint64 smallest = (smallestChunk + k - 1) / k * k;
    QList<QList<qint64>> ways;
    for (const qint64 least : {smallest, 2 * smallest, 4 * smallest})
        for (const int factor : {2, 3, 4, 6})
            ways << chunksFor(frames, workers, k, least, factor, 0, before, decodeFrom);
    for (const int each : {1, 2, 3, 4, 6, 8})
        if (const QList<qint64> starts =
                chunksFor(frames, workers, k, smallest, 0, each * workers, before, decodeFrom);
            !starts.isEmpty())
            ways << starts;
    QList<qint64> best;
    double bestScore = 0;
    for (const QList<qint64> &starts : std::as_const(ways)) {
        double score = 0;
        for (const double stretch : {0.5, 1.0, 2.0})
            score = std::max(
                score, makespan(starts, frames, workers, before, stretch, decodeFrom, chunkCost));
        if (best.isEmpty() || score < bestScore - 1e-9 ||
            (score < bestScore + 1e-9 && starts.size() < best.size())) {
            best = starts;
            bestScore = score;
        }
    }
    return best;
}

PartsAsked partsAsked(const QByteArray &parallel, const QByteArray &shortest)
{
    PartsAsked a;
    bool ok = true;
    a.forced = parallel.isEmpty() ? -1 : parallel.trimmed().toInt(&ok);
    if (!ok || a.forced < -1 || (!parallel.isEmpty() && a.forced < 0)) {
        a.error = QStringLiteral("FFMPEG2THEORA_PARALLEL takes a whole number (0: one process, "
                                 "1: one worker per core, more: that many workers), not '%1'")
                      .arg(QString::fromLocal8Bit(parallel));
        return a;
    }
    if (!shortest.isEmpty()) {
        a.least = shortest.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(*a.least) || *a.least < 0) {
            a.error = QStringLiteral("FFMPEG2THEORA_PARALLEL_MIN takes a number of seconds, not "
                                     "'%1'")
                          .arg(QString::fromLocal8Bit(shortest));
            return a;
        }
    }
    return a;
}

PartsWanted partsWanted(const PartsAsked &asked, int cores, double length, double pixelRate)
{
    PartsWanted w;
    w.error = asked.error;
    if (!w.error.isEmpty() || asked.forced == 0)
        return w;
    if (asked.forced < 0) {
        // Parts cost a pass over the input's packets, a process per chunk
        // and the join: on little work they lose more than they gain.
        const bool enough = asked.least     ? length >= *asked.least
                            : pixelRate > 0 ? length * pixelRate >= leastPixels
                                            : length >= 20;
        if (!enough)
            return w;
    }
    w.workers = std::max(1, asked.forced >= 2 ? asked.forced : cores);
    return w;
}

PartsWanted partsWanted(const QByteArray &parallel, const QByteArray &shortest, int cores,
                        double length, double pixelRate)
{
    return partsWanted(partsAsked(parallel, shortest), cores, length, pixelRate);
}

int plannedWorkers(const Options &o, const MediaInfo &m, const Plan &plan, const PartsAsked &asked,
                   int cores)
{
    // Parts are found by seeking in a file and cut on the frame grid.
    const QString inputPath = localInputPath(o);
    const bool file = !inputPath.isEmpty() && QFileInfo(inputPath).isFile();
    const bool splittable = plan.video && plan.rateNum && file && m.duration;
    const double rest = m.duration.value_or(0) - plan.start;
    const double length = plan.length ? std::min(*plan.length, rest) : rest;
    const double pixelRate =
        plan.rateNum ? double(plan.width) * plan.height * plan.rateNum / plan.rateDen : 0;
    int workers = splittable ? partsWanted(asked, cores, length, pixelRate).workers : 1;
    // Too few pictures for two chunks: one process, without the scan,
    // unless parts are asked for.
    if (asked.forced < 0 && plan.rateNum &&
        length * plan.rateNum / plan.rateDen < 2 * std::max(o.keyint, smallestChunk))
        workers = 1;
    return workers;
}

Prepared prepare(const Options &o, const MediaInfo &m, Plan plan, const PartsAsked &asked,
                 int cores, const QString &ffprobe)
{
    Prepared p;
    const QString inputPath = localInputPath(o);
    const bool file = !inputPath.isEmpty() && QFileInfo(inputPath).isFile();
    const double rest = m.duration.value_or(0) - plan.start;
    const double length = plan.length ? std::min(*plan.length, rest) : rest;
    p.workers = plannedWorkers(o, m, plan, asked, cores);
    if (!o.inputFps.isEmpty() && plan.video && file && m.duration &&
        partsWanted(asked, cores, length, 0).workers > 1)
        plan.notes << QStringLiteral("--inputfps gives the pictures times of its own, which the "
                                     "input cannot be cut by; encoding in one process");

    // Where the key frames are and where the pictures end: for exact parts,
    // an exact start, and the count of pictures every output is checked
    // against. Only a file is read through: a device or a generated input
    // may not end.
    if (plan.video && plan.rateNum && file) {
        ChildResult run;
        p.scan = scanVideo(o, m, ffprobe, &run);
        if (run.stopped || stopSignal()) {
            p.stopped = true;
            return p;
        }
        if (p.scan.ok && p.scan.broken) {
            // The grid cannot follow time stamps that start again, nor does
            // the probe's length cover more than the first recording: the
            // input is read as ffmpeg reads it by default.
            plan.notes << QStringLiteral("the time stamps of the input go back or leap at %1 "
                                         "(recordings joined?), so it cannot be cut by time and "
                                         "its length is not known; encoding it whole as ffmpeg "
                                         "reads it, in one process")
                              .arg(formatTime(*p.scan.broken - m.startTime));
            p.workers = 1;
            plan.broken = true;
            plan.rateNum = plan.rateDen = 0;
            p.scan = VideoScan();
        } else if (p.scan.ok) {
            countFrames(plan, p.scan.end);
            plan.counted = true;
        } else if (p.workers > 1) {
            plan.notes << QStringLiteral("the key frames of the input cannot be found; encoding "
                                         "in one process");
            p.workers = 1;
        }
    }
    if (!p.scan.ok)
        countFrames(plan, std::nullopt);
    p.plan = std::move(plan);
    return p;
}

QByteArray chunkSource(const Plan &p, const VideoScan *scan, qint64 first, qint64 count,
                       qint64 lead)
{
    if (!scan || !scan->ok || !p.rateNum)
        return {};
    const double frame = double(p.rateDen) / p.rateNum;
    const double origin = gridTime(p, firstGridFrame(p));
    const auto place = [&](double pts) { return std::llround((pts - origin) / frame); };
    // Decoded from the key frame before its lead; a picture may need a few
    // packets after it (reordered pictures, a filter that looks ahead).
    qint64 from = std::numeric_limits<qint64>::min();
    for (const auto &key : scan->keyFrames)
        if (place(key.pts) <= first - lead)
            from = std::max(from, qint64(place(key.pts)));
    constexpr qint64 after = 4;
    const qint64 to = count ? first + count + after : std::numeric_limits<qint64>::max();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(first) + ' ' + QByteArray::number(count) + ' ' +
                 QByteArray::number(lead));
    for (const auto &packet : scan->packets) {
        const qint64 at = place(packet.pts);
        if (at >= from && at < to)
            hash.addData(QByteArray::number(at) + ' ' + QByteArray::number(packet.bytes) + ' ' +
                         packet.hash + '\n');
    }
    return hash.result().toHex();
}

std::optional<double> firstDecoded(const QByteArray &text)
{
    // frame:0    pts:1036800 pts_time:11.52
    const int at = text.indexOf("pts_time:");
    if (at < 0)
        return std::nullopt;
    const int end = text.indexOf('\n', at);
    bool ok = false;
    const double t = text.mid(at + 9, end < 0 ? -1 : end - at - 9).trimmed().toDouble(&ok);
    return ok ? std::optional<double>(t) : std::nullopt;
}

QList<double> encodingWork(qint64 frames, const QList<std::pair<qint64, qint64>> &packets,
                           double pixels)
{
    // Measured with libtheora at 1280x720: a flat picture takes 15 ms, one
    // of noise whose H.264 packet is 500 kB 78 ms, a moving test picture of
    // 33 kB 18 ms.
    constexpr double perBytePerPixel = 8.5;
    QList<double> work(frames, 1.0);
    if (pixels <= 0)
        return work;
    for (const auto &[place, bytes] : packets)
        if (place >= 0 && place < frames)
            work[place] += perBytePerPixel * double(bytes) / pixels;
    return work;
}

double chunkCost(double pixels)
{
    // Measured with libtheora: a picture of no detail takes 16 ns a pixel;
    // starting ffmpeg on an input, 60 ms.
    return pixels > 0 ? 0.06 / (16e-9 * pixels) : 4;
}
