// SPDX-License-Identifier: GPL-3.0-or-later
#include "encode.h"

#include "contract.h"
#include "earlyend.h"
#include "manifest.h"
#include "ogg.h"
#include "oggjoin.h"
#include "process.h"
#include "progress.h"
#include "report.h"
#include "resumecheck.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

// What one slice's ffmpeg has reported so far.
struct Watch {
    ProgressReader reader;
    std::unique_ptr<OggFollower> file; // null when its output cannot be read
    double outTime = 0;                // ffmpeg's own position, seconds
    qint64 encoded = -1;               // pictures ffmpeg gave its encoder
    double seconds = 0;                // the pictures it holds, once known
    QByteArray errors;
    // A chunk, once done and checked: the pictures it holds.
    bool done = false;
    qint64 frames = 0;
    qint64 held = 0;      // of which its Theora stream holds
    qint64 keptBytes = 0; // its size, when an earlier run made it
    bool inexact = false; // its decoding started later than its first picture
};

// Keeps the end of a child's error output: BYTES added to ERRORS.
void keepTail(QByteArray &errors, const QByteArray &bytes)
{
    constexpr int keptErrors = 64 * 1024;
    errors += bytes;
    if (errors.size() > keptErrors)
        errors.remove(0, errors.size() - keptErrors);
}

// Says what chunks STORE keeps for the same command to resume, if any, after
// WHAT (empty, or "stopped; "), and gives back STATUS.
int keptChunks(const ChunkStore &store, const QString &what, int status)
{
    const Manifest &m = store.manifest();
    if (store.resumable() && !m.chunks.isEmpty())
        complain(contract::keptLine()
                     .arg(what)
                     .arg(m.chunks.size())
                     .arg(m.cuts.size())
                     .arg(m.percentKept())
                     .arg(store.path()));
    return status;
}

// After a failure that did not use them, says what chunks an earlier run
// keeps beside the file TARGET, if any: they are still there.
void keptBeside(const OutputTarget &target)
{
    if (target.kind != OutputTarget::Kind::File)
        return;
    const QString dir = chunkDirFor(target.path);
    QFile file(QDir(dir).filePath(QLatin1String(contract::manifestName)));
    const std::optional<Manifest> m =
        file.open(QIODevice::ReadOnly) ? parseManifest(file.read(1 << 20)) : std::nullopt;
    if (m && !m->chunks.isEmpty())
        complain(contract::keptLine()
                     .arg(QString())
                     .arg(m->chunks.size())
                     .arg(m->cuts.size())
                     .arg(m->percentKept())
                     .arg(dir));
}

// Says what a stop left at OUTPUT and in STORE, and gives the exit status.
int stopped(const QString &output, const OutputTarget &target, const ChunkStore &store)
{
    if (store.resumable() && !store.manifest().chunks.isEmpty())
        return keptChunks(store, QStringLiteral("stopped; "), stoppedExit());
    if (target.kind != OutputTarget::Kind::File)
        complain(QStringLiteral("stopped; %1 got only part of the result").arg(output));
    else if (target.exists)
        complain(QStringLiteral("stopped; %1 is left as it was").arg(output));
    else
        complain(QStringLiteral("stopped; nothing written to %1").arg(output));
    return stoppedExit();
}

// What is wrong with chunk NUMBER, slice S, that ffmpeg has made: empty if
// nothing, and W learns how many pictures it holds.
QString checkChunk(const Plan &plan, const MediaInfo &m, const Slice &s, int number, bool last,
                   Watch &w)
{
    // A chunk must start on the picture it claims: a decoder that began
    // later than asked would have the first picture stand in for those it
    // missed.
    if (!s.decodedLog.isEmpty()) {
        QFile log(s.decodedLog);
        std::optional<double> first;
        if (log.open(QIODevice::ReadOnly))
            first = firstDecoded(log.read(4096));
        const double wanted = gridTime(plan, firstGridFrame(plan) + s.first - s.lead);
        if (first.value_or(qInf()) > wanted + 0.5 * plan.rateDen / plan.rateNum) {
            w.inexact = true;
            return QStringLiteral("note: part %1 cannot be cut exactly from the input (its "
                                  "decoding starts at %2, not %3); encoding in one process")
                .arg(number)
                .arg(first ? formatTime(first.value_or(0) - m.startTime) : QStringLiteral("N/A"))
                .arg(formatTime(wanted - m.startTime));
        }
    }
    // Each chunk but the last must hold exactly its pictures; the joiner
    // checks the rest (same headers, a key frame first).
    const TheoraFile t = readTheoraFile(s.output.mid(5));
    // ffmpeg's Ogg writer leaves out the empty packets that end a stream,
    // each the picture before it again: when ffmpeg encoded all the
    // pictures, the join puts them back (one process loses them too at the
    // very end).
    const bool repeatsLost = t.ok && t.frames < s.count && w.encoded == s.count;
    QString wrong;
    if (!t.ok)
        wrong = QStringLiteral("holds no Theora stream");
    else if (s.count && t.frames != s.count && !repeatsLost)
        wrong = QStringLiteral("holds %1 frames, not %2").arg(t.frames).arg(s.count);
    if (!wrong.isEmpty())
        return QStringLiteral("cannot join the parts: part %1 %2").arg(number).arg(wrong);
    w.frames = repeatsLost && !last ? s.count : t.frames;
    w.held = t.frames;
    return {};
}

