// ffmpeg2theora: encodes a video file into Ogg Theora and Vorbis with ffmpeg,
// showing the input's length and then the position reached on standard error.

#include "media.h"
#include "ogg.h"
#include "options.h"
#include "parallel.h"
#include "process.h"
#include "progress.h"
#include "report.h"

#include <QByteArray>
#include <QStringList>

#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

QString tool(const char *variable, const char *fallback)
{
    const QByteArray set = qgetenv(variable);
    return QString::fromLocal8Bit(set.isEmpty() ? QByteArray(fallback) : set);
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return stat(a.toLocal8Bit().constData(), &sa) == 0 &&
           stat(b.toLocal8Bit().constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
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
        say(QByteArray("Try 'ffmpeg2theora --help' for more information.\n"));
        return 1;
    }
    const Options &o = parsed.options;
    if (o.help) {
        const QByteArray text = usageText().toLocal8Bit();
        fwrite(text.constData(), 1, text.size(), stdout);
        return 0;
    }

    const QString ffprobe = tool("FFMPEG2THEORA_FFPROBE", "ffprobe");
    const QString ffmpeg = tool("FFMPEG2THEORA_FFMPEG", "ffmpeg");

    const ProbeResult probe = probeInput(o, ffprobe);
    if (probe.child.stopped)
        return stoppedExit();
    if (!probe.child.startError.isEmpty()) {
        complain(QStringLiteral("cannot run %1: %2").arg(ffprobe, probe.child.startError));
        return 1;
    }
    if (probe.unknownFormat) {
        complain(QStringLiteral("--format %1 names no input format ffmpeg knows").arg(o.format));
        return 1;
    }
    if (!probe.opened) {
        say(QStringLiteral("Unable to open file %1: %2\n").arg(o.input, probe.reason));
        return 1;
    }
    if (sameFile(o.input, o.output)) {
        complain(
            QStringLiteral("the output %1 is the input file; choose another output").arg(o.output));
        return 1;
    }

    const Plan plan = makePlan(o, probe.info);
    if (!plan.error.isEmpty()) {
        complain(plan.error);
        return 1;
    }

    say(QStringLiteral("  Duration: %1\n")
            .arg(probe.info.duration ? formatTime(*probe.info.duration) : QStringLiteral("N/A")));
    for (const QString &note : plan.notes)
        complain(QStringLiteral("note: ") + note);
    if (stopSignal())
        return stoppedExit();

    if (const int parts = partsFor(o, probe.info, plan))
        return encodeInParts(o, probe.info, plan, parts, ffmpeg);

    ProgressReader progress;
    OggFollower ogg(o.output);
    bool lineOpen = false;
    QByteArray ffmpegErrors;
    constexpr int keptErrors = 64 * 1024;

    ChildCommand command;
    command.argv = QStringList{ffmpeg} + plan.args;
    command.nice = o.nice;
    // On SIGINT ffmpeg finishes the file it writes, so what is there plays.
    command.stopWith = SIGINT;
    command.graceMs = 10000;
    command.onStdout = [&](const QByteArray &bytes) {
        progress.feed(bytes, [&](const ProgressReader::Block &block) {
            if (!block.outTimeUs)
                return;
            ogg.update();
            // With the input's timestamps kept (-copyts), ffmpeg counts its
            // time from the first it reported, not from the output's start;
            // the pictures written tell the position then.
            const double seconds =
                plan.rateNum ? ogg.videoSeconds() : *block.outTimeUs / 1e6;
            QString line = QStringLiteral("\r      ") + formatTime(seconds);
            if (plan.audio)
                line += QStringLiteral(" audio: %1kbps").arg(ogg.audioKbps());
            if (plan.video)
                line += QStringLiteral(" video: %1kbps").arg(ogg.videoKbps());
            say(line);
            lineOpen = true;
        });
    };
    command.onStderr = [&](const QByteArray &bytes) {
        ffmpegErrors += bytes;
        if (ffmpegErrors.size() > keptErrors)
            ffmpegErrors.remove(0, ffmpegErrors.size() - keptErrors);
    };
    const ChildResult run = runChild(command);
    if (lineOpen)
        say(QByteArray("\n"));

    if (!run.startError.isEmpty())
        return reportFailure(ffmpeg, run, ffmpegErrors);
    if (o.nice && run.niceness && *run.niceness != *o.nice)
        complain(QStringLiteral("note: the encoding ran at niceness %1, not %2")
                     .arg(*run.niceness)
                     .arg(*o.nice));
    if (run.stopped) {
        complain(QStringLiteral("stopped; %1 holds what was encoded so far").arg(o.output));
        return stoppedExit();
    }
    return reportFailure(ffmpeg, run, ffmpegErrors);
}
