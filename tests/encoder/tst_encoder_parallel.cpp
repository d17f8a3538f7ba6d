// SPDX-License-Identifier: GPL-3.0-or-later
// ffmpeg2theora with the video split into parts encoded side by side and
// joined: the joined file must be the one-process file in all that can be
// measured (frames, key frames, length, sound, tags, size), play from start to
// end, and leave nothing behind, whether the encode succeeds, fails or is
// stopped.

#include "encodertest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace
{

QProcessEnvironment withParts(const QString &parts)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL"), parts);
    return env;
}

// What is compared between the two encodes.
struct Summary {
    int frames = -1;
    QByteArray packets; // time and key flag of each picture
    double videoLength = -1, audioLength = -1;
    qint64 size = 0;
    QJsonObject videoTags, audioTags;
};

Summary summarize(const QString &path)
{
    Summary s;
    const QByteArray counted =
        runTool(QStringLiteral("ffprobe"),
                words(QStringLiteral("-v error -select_streams v -count_frames -show_entries "
                                     "stream=nb_read_frames -of csv=p=0"))
                    << path);
    s.frames = counted.trimmed().isEmpty() ? -1 : counted.trimmed().toInt();
    s.packets = runTool(QStringLiteral("ffprobe"),
                        words(QStringLiteral("-v error -select_streams v -show_entries "
                                             "packet=pts,flags -of csv=p=0"))
                            << path)
                    .replace("_", "")
                    .simplified();
    const Probe p = probe(path);
    s.videoLength = field(p.video, "duration").toDouble();
    s.audioLength = p.audioStreams ? field(p.audio, "duration").toDouble() : -1;
    s.size = field(p.format, "size").toLongLong();
    s.videoTags = p.video.value(QLatin1String("tags")).toObject();
    s.audioTags = p.audio.value(QLatin1String("tags")).toObject();
    return s;
}

} // namespace