// Says that the last picture is encoded, and about how long what follows
// takes: reading BYTES and writing them again, at 120 MB/s (a join and the
// check of the joined file, measured on a 2-core machine at rest), or only
// reading them (a check alone) when not JOINED. Less than a second is not
// worth a line.
void sayFinishing(qint64 bytes, bool joined)
{
    constexpr double bytesPerSecond = 120e6;
    const double seconds = bytes / bytesPerSecond * (joined ? 1 : 0.4);
    if (seconds >= 1)
        complain(contract::finishingLine().arg(std::llround(bytes / 1e6)).arg(seconds, 0, 'f', 1));
}

// How many pictures of PIXELS pixels cost as much to encode as a second of
// sound. Measured with libtheora and libvorbis on 2 cores: a picture takes
// about 1.1 ms and 62 ns a pixel, a second of stereo sound 16 ms.
double soundPictures(double pixels)
{
    return 16e-3 / (1.1e-3 + 62e-9 * pixels);
}

// The position line on standard error: how much of the range is encoded, as
// a time in it, and the bit rates of what is written so far.
class ProgressLine
{
public:
    ProgressLine(const Plan &plan, const QList<Slice> &slices,
                 const QList<std::shared_ptr<Watch>> &watches)
        : plan(plan), slices(slices), watches(watches),
          fps(plan.rateNum ? double(plan.rateNum) / plan.rateDen : 0),
          soundWeight(slices.size() > 1 && plan.audio && plan.video && plan.frames > 0
                          ? soundPictures(double(plan.width) * plan.height)
                          : 0)
    {
    }

    // Shows the line anew: the position never goes back.
    void show()
    {
        qint64 videoBytes = 0, audioBytes = 0;
        double videoSeconds = 0, audioSeconds = 0;
        for (const auto &w : watches) {
            if (w->file) {
                w->file->update();
                videoBytes += w->file->videoBytes();
                videoSeconds += w->file->videoSeconds();
                audioBytes += w->file->audioBytes();
                audioSeconds += w->file->audioSeconds();
            } else if (w->done) { // kept by an earlier run
                videoBytes += w->keptBytes;
                videoSeconds += w->seconds;
            }
        }
        shown = std::max(shown, position());
        QString line = QStringLiteral("\r      ") + formatTime(shown);
        if (plan.audio)
            line += QStringLiteral(" audio: %1kbps").arg(kbps(audioBytes, audioSeconds));
        if (plan.video)
            line += QStringLiteral(" video: %1kbps").arg(kbps(videoBytes, videoSeconds));
        say(line);
        open = true;
    }

    // Ends the line, when one is shown.
    void end()
    {
        if (open)
            say(QByteArray("\n"));
        open = false;
    }

private:
    // In one process, where it is. In chunks, what the pool has done: the
    // pictures of every chunk, done or at work, as a time in the range, so
    // that the position rises at the pace of all the workers.
    double position() const
    {
        const auto reached = [&](const Watch &w) {
            if (w.done)
                return w.seconds;
            return plan.rateNum && w.file ? w.file->videoSeconds() : w.outTime;
        };
        if (slices.size() == 1)
            return reached(*watches.first());
        double pictures = 0;
        for (int i = 0; i < slices.size(); ++i) {
            const Slice &s = slices.at(i);
            const Watch &w = *watches.at(i);
            if (!s.video)
                continue;
            double own = w.done           ? double(w.frames)
                         : w.encoded >= 0 ? double(w.encoded)
                                          : reached(w) * fps;
            if (s.count)
                own = std::min(own, double(s.count));
            pictures += own;
        }
        if (plan.frames > 0)
            pictures = std::min(pictures, double(plan.frames));
        // The sound is encoded beside the chunks: its work counts as the
        // pictures it costs as much as, so that the position rises at one
        // pace while it runs and after.
        if (soundWeight > 0 && fps > 0) {
            const double length = plan.frames / fps;
            double sound = 0;
            for (int i = 0; i < slices.size(); ++i)
                if (!slices.at(i).video)
                    sound = watches.at(i)->done ? length : std::min(watches.at(i)->outTime, length);
            const double all = plan.frames + length * soundWeight;
            return (pictures + sound * soundWeight) / all * length;
        }
        return fps > 0 ? pictures / fps : 0;
    }

    // A bit rate over less than a second (half of a shorter range) is
    // mostly the headers and the first key frame: it says nothing yet.
    int kbps(qint64 bytes, double seconds) const
    {
        const double range =
            plan.frames > 0 && fps > 0 ? plan.frames / fps : plan.length.value_or(2);
        return seconds > 0 && seconds >= std::min(1.0, range / 2)
                   ? qRound(bytes * 8 / seconds / 1000)
                   : 0;
    }

    const Plan &plan;
    const QList<Slice> &slices;
    const QList<std::shared_ptr<Watch>> &watches;
    const double fps;
    const double soundWeight; // pictures a second of sound costs as much as; 0: not counted
    double shown = 0;
    bool open = false;
};

