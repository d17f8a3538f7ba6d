// SPDX-License-Identifier: GPL-3.0-or-later
#include "forecast.h"

#include "encode.h"
#include "ogg.h"
#include "process.h"
#include "report.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include <sys/resource.h>

QString forecastLine(const Forecast &f)
{
    if (!f.known)
        return QStringLiteral("forecast unknown\n");
    return QStringLiteral("forecast size=%1 seconds=%2 workers=%3\n")
        .arg(f.bytes)
        .arg(f.seconds, 0, 'f', 1)
        .arg(f.workers);
}

double placesPerSecond(const Plan &plan)
{
    return plan.rateNum > 0 ? double(plan.rateNum) / plan.rateDen : 25;
}

SpanEncode spanEncode(const Plan &plan, const MediaInfo &m, const VideoScan *scan, const Span &span,
                      const QString &output)
{
    SpanEncode e{plan, Slice()};
    Plan &p = e.plan;
    Slice &s = e.slice;
    const double fps = placesPerSecond(plan);
    if (plan.rateNum > 0)
        p.startStamp = gridTime(plan, firstGridFrame(plan) + span.first);
    else
        p.startStamp = plan.startStamp + span.first / fps;
    p.start = p.startStamp - m.startTime;
    p.length = span.count / fps;
    p.frames = plan.rateNum > 0 ? span.count : 0;
    s.video = p.video;
    s.audio = p.audio;
    s.count = p.frames;
    // Deinterlacing looks at the pictures before, as in a chunk.
    s.lead = !p.earlyFilters.isEmpty() && span.first >= 2 ? 2 : 0;
    s.output = output;
    s.seek = plan.rateNum > 0 ? seekFor(neededFrom(p, s), m.startTime, m.formatName, scan, 1 / fps)
                              : p.start;
    return e;
}

QList<Span> sampleSpans(qint64 frames, int keyint, const QList<qint64> &keyPlaces, qint64 shortest)
{
    if (frames <= 0)
        return {};
    // Each sample is an ffmpeg of its own, whose start costs about as much
    // as a few pictures: few of them, and longer for a longer range.
    const qint64 k = std::max(keyint, 1);
    const double share = 0.02 * double(frames);
    const int strata = int(std::clamp<qint64>(frames / 1250, 4, 32));
    const qint64 length =
        std::clamp<qint64>(std::llround(share / strata), shortest, std::max(shortest, k));
    if (2 * strata * length >= frames)
        return {Span{0, frames}};
    QList<Span> spans;
    for (int j = 0; j < strata; ++j) {
        const qint64 from = frames * j / strata;
        const qint64 to = frames * (j + 1) / strata - length;
        // A key frame of the input in the stratum saves decoding in vain,
        // the nearest to its middle; without one, its start is the nearest
        // to the key frame before.
        const qint64 middle = std::clamp((from + to) / 2, from, std::max(from, to));
        qint64 best = -1;
        for (const qint64 key : keyPlaces)
            if (key >= from && key <= to &&
                (best < 0 || std::abs(key - middle) < std::abs(best - middle)))
                best = key;
        const qint64 first = best >= 0 ? best : keyPlaces.isEmpty() ? middle : from;
        spans << Span{first, length};
    }
    return spans;
}

SampleBytes readSample(const QString &path)
{
    SampleBytes b;
    OggReader reader(path);
    if (!reader.open())
        return b;
    struct Stream {
        std::unique_ptr<OggPackets> packets;
        StreamClock::Kind kind = StreamClock::Other;
        qint64 count = 0;
    };
    std::map<quint32, Stream> streams;
    OggPage page;
    qint64 pictures = 0;
    while (reader.next(page)) {
        Stream &s = streams[page.serial()];
        if (!s.packets)
            s.packets = std::make_unique<OggPackets>(page.serial());
        s.packets->add(page);
        while (const std::optional<QByteArray> packet = s.packets->next()) {
            const qint64 n = s.count++;
            if (n == 0)
                s.kind = identifyStream(*packet).kind;
            if (n < 3)
                b.headers += packet->size();
            else if (s.kind == StreamClock::Theora && pictures++ == 0)
                b.keyFrame += packet->size();
            else if (s.kind == StreamClock::Theora)
                b.rest += packet->size(), ++b.restCount;
            else
                b.audio += packet->size();
        }
    }
    b.file = QFileInfo(path).size();
    b.ok = reader.problem().isEmpty() && b.file > 0;
    return b;
}

