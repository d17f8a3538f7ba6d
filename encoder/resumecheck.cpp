// SPDX-License-Identifier: GPL-3.0-or-later
#include "resumecheck.h"

#include "contract.h"
#include "output.h"
#include "process.h"
#include "report.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{

// A hash of what FFMPEG says of its version and its libraries'.
QByteArray ffmpegVersion(const QString &ffmpeg)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    ChildCommand c;
    c.argv = QStringList{ffmpeg, QStringLiteral("-version")};
    c.onStdout = [&hash](const QByteArray &bytes) { hash.addData(bytes); };
    return failed(runChild(c)) ? QByteArray() : hash.result().toHex();
}

// The answer LINE on standard output; exit status 0.
int answer(const QString &line)
{
    const QByteArray text = (line + QLatin1Char('\n')).toUtf8();
    fwrite(text.constData(), 1, size_t(text.size()), stdout);
    fflush(stdout);
    return contract::exitSuccess;
}

int changed(const QString &reason)
{
    return answer(contract::resumeChangedLine().arg(reason));
}

// Whether an encode holds DIR now. A shared hold, given up at once, does not
// stand in the way of one that runs; one that starts in that moment takes
// its chunks for another encode's and keeps none.
bool heldByAnEncode(const QString &dir)
{
    const int fd =
        ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0;
    ::close(fd); // gives the hold up
    return held;
}

// The kept chunks of KEPT in DIR that are still there as they were listed
// (their size: a checksum of every chunk would take the time of reading
// them all) and, with SOURCES, made from what the input holds now.
Manifest usable(const Manifest &kept, const QString &dir, const QList<QByteArray> *sources)
{
    Manifest m = kept;
    m.chunks.clear();
    for (const KeptFile &f : kept.chunks) {
        if (QFileInfo(QDir(dir).filePath(keptFileName(f.index))).size() != f.bytes)
            continue;
        if (sources && (f.source.isEmpty() || f.source != sources->value(f.index)))
            continue;
        m.chunks << f;
    }
    return m;
}

} // namespace

Manifest commandManifest(const Options &o, const Plan &plan, const QString &ffmpeg)
{
    Manifest now;
    now.input = identifyInput(localInputPath(o));
    Slice range;
    range.video = plan.video;
    range.audio = plan.audio;
    range.count = plan.frames;
    range.output = QStringLiteral("file:") + keptFileName(0);
    // The input is told by its content (chunkSource), not by the name
    // it was given this time.
    Plan named = plan;
    named.url.clear();
    now.arguments = ffmpegCommand(named, range);
    now.ffmpeg = ffmpegVersion(ffmpeg);
    now.keyint = o.keyint;
    now.frames = plan.frames;
    return now;
}

QList<QByteArray> keptSources(const Plan &plan, const VideoScan *scan, const QList<qint64> &cuts)
{
    const qint64 lead = plan.earlyFilters.isEmpty() ? 0 : 2;
    QList<QByteArray> sources;
    for (int k = 0; k < cuts.size(); ++k) {
        const qint64 count = k + 1 < cuts.size() ? cuts.at(k + 1) - cuts.at(k)
                             : plan.length       ? plan.frames - cuts.at(k)
                                                 : 0;
        sources << chunkSource(plan, scan, cuts.at(k), count, std::min(cuts.at(k), lead));
    }
    return sources;
}

int resumeCheck(const Options &o, const PartsAsked &asked, int cores, const QString &ffprobe,
                const QString &ffmpeg)
{
    const OutputTarget target = examineOutput(o.output);
    if (!target.error.isEmpty()) {
        complain(target.error);
        return contract::exitFailure;
    }
    // Only a file output keeps its chunks beside it.
    if (target.kind != OutputTarget::Kind::File)
        return answer(QLatin1String(contract::resumeNoneLine));
    const QString dir = chunkDirFor(target.path);
    QFile file(QDir(dir).filePath(QLatin1String(contract::manifestName)));
    if (!QFileInfo(dir).isDir() || !file.exists())
        return answer(QLatin1String(contract::resumeNoneLine));
    if (heldByAnEncode(dir))
        return answer(QLatin1String(contract::resumeRunningLine));
    const QByteArray text = file.open(QIODevice::ReadOnly) ? file.read(1 << 20) : QByteArray();
    const std::optional<Manifest> kept = parseManifest(text);
    if (!kept)
        return changed(manifestProblem(text));
    if (kept->chunks.isEmpty())
        return answer(QLatin1String(contract::resumeNoneLine));
    if (o.restart)
        return changed(QStringLiteral("--restart"));

    const ProbeResult probe = probeInput(o, ffprobe);
    if (!probe.opened) {
        complain(QStringLiteral("Unable to open file %1: %2")
                     .arg(o.input, probe.reason.isEmpty() ? QStringLiteral("it cannot be read")
                                                          : probe.reason));
        return contract::exitFailure;
    }
    Plan plan = makePlan(o, probe.info);
    if (!plan.error.isEmpty()) {
        complain(plan.error);
        return contract::exitFailure;
    }
    // One process uses no chunks (and removes them once it succeeds).
    if (plannedWorkers(o, probe.info, plan, asked, cores) < 2)
        return changed(QStringLiteral("encoded in one process"));
    // The same input, unchanged, holds the pictures it held: it need not be
    // read through again to be counted, and every chunk was made from it.
    const bool sameInput = kept->input.sameBytes(identifyInput(localInputPath(o)));
    std::optional<Prepared> ready;
    if (sameInput) {
        plan.frames = kept->frames;
        plan.counted = true;
    } else {
        ready = prepare(o, probe.info, plan, asked, cores, ffprobe);
        if (ready->stopped)
            return stoppedExit();
        if (!ready->plan.error.isEmpty()) {
            complain(ready->plan.error);
            return contract::exitFailure;
        }
        if (ready->workers < 2)
            return changed(QStringLiteral("encoded in one process"));
        plan = ready->plan;
    }
    const Manifest now = commandManifest(o, plan, ffmpeg);
    if (const QString wrong = mismatch(*kept, now); !wrong.isEmpty())
        return changed(wrong);
    QList<QByteArray> sources;
    if (ready)
        sources = keptSources(plan, &ready->scan, kept->cuts);
    const Manifest left = usable(*kept, dir, ready ? &sources : nullptr);
    if (left.chunks.isEmpty())
        return ready ? changed(QStringLiteral("another input"))
                     : answer(QLatin1String(contract::resumeNoneLine));
    return answer(contract::resumeShareLine().arg(left.percentKept()));
}