// How many more descriptors this process may open (ulimit -n).
int descriptorsLeft()
{
    rlimit limit;
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::numeric_limits<int>::max();
    const qsizetype open = QDir(QStringLiteral("/proc/self/fd"))
                               .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                               .size();
    return int(std::min<rlim_t>(limit.rlim_cur, std::numeric_limits<int>::max()) - open);
}

// Starting a child takes up to nine descriptors for a moment.
constexpr int spawning = 9;

// Copies the file FROM to TO, which is written as it is (a device, a FIFO,
// standard output); empty, or why it could not be done.
QString copyFile(const QString &from, const QString &to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(from, in.errorString());
    const int fd = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return QStringLiteral("cannot write %1: %2")
            .arg(to, QString::fromLocal8Bit(strerror(errno)));
    QString error;
    for (QByteArray block; error.isEmpty() && !(block = in.read(1 << 20)).isEmpty();) {
        for (qsizetype done = 0; error.isEmpty() && done < block.size();) {
            const ssize_t n = ::write(fd, block.constData() + done, size_t(block.size() - done));
            if (n > 0)
                done += n;
            else if (n < 0 && errno == EINTR && !stopSignal())
                continue;
            else
                error = QStringLiteral("cannot write %1: %2")
                            .arg(to, QString::fromLocal8Bit(strerror(n < 0 ? errno : EIO)));
        }
    }
    ::close(fd);
    return error;
}

// How long each chunk and the sound took, and how busy the workers were
// (FFMPEG2THEORA_STATS): the time of the chunks over the time the pool ran
// times the workers.
void reportStats(const QList<Slice> &slices, const QList<ChildResult> &runs, int workers)
{
    const auto seconds = [](qint64 ms) { return QString::number(ms / 1000.0, 'f', 3); };
    qint64 from = -1, to = 0, busy = 0;
    int number = 0;
    for (int i = 0; i < slices.size(); ++i) {
        const Slice &s = slices.at(i);
        const ChildResult &r = runs.at(i);
        const qint64 took = r.endMs - r.startMs;
        if (r.startMs < 0) // kept from an earlier run
            continue;
        if (!s.video) {
            complain(QStringLiteral("stats: sound %1 s").arg(seconds(took)));
            continue;
        }
        ++number;
        busy += took;
        from = from < 0 ? r.startMs : std::min(from, r.startMs);
        to = std::max(to, r.endMs);
        complain(QStringLiteral("stats: chunk %1 from picture %2, %3 pictures, %4 s")
                     .arg(number)
                     .arg(s.first)
                     .arg(s.count ? QString::number(s.count) : QStringLiteral("the rest of the"))
                     .arg(seconds(took)));
    }
    const qint64 wall = std::max<qint64>(1, to - from);
    complain(QStringLiteral("stats: %1 workers, %2 chunks, pool %3 s, chunks %4 s, efficiency %5")
                 .arg(workers)
                 .arg(number)
                 .arg(seconds(wall))
                 .arg(seconds(busy))
                 .arg(double(busy) / (double(wall) * workers), 0, 'f', 3));
}

} // namespace

QList<Slice> makeSlices(const Plan &plan, const MediaInfo &m, const VideoScan *scan, int workers,
                        int keyint, const QString &output, const QString &dir,
                        const QList<qint64> &cuts)
{
    const double frame = plan.rateNum ? double(plan.rateDen) / plan.rateNum : 0;
    auto place = [&](Slice s, const VideoScan *keys) {
        s.seek = plan.rateNum ? seekFor(neededFrom(plan, s), m.startTime, m.formatName, keys, frame)
                              : plan.start;
        return s;
    };
    // Deinterlacing looks at the picture before: a chunk's filters see two
    // before it.
    const qint64 lead = plan.earlyFilters.isEmpty() ? 0 : 2;
    // A chunk is decoded from the input's key frame before its lead; what
    // the pictures cost to encode is told by the input's packets.
    QList<qint64> decodeFrom;
    QList<std::pair<qint64, qint64>> packets;
    if (scan && plan.rateNum) {
        const double origin = gridTime(plan, firstGridFrame(plan));
        const auto place = [&](double pts) { return std::llround((pts - origin) / frame); };
        for (const auto &key : scan->keyFrames)
            decodeFrom << place(key.pts) + lead;
        std::sort(decodeFrom.begin(), decodeFrom.end());
        for (const auto &packet : scan->packets)
            packets << std::pair<qint64, qint64>(place(packet.pts), packet.bytes);
    }
    QList<Slice> slices;
    const QList<qint64> starts =
        !cuts.isEmpty() ? cuts
        : workers > 1 && plan.frames > 0
            ? cutPoints(plan.frames, workers, keyint, decodeFrom,
                        encodingWork(plan.frames, packets, double(m.width) * m.height),
                        chunkCost(double(plan.width) * plan.height))
            : QList<qint64>{0};
    if (starts.size() == 1) {
        Slice whole;
        whole.video = plan.video;
        whole.audio = plan.audio;
        whole.count = plan.length ? plan.frames : 0;
        whole.output = output;
        slices << place(whole, scan);
        return slices;
    }
    // The sound first: it starts at once beside the first chunks but only
    // runs where they leave a core free (see encodeWith), and as any other
    // once the first worker has no chunk left. It is read from where one
    // process reads it: a plain seek would land on the first key frame, past
    // the sound before the first picture.
    if (plan.audio) {
        Slice s;
        s.audio = true;
        s.output = QStringLiteral("file:") + QDir(dir).filePath(keptFileName(-1));
        slices << place(s, scan);
    }
    for (int k = 0; k < starts.size(); ++k) {
        Slice s;
        s.video = true;
        s.first = starts.at(k);
        const bool last = k + 1 == starts.size();
        s.count = !last ? starts.at(k + 1) - s.first : plan.length ? plan.frames - s.first : 0;
        s.lead = std::min(s.first, lead);
        s.output = QStringLiteral("file:") + QDir(dir).filePath(keptFileName(k));
        if (s.first > 0)
            s.decodedLog = QDir(dir).filePath(decodedLogName(k));
        slices << place(s, scan);
    }
    return slices;
}