Forecast estimate(const ForecastBasis &basis, const QList<Sample> &samples)
{
    Forecast f;
    f.workers = basis.workers;
    if (samples.isEmpty())
        return f;
    double video = 0, audio = 0, work = 0, starting = 0;
    qint64 payload = 0, file = 0;
    for (const Sample &s : samples) {
        const double stands = double(s.stands);
        const double keys = std::min(stands, std::ceil(stands / basis.keyint));
        const SampleBytes &b = s.bytes;
        const double rest = b.restCount ? double(b.rest) / double(b.restCount) : double(b.keyFrame);
        // A bit rate is what the encoder aims at, and reaches unless the
        // pictures or the sound of the stratum need less even at its best
        // quality (a still picture, a plain tone): then the sample tells.
        // The encoder does not lend what one stratum leaves to another.
        const double seconds = stands / basis.fps;
        double v = b.keyFrame * keys + rest * (stands - keys);
        double a = double(b.audio) * stands / double(s.span.count);
        // A picture's encoding takes a part that its bytes do not change
        // (decoding the input, scaling, the search for motion) and a part
        // that grows with them: where the rate holds the pictures to fewer
        // bytes than a short sample (whose rate control has not settled)
        // gave them, they take less time too. Measured with libtheora on
        // heavy noise at 640x360: 40 % and 60 %.
        constexpr double fixedShare = 0.4;
        double pace = 1;
        if (const double cap = basis.videoKbps * 125.0 * seconds; basis.videoKbps > 0 && v > cap) {
            pace = fixedShare + (1 - fixedShare) * cap / v;
            v = cap;
        }
        if (basis.audioKbps > 0)
            a = std::min(a, basis.audioKbps * 125.0 * seconds);
        video += v;
        audio += a;
        payload += b.payload();
        file += b.file;
        work += s.busy * stands / double(s.span.count) * pace;
        starting += std::max(0.0, s.wall - s.busy);
    }
    // The pages' headers, as much of the file as in the samples.
    const double pages = payload > 0 ? double(file) / double(payload) : 1;
    f.bytes = qint64(std::llround((samples.first().bytes.headers + video + audio) * pages));

    // Each chunk starts an ffmpeg as each sample did; the workers share the
    // pictures; the join reads the chunks and writes the file, and the
    // joined file is read once more to be checked.
    constexpr double joinBytesPerSecond = 150e6;
    const double start = starting / samples.size();
    const int workers =
        std::max(1, basis.cores > 0 ? std::min(basis.workers, basis.cores) : basis.workers);
    f.seconds = basis.preparing +
                (work + start * basis.chunks) / workers / (basis.chunks > 1 ? basis.busyShare : 1);
    if (basis.chunks > 1)
        f.seconds += 2 * double(f.bytes) / joinBytesPerSecond;
    f.known = true;
    return f;
}

