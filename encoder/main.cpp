// ffmpeg2theora: encodes a video file into Ogg Theora and Vorbis with ffmpeg,
// showing the input's length and then the position reached on standard error.

#include "encode.h"
#include "media.h"
#include "options.h"
#include "output.h"
#include "plan.h"
#include "process.h"
#include "report.h"
#include "velkoran_version.h"

#include <QByteArray>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <sched.h>

namespace
{

QString tool(const char *variable, const char *fallback)
{
    const QByteArray set = qgetenv(variable);
    return QString::fromLocal8Bit(set.isEmpty() ? QByteArray(fallback) : set);
}

int cores()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return 1;
}

// A stop before the encode: nothing is written yet.
int stopped(const QString &output)
{
    const OutputTarget t = examineOutput(output);
    if (t.kind == OutputTarget::Kind::File && t.exists)
        complain(QStringLiteral("stopped; %1 is left as it was").arg(output));
    else
        complain(QStringLiteral("stopped; nothing written to %1").arg(output));
    return stoppedExit();
}

} // namespace

int main(int argc, char **argv)
{
    installStopHandlers();

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const ParseResult parsed = parseArguments(args);
    if (!parsed.ok()) {
        complain(parsed.error);
        complain(QStringLiteral("try 'ffmpeg2theora --help' for more information"));
        return 1;
    }
    const Options &o = parsed.options;
    if (o.help) {
        const QByteArray text = usageText().toLocal8Bit();
        fwrite(text.constData(), 1, text.size(), stdout);
        return 0;
    }
    if (o.version) {
        fputs(VELKORAN_VERSION_TEXT("ffmpeg2theora"), stdout);
        return 0;
    }
    // Asked for before anything is read, so that a wrong value is said at once.
    const QByteArray parallel = qgetenv("FFMPEG2THEORA_PARALLEL");
    const QByteArray shortest = qgetenv("FFMPEG2THEORA_PARALLEL_MIN");
    if (const PartsWanted check = partsWanted(parallel, shortest, 1, 0, 0);
        !check.error.isEmpty()) {
        complain(check.error);
        return 1;
    }

    const QString ffprobe = tool("FFMPEG2THEORA_FFPROBE", "ffprobe");
    const QString ffmpeg = tool("FFMPEG2THEORA_FFMPEG", "ffmpeg");

    const ProbeResult probe = probeInput(o, ffprobe);
    if (probe.child.stopped || stopSignal())
        return stopped(o.output);
    if (!probe.child.startError.isEmpty()) {
        complain(QStringLiteral("cannot run %1: %2").arg(ffprobe, probe.child.startError));
        return 1;
    }
    if (probe.unknownFormat) {
        complain(QStringLiteral("--format %1 names no input format ffmpeg knows").arg(o.format));
        return 1;
    }
    if (!probe.opened) {
        complain(QStringLiteral("Unable to open file %1: %2").arg(o.input, probe.reason));
        return 1;
    }
    const QString inputPath = localInputPath(o);
    const OutputTarget target = examineOutput(o.output);
    if (target.error.isEmpty() && sameFile(inputPath, target.path)) {
        complain(
            QStringLiteral("the output %1 is the input file; choose another output").arg(o.output));
        return 1;
    }

    Plan plan = makePlan(o, probe.info);
    if (!plan.error.isEmpty()) {
        complain(plan.error);
        return 1;
    }

    say(QStringLiteral("  Duration: %1\n")
            .arg(probe.info.duration ? formatTime(*probe.info.duration) : QStringLiteral("N/A")));
    // The output is known to be writable before any encoding starts.
    if (!target.error.isEmpty()) {
        complain(target.error);
        return 1;
    }
    for (const QString &note : plan.notes)
        complain(QStringLiteral("note: ") + note);

    // Parts are found by seeking in a file and cut on the frame grid.
    const MediaInfo &m = probe.info;
    const bool file = !inputPath.isEmpty() && QFileInfo(inputPath).isFile();
    const bool splittable = plan.video && plan.rateNum && file && m.duration;
    const double rest = m.duration.value_or(0) - plan.start;
    const double length = plan.length ? std::min(*plan.length, rest) : rest;
    const double pixelRate =
        plan.rateNum ? double(plan.width) * plan.height * plan.rateNum / plan.rateDen : 0;
    int parts =
        splittable ? partsWanted(parallel, shortest, cores(), length, pixelRate).workers : 1;
    // Too few pictures for two chunks: one process, without the scan,
    // unless parts are asked for.
    if (parallel.isEmpty() && plan.rateNum &&
        length * plan.rateNum / plan.rateDen < 2 * std::max(o.keyint, smallestChunk))
        parts = 1;

    // Where the key frames are and where the pictures end, for exact parts
    // and an exact start.
    VideoScan scan;
    // Only a file is read through: a device or a generated input may not end.
    if (plan.video && plan.rateNum && file && (parts > 1 || plan.start > 0)) {
        ChildResult run;
        scan = scanVideo(o, m, ffprobe, &run);
        if (run.stopped || stopSignal())
            return stopped(o.output);
        if (scan.ok && scan.broken && parts > 1) {
            complain(QStringLiteral("note: the time stamps of the input go back or leap at %1 "
                                    "(recordings joined?), so it cannot be cut by time; encoding "
                                    "in one process")
                         .arg(formatTime(*scan.broken - m.startTime)));
            parts = 1;
        }
        if (scan.ok) {
            countFrames(plan, scan.end);
        } else if (parts > 1) {
            complain(QStringLiteral("note: the key frames of the input cannot be found; "
                                    "encoding in one process"));
            parts = 1;
        }
    }
    if (!scan.ok)
        countFrames(plan, std::nullopt);
    if (!plan.error.isEmpty()) {
        complain(plan.error);
        return 1;
    }
    if (stopSignal())
        return stopped(o.output);
    return encode(o, m, plan, scan.ok ? &scan : nullptr, parts, ffmpeg, target);
}