namespace
{

// How many errors the decoders meet in PLAN's range, read once from its start
// to its end and only decoded; none when that could not be done.
std::optional<int> decodingErrors(const Plan &plan, const MediaInfo &m, const VideoScan *scan,
                                  const QString &ffmpeg, std::optional<int> nice)
{
    const Slice range = makeSlices(plan, m, scan, 1, 1, QString(), QString()).first();
    QByteArray errors;
    ChildCommand c;
    c.argv = QStringList{ffmpeg} + ffmpegCommand(plan, range);
    c.passStdin = readsStandardInput(plan.url);
    c.nice = nice;
    c.onProgress = [](const QByteArray &) {};
    c.onStderr = [&errors](const QByteArray &bytes) { keepTail(errors, bytes); };
    if (failed(runChild(c)))
        return std::nullopt;
    return damageReports(errors);
}

// Opens STORE, where the chunks wait until the join: beside a file they will
// replace, on its file system, named after it so that the same command finds
// them again; elsewhere (a device, a FIFO, standard output, or a name taken)
// in a private directory. Only we may look in. An empty string or why not.
QString openChunks(const Options &o, const Plan &plan, const QString &ffmpeg,
                   const OutputTarget &target, ChunkStore &store)
{
    const bool file = target.kind == OutputTarget::Kind::File;
    if (file) {
        const Manifest now = commandManifest(o, plan, ffmpeg);
        const QString dir = chunkDirFor(target.path);
        if (store.open(dir, now, o.restart)) {
            if (!store.note().isEmpty())
                complain(QStringLiteral("note: the chunks kept in %1 are not used (%2); encoding "
                                        "afresh")
                             .arg(dir, store.note()));
            return QString();
        }
        if (!store.failure().isEmpty())
            complain(QStringLiteral("note: cannot write the manifest in %1 (%2); this encode's "
                                    "chunks are not kept")
                         .arg(dir, store.failure()));
        else
            complain(QStringLiteral("note: %1 is another program's or another encode's; this "
                                    "encode's chunks are not kept")
                         .arg(dir));
    }
    const QString near = file ? QFileInfo(target.path).absolutePath() + QStringLiteral("/.") +
                                    QFileInfo(target.path).fileName()
                              : temporaryFolder() + QStringLiteral("/ffmpeg2theora");
    const QString error = store.openPrivate(near + QStringLiteral(".parts-XXXXXX"));
    if (!error.isEmpty())
        return QStringLiteral("cannot make a temporary directory for the parts (%1)").arg(error);
    return QString();
}

// How an attempt at the encode ended: with an exit status, or with chunks of
// no use, so that the encode is made again in one process.
struct Ending {
    bool inOneProcess = false;
    int status = 0;
    bool keepChunks = false; // the chunks kept stay for a later run
};

Ending exitWith(int status)
{
    return Ending{false, status};
}

constexpr Ending againInOneProcess{true, 0, false};

// What the ends of the children come to; the first that is not a success
// decides, a stop before a failure before a rejected chunk.
enum class Verdict {
    Succeeded,
    Stopped,  // we were asked to stop
    Failed,   // a child failed of itself
    Rejected, // a chunk holds other pictures than asked: a fault
    Inexact,  // a chunk does not start where it claims: made again in one process
};

struct Triage {
    Verdict verdict = Verdict::Succeeded;
    int at = -1; // the slice that decides
};

Triage triage(const QList<ChildResult> &runs, const QList<std::shared_ptr<Watch>> &watches)
{
    for (int i = 0; i < runs.size(); ++i)
        if (runs.at(i).stopped)
            return {Verdict::Stopped, i};
    for (int i = 0; i < runs.size(); ++i)
        if (failed(runs.at(i)) && !runs.at(i).abandoned && runs.at(i).rejected.isEmpty())
            return {Verdict::Failed, i};
    for (int i = 0; i < runs.size(); ++i)
        if (!runs.at(i).rejected.isEmpty())
            return {watches.at(i)->inexact ? Verdict::Inexact : Verdict::Rejected, i};
    return {};
}

// One attempt at the encode, in one process or in chunks: its slices, what
// the ffmpeg of each has reported, and the steps from running them to the
// output committed.
class Attempt
{
public:
    Attempt(const Options &o, const MediaInfo &m, const Plan &plan, const VideoScan *scan,
            int workers, const QString &ffmpeg, const OutputTarget &target, OutputFile &out,
            ChunkStore &store)
        : o(o), m(m), plan(plan), scan(scan), workers(workers), ffmpeg(ffmpeg), target(target),
          out(out), store(store), buffered(out.direct() && !store.path().isEmpty()),
          slices(makeSlices(plan, m, scan, workers, o.keyint,
                            buffered ? QStringLiteral("file:") + joinedPath() : out.url(),
                            store.path(), workers > 1 ? store.manifest().cuts : QList<qint64>())),
          whole(slices.size() == 1),
          // Stopped, one process leaves a playable file where there was none.
          keepPartial(whole && target.kind == OutputTarget::Kind::File && !target.exists),
          fps(plan.rateNum ? double(plan.rateNum) / plan.rateDen : 0),
          progress(plan, slices, watches)
    {
        // The chunks of the pictures, in order; their number in messages
        // counts from 1.
        for (int i = 0; i < slices.size(); ++i) {
            if (slices.at(i).video && !whole) {
                chunks << i;
                const Slice &c = slices.at(i);
                sources << chunkSource(plan, scan, c.first, c.count, c.lead);
            }
        }
    }

