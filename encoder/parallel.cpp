#include "parallel.h"

#include "process.h"
#include "ogg.h"
#include "oggjoin.h"
#include "progress.h"
#include "report.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cmath>
#include <memory>

#include <sched.h>

namespace
{

int cores()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return 1;
}

double rate(const Plan &p)
{
    return double(p.rateNum) / p.rateDen;
}

// Seconds of the input that the range covers.
double rangeLength(const MediaInfo &m, const Plan &p)
{
    const double rest = m.duration.value_or(0) - p.start;
    return p.length ? std::min(*p.length, rest) : rest;
}

// One part: frames [first, first + count) of the range (count 0: to the end),
// read from LEAD frames before its first, so that the filters have the
// frames before it too.
struct Part {
    qint64 first = 0;
    qint64 count = 0;
    qint64 lead = 0;
    QString file;
};

// Cuts FRAMES frames into PARTS parts of about the same size, at multiples
// of the key frame interval where that leaves every part some frames, so
// that the key frames fall where one process would put them.
QList<Part> cut(qint64 frames, int parts, int keyint, qint64 leadFrames)
{
    QList<qint64> starts{0};
    for (int k = 1; k < parts; ++k) {
        const double at = double(frames) * k / parts;
        const qint64 aligned = qint64(std::llround(at / keyint)) * keyint;
        starts << (aligned > starts.last() && aligned < frames ? aligned : qint64(std::llround(at)));
    }
    QList<Part> cuts;
    for (int k = 0; k < parts; ++k) {
        Part p;
        p.first = starts.at(k);
        p.count = k + 1 < parts ? starts.at(k + 1) - p.first : 0;
        p.lead = std::min(p.first, leadFrames);
        cuts << p;
    }
    return cuts;
}

// Adds up what the parts' ffmpegs report, for the progress line.
struct Watch {
    ProgressReader reader;
    std::unique_ptr<OggFollower> file;
    double seconds = 0; // reached so far, once known for certain
    QByteArray errors;
};

} // namespace

int partsFor(const Options &o, const MediaInfo &m, const Plan &plan)
{
    const QByteArray forced = qgetenv("FFMPEG2THEORA_PARALLEL");
    if (forced == "0")
        return 0;
    // Parts are found by seeking, which needs a file, and are cut by frame
    // count, which needs the frame rate.
    if (!plan.video || !plan.rateNum || !o.inputFps.isEmpty() || !m.duration ||
        !QFileInfo(o.input).isFile())
        return 0;
    const double length = rangeLength(m, plan);
    const qint64 frames = qint64(std::floor(length * rate(plan)));
    int parts = cores();
    if (forced.isEmpty()) {
        bool ok = false;
        double shortest = qEnvironmentVariable("FFMPEG2THEORA_PARALLEL_MIN").toDouble(&ok);
        if (!ok)
            shortest = 20;
        if (length < shortest)
            return 0;
    } else if (forced.toInt() >= 2) {
        parts = forced.toInt();
    }
    // A few frames for each part at least.
    parts = int(std::min<qint64>(parts, frames / 4));
    return parts >= 2 ? parts : 0;
}