namespace
{

// Says that the forecast cannot be made, and why.
int unknown(const QString &reason)
{
    complain(QStringLiteral("no forecast: %1").arg(reason));
    fputs(qPrintable(forecastLine(Forecast())), stdout);
    return 0;
}

// The processor time, user and system, of WHO (RUSAGE_SELF or
// RUSAGE_CHILDREN, the children waited for), in seconds.
double cpuSeconds(int who)
{
    rusage usage;
    if (getrusage(who, &usage) != 0)
        return 0;
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The bit rate in kbit/s that CODEC's arguments give with OPTION, as the
// plan brought it within what the codec takes; 0 when none is given.
int bitRate(const QStringList &codec, const char *option)
{
    const qsizetype at = codec.indexOf(QLatin1String(option));
    if (at < 0 || at + 1 >= codec.size())
        return 0;
    QString value = codec.at(at + 1);
    value.chop(value.endsWith(QLatin1Char('k')) ? 1 : 0);
    return value.toInt();
}

} // namespace

int forecast(const Options &o, const PartsAsked &asked, int cores, const QString &ffprobe,
             const QString &ffmpeg)
{
    QElapsedTimer clock;
    clock.start();
    if (readOnce(o))
        return unknown(QStringLiteral("the input can be read only once (standard input, a pipe "
                                      "or a FIFO), so it cannot be sampled"));
    const ProbeResult probe = probeInput(o, ffprobe);
    if (probe.child.stopped || stopSignal())
        return stoppedExit();
    if (!probe.child.startError.isEmpty()) {
        complain(QStringLiteral("cannot run %1: %2").arg(ffprobe, probe.child.startError));
        return 1;
    }
    if (!probe.opened) {
        complain(QStringLiteral("Unable to open file %1: %2").arg(o.input, probe.reason));
        return 1;
    }
    const MediaInfo &m = probe.info;
    if (!m.duration)
        return unknown(QStringLiteral("the length of the input is unknown"));
    Plan plan = makePlan(o, m);
    if (!plan.error.isEmpty()) {
        complain(plan.error);
        return 1;
    }
    Prepared ready = prepare(o, m, std::move(plan), asked, cores, ffprobe);
    if (ready.stopped || stopSignal())
        return stoppedExit();
    if (!ready.plan.error.isEmpty()) {
        complain(ready.plan.error);
        return 1;
    }
    const Plan &p = ready.plan;
    const VideoScan *scan = ready.scan.ok ? &ready.scan : nullptr;
    const double fps = placesPerSecond(p);
    const double rest = *m.duration - p.start;
    const double seconds = p.length ? std::min(*p.length, rest) : rest;
    const qint64 frames =
        p.frames > 0 ? p.frames : std::max<qint64>(1, std::llround(seconds * fps));

    // A sample whose filters look at the pictures before it (spanEncode)
    // is read from the key frame before those: it starts as many after one.
    const qint64 lead = p.earlyFilters.isEmpty() ? 0 : 2;
    QList<qint64> keyPlaces;
    if (scan && p.rateNum > 0) {
        const double origin = gridTime(p, firstGridFrame(p));
        for (const auto &key : scan->keyFrames)
            keyPlaces << std::llround((key.pts - origin) * fps) + lead;
    }
    // Sound alone is sampled in spans of 5 s: its encoder takes a while to
    // settle, and each span costs little.
    const QList<Span> spans =
        p.video ? sampleSpans(frames, o.keyint, keyPlaces) : sampleSpans(frames, 125, {}, 125);

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/ffmpeg2theora-forecast-XXXXXX"));
    if (!dir.isValid()) {
        complain(QStringLiteral("cannot make a temporary directory: %1").arg(dir.errorString()));
        return 1;
    }
    QList<ChildCommand> commands;
    QList<std::shared_ptr<QByteArray>> errors;
    for (int i = 0; i < spans.size(); ++i) {
        const QString file = dir.filePath(QStringLiteral("sample-%1.ogg").arg(i));
        const SpanEncode e = spanEncode(p, m, scan, spans.at(i), QStringLiteral("file:") + file);
        auto wrong = std::make_shared<QByteArray>();
        ChildCommand c;
        c.argv = QStringList{ffmpeg} + ffmpegCommand(e.plan, e.slice);
        c.nice = o.nice;
        c.pooled = true;
        c.onProgress = [](const QByteArray &) {};
        c.onStderr = [wrong](const QByteArray &bytes) { *wrong += bytes.left(65536); };
        commands << c;
        errors << wrong;
    }
    // The time until the samples start stands for the real encode's probe
    // and pass over the key frames.
    // In processor time, which the other work of the machine does not
    // stretch: the forecast is of the encode on this machine at rest.
    const double preparing = cpuSeconds(RUSAGE_SELF) + cpuSeconds(RUSAGE_CHILDREN);
    // What an ffmpeg of the encode costs besides its pictures: one that
    // encodes a single picture, alone.
    double starting = 0;
    {
        const SpanEncode e =
            spanEncode(p, m, scan, Span{spans.first().first, 1},
                       QStringLiteral("file:") + dir.filePath(QStringLiteral("start.ogg")));
        QByteArray wrong;
        ChildCommand c;
        c.argv = QStringList{ffmpeg} + ffmpegCommand(e.plan, e.slice);
        c.nice = o.nice;
        c.onProgress = [](const QByteArray &) {};
        c.onStderr = [&wrong](const QByteArray &bytes) { wrong += bytes.left(65536); };
        const double from = cpuSeconds(RUSAGE_CHILDREN);
        const ChildResult run = runChild(c);
        if (run.stopped || stopSignal())
            return stoppedExit();
        if (failed(run))
            return reportFailure(ffmpeg, run, wrong);
        starting = cpuSeconds(RUSAGE_CHILDREN) - from;
    }
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    const QList<ChildResult> runs = runChildren(commands, true, ready.workers);
    const double sampling = cpuSeconds(RUSAGE_CHILDREN) - before;
    if (stopSignal())
        return stoppedExit();
    QList<Sample> samples;
    for (int i = 0; i < spans.size(); ++i) {
        if (failed(runs.at(i)))
            return reportFailure(ffmpeg, runs.at(i), *errors.at(i));
        Sample s;
        s.span = spans.at(i);
        s.stands = spans.size() == 1 ? frames : frames / spans.size();
        s.bytes = readSample(dir.filePath(QStringLiteral("sample-%1.ogg").arg(i)));
        if (!s.bytes.ok)
            return unknown(QStringLiteral("a sample could not be read back"));
        s.wall = (runs.at(i).endMs - runs.at(i).startMs) / 1000.0;
        s.busy = s.wall;
        samples << s;
    }
    // The samples' processor time, shared out as their runs took: of each,
    // its start as the single picture's, the rest its encoding.
    double walls = 0;
    for (const Sample &s : std::as_const(samples))
        walls += s.wall;
    for (Sample &s : samples) {
        const double share = walls > 0 ? sampling * s.wall / walls : 0;
        s.busy = std::max(0.0, share - starting);
        s.wall = share;
    }
    // The strata share the pictures the spans leave.
    qint64 given = 0;
    for (const Sample &s : std::as_const(samples))
        given += s.stands;
    samples.last().stands += frames - given;

    ForecastBasis basis;
    basis.seconds = seconds;
    basis.fps = fps;
    basis.keyint = o.keyint;
    basis.video = p.video;
    basis.audio = p.audio;
    basis.videoKbps = bitRate(p.videoCodec, "-b:v");
    basis.audioKbps = bitRate(p.audioCodec, "-b:a");
    basis.workers = ready.workers;
    basis.cores = cores;
    basis.chunks = 1;
    if (ready.workers > 1) {
        const QList<Slice> slices =
            makeSlices(p, m, scan, ready.workers, o.keyint, QStringLiteral("file:x"), dir.path());
        basis.chunks = int(
            std::count_if(slices.begin(), slices.end(), [](const Slice &s) { return s.video; }));
    }
    basis.preparing = preparing;
    // Measured with bench/forecast on 2 cores: the pool keeps its workers
    // busy 96 % of its time.
    basis.busyShare = 0.96;
    if (qEnvironmentVariableIntValue("FFMPEG2THEORA_STATS") > 0) {
        for (const Sample &s : std::as_const(samples))
            complain(QStringLiteral("stats: sample from picture %1, %2 pictures for %3: %4 bytes, "
                                    "encoding %5 s, run %6 s of processor time")
                         .arg(s.span.first)
                         .arg(s.span.count)
                         .arg(s.stands)
                         .arg(s.bytes.file)
                         .arg(s.busy, 0, 'f', 3)
                         .arg(s.wall, 0, 'f', 3));
        complain(QStringLiteral("stats: %1 s of processor time before the samples, %2 chunks, "
                                "%3 s in all")
                     .arg(preparing, 0, 'f', 3)
                     .arg(basis.chunks)
                     .arg(clock.elapsed() / 1000.0, 0, 'f', 3));
    }
    fputs(qPrintable(forecastLine(estimate(basis, samples))), stdout);
    return 0;
}