    // Where a result that cannot be taken back (a device, standard output)
    // is made and checked before it is sent.
    QString joinedPath() const { return QDir(store.path()).filePath(QStringLiteral("joined.ogg")); }

    // The slices that run at once: the parts and the join.
    qsizetype parts() const { return whole ? 1 : slices.size(); }

    // Runs every slice not kept from an earlier run; the results come in
    // the order of the slices.
    QList<ChildResult> run()
    {
        if (store.resumable() && store.manifest().cuts.isEmpty() && !whole) {
            QList<qint64> cuts;
            for (const int i : std::as_const(chunks))
                cuts << slices.at(i).first;
            if (const QString error = store.setCuts(cuts); !error.isEmpty()) {
                unrecorded = error;
                complain(QStringLiteral("note: cannot write the manifest in %1 (%2); a stop "
                                        "keeps no chunk")
                             .arg(store.path(), error));
            }
        }
        QList<ChildCommand> commands;
        QList<int> ran; // the slices that have a command, in order
        for (int i = 0; i < slices.size(); ++i) {
            watches << watch(i);
            if (!watches.last()->done) {
                commands << command(i, watches.last());
                ran << i;
            }
        }
        if (!store.manifest().chunks.isEmpty()) {
            complain(contract::resumingLine()
                         .arg(store.manifest().chunks.size())
                         .arg(chunks.size())
                         .arg(store.manifest().percentKept()));
            progress.show();
        }
        QList<ChildResult> runs(slices.size());
        const QList<ChildResult> results = runChildren(commands, true, workers);
        for (int k = 0; k < ran.size(); ++k)
            runs[ran.at(k)] = results.at(k);
        return runs;
    }

    // Says how RUNS ended when not all well; none when the encode goes on.
    std::optional<Ending> settle(const QList<ChildResult> &runs)
    {
        for (const ChildResult &run : runs)
            if (failed(run))
                progress.end();
        const Triage t = triage(runs, watches);
        if (t.verdict == Verdict::Stopped) {
            progress.end();
            if (keepPartial && QFileInfo(out.path()).size() > 0 && out.commit().isEmpty()) {
                complain(QStringLiteral("stopped; %1 holds what was encoded so far").arg(o.output));
                return exitWith(stoppedExit());
            }
            return exitWith(stopped(o.output, buffered ? OutputTarget{} : target, store));
        }
        for (const ChildResult &run : runs) {
            if (o.nice && run.niceness && *run.niceness != *o.nice) {
                complain(QStringLiteral("note: the encoding ran at niceness %1, not %2")
                             .arg(*run.niceness)
                             .arg(*o.nice));
                break;
            }
        }
        switch (t.verdict) {
        case Verdict::Succeeded:
        case Verdict::Stopped:
            break;
        case Verdict::Failed:
            return exitWith(keptChunks(
                store, QString(), reportFailure(ffmpeg, runs.at(t.at), watches.at(t.at)->errors)));
        case Verdict::Rejected:
        case Verdict::Inexact:
            complain(runs.at(t.at).rejected);
            // A chunk that does not start where it claims is made again in
            // one process; a chunk that holds other pictures than asked is a
            // fault.
            return t.verdict == Verdict::Inexact ? againInOneProcess
                                                 : exitWith(keptChunks(store, QString(), 1));
        }
        if (!whole && qEnvironmentVariableIntValue("FFMPEG2THEORA_STATS") > 0) {
            progress.end();
            reportStats(slices, runs, workers);
        }
        return std::nullopt;
    }