int encodeInParts(const Options &o, const MediaInfo &m, const Plan &plan, int parts,
                  const QString &ffmpeg)
{
    const double fps = rate(plan);
    const qint64 frames = qint64(std::floor(rangeLength(m, plan) * fps));
    QList<Part> cuts = cut(frames, parts, o.keyint, qint64(std::ceil(fps)));

    // Next to the output, on its file system; only we may look in.
    const QFileInfo output(o.output);
    QTemporaryDir dir(output.absolutePath() + QStringLiteral("/.") + output.fileName() +
                      QStringLiteral(".parts-XXXXXX"));
    if (!dir.isValid()) {
        complain(QStringLiteral("cannot make a temporary directory next to %1: %2")
                     .arg(o.output, dir.errorString()));
        return 1;
    }

    QList<ChildCommand> commands;
    QList<std::shared_ptr<Watch>> watches;
    auto showProgress = [&] {
        double position = 0;
        qint64 videoBytes = 0, audioBytes = 0;
        double videoSeconds = 0, audioSeconds = 0;
        for (const auto &w : watches) {
            w->file->update();
            videoBytes += w->file->videoBytes();
            videoSeconds += w->file->videoSeconds();
            audioBytes += w->file->audioBytes();
            audioSeconds += w->file->audioSeconds();
        }
        // The pictures the parts have written so far.
        for (int k = 0; k < cuts.size(); ++k)
            position += std::max(watches.at(k)->seconds, watches.at(k)->file->videoSeconds());
        const auto kbps = [](qint64 bytes, double seconds) {
            return seconds > 0 ? qRound(bytes * 8 / seconds / 1000) : 0;
        };
        QString line = QStringLiteral("\r      ") + formatTime(position);
        if (plan.audio)
            line += QStringLiteral(" audio: %1kbps").arg(kbps(audioBytes, audioSeconds));
        line += QStringLiteral(" video: %1kbps").arg(kbps(videoBytes, videoSeconds));
        say(line);
    };
    bool lineOpen = false;
    auto watched = [&](ChildCommand &command, const QString &file, bool counts) {
        auto w = std::make_shared<Watch>();
        w->file = std::make_unique<OggFollower>(file);
        watches << w;
        command.nice = o.nice;
        command.stopWith = SIGKILL; // what they wrote is thrown away
        command.onStdout = [&, w, counts](const QByteArray &bytes) {
            w->reader.feed(bytes, [&, w, counts](const ProgressReader::Block &block) {
                if (counts && block.outTimeUs) {
                    showProgress();
                    lineOpen = true;
                }
            });
        };
        command.onStderr = [w](const QByteArray &bytes) {
            constexpr int kept = 64 * 1024;
            w->errors += bytes;
            if (w->errors.size() > kept)
                w->errors.remove(0, w->errors.size() - kept);
        };
    };

    for (int k = 0; k < cuts.size(); ++k) {
        Part &p = cuts[k];
        p.file = dir.filePath(QStringLiteral("part%1.ogg").arg(k));
        const bool last = k + 1 == cuts.size();
        ChildCommand c;
        c.argv << ffmpeg << plan.head << plan.inputFormat << QStringLiteral("-copyts");
        const double seek = plan.start + (p.first - p.lead) / fps;
        if (seek > 0)
            c.argv << QStringLiteral("-ss") << seconds(seek);
        c.argv << QStringLiteral("-i") << plan.url << plan.videoMap;
        if (last && plan.length)
            c.argv << QStringLiteral("-t") << seconds(*plan.length - p.first / fps);
        // The grid starts with the part's lead; of its frames, the part keeps
        // its own, and they count from 0 again.
        QStringList trim;
        if (p.lead)
            trim << QStringLiteral("start_frame=%1").arg(p.lead);
        if (!last)
            trim << QStringLiteral("end_frame=%1").arg(p.lead + p.count);
        QStringList filters = plan.earlyFilters;
        filters << frameGridFilter(plan, firstGridFrame(plan) + p.first - p.lead);
        if (!trim.isEmpty())
            filters << QStringLiteral("trim=") + trim.join(QLatin1Char(':'));
        filters << QStringLiteral("setpts=PTS-STARTPTS");
        filters << plan.lateFilters;
        c.argv << plan.videoCodec << videoFilterArgs(filters) << plan.metadata
               << QStringLiteral("-flush_packets")
               << QStringLiteral("1") << QStringLiteral("-f") << QStringLiteral("ogg")
               << QStringLiteral("file:") + p.file;
        watched(c, p.file, true);
        commands << c;
    }
    const QString audioFile = dir.filePath(QStringLiteral("audio.ogg"));
    if (plan.audio) {
        ChildCommand c;
        c.argv << ffmpeg << plan.head << plan.inputFormat << QStringLiteral("-copyts");
        if (plan.start > 0)
            c.argv << QStringLiteral("-ss") << seconds(plan.start);
        c.argv << QStringLiteral("-i") << plan.url << plan.audioMap;
        if (plan.length)
            c.argv << QStringLiteral("-t") << seconds(*plan.length);
        c.argv << plan.audioCodec << QStringLiteral("-af") << QStringLiteral("asetpts=PTS-STARTPTS")
               << plan.metadata << QStringLiteral("-flush_packets")
               << QStringLiteral("1")
               << QStringLiteral("-f") << QStringLiteral("ogg")
               << QStringLiteral("file:") + audioFile;
        watched(c, audioFile, false);
        commands << c;
    }

    const QList<ChildResult> runs = runChildren(commands, true);
    // Whatever is said next starts on a line of its own.
    auto endLine = [&lineOpen] {
        if (lineOpen)
            say(QByteArray("\n"));
        lineOpen = false;
    };
    for (const ChildResult &run : runs)
        if (failed(run))
            endLine();
    for (int i = 0; i < runs.size(); ++i) {
        if (runs.at(i).stopped) {
            complain(QStringLiteral("stopped; nothing written to %1").arg(o.output));
            return stoppedExit();
        }
    }
    for (int i = 0; i < runs.size(); ++i) {
        if (o.nice && runs.at(i).niceness && *runs.at(i).niceness != *o.nice) {
            complain(QStringLiteral("note: the encoding ran at niceness %1, not %2")
                         .arg(*runs.at(i).niceness)
                         .arg(*o.nice));
            break;
        }
    }
    for (int i = 0; i < runs.size(); ++i) {
        if (failed(runs.at(i)) && !runs.at(i).abandoned)
            return reportFailure(ffmpeg, runs.at(i), watches.at(i)->errors);
    }

    // The parts can be joined only if they are made alike, each starts with a
    // key frame, and each but the last holds exactly its frames.
    QList<QByteArray> headers;
    QList<QString> files;
    QList<qint64> counts;
    for (int k = 0; k < cuts.size(); ++k) {
        const Part &p = cuts.at(k);
        const TheoraFile t = readTheoraFile(p.file);
        QString wrong;
        if (!t.ok)
            wrong = QStringLiteral("holds no Theora stream");
        else if (k > 0 && t.headers != headers)
            wrong = QStringLiteral("was encoded with other settings than the first");
        else if (!t.startsWithKeyFrame)
            wrong = QStringLiteral("does not start with a key frame");
        else if (p.count && t.frames != p.count)
            wrong = QStringLiteral("holds %1 frames, not %2").arg(t.frames).arg(p.count);
        if (!wrong.isEmpty()) {
            endLine();
            complain(QStringLiteral("cannot join the parts: part %1 %2").arg(k + 1).arg(wrong));
            return 1;
        }
        headers = t.headers;
        files << p.file;
        counts << t.frames;
    }
    if (stopSignal()) {
        endLine();
        return stoppedExit();
    }
    // The end of the range, reached.
    for (int k = 0; k < cuts.size(); ++k)
        watches.at(k)->seconds = counts.at(k) / fps;
    showProgress();
    lineOpen = true;
    endLine();

    // Joined page by page: ffmpeg's Ogg reader would drop the empty packets
    // that stand for a repeated picture. The joined file replaces the output
    // only when it is whole.
    const QString joined = dir.filePath(QStringLiteral("joined.ogg"));
    const JoinResult join = joinOgg(files, counts, plan.audio ? audioFile : QString(), joined,
                                    [] { return stopSignal() != 0; });
    if (join.status == JoinResult::Stopped)
        return stoppedExit();
    if (!join.ok()) {
        complain(QStringLiteral("cannot join the parts: %1").arg(join.message));
        return 1;
    }
    if (std::rename(QFile::encodeName(joined).constData(),
                    QFile::encodeName(o.output).constData()) != 0) {
        complain(QStringLiteral("cannot write %1: %2")
                     .arg(o.output, QString::fromLocal8Bit(strerror(errno))));
        return 1;
    }
    return 0;
}
