// SPDX-License-Identifier: GPL-3.0-or-later
// ffmpeg2theora: encodes a video file into Ogg Theora and Vorbis with ffmpeg,
// showing the input's length and then the position reached on standard error.

#include "encode.h"
#include "forecast.h"
#include "media.h"
#include "options.h"
#include "output.h"
#include "plan.h"
#include "preview.h"
#include "process.h"
#include "report.h"
#include "resumecheck.h"
#include "velkoran_version.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <optional>

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

// The length of the input, as ffmpeg will read it: the first time on
// standard error.
void sayLength(const MediaInfo &m, const Plan &plan)
{
    say(QStringLiteral("  Duration: %1\n")
            .arg(m.duration && !plan.broken ? formatTime(*m.duration) : QStringLiteral("N/A")));
}

// What is wrong with PROBE, the input read with FFPROBE: the exit status,
// once said; none when the input can be encoded.
std::optional<int> probeFailed(const Options &o, const ProbeResult &probe, const QString &ffprobe)
{
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
    return std::nullopt;
}

// Makes the PLAN of the encode of M into TARGET: the exit status when it
// cannot be encoded, once said.
std::optional<int> planFailed(const Options &o, const MediaInfo &m, const OutputTarget &target,
                              Plan &plan)
{
    if (target.error.isEmpty() && sameFile(localInputPath(o), target.path)) {
        complain(
            QStringLiteral("the output %1 is the input file; choose another output").arg(o.output));
        return 1;
    }
    plan = makePlan(o, m);
    if (!plan.error.isEmpty()) {
        complain(plan.error);
        return 1;
    }
    // The output is known to be writable before any encoding starts.
    if (!target.error.isEmpty()) {
        sayLength(m, plan);
        complain(target.error);
        return 1;
    }
    return std::nullopt;
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
    const PartsAsked asked =
        partsAsked(qgetenv("FFMPEG2THEORA_PARALLEL"), qgetenv("FFMPEG2THEORA_PARALLEL_MIN"));
    if (!asked.error.isEmpty()) {
        complain(asked.error);
        return 1;
    }

    const QString ffprobe = tool("FFMPEG2THEORA_FFPROBE", "ffprobe");
    const QString ffmpeg = tool("FFMPEG2THEORA_FFMPEG", "ffmpeg");
    if (o.forecast)
        return forecast(o, asked, cores(), ffprobe, ffmpeg);
    if (o.previewAt)
        return preview(o, ffprobe, ffmpeg);
    if (o.resumeCheck)
        return resumeCheck(o, asked, cores(), ffprobe, ffmpeg);

    const ProbeResult probe = probeInput(o, ffprobe);
    if (const std::optional<int> status = probeFailed(o, probe, ffprobe))
        return *status;
    const OutputTarget target = examineOutput(o.output);
    Plan plan;
    if (const std::optional<int> status = planFailed(o, probe.info, target, plan))
        return *status;

    Prepared ready = prepare(o, probe.info, std::move(plan), asked, cores(), ffprobe);
    if (ready.stopped)
        return stopped(o.output);
    sayLength(probe.info, ready.plan);
    for (const QString &note : std::as_const(ready.plan.notes))
        complain(QStringLiteral("note: ") + note);
    if (!ready.plan.error.isEmpty()) {
        complain(ready.plan.error);
        return 1;
    }
    if (stopSignal())
        return stopped(o.output);
    return encode(o, probe.info, ready.plan, ready.scan.ok ? &ready.scan : nullptr, ready.workers,
                  ffmpeg, target);
}