    // Joins the chunks into the output and checks the joined file; in one
    // process, measures what ffmpeg wrote. None when the encode goes on.
    std::optional<Ending> join()
    {
        if (whole) {
            const Watch &w = *watches.first();
            if (w.file) {
                w.file->update();
                length = std::max(w.file->videoSeconds(), w.file->audioSeconds());
            } else {
                length = w.outTime;
            }
            progress.end();
            if (!buffered && out.direct())
                return std::nullopt; // sent as it was made: nothing to check
            const QString file = buffered ? joinedPath() : out.path();
            sayFinishing(QFileInfo(file).size(), false);
            if (const QString wrong = checkWhole(file, w.encoded); !wrong.isEmpty()) {
                complain(QStringLiteral("%1; %2").arg(wrong, leftAs()));
                return exitWith(contract::exitFailure);
            }
            return send();
        }
        QList<QString> files;
        QList<qint64> counts;
        for (const int i : std::as_const(chunks)) {
            files << slices.at(i).output.mid(5);
            counts << watches.at(i)->frames;
            length += watches.at(i)->seconds;
        }
        if (stopSignal()) {
            progress.end();
            // Nothing of the result is written yet.
            return exitWith(stopped(o.output, out.direct() ? OutputTarget{} : target, store));
        }
        // The end of the range, reached: the sound too.
        for (int i = 0; i < slices.size(); ++i)
            watches.at(i)->done = watches.at(i)->done || !slices.at(i).video;
        progress.show();
        progress.end();
        qint64 bytes = 0;
        for (const Slice &slice : slices)
            bytes += QFileInfo(slice.output.mid(5)).size();
        sayFinishing(bytes, true);

        // Joined page by page: ffmpeg's Ogg reader would drop the empty
        // packets that stand for a repeated picture. What cannot be taken
        // back (a device, standard output) gets the file once it is checked.
        const QString sound = plan.audio ? slices.first().output.mid(5) : QString();
        const QString joined = out.direct() ? joinedPath() : out.path();
        const JoinResult join =
            joinOgg(files, counts, sound, joined, [] { return stopSignal() != 0; });
        if (join.status == JoinResult::Stopped || stopSignal())
            return exitWith(stopped(o.output, out.direct() ? OutputTarget{} : target, store));
        if (!join.ok()) {
            // A chunk damaged after its check: none of them is trusted
            // again, so that the next run is not caught by the same one.
            complain(QStringLiteral("note: cannot join the parts (%1); encoding in one process")
                         .arg(join.message));
            return againInOneProcess;
        }
        qint64 pictures = 0;
        for (const qint64 count : std::as_const(counts))
            pictures += count;
        if (const QString wrong = checkOggFile(joined, pictures); !wrong.isEmpty()) {
            complain(QStringLiteral("note: the joined parts do not make a valid file (%1); "
                                    "encoding in one process")
                         .arg(wrong));
            return againInOneProcess;
        }
        progress.end();
        return send();
    }

    // Sends a checked result made aside to a device or standard output.
    std::optional<Ending> send()
    {
        if (!out.direct())
            return std::nullopt;
        if (const QString error = copyFile(joinedPath(), out.path()); !error.isEmpty()) {
            if (stopSignal())
                return exitWith(stopped(o.output, target, store));
            complain(error);
            return exitWith(contract::exitFailure);
        }
        return std::nullopt;
    }

    // What a failed encode leaves at the output.
    QString leftAs() const
    {
        if (!out.direct() && target.exists)
            return QStringLiteral("%1 is left as it was").arg(o.output);
        return QStringLiteral("nothing written to %1").arg(o.output);
    }

    // What is wrong with the file FILE one process made, ENCODED pictures
    // by ffmpeg's count: the checks of a joined file, and pictures for the
    // whole range the input holds. Empty if nothing.
    QString checkWhole(const QString &file, qint64 encoded) const
    {
        qint64 pictures = 0;
        if (const QString wrong = checkOggFile(file, 0, &pictures); !wrong.isEmpty())
            return QStringLiteral("the encoded file is not valid (%1)").arg(wrong);
        if (!plan.video)
            return {};
        if (pictures == 0)
            return QStringLiteral("the encoded file holds no picture: the input holds none "
                                  "from %1")
                .arg(formatTime(plan.start));
        // ffmpeg's Ogg writer leaves out the repeated pictures that end a
        // stream: those it encoded count.
        const qint64 held = pictures < plan.frames && encoded == plan.frames ? encoded : pictures;
        if (plan.counted && plan.frames > 0 && held != plan.frames)
            return QStringLiteral("the encoded file holds %1 pictures (%2), not the %3 (%4) of "
                                  "the range the input holds")
                .arg(held)
                .arg(formatTime(held / fps))
                .arg(plan.frames)
                .arg(formatTime(plan.frames / fps));
        return {};
    }

    // Says what damage ffmpeg met in the input, and commits the output; the
    // exit status.
    int finish()
    {
        // ffmpeg goes on over damage in the input, and says so only on its
        // standard error.
        int damage = keptDamage;
        for (const auto &w : std::as_const(watches))
            damage += damageReports(w->errors);
        // In parts, some of the input is decoded twice, and a part in a
        // container that seeks to any packet (MPEG-TS and the like) starts
        // decoding a little before its key frame, which the decoder
        // complains of on a whole input. What the input holds is then
        // counted in one pass that only decodes.
        if (damage && !whole) {
            const std::optional<int> counted = decodingErrors(plan, m, scan, ffmpeg, o.nice);
            if (stopSignal())
                return stopped(o.output, target, store);
            damage = counted.value_or(damage);
        }
        if (damage)
            complain(QStringLiteral("warning: the input is damaged: ffmpeg met %1 error(s) "
                                    "decoding it; the result lasts %2")
                         .arg(damage)
                         .arg(formatTime(length)));
        if (const QString early = endedEarly(plan, m, lasts()); !early.isEmpty())
            complain(early);

        if (const QString error = out.commit(); !error.isEmpty()) {
            complain(error);
            return keptChunks(store, QString(), contract::exitFailure);
        }
        return contract::exitSuccess;
    }

private:
    // How long the result lasts, its longest stream: the pictures, or the
    // sound made beside the chunks.
    double lasts() const
    {
        double longest = length;
        for (const auto &w : watches) {
            if (w->file) {
                w->file->update();
                longest = std::max(longest, w->file->audioSeconds());
            }
        }
        return longest;
    }