class TestEncoderParallel : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    // Files in the temporary directory other than the clips, the outputs
    // and the stand-in programs: what an encode may have left behind.
    QStringList leftovers() const
    {
        QStringList found;
        for (const QString &name :
             QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            if (!QStringList{"mkv", "ogg", "ts", "nut", "mp4"}.contains(QFileInfo(name).suffix()) &&
                !name.startsWith(QLatin1String("fake-")))
                found << name;
        return found;
    }

    static QByteArray readAll(const QString &name)
    {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString standIn(const char *name, const QByteArray &script)
    {
        QFile fake(path(name));
        if (!fake.open(QIODevice::WriteOnly) || fake.write("#!/bin/sh\n" + script + '\n') <= 0)
            return {};
        fake.setPermissions(fake.permissions() | QFileDevice::ExeOwner);
        return fake.fileName();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // Two seconds with sound, at 25 and at 30000/1001 frames/s, the second
        // with timestamps in milliseconds that do not fall on its frame grid.
        QVERIFY(makeClip(path("pal.mkv"),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=2 -f lavfi -i "
                                        "sine=r=44100:d=2 -ac 2 -c:v mpeg4 -g 12 -c:a pcm_s16le")));
        QVERIFY(makeClip(path("ntsc.mkv"),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=30000/1001:d=2 -f lavfi "
                                        "-i sine=r=48000:d=2 -c:v mpeg4 -g 15 -bf 2 -c:a "
                                        "pcm_s16le")));

        // Inputs the parts once got wrong. MPEG-TS with key frames 10 s
        // apart, as cameras and broadcasts make them; video that ends before
        // the sound; sound that starts 2 s after the pictures; a key frame
        // of more than a megabyte; a file cut short, whose header promises
        // more; an MP4 with the tags of its container.
        QVERIFY(makeClip(path("longgop.ts"),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=12 -f lavfi -i "
                                        "sine=d=12 -c:v mpeg2video -g 250 -bf 2 -c:a mp2 -f "
                                        "mpegts")));
        QVERIFY(makeClip(path("longgop264.ts"),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=12 -f lavfi -i "
                                        "sine=d=12 -c:v libx264 -g 250 -c:a mp2 -f mpegts")));
        QVERIFY(makeClip(path("shortvideo.mkv"),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=1 -f lavfi -i "
                                        "sine=d=3 -c:v mpeg4 -c:a pcm_s16le")));
        QVERIFY(makeClip(path("latesound.mkv"),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=4 -itsoffset 2 -f "
                                        "lavfi -i sine=d=2 -c:v mpeg4 -c:a pcm_s16le")));
        QVERIFY(makeClip(path("noise.nut"),
                         QStringLiteral("-f lavfi -i nullsrc=s=1280x720:r=25:d=0.4,geq=random(1)*"
                                        "255:128:128 -c:v ffv1")));
        QVERIFY(makeClip(path("cutshort.mkv"),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=3 -c:v mpeg4 -q:v "
                                        "2")));
        QFile cut(path("cutshort.mkv"));
        QVERIFY(cut.resize(cut.size() * 6 / 10));
        // A still picture: each part's pictures after its first repeat it,
        // as empty packets, which ffmpeg's Ogg writer drops at a stream's end.
        QVERIFY(makeClip(path("still.mkv"),
                         QStringLiteral("-f lavfi -i smptebars=s=160x120:r=25:d=2 -c:v mpeg4")));
        // Two recordings joined end to end, their time stamps starting
        // again; sound that starts 0.6 s before the pictures.
        const QString joined = QStringLiteral(
            "cd '%1' && for s in testsrc2 smptebars; do ffmpeg -v error -nostdin -f lavfi -i "
            "$s=s=160x120:r=25:d=2 -f lavfi -i sine=d=2 -c:v mpeg2video -g 12 -c:a mp2 $s.ts && "
            "cat $s.ts >>joined.ts; done");
        QVERIFY(!runTool(QStringLiteral("sh"), {QStringLiteral("-c"), joined.arg(dir.path())})
                     .isNull());
        QVERIFY(makeClip(path("earlysound.mkv"),
                         QStringLiteral("-itsoffset 0.6 -f lavfi -i testsrc2=s=160x120:r=25:d=2 "
                                        "-f lavfi -i sine=d=2.6 -c:v mpeg4 -c:a pcm_s16le")));
        // Four seconds of key frames only: a chunk decodes nothing in vain.
        QVERIFY(
            makeClip(path("intra.mkv"),
                     QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=4 -c:v mpeg4 -g 1")));
        // Raw pictures, larger than the 2 MiB read of an input's ends, and
        // the same with a box drawn in the middle: same size, same ends.
        for (const char *box : {"", ",drawbox=c=red:t=fill:enable=between(t\\,1.6\\,2.4)"})
            QVERIFY(makeClip(path(*box ? "boxed.nut" : "raw.nut"),
                             QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=4%1 -f lavfi -i "
                                            "sine=d=4 -c:v rawvideo -pix_fmt yuv420p -c:a "
                                            "pcm_s16le")
                                 .arg(QLatin1String(box))));
        QVERIFY(makeClip(path("tagged.mp4"),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=2 -f lavfi -i "
                                        "sine=d=2 -c:v libx264 -c:a aac")));
    }

    // Each odd input, in one process and in parts: the same pictures (PSNR
    // of 40 dB or more on every one, at a quality where the two encodes are
    // alike), as many of them, as long, the sound starting at the same
    // place, and a file the Ogg validator accepts.
    void sameInBothModes_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("parts");
        QTest::addColumn<QString>("options");
        QTest::addColumn<double>("soundStart"); // seconds; -1: no sound
        QTest::addColumn<QString>("note");      // why the parts are one process
        const auto row = [](const char *name, const char *clip, const char *parts,
                            const char *options, double soundStart, const char *note = "") {
            QTest::newRow(name) << QString::fromLatin1(clip) << QString::fromLatin1(parts)
                                << QString::fromLatin1(options) << soundStart
                                << QString::fromLatin1(note);
        };
        row("MPEG-TS, key frames 10 s apart", "longgop.ts", "3", "", 0);
        row("MPEG-TS, from between key frames", "longgop.ts", "2", "--starttime 6.5", 0);
        row("H.264 in MPEG-TS, a part after the second key frame", "longgop264.ts", "2",
            "--starttime 8.5", 0);
        row("video shorter than the sound", "shortvideo.mkv", "2", "", 0);
        row("sound 2 s late", "latesound.mkv", "2", "", 2);
        row("sound late, from within", "latesound.mkv", "2", "--starttime 1", 1);
        row("key frame over a megabyte", "noise.nut", "2", "", -1);
        row("cut short", "cutshort.mkv", "3", "", -1);
        row("many parts, shorter than the key frame interval", "pal.mkv", "16", "--keyint 8", 0);
        row("MP4 with container tags", "tagged.mp4", "2", "--title Mine", 0);
        // Encoded whole as ffmpeg reads it: compared with plain ffmpeg too.
        row("recordings joined end to end", "joined.ts", "2", "--keyint 8", 0,
            "cannot be cut by time and its length is not known");
        row("sound before the pictures, from before them", "earlysound.mkv", "2",
            "--starttime 0.3 --keyint 8", 0);
    }

    void sameInBothModes()
    {
        QFETCH(QString, clip);
        QFETCH(QString, parts);
        QFETCH(QString, options);
        QFETCH(double, soundStart);
        QFETCH(QString, note);
        const QStringList args = words(options + QStringLiteral(" --videoquality 10"));
        const EncoderRun one = runEncoder(
            QStringList{path(qPrintable(clip)), QStringLiteral("-o"), path("one.ogg")} + args,
            withParts(QStringLiteral("0")));
        QVERIFY2(one.exitCode == 0, qPrintable(one.err));
        QProcessEnvironment env = withParts(parts);
        env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL_MIN"), QStringLiteral("0"));
        const EncoderRun split = runEncoder(
            QStringList{path(qPrintable(clip)), QStringLiteral("-o"), path("split.ogg")} + args,
            env);
        QVERIFY2(split.exitCode == 0, qPrintable(split.err));
        QVERIFY2(split.err.contains(note.isEmpty() ? QStringLiteral("Duration") : note) &&
                     split.err.count(QLatin1String("one process")) == (note.isEmpty() ? 0 : 1),
                 qPrintable(split.err));
        // Whole or damaged, the input is the same to both; only the one cut
        // short ends before its stated length.
        QCOMPARE(split.err.contains(QLatin1String("damaged")),
                 one.err.contains(QLatin1String("damaged")));
        for (const EncoderRun &run : {one, split})
            QVERIFY2(run.err.contains(QLatin1String("the input ended early")) ==
                         (clip == QLatin1String("cutshort.mkv")),
                     qPrintable(run.err));
        QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(QLatin1Char(' '))));
        QVERIFY(oggValid(path("split.ogg")));

        const Summary a = summarize(path("one.ogg"));
        const Summary b = summarize(path("split.ogg"));
        if (!note.isEmpty()) {
            QVERIFY(makeClip(path("plain.ogg"),
                             QStringLiteral("-i %1 -c:v libtheora -q:v 10 -c:a libvorbis")
                                 .arg(path(qPrintable(clip)))));
            const Summary plain = summarize(path("plain.ogg"));
            QVERIFY2(qAbs(a.videoLength - plain.videoLength) < 0.001,
                     qPrintable(QStringLiteral("%1 s against plain ffmpeg's %2 s")
                                    .arg(a.videoLength)
                                    .arg(plain.videoLength)));
        }
        QVERIFY(a.frames > 5);
        QCOMPARE(b.frames, a.frames);
        QVERIFY2(
            qAbs(b.videoLength - a.videoLength) < 0.001,
            qPrintable(QStringLiteral("%1 s against %2 s").arg(b.videoLength).arg(a.videoLength)));
        const QList<double> psnr = psnrPerFrame(path("one.ogg"), path("split.ogg"));
        QCOMPARE(psnr.size(), a.frames);
        for (int i = 0; i < psnr.size(); ++i)
            QVERIFY2(psnr.at(i) >= 40,
                     qPrintable(QStringLiteral("picture %1: %2 dB").arg(i).arg(psnr.at(i))));

        for (const char *file : {"one.ogg", "split.ogg"}) {
            const Probe p = probe(path(file));
            QCOMPARE(p.audioStreams, soundStart < 0 ? 0 : 1);
            if (soundStart >= 0) {
                const double start = field(p.audio, "start_time").toDouble();
                QVERIFY2(
                    qAbs(start - soundStart) < 0.05,
                    qPrintable(QStringLiteral("%1: sound starts at %2 s").arg(file).arg(start)));
            }
            // The input's container tags stay out.
            for (const QJsonObject &tags : {p.video.value(QLatin1String("tags")).toObject(),
                                            p.audio.value(QLatin1String("tags")).toObject()})
                for (const char *tag : {"major_brand", "handler_name", "compatible_brands"})
                    QVERIFY2(!tags.contains(QLatin1String(tag)), tag);
        }
    }

    // Parts of 8 frames and more, cut at multiples of the key frame interval
    // 8: the key frames fall where one process puts them, so even the sizes
    // match closely.
    void sameAsOneProcess_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("parts");
        QTest::addColumn<QString>("options");
        QTest::addColumn<double>("sizeTolerance");
        const auto row = [](const char *name, const char *clip, const char *parts,
                            const char *options, double sizeTolerance = 0.03) {
            QTest::newRow(name) << QString::fromLatin1(clip) << QString::fromLatin1(parts)
                                << QString::fromLatin1(options) << sizeTolerance;
        };
        row("whole clip, 2 parts", "pal.mkv", "2", "");
        row("whole clip, 3 parts", "pal.mkv", "3", "");
        row("start and end", "pal.mkv", "3", "--starttime 0.3 --endtime 1.66");
        row("start off the frame grid", "pal.mkv", "2", "--starttime 0.22");
        row("end beyond the input", "pal.mkv", "2", "--starttime 0.5 --endtime 30");
        row("crop and scale", "pal.mkv", "3",
            "--croptop 8 --cropbottom 4 --cropleft 6 --cropright 10 --width 96");
        row("no sound", "pal.mkv", "2", "--nosound");
        row("a still picture", "still.mkv", "2", "");
        // Each part's rate control starts afresh: on parts of a second, that
        // shows in the size.
        row("bit rates and tags", "pal.mkv", "2",
            "--videobitrate 200 --audiobitrate 64 --title Parts --artist Someone", 0.1);
        row("always deinterlaced, resampled", "pal.mkv", "2", "-d on --samplerate 22050");
        row("30000/1001 frames/s", "ntsc.mkv", "3", "");
        row("30000/1001 frames/s, trimmed", "ntsc.mkv", "2", "--starttime 1 --endtime 1.9");
        row("30000/1001 frames/s, start half way between frames", "ntsc.mkv", "3",
            "--starttime 0.35");
    }

    void sameAsOneProcess()
    {
        QFETCH(QString, clip);
        QFETCH(QString, parts);
        QFETCH(QString, options);
        QFETCH(double, sizeTolerance);
        const QStringList args = words(options)
                                 << QStringLiteral("--keyint") << QStringLiteral("8");
        const EncoderRun one = runEncoder(
            QStringList{dir.filePath(clip), QStringLiteral("-o"), path("one.ogg")} + args,
            withParts(QStringLiteral("0")));
        QCOMPARE(one.exitCode, 0);
        const EncoderRun split = runEncoder(
            QStringList{dir.filePath(clip), QStringLiteral("-o"), path("split.ogg")} + args,
            withParts(parts));
        QVERIFY2(split.exitCode == 0, qPrintable(split.err));
        QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(QLatin1Char(' '))));

        const Summary a = summarize(path("one.ogg"));
        const Summary b = summarize(path("split.ogg"));
        QVERIFY(a.frames > 5); // pictures decoded: a repeated one is not
        QCOMPARE(b.frames, a.frames);
        QCOMPARE(b.packets, a.packets);
        QCOMPARE(b.videoLength, a.videoLength);
        QCOMPARE(b.audioLength, a.audioLength);
        if (b.audioLength >= 0)
            QVERIFY2(qAbs(b.audioLength - b.videoLength) < 0.1,
                     qPrintable(QStringLiteral("sound %1 s, picture %2 s")
                                    .arg(b.audioLength)
                                    .arg(b.videoLength)));
        QCOMPARE(b.videoTags, a.videoTags);
        QCOMPARE(b.audioTags, a.audioTags);
        QVERIFY2(qAbs(b.size - a.size) <= sizeTolerance * a.size,
                 qPrintable(QStringLiteral("%1 against %2 bytes").arg(b.size).arg(a.size)));
        QVERIFY(playable(path("split.ogg")));
        QVERIFY(oggValid(path("split.ogg")));

        // The same standard error as one process: the length, then one
        // position that grows to the end of the range.
        QVERIFY2(split.err.startsWith(one.err.section(QLatin1Char('\n'), 0, 0) + '\n'),
                 qPrintable(split.err));
        const QList<double> times = timesShown(split.err);
        QVERIFY2(times.size() >= 2, qPrintable(split.err));
        for (int i = 2; i < times.size(); ++i)
            QVERIFY2(times.at(i) >= times.at(i - 1), qPrintable(split.err));
        QVERIFY2(qAbs(times.last() - timesShown(one.err).last()) <= 0.05, qPrintable(split.err));
    }

    // A failure in any part (or in the join) fails the encode with that
    // ffmpeg's message and status; nothing is left behind.
    void failure_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown");

        QTest::newRow("every ffmpeg fails")
            << QByteArray("echo 'libtheora broke down' >&2; exit 3") << 3 << "libtheora broke down";
        QTest::newRow("the last part fails")
            << QByteArray("case \"$*\" in *start_frame=*end_frame=*) ;; *start_frame=*) "
                          "echo 'the last part broke' >&2; exit 5;; esac; exec ffmpeg \"$@\"")
            << 5 << "the last part broke";
        QTest::newRow("the sound fails")
            << QByteArray("case \"$*\" in *libvorbis*) kill -SEGV $$;; esac; exec ffmpeg \"$@\"")
            << 128 + SIGSEGV << "Segmentation fault";
        QTest::newRow("a part is not what was asked for")
            << QByteArray("for a; do shift; set -- \"$@\" \"$(echo \"$a\" | sed "
                          "s/trim=end_frame=[0-9]*/trim=end_frame=3/)\"; done; exec ffmpeg \"$@\"")
            << 1 << "part 1 holds 3 frames, not 16";
        // A part whose decoding starts later than it claims is not joined:
        // one process encodes the whole instead, and says so. (The last -ss
        // before the input is the one ffmpeg keeps.) Every later part starts
        // late here, and the first of them to end is the one named.
        QTest::newRow("a part's decoding starts late")
            << QByteArray("case \"$*\" in *start_frame=*) for a; do shift; [ \"$a\" = -i ] && "
                          "set -- \"$@\" -ss 1.5; set -- \"$@\" \"$a\"; done;; esac; exec ffmpeg "
                          "\"$@\"")
            << 0 << "cannot be cut exactly from the input (its decoding starts at";
        // The sound's granule positions start again half way: the joined
        // file is invalid, and never the output.
        QTest::newRow("the joined file is invalid")
            << QByteArray("case \"$*\" in *audio.ogg) for a; do shift; [ \"$a\" = -flush_packets ] "
                          "&& set -- \"$@\" -serial_offset 7; set -- \"$@\" \"$a\"; o=${a#file:}; "
                          "done; ffmpeg \"$@\" && cat \"$o\" \"$o\" >\"$o.2\" && exec mv \"$o.2\" "
                          "\"$o\";; esac; exec ffmpeg \"$@\"")
            << 0 << "do not make a valid file (page";
        // A part that passes its check but cannot be joined (here its
        // headers differ): one process makes the encode, and nothing is
        // kept that would catch the next run.
        QTest::newRow("a part that cannot be joined")
            << QByteArray("case \"$*\" in *part1.ogg) for a; do shift; [ \"$a\" = -g ] && set -- "
                          "\"$@\" -q:v 3; set -- \"$@\" \"$a\"; done;; esac; exec ffmpeg \"$@\"")
            << 0 << "cannot join the parts (";
        QTest::newRow("too few files may be open for the workers")
            << QByteArray("exec ffmpeg \"$@\"") << 0 << "too few files may be open";
    }

    void failure()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        QProcessEnvironment env = withParts(QStringLiteral("3"));
        env.insert(QStringLiteral("FFMPEG2THEORA_FFMPEG"), standIn("fake-ffmpeg", script));

        QProcess p;
        const StopOnReturn stop{p};
        p.setProcessEnvironment(env);
        if (QByteArray(QTest::currentDataTag()).contains("files")) // 16 at most (ulimit -n)
            p.setChildProcessModifier([] {
                const rlimit limit{16, 16};
                setrlimit(RLIMIT_NOFILE, &limit);
            });
        p.start(QStringLiteral(FFMPEG2THEORA),
                QStringList{path("pal.mkv"), QStringLiteral("-o"), path("failed.ogg"),
                            QStringLiteral("--keyint"), QStringLiteral("8")});
        QVERIFY(p.waitForStarted());
        const qint64 pid = p.processId();
        QVERIFY(p.waitForFinished(encodeWaitMs));
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(p.exitCode(), exitCode);
        QVERIFY2(err.startsWith(QLatin1String("  Duration: 0:00:02.00\n")), qPrintable(err));
        QVERIFY2(err.contains(shown), qPrintable(err));
        QVERIFY(childrenOf(pid).isEmpty());
        // The chunks finished before the failure stay for the same command.
        const QString kept = path(".failed.ogg.chunks");
        QCOMPARE(QFileInfo::exists(kept), err.contains(QLatin1String(" kept in ")));
        QDir(kept).removeRecursively();
        QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(QLatin1Char(' '))));
        QVERIFY(exitCode || oggValid(path("failed.ogg")));
    }

    // The position shown is what the pool has done: from 20 % to 90 % of
    // the time from the first position to the end, within 15 % of the range
    // of a straight line. The chunks are read at the clip's own pace.
    void progressFollowsThePool()
    {
        QProcessEnvironment env = withParts(QStringLiteral("2"));
        env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL_MIN"), QStringLiteral("0"));
        env.insert(QStringLiteral("FFMPEG2THEORA_FFMPEG"),
                   standIn("fake-slow-ffmpeg", "exec ffmpeg -re \"$@\""));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(FFMPEG2THEORA),
                words(QStringLiteral("%1 -o %2 --nosound --keyint 4")
                          .arg(path("intra.mkv"), path("progress.ogg"))));
        QList<std::pair<qint64, double>> seen; // ms since the first position, seconds
        QElapsedTimer clock;
        while (p.state() != QProcess::NotRunning || p.bytesAvailable()) {
            p.waitForReadyRead(50);
            // Each line comes in one write; the first is the length.
            const QString err = QString::fromLocal8Bit(p.readAllStandardError())
                                    .remove(QRegularExpression(QStringLiteral("  Duration:.*\n")));
            for (const double t : timesShown(err)) {
                if (!clock.isValid())
                    clock.start();
                seen.append({clock.elapsed(), t});
            }
        }
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(clock.isValid());
        const double wall = clock.elapsed(), range = 4;
        for (const auto &[ms, t] : seen)
            QVERIFY2(
                ms < 0.2 * wall || ms > 0.9 * wall || qAbs(t / range - ms / wall) <= 0.15,
                qPrintable(QStringLiteral("%1 s shown at %2 of %3 ms").arg(t).arg(ms).arg(wall)));
    }

    // Stopped while the parts are encoded, once a chunk is done: every
    // ffmpeg goes, the finished chunks stay, and the same command encodes
    // the rest (a chunk cut short by a kill again), into the pictures and
    // sound of an uninterrupted encode, leaving nothing behind; another
    // option encodes afresh. The parts' ffmpegs read at the clip's own pace
    // here, so that the encode is surely still running when the signal
    // comes.
    void stopping_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("options"); // of the second run
        // What the second run reads: "" the same name; "link" the same file
        // through a link; "rewritten" the input rewritten in its middle,
        // its size, ends and time kept.
        QTest::addColumn<QString>("input");
        QTest::newRow("SIGTERM") << int(SIGTERM) << ""
                                 << "";
        QTest::newRow("SIGINT") << int(SIGINT) << ""
                                << "";
        QTest::newRow("SIGKILL") << int(SIGKILL) << ""
                                 << "";
        QTest::newRow("SIGTERM, then another option") << int(SIGTERM) << "--videoquality 5"
                                                      << "";
        QTest::newRow("SIGKILL, then through a link") << int(SIGKILL) << ""
                                                      << "link";
        QTest::newRow("SIGKILL, then the input rewritten") << int(SIGKILL) << ""
                                                           << "rewritten";
    }

    void stopping()
    {
        QFETCH(int, signal);
        QFETCH(QString, options);
        QFETCH(QString, input);
        QString clip = path("pal.mkv");
        if (input == QLatin1String("rewritten")) {
            clip = path("stopin.nut");
            QFile::remove(clip);
            QVERIFY(QFile::copy(path("raw.nut"), clip));
        }
        QProcessEnvironment env = withParts(QStringLiteral("2"));
        env.insert(QStringLiteral("FFMPEG2THEORA_FFMPEG"),
                   standIn("fake-slow-ffmpeg", "exec ffmpeg -re \"$@\""));
        QProcess p;
        const StopOnReturn stop{p};
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(FFMPEG2THEORA),
                QStringList{clip, QStringLiteral("-o"), path("stopped.ogg"),
                            QStringLiteral("--keyint"), QStringLiteral("8")});
        QString err;
        QElapsedTimer clock;
        clock.start();
        // Every child seen while the encode runs: the two parts and the sound
        // need not all run at any one instant on a busy machine.
        QStringList children;
        const auto look = [&] {
            p.waitForReadyRead(50);
            err += QString::fromLocal8Bit(p.readAllStandardError());
            if (timesShown(err).size() < 2) // the length first, then the encode
                return;
            for (const QString &child : childrenOf(p.processId()))
                if (!children.contains(child))
                    children << child;
        };
        // The position tells what the pool encoded, not which chunk is done:
        // the manifest does.
        const auto chunkListed = [&] {
            QFile manifest(path(".stopped.ogg.chunks/manifest"));
            return manifest.open(QIODevice::ReadOnly) &&
                   !QJsonDocument::fromJson(manifest.readAll())["chunks"].toArray().isEmpty();
        };
        while ((timesShown(err).size() < 2 || !chunkListed()) && clock.elapsed() < encodeWaitMs &&
               p.state() != QProcess::NotRunning)
            look();
        QVERIFY2(chunkListed() && p.state() == QProcess::Running, qPrintable(err));
        look();
        QVERIFY2(children.size() >= 3,
                 qPrintable(children.join(QLatin1Char(' ')))); // two parts and the sound

        ::kill(p.processId(), signal);
        QVERIFY(p.waitForFinished(encodeWaitMs));
        if (signal != SIGKILL) {
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), 128 + signal);
            err += QString::fromLocal8Bit(p.readAllStandardError());
            QVERIFY2(err.contains(QRegularExpression(
                         QStringLiteral("stopped; [1-9][0-9]* of [0-9]+ chunks \\([0-9]+ %\\) kept "
                                        "in .*/.stopped.ogg.chunks; the same command resumes\n"))),
                     qPrintable(err));
        }
        for (const QString &child : children)
            QTRY_VERIFY_WITH_TIMEOUT(QByteArray("ZX").contains(statField(child, 0)), encodeWaitMs);
        // After a kill, what would have become the output stays until the
        // next run on it.
        QStringList left = leftovers();
        if (signal == SIGKILL)
            left.removeIf([](const QString &n) { return n.startsWith(".ffmpeg2theora-"); });
        QCOMPARE(left, QStringList{QStringLiteral(".stopped.ogg.chunks")});

        if (input == QLatin1String("link")) {
            clip = path("link.mkv");
            QFile::remove(clip);
            QVERIFY(QFile::link(path("pal.mkv"), clip));
        } else if (input == QLatin1String("rewritten")) {
            struct stat st;
            QCOMPARE(stat(QFile::encodeName(clip).constData(), &st), 0);
            QFile rewritten(clip);
            QVERIFY(rewritten.open(QIODevice::WriteOnly) &&
                    rewritten.write(readAll(path("boxed.nut"))) == qint64(st.st_size));
            rewritten.close();
            const timespec times[2] = {st.st_atim, st.st_mtim}; // as cp -p and rsync -t do
            QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(clip).constData(), times, 0), 0);
        }
        const QStringList args = QStringList{clip, QStringLiteral("--keyint"), QStringLiteral("8")}
                                 << words(options);
        // What an earlier version left after a kill goes too.
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral(".stopped.ogg.parts-AbCd12")));
        QVERIFY(QFile(path(".stopped.ogg.parts-AbCd12/part0.ogg")).open(QIODevice::WriteOnly));
        // Asked first, the encoder says whether the command would resume,
        // and touches nothing.
        const QStringList check{QStringLiteral("-o"), path("stopped.ogg"),
                                QStringLiteral("--resume-check")};
        const EncoderRun asked = runEncoder(args + check, withParts(QStringLiteral("2")));
        QCOMPARE(asked.exitCode, 0);
        const EncoderRun again =
            runEncoder(args + QStringList{QStringLiteral("-o"), path("stopped.ogg")},
                       withParts(QStringLiteral("2")));
        QVERIFY2(again.exitCode == 0, qPrintable(again.err));
        const QRegularExpressionMatch resumed =
            QRegularExpression(QStringLiteral("resuming: .*\\(([0-9]+) %\\)")).match(again.err);
        // (A rewrite that keeps the input's size, time and ends is found only
        // by the encode's pass over the input.)
        if (!options.isEmpty())
            QCOMPARE(asked.out, QStringLiteral("resume changed reason=other options\n"));
        else if (input != QLatin1String("rewritten"))
            QCOMPARE(asked.out, QStringLiteral("resume share=%1\n").arg(resumed.captured(1)));
        QCOMPARE(runEncoder(args + check, withParts(QStringLiteral("2"))).out,
                 QStringLiteral("resume none\n"));
        QCOMPARE(again.err.contains(QLatin1String("ffmpeg2theora: resuming: ")),
                 options.isEmpty() && input != QLatin1String("rewritten"));
        QCOMPARE(again.err.contains(QLatin1String("is not what kept chunk(s)")),
                 input == QLatin1String("rewritten"));
        QCOMPARE(again.err.contains(QLatin1String("are not used (other options)")),
                 !options.isEmpty());
        QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(QLatin1Char(' '))));
        const EncoderRun whole =
            runEncoder(args + QStringList{QStringLiteral("-o"), path("whole.ogg")},
                       withParts(QStringLiteral("2")));
        QCOMPARE(whole.exitCode, 0);
        const auto decoded = [](const QString &file) {
            return runTool(
                QStringLiteral("ffmpeg"),
                words(QStringLiteral("-v error -nostdin -i %1 -map 0 -f framemd5 -").arg(file)));
        };
        QVERIFY(decoded(path("whole.ogg")).count('\n') > 60); // pictures and sound
        QCOMPARE(decoded(path("stopped.ogg")), decoded(path("whole.ogg")));
        QVERIFY(oggValid(path("stopped.ogg")));
    }
};

QTEST_GUILESS_MAIN(TestEncoderParallel)
#include "tst_encoder_parallel.moc"
