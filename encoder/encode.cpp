#include "encode.h"

#include "ogg.h"
#include "oggjoin.h"
#include "process.h"
#include "progress.h"
#include "report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{

// What one slice's ffmpeg has reported so far.
struct Watch {
    ProgressReader reader;
    std::unique_ptr<OggFollower> file; // null when its output cannot be read
    double outTime = 0;                // ffmpeg's own position, seconds
    double seconds = 0;                // the pictures it holds, once known
    QByteArray errors;
};

constexpr int keptErrors = 64 * 1024;

// Says what a stop left at OUTPUT, and gives the exit status.
int stopped(const QString &output, const OutputTarget &target)
{
    if (target.kind != OutputTarget::Kind::File)
        complain(QStringLiteral("stopped; %1 got only part of the result").arg(output));
    else if (target.exists)
        complain(QStringLiteral("stopped; %1 is left as it was").arg(output));
    else
        complain(QStringLiteral("stopped; nothing written to %1").arg(output));
    return stoppedExit();
}

} // namespace

QList<Slice> makeSlices(const Plan &plan, const MediaInfo &m, const VideoScan *scan, int parts,
                        int keyint, const QString &output, const QString &dir)
{
    const double frame = plan.rateNum ? double(plan.rateDen) / plan.rateNum : 0;
    auto place = [&](Slice s, const VideoScan *keys) {
        s.seek = plan.rateNum ? seekFor(neededFrom(plan, s), m.startTime, m.formatName, keys, frame)
                              : plan.start;
        return s;
    };
    QList<Slice> slices;
    const QList<qint64> starts =
        parts > 1 && plan.frames > 0 ? cutPoints(plan.frames, parts, keyint) : QList<qint64>{0};
    if (starts.size() == 1) {
        Slice whole;
        whole.video = plan.video;
        whole.audio = plan.audio;
        whole.count = plan.length ? plan.frames : 0;
        whole.output = output;
        slices << place(whole, scan);
        return slices;
    }
    // The filters that look at the pictures around one (deinterlacing) see
    // a second before the part.
    const qint64 lead = qint64(std::ceil(1 / frame));
    for (int k = 0; k < starts.size(); ++k) {
        Slice s;
        s.video = true;
        s.first = starts.at(k);
        const bool last = k + 1 == starts.size();
        s.count = !last ? starts.at(k + 1) - s.first : plan.length ? plan.frames - s.first : 0;
        s.lead = std::min(s.first, lead);
        s.output =
            QStringLiteral("file:") + QDir(dir).filePath(QStringLiteral("part%1.ogg").arg(k));
        if (s.first > 0)
            s.decodedLog = QDir(dir).filePath(QStringLiteral("part%1.decoded").arg(k));
        slices << place(s, scan);
    }
    if (plan.audio) {
        Slice s;
        s.audio = true;
        s.output = QStringLiteral("file:") + QDir(dir).filePath(QStringLiteral("audio.ogg"));
        slices << place(s, nullptr);
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
    c.nice = nice;
    c.onProgress = [](const QByteArray &) {};
    c.onStderr = [&errors](const QByteArray &bytes) {
        errors += bytes;
        if (errors.size() > keptErrors)
            errors.remove(0, errors.size() - keptErrors);
    };
    if (failed(runChild(c)))
        return std::nullopt;
    return damageReports(errors);
}

// The exit status of an encode in parts that has to be made again in one
// process.
constexpr int inOneProcess = -1;

int encodeWith(const Options &o, const MediaInfo &m, const Plan &plan, const VideoScan *scan,
               int parts, const QString &ffmpeg, const OutputTarget &target, OutputFile &out)
{
    // The parts wait next to a file they will replace, on its file system;
    // elsewhere in the temporary directory. Only we may look in.
    const QString near = target.kind == OutputTarget::Kind::File
                             ? QFileInfo(target.path).absolutePath() + QStringLiteral("/.") +
                                   QFileInfo(target.path).fileName()
                             : QDir::tempPath() + QStringLiteral("/ffmpeg2theora");
    std::unique_ptr<QTemporaryDir> dir;
    if (parts > 1) {
        dir = std::make_unique<QTemporaryDir>(near + QStringLiteral(".parts-XXXXXX"));
        if (!dir->isValid()) {
            complain(QStringLiteral("cannot make a temporary directory for the parts: %1")
                         .arg(dir->errorString()));
            return 1;
        }
    }
    const QList<Slice> slices =
        makeSlices(plan, m, scan, parts, o.keyint, out.url(), dir ? dir->path() : QString());
    const bool whole = slices.size() == 1;
    // Stopped, one process leaves a playable file where there was none.
    const bool keepPartial = whole && target.kind == OutputTarget::Kind::File && !target.exists;

    QList<ChildCommand> commands;
    QList<std::shared_ptr<Watch>> watches;
    bool lineOpen = false;
    auto showProgress = [&] {
        double position = 0;
        qint64 videoBytes = 0, audioBytes = 0;
        double videoSeconds = 0, audioSeconds = 0;
        for (int i = 0; i < slices.size(); ++i) {
            const Watch &w = *watches.at(i);
            if (w.file) {
                w.file->update();
                videoBytes += w.file->videoBytes();
                videoSeconds += w.file->videoSeconds();
                audioBytes += w.file->audioBytes();
                audioSeconds += w.file->audioSeconds();
            }
            // The pictures written so far, or where ffmpeg is.
            if (slices.at(i).video || whole) {
                const bool pictures = plan.rateNum && w.file;
                position += std::max(w.seconds, pictures ? w.file->videoSeconds() : w.outTime);
            }
        }
        const auto kbps = [](qint64 bytes, double seconds) {
            return seconds > 0 ? qRound(bytes * 8 / seconds / 1000) : 0;
        };
        QString line = QStringLiteral("\r      ") + formatTime(position);
        if (plan.audio)
            line += QStringLiteral(" audio: %1kbps").arg(kbps(audioBytes, audioSeconds));
        if (plan.video)
            line += QStringLiteral(" video: %1kbps").arg(kbps(videoBytes, videoSeconds));
        say(line);
        lineOpen = true;
    };
    auto endLine = [&lineOpen] {
        if (lineOpen)
            say(QByteArray("\n"));
        lineOpen = false;
    };

    for (const Slice &slice : slices) {
        auto w = std::make_shared<Watch>();
        const QString file = whole ? out.followable() : slice.output.mid(5);
        if (!file.isEmpty())
            w->file = std::make_unique<OggFollower>(file);
        watches << w;
        ChildCommand c;
        c.argv = QStringList{ffmpeg} + ffmpegCommand(plan, slice);
        c.nice = o.nice;
        c.passStdout = whole && target.kind == OutputTarget::Kind::StandardOutput;
        if (keepPartial) {
            // On SIGINT ffmpeg finishes the file it writes, so what is there
            // plays.
            c.stopWith = SIGINT;
            c.graceMs = 10000;
        }
        const bool counts = slice.video || whole;
        c.onProgress = [&, w, counts](const QByteArray &bytes) {
            w->reader.feed(bytes, [&, w, counts](const ProgressReader::Block &block) {
                if (!block.outTimeUs)
                    return;
                w->outTime = *block.outTimeUs / 1e6;
                if (counts)
                    showProgress();
            });
        };
        c.onStderr = [w](const QByteArray &bytes) {
            w->errors += bytes;
            if (w->errors.size() > keptErrors)
                w->errors.remove(0, w->errors.size() - keptErrors);
        };
        commands << c;
    }

    const QList<ChildResult> runs = runChildren(commands, true);
    for (const ChildResult &run : runs)
        if (failed(run))
            endLine();
    for (const ChildResult &run : runs) {
        if (!run.stopped)
            continue;
        endLine();
        if (keepPartial && QFileInfo(out.path()).size() > 0 && out.commit().isEmpty()) {
            complain(QStringLiteral("stopped; %1 holds what was encoded so far").arg(o.output));
            return stoppedExit();
        }
        return stopped(o.output, target);
    }
    for (const ChildResult &run : runs) {
        if (o.nice && run.niceness && *run.niceness != *o.nice) {
            complain(QStringLiteral("note: the encoding ran at niceness %1, not %2")
                         .arg(*run.niceness)
                         .arg(*o.nice));
            break;
        }
    }
    for (int i = 0; i < runs.size(); ++i)
        if (failed(runs.at(i)) && !runs.at(i).abandoned)
            return reportFailure(ffmpeg, runs.at(i), watches.at(i)->errors);

    // A part must start on the picture it claims: a decoder that began
    // later than asked would have the first picture stand in for those it
    // missed.
    for (int k = 0; k < slices.size(); ++k) {
        const Slice &s = slices.at(k);
        if (s.decodedLog.isEmpty())
            continue;
        QFile log(s.decodedLog);
        const std::optional<double> first =
            log.open(QIODevice::ReadOnly) ? firstDecoded(log.read(4096)) : std::nullopt;
        const double wanted = gridTime(plan, firstGridFrame(plan) + s.first - s.lead);
        if (!first || *first > wanted + 0.5 * plan.rateDen / plan.rateNum) {
            endLine();
            complain(QStringLiteral("note: part %1 cannot be cut exactly from the input (its "
                                    "decoding starts at %2, not %3); encoding in one process")
                         .arg(k + 1)
                         .arg(first ? formatTime(*first - m.startTime) : QStringLiteral("N/A"))
                         .arg(formatTime(wanted - m.startTime)));
            return inOneProcess;
        }
    }

    double length = 0; // of the result, seconds
    if (whole) {
        const Watch &w = *watches.first();
        if (w.file) {
            w.file->update();
            length = std::max(w.file->videoSeconds(), w.file->audioSeconds());
        } else {
            length = w.outTime;
        }
    } else {
        // Each part but the last must hold exactly its pictures; the joiner
        // checks the rest (same headers, a key frame first).
        const double fps = double(plan.rateNum) / plan.rateDen;
        QList<QString> files;
        QList<qint64> counts;
        for (int k = 0; k < slices.size(); ++k) {
            const Slice &s = slices.at(k);
            if (!s.video)
                continue;
            const QString file = s.output.mid(5);
            const TheoraFile t = readTheoraFile(file);
            QString wrong;
            if (!t.ok)
                wrong = QStringLiteral("holds no Theora stream");
            else if (s.count && t.frames != s.count)
                wrong = QStringLiteral("holds %1 frames, not %2").arg(t.frames).arg(s.count);
            if (!wrong.isEmpty()) {
                endLine();
                complain(QStringLiteral("cannot join the parts: part %1 %2").arg(k + 1).arg(wrong));
                return 1;
            }
            files << file;
            counts << t.frames;
            watches.at(k)->seconds = t.frames / fps;
            length += t.frames / fps;
        }
        if (stopSignal()) {
            endLine();
            // Nothing of the result is written yet.
            return stopped(o.output, out.direct() ? OutputTarget{} : target);
        }
        // The end of the range, reached.
        showProgress();
        endLine();

        // Joined page by page: ffmpeg's Ogg reader would drop the empty
        // packets that stand for a repeated picture.
        const QString sound = plan.audio ? slices.last().output.mid(5) : QString();
        const JoinResult join =
            joinOgg(files, counts, sound, out.path(), [] { return stopSignal() != 0; });
        if (join.status == JoinResult::Stopped || stopSignal())
            return stopped(o.output, target);
        if (!join.ok()) {
            complain(QStringLiteral("cannot join the parts: %1").arg(join.message));
            return 1;
        }
    }
    endLine();

    // ffmpeg goes on over damage in the input, and says so only on its
    // standard error.
    int damage = 0;
    for (const auto &w : watches)
        damage += damageReports(w->errors);
    // In parts, some of the input is decoded twice, and a part in a container
    // that seeks to any packet (MPEG-TS and the like) starts decoding a little
    // before its key frame, which the decoder complains of on a whole input.
    // What the input holds is then counted in one pass that only decodes.
    if (damage && !whole) {
        const std::optional<int> counted = decodingErrors(plan, m, scan, ffmpeg, o.nice);
        if (stopSignal())
            return stopped(o.output, target);
        damage = counted.value_or(damage);
    }
    if (damage)
        complain(QStringLiteral("warning: the input is damaged: ffmpeg met %1 error(s) decoding "
                                "it; the result lasts %2")
                     .arg(damage)
                     .arg(formatTime(length)));

    // A file that ffmpeg left empty replaces nothing.
    if (!out.direct() && QFileInfo(out.path()).size() == 0) {
        complain(QStringLiteral("warning: nothing was encoded; %1 %2")
                     .arg(o.output, target.exists ? QStringLiteral("is left as it was")
                                                  : QStringLiteral("is not made")));
        return 0;
    }
    if (const QString error = out.commit(); !error.isEmpty()) {
        complain(error);
        return 1;
    }
    return 0;
}

} // namespace

int encode(const Options &o, const MediaInfo &m, const Plan &plan, const VideoScan *scan, int parts,
           const QString &ffmpeg, const OutputTarget &target)
{
    OutputFile out(target);
    if (const QString error = out.open(); !error.isEmpty()) {
        complain(error);
        return 1;
    }
    const int status = encodeWith(o, m, plan, scan, parts, ffmpeg, target, out);
    if (status != inOneProcess)
        return status;
    return encodeWith(o, m, plan, scan, 1, ffmpeg, target, out);
}