    // The chunk or the sound an earlier run of the same command finished,
    // for slice I.
    const KeptFile *kept(int i) const
    {
        if (whole || !store.resumable())
            return nullptr;
        if (!slices.at(i).video)
            return store.manifest().sound ? &*store.manifest().sound : nullptr;
        return store.chunk(int(chunks.indexOf(i)));
    }

    // Notes F, made as FILE, in the manifest, so that a stop keeps it.
    void record(KeptFile f, const QString &file)
    {
        f.bytes = QFileInfo(file).size();
        f.checksum = fileChecksum(file);
        if (const QString error = store.record(f); !error.isEmpty() && unrecorded.isEmpty()) {
            unrecorded = error;
            complain(QStringLiteral("note: cannot note the finished chunks in %1 (%2); a stop "
                                    "keeps none of them")
                         .arg(store.path(), error));
        }
    }

    // What slice I's ffmpeg reports, or what an earlier run kept of it
    // (then done).
    std::shared_ptr<Watch> watch(int i)
    {
        const Slice &slice = slices.at(i);
        auto w = std::make_shared<Watch>();
        const QString file = whole && !buffered ? out.followable() : slice.output.mid(5);
        // A finished chunk is not read again for the bit rate.
        if (!file.isEmpty() && !(kept(i) && slice.video))
            w->file = std::make_unique<OggFollower>(file);
        if (const KeptFile *f = kept(i)) {
            w->done = true;
            w->frames = f->pictures;
            w->seconds = w->frames / fps;
            w->keptBytes = f->bytes;
            keptDamage += f->damage;
        }
        return w;
    }

    // The ffmpeg of slice I, reporting to W.
    ChildCommand command(int i, const std::shared_ptr<Watch> &w)
    {
        const Slice &slice = slices.at(i);
        ChildCommand c;
        c.argv = QStringList{ffmpeg} + ffmpegCommand(plan, slice);
        c.nice = o.nice;
        // The sound runs beside the chunks as they do: held back to a core
        // they leave free, it would wait until the last chunks and then
        // run alone, long after the last picture for a long input of small
        // pictures (10 s after 45 s for 10 minutes at 320x240 on 2 cores).
        c.passStdout = whole && !buffered && target.kind == OutputTarget::Kind::StandardOutput;
        c.passStdin = readsStandardInput(plan.url);
        if (keepPartial) {
            // On SIGINT ffmpeg finishes the file it writes, so what is there
            // plays.
            c.stopWith = SIGINT;
            c.graceMs = 10000;
        }
        const bool counts = slice.video || whole;
        c.onProgress = [this, w, counts](const QByteArray &bytes) {
            w->reader.feed(bytes, [this, w, counts](const ProgressReader::Block &block) {
                if (block.frame)
                    w->encoded = *block.frame;
                if (!block.outTimeUs)
                    return;
                w->outTime = *block.outTimeUs / 1e6;
                if (counts)
                    progress.show();
            });
        };
        c.onStderr = [w](const QByteArray &bytes) { keepTail(w->errors, bytes); };
        if (slice.video && !whole) {
            // A chunk waits for a free worker, and is checked as soon as it
            // is done, so that a wrong one stops the others at once.
            c.pooled = true;
            const int number = int(chunks.indexOf(i)) + 1;
            const bool last = i == chunks.last();
            c.onSuccess = [this, w, i, number, last]() -> QString {
                const QString wrong = checkChunk(plan, m, slices.at(i), number, last, *w);
                if (w->file)
                    w->file->finish();
                if (wrong.isEmpty()) {
                    w->seconds = w->frames / fps;
                    w->done = true;
                    KeptFile f;
                    f.index = number - 1;
                    f.pictures = w->frames;
                    f.held = w->held;
                    f.damage = damageReports(w->errors);
                    f.source = sources.value(number - 1);
                    record(f, slices.at(i).output.mid(5));
                    progress.show();
                }
                return wrong;
            };
        } else if (!whole && store.resumable()) {
            c.onSuccess = [this, i]() -> QString {
                record(KeptFile(), slices.at(i).output.mid(5));
                return QString();
            };
        }
        return c;
    }

    const Options &o;
    const MediaInfo &m;
    const Plan &plan;
    const VideoScan *scan;
    const int workers;
    const QString &ffmpeg;
    const OutputTarget &target;
    OutputFile &out;
    ChunkStore &store;
    const bool buffered; // the result is made aside and checked before it is sent
    const QList<Slice> slices;
    const bool whole;
    const bool keepPartial;
    const double fps;
    QList<int> chunks;         // the slices of the pictures' chunks
    QList<QByteArray> sources; // what each chunk is made from (chunkSource)
    QList<std::shared_ptr<Watch>> watches;
    ProgressLine progress;
    int keptDamage = 0;
    QString unrecorded; // why a finished chunk could not be listed
    double length = 0;  // of the result, seconds
};

// Encodes with WORKERS workers, the chunks waiting in STORE.
Ending encodeWith(const Options &o, const MediaInfo &m, const Plan &plan, const VideoScan *scan,
                  int workers, const QString &ffmpeg, const OutputTarget &target, OutputFile &out,
                  ChunkStore &store)
{
    if (workers > 1) {
        if (const QString error = openChunks(o, plan, ffmpeg, target, store); !error.isEmpty()) {
            complain(QStringLiteral("note: %1; encoding in one process").arg(error));
            return againInOneProcess;
        }
        if (stopSignal())
            return exitWith(stopped(o.output, target, store));
        // A kept chunk is used only while the input still holds what it was
        // made from.
        if (store.resumable() && !store.manifest().chunks.isEmpty()) {
            QStringList changed;
            for (const int number :
                 store.dropChanged(keptSources(plan, scan, store.manifest().cuts)))
                changed << QString::number(number);
            if (!changed.isEmpty())
                complain(QStringLiteral("note: the input is not what kept chunk(s) %1 were made "
                                        "from; encoding them again")
                             .arg(changed.join(QStringLiteral(", "))));
        }
    } else if (out.direct()) {
        // What cannot be taken back is made aside and checked first.
        if (const QString error = store.openPrivate(temporaryFolder() +
                                                    QStringLiteral("/ffmpeg2theora.parts-XXXXXX"));
            !error.isEmpty())
            complain(QStringLiteral("note: cannot make a temporary directory (%1); %2 gets the "
                                    "result unchecked, as it is made")
                         .arg(error, o.output));
    }
    Attempt attempt(o, m, plan, scan, workers, ffmpeg, target, out, store);
    // The join reads every part at once.
    if (attempt.parts() > 1 && descriptorsLeft() < attempt.parts() + 1 + spawning) {
        complain(QStringLiteral("note: too few files may be open (ulimit -n) to join %1 parts; "
                                "encoding in one process")
                     .arg(attempt.parts()));
        // The chunks kept stay for a run that may open more.
        return Ending{true, 0, true};
    }
    if (const std::optional<Ending> ending = attempt.settle(attempt.run()))
        return *ending;
    if (const std::optional<Ending> ending = attempt.join())
        return *ending;
    return exitWith(attempt.finish());
}

} // namespace

int encode(const Options &o, const MediaInfo &m, const Plan &plan, const VideoScan *scan,
           int workers, const QString &ffmpeg, const OutputTarget &target)
{
    OutputFile out(target);
    if (const QString error = out.open(); !error.isEmpty()) {
        complain(error);
        return 1;
    }
    // A worker holds three of our descriptors (two pipes, the file it
    // writes, followed), and so does the sound beside them.
    if (const int room = (descriptorsLeft() - spawning) / 3 - 1; workers > 1 && room < workers) {
        complain(QStringLiteral("note: too few files may be open (ulimit -n) for %1 workers; "
                                "encoding %2")
                     .arg(workers)
                     .arg(room > 1 ? QStringLiteral("with %1").arg(room)
                                   : QStringLiteral("in one process")));
        workers = std::max(1, room);
    }
    if (target.kind == OutputTarget::Kind::File) {
        // What killed encodes left in this folder, and chunks nobody came
        // back for.
        removeKilledTemporaries(target.path);
        removeLegacyChunkDirs(target.path);
        for (const QString &dir : removeStaleChunkDirs(target.path))
            complain(QStringLiteral("note: removed %1: chunks no encode has used for %2 days")
                         .arg(dir)
                         .arg(contract::staleChunkDays));
    }
    removeKilledPrivateDirs(temporaryFolder());
    ChunkStore store;
    Ending ending = encodeWith(o, m, plan, scan, workers, ffmpeg, target, out, store);
    if (ending.inOneProcess) {
        // Chunks of an input that cannot be cut exactly are of no use.
        const bool keep = ending.keepChunks;
        if (!keep)
            store.remove();
        ChunkStore aside;
        ending = encodeWith(o, m, plan, scan, 1, ffmpeg, target, out, aside);
        // One process has no chunks to give up: that it wants to is a failure,
        // never a success.
        if (ending.inOneProcess) {
            complain(QStringLiteral("the encode could not be made in one process either"));
            ending = exitWith(contract::exitFailure);
        }
        if (keep && ending.status != 0 && !stopSignal())
            keptChunks(store, QString(), ending.status);
    } else if (workers == 1 && ending.status != 0 && !stopSignal()) {
        keptBeside(target);
    }
    // Success leaves no chunk behind, nor those an earlier run in chunks
    // kept for this output.
    if (ending.status == 0) {
        store.remove();
        const QString dir = chunkDirFor(target.path);
        ChunkStore earlier;
        if (target.kind == OutputTarget::Kind::File && QFileInfo::exists(dir) &&
            earlier.open(dir, Manifest(), true))
            earlier.remove();
    }
    return ending.status;
}
