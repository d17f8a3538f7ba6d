// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's logic without ffmpeg: cutting into parts, the command of
// each slice, the output policy and the environment.

#include "manifest.h"
#include "output.h"
#include "plan.h"
#include "process.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

// A 25 frames/s 160x120 input of 20 s with sound.
MediaInfo input()
{
    MediaInfo m;
    m.duration = 20;
    m.videoStream = 0;
    m.width = 160;
    m.height = 120;
    m.rateNum = 25;
    m.rateDen = 1;
    m.audioStream = 1;
    m.sampleRate = 44100;
    m.channels = 2;
    m.formatName = QStringLiteral("matroska,webm");
    return m;
}

Plan plan(const QString &args, const MediaInfo &m = input())
{
    const ParseResult parsed = parseArguments(
        QStringList{QStringLiteral("in.mkv"), QStringLiteral("-o"), QStringLiteral("out.ogg")} +
        args.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    Plan p = makePlan(parsed.options, m);
    countFrames(p, m.duration);
    return p;
}

} // namespace

class TestEncoderLogic : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // The chunks cover the range in order, each starting on a key frame
    // place, none empty or tiny, for any number of workers and any key frame
    // interval, on even input and on input whose second half is five times
    // the work and whose key frames are 250 pictures apart. With enough key
    // frame intervals to share (32 of the smallest chunks a worker), the
    // workers are kept busy to the end. The numbers of workers are a sample:
    // the first few, odd ones, and both sides of powers of two.
    void cutPoints_data()
    {
        QTest::addColumn<int>("workers");
        QTest::addColumn<int>("keyint");
        for (int workers : {1, 2, 3, 4, 5, 7, 8, 13, 16, 31, 32, 64})
            for (int keyint : {1, 2, 5, 12, 25, 64, 100, 250, 500, 1000})
                QTest::addRow("%d workers, key frames every %d", workers, keyint)
                    << workers << keyint;
    }

    void cutPoints()
    {
        QFETCH(int, workers);
        QFETCH(int, keyint);
        for (const qint64 frames : {1, 7, 50, 500, 1500, 90000}) {
            QList<double> uneven(frames, 1.0);
            QList<qint64> keys;
            for (qint64 i = 0; i < frames; ++i) {
                if (i >= frames / 2)
                    uneven[i] = 5;
                if (i % 250 == 0)
                    keys << i + 2;
            }
            for (const bool even : {true, false}) {
                const QList<double> work = even ? QList<double>() : uneven;
                const QList<qint64> starts =
                    ::cutPoints(frames, workers, keyint, even ? QList<qint64>() : keys, work);
                const QString what = QStringLiteral("%1 frames, %2: %3")
                                         .arg(frames)
                                         .arg(even ? "even" : "uneven")
                                         .arg(QString::number(starts.size()));
                QVERIFY2(!starts.isEmpty() && starts.first() == 0, qPrintable(what));
                QVERIFY(workers > 1 || starts.size() == 1);
                for (int i = 0; i < starts.size(); ++i) {
                    const qint64 end = i + 1 < starts.size() ? starts.at(i + 1) : frames;
                    const qint64 length = end - starts.at(i);
                    QVERIFY2(starts.at(i) % keyint == 0 && length > 0 &&
                                 (starts.size() == 1 || length >= shortestPart) &&
                                 (i + 1 == starts.size() || length >= smallestChunk),
                             qPrintable(QStringLiteral("%1: chunk %2 from %3 to %4")
                                            .arg(what)
                                            .arg(i)
                                            .arg(starts.at(i))
                                            .arg(end)));
                }
                // The workers, each taking the next chunk when done, on the
                // work as it was guessed, each chunk costing four more.
                if (frames >= 32 * workers * std::max(keyint, smallestChunk) && workers > 1) {
                    QList<double> done(workers, 0);
                    double total = 0;
                    for (int i = 0; i < starts.size(); ++i) {
                        const qint64 end = i + 1 < starts.size() ? starts.at(i + 1) : frames;
                        double cost = 4;
                        for (qint64 f = starts.at(i); f < end; ++f)
                            cost += even ? 1 : uneven.at(f);
                        total += cost;
                        *std::min_element(done.begin(), done.end()) += cost;
                    }
                    const double efficiency =
                        total / (*std::max_element(done.begin(), done.end()) * workers);
                    QVERIFY2(
                        efficiency >= 0.9,
                        qPrintable(QStringLiteral("%1: efficiency %2").arg(what).arg(efficiency)));
                }
            }
        }
    }

    void arguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("error");
        QTest::newRow("-- ends the options")
            << QStringList{"-o", "out.ogg", "--", "-name.mkv"} << "-name.mkv"
            << "";
        QTest::newRow("an option after --")
            << QStringList{"-o", "out.ogg", "--", "--nosound"} << "--nosound"
            << "";
        QTest::newRow("comments too long for an Ogg header")
            << QStringList{"in.mkv",      "-o", "out.ogg", "--title", QString(65265, 't'),
                           "--copyright", "(c)"}
            << ""
            << "--copyright is too long";
        QTest::newRow("--endtime 0")
            << QStringList{"in.mkv", "-o", "out.ogg", "--endtime", "0"} << ""
            << "leaves nothing to encode";
    }

    void arguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, input);
        QFETCH(QString, error);
        const ParseResult r = parseArguments(args);
        if (error.isEmpty())
            QCOMPARE(r.options.input, input);
        QVERIFY2(r.error.contains(error) && r.ok() == error.isEmpty(), qPrintable(r.error));
    }

    void inputNames_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/x/v.mp4"
                               << "file:/x/v.mp4"
                               << "/x/v.mp4";
        QTest::newRow("file: given") << "file:/x/v.mp4"
                                     << "file:/x/v.mp4"
                                     << "/x/v.mp4";
        QTest::newRow("file URL") << "file:///x/a%20b.mp4"
                                  << "file:/x/a b.mp4"
                                  << "/x/a b.mp4";
        QTest::newRow("other protocol") << "http://host/v.mp4"
                                        << "http://host/v.mp4"
                                        << "";
    }

    void inputNames()
    {
        QFETCH(QString, input);
        QFETCH(QString, url);
        QFETCH(QString, path);
        Options o;
        o.input = input;
        QCOMPARE(inputUrl(o), url);
        QCOMPARE(localInputPath(o), path);
    }

    void environment_data()
    {
        QTest::addColumn<QByteArray>("parallel");
        QTest::addColumn<QByteArray>("shortest");
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("pixelRate"); // pixels a second; 0: unknown
        QTest::addColumn<int>("parts");        // -1: refused
        const double small = 160 * 120 * 25, large = 1280 * 720 * 25;
        QTest::newRow("unset, long") << QByteArray() << QByteArray() << 25.0 << 0.0 << 2;
        QTest::newRow("unset, short") << QByteArray() << QByteArray() << 19.0 << 0.0 << 1;
        QTest::newRow("small pictures, short")
            << QByteArray() << QByteArray() << 20.0 << small << 1;
        QTest::newRow("small pictures, long") << QByteArray() << QByteArray() << 60.0 << small << 2;
        QTest::newRow("large pictures, short") << QByteArray() << QByteArray() << 8.0 << large << 2;
        QTest::newRow("large pictures, very short")
            << QByteArray() << QByteArray() << 0.5 << large << 1;
        QTest::newRow("lower minimum") << QByteArray() << QByteArray("1.5") << 2.0 << small << 2;
        QTest::newRow("0") << QByteArray("0") << QByteArray() << 99.0 << large << 1;
        QTest::newRow("1: per core") << QByteArray("1") << QByteArray() << 1.0 << small << 2;
        QTest::newRow("32") << QByteArray("32") << QByteArray() << 1.0 << 0.0 << 32;
        QTest::newRow("a word") << QByteArray("yes") << QByteArray() << 25.0 << 0.0 << -1;
        QTest::newRow("negative") << QByteArray("-2") << QByteArray() << 25.0 << 0.0 << -1;
        QTest::newRow("number and more") << QByteArray("4x") << QByteArray() << 25.0 << 0.0 << -1;
        QTest::newRow("minimum a word") << QByteArray() << QByteArray("soon") << 25.0 << 0.0 << -1;
    }

    void environment()
    {
        QFETCH(QByteArray, parallel);
        QFETCH(QByteArray, shortest);
        QFETCH(double, length);
        QFETCH(double, pixelRate);
        QFETCH(int, parts);
        const PartsWanted w = partsWanted(parallel, shortest, 2, length, pixelRate);
        QCOMPARE(w.error.isEmpty() ? w.workers : -1, parts);
    }

    // Every option reaches every slice: the one-process command and each
    // part's are made by one function.
    void commands_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("video"); // in every picture slice's command
        QTest::addColumn<QString>("audio"); // in every sound slice's command
        QTest::newRow("aspect and scale") << "--aspect 16:9 --width 96"
                                          << "scale=96:-2,setdar=16/9"
                                          << "-q:a 1";
        QTest::newRow("bit rates") << "--videobitrate 300 --audiobitrate 64"
                                   << "-b:v 300k"
                                   << "-b:a 64k";
        QTest::newRow("tags, not the input's") << "--title T"
                                               << "-map_metadata -1 "
                                               << "-metadata TITLE=T";
        // The sound keeps its offset from the pictures, not moved to 0.
        QTest::newRow("sound in place") << "--starttime 2"
                                        << "setpts=PTS-STARTPTS"
                                        << "atrim=start=2.000000,asetpts=PTS-2";
        QTest::newRow("range end") << "--starttime 1 --endtime 3"
                                   << "-c:v libtheora"
                                   << "atrim=start=1.000000:end=3.000000";
    }

    void commands()
    {
        QFETCH(QString, args);
        QFETCH(QString, video);
        QFETCH(QString, audio);
        const Plan p = plan(args);
        QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
        Slice whole;
        whole.video = whole.audio = true;
        Slice part;
        part.video = true;
        part.first = 100;
        part.count = 50;
        part.lead = 25;
        Slice sound;
        sound.audio = true;
        // A slice without an output is only decoded.
        whole.output = part.output = sound.output = QStringLiteral("file:out.ogg");
        for (const Slice &s : {whole, part, sound}) {
            const QString command = ffmpegCommand(p, s).join(QLatin1Char(' '));
            QVERIFY2(!s.video || command.contains(video), qPrintable(command));
            QVERIFY2(!s.audio || command.contains(audio), qPrintable(command));
            QVERIFY2(command.contains(QLatin1String("-progress pipe:3")), qPrintable(command));
        }
        const QString partCommand = ffmpegCommand(p, part).join(QLatin1Char(' '));
        QVERIFY2(partCommand.contains(QLatin1String("trim=start_frame=25:end_frame=75")),
                 qPrintable(partCommand));
    }

    // Pictures too small to play, and empty ranges, are refused.
    void refusedPlans_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("width"); // of the input
        QTest::addColumn<QString>("error");
        QTest::newRow("--width 16") << "--width 16" << 160 << "12 pixels";
        QTest::newRow("cropped to 16") << "--cropleft 72 --cropright 72" << 160 << "16x120";
        QTest::newRow("16x16 input") << "" << 16 << "the input is 16x16";
        QTest::newRow("start at the very end") << "--starttime 19.99" << 160 << "holds no picture";
        QTest::newRow("scaled up is fine") << "--width 32" << 16 << "";
    }

    void refusedPlans()
    {
        QFETCH(QString, args);
        QFETCH(int, width);
        QFETCH(QString, error);
        MediaInfo m = input();
        m.width = width;
        if (width < 100)
            m.height = width;
        const Plan p = plan(args, m);
        QVERIFY2(p.error.contains(error) && p.error.isEmpty() == error.isEmpty(),
                 qPrintable(p.error));
    }

    // Where a part's ffmpeg seeks: at the key frame before the part, and in
    // a container that seeks to any packet, before that key frame's decoding
    // time.
    void seeking_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("stamp");
        QTest::addColumn<double>("seek");
        QTest::newRow("indexed") << "mov,mp4,m4a,3gp,3g2,mj2" << 15.0 << 10.0;
        QTest::newRow("MPEG-TS") << "mpegts" << 15.0 << 9.78;
        QTest::newRow("on the key frame, indexed") << "matroska,webm" << 10.0 << 10.0;
        QTest::newRow("before the first key frame") << "mpegts" << 0.5 << 0.0;
    }

    void seeking()
    {
        QFETCH(QString, format);
        QFETCH(double, stamp);
        QFETCH(double, seek);
        VideoScan scan;
        scan.ok = true;
        scan.end = 30;
        for (double key : {1.0, 11.0, 21.0}) // the input starts at 1 s
            scan.keyFrames.append({key, key - 0.2});
        QVERIFY(qAbs(seekFor(stamp + 1, 1, format, &scan, 0.04) - seek) < 1e-9);
    }

    // What is written where, decided before any work.
    void outputPolicy_data()
    {
        QTest::addColumn<QString>("name"); // in the temporary directory, or absolute
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("path"); // what is written in the end
        QTest::addColumn<QString>("error");
        const int file = int(OutputTarget::Kind::File);
        const int direct = int(OutputTarget::Kind::Direct);
        QTest::newRow("new name") << "new.ogg" << file << "new.ogg"
                                  << "";
        QTest::newRow("existing file") << "old.ogg" << file << "old.ogg"
                                       << "";
        QTest::newRow("symbolic link") << "link.ogg" << file << "old.ogg"
                                       << "";
        QTest::newRow("link to a new name") << "dangling.ogg" << file << "new.ogg"
                                            << "";
        QTest::newRow("FIFO") << "fifo" << direct << "fifo"
                              << "";
        QTest::newRow("device") << "/dev/null" << direct << "/dev/null"
                                << "";
        QTest::newRow("standard output") << "-" << int(OutputTarget::Kind::StandardOutput) << "-"
                                         << "";
        QTest::newRow("read-only") << "readonly.ogg" << file << ""
                                   << "Permission denied";
        QTest::newRow("directory") << "." << file << ""
                                   << "Is a directory";
        QTest::newRow("missing directory") << "none/out.ogg" << file << ""
                                           << "No such file or directory";
        QTest::newRow("too long a name") << QString(300, QLatin1Char('x')) << file << ""
                                         << "File name too long";
    }

    void outputPolicy()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(QString, path);
        QFETCH(QString, error);
        // Each row has files of its own: a row must not find what another
        // made, or left read-only.
        const QTemporaryDir rowDir;
        QVERIFY(rowDir.isValid());
        const QDir d(rowDir.path());
        QFile old(d.filePath(QStringLiteral("old.ogg")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        QFile readOnly(d.filePath(QStringLiteral("readonly.ogg")));
        QVERIFY(readOnly.open(QIODevice::WriteOnly));
        readOnly.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadOther);
        QFile::link(QStringLiteral("old.ogg"), d.filePath(QStringLiteral("link.ogg")));
        QFile::link(QStringLiteral("new.ogg"), d.filePath(QStringLiteral("dangling.ogg")));
        mkfifo(QFile::encodeName(d.filePath(QStringLiteral("fifo"))).constData(), 0600);

        const auto inDir = [&](const QString &n) {
            return n.startsWith(QLatin1Char('/')) || n == QLatin1String("-") ? n : d.filePath(n);
        };
        const OutputTarget t = examineOutput(inDir(name));
        QVERIFY2(t.error.contains(error) && t.error.isEmpty() == error.isEmpty(),
                 qPrintable(t.error));
        if (!error.isEmpty())
            return;
        QCOMPARE(int(t.kind), kind);
        QCOMPARE(QFileInfo(t.path).absoluteFilePath(), QFileInfo(inDir(path)).absoluteFilePath());
    }

    // Kept chunks are used only for an encode with the same options, ffmpeg
    // and cuts; the manifest read back says so for each field, and one of an
    // unknown version is not read.
    void manifestMatch_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("mismatch"); // "unread": not read back
        QTest::newRow("the same") << ""
                                  << "";
        // The input is judged by its content, chunk by chunk, not here.
        QTest::newRow("another path") << "path"
                                      << "";
        QTest::newRow("touched") << "modified"
                                 << "";
        QTest::newRow("an option") << "arguments"
                                   << "other options";
        QTest::newRow("the key frame interval") << "keyint"
                                                << "other options";
        QTest::newRow("another ffmpeg") << "ffmpeg"
                                        << "another ffmpeg";
        QTest::newRow("another range") << "frames"
                                       << "other cut points";
        QTest::newRow("a cut off the key frames") << "cut"
                                                  << "other cut points";
        QTest::newRow("another version") << "version"
                                         << "unread";
    }

    void manifestMatch()
    {
        QFETCH(QString, change);
        QFETCH(QString, mismatch);
        Manifest now;
        now.input = {QStringLiteral("/in.mkv"), 5000, 17, "aa", "bb"};
        now.arguments = QStringList{QStringLiteral("-g"), QStringLiteral("64")};
        now.ffmpeg = "ff";
        now.keyint = 64;
        now.frames = 1000;
        Manifest kept = now;
        kept.cuts = {0, 384, 768};
        kept.chunks << KeptFile{1, 384, 383, 12345, "cc", 2, "dd"};
        const QHash<QString, std::function<void()>> changes = {
            {"", [] {}},
            {"path", [&] { kept.input.path = QStringLiteral("/other.mkv"); }},
            {"size", [&] { ++kept.input.size; }},
            {"modified", [&] { ++kept.input.modified; }},
            {"head", [&] { kept.input.head = "ab"; }},
            {"tail", [&] { kept.input.tail = "ab"; }},
            {"arguments", [&] { kept.arguments.last() = QStringLiteral("32"); }},
            {"keyint", [&] { kept.keyint = 32; }},
            {"ffmpeg", [&] { kept.ffmpeg = "fg"; }},
            {"frames", [&] { kept.frames = 1001; }},
            {"cut", [&] { kept.cuts[1] = 380; }},
            {"version", [&] { kept.version = 2; }},
        };
        changes.value(change)();
        const std::optional<Manifest> read = parseManifest(manifestBytes(kept));
        QCOMPARE(read ? ::mismatch(*read, now) : QStringLiteral("unread"), mismatch);
        if (read) {
            QCOMPARE(read->chunks.size(), 1);
            QCOMPARE(read->chunks.first().held, 383);
            QCOMPARE(read->chunks.first().source, QByteArray("dd"));
            QCOMPARE(read->percentKept(), 38);
        }
    }

    // The sound beside the chunks waits for a free core while every worker
    // is busy, and is an ordinary process again once a worker has nothing
    // left to take: else, on a machine kept busy by other programs, it could
    // wait for ever. Where SCHED_IDLE cannot be undone (an ordinary user),
    // it is ordinary from the start.
    void idleChild_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("workers");
        QTest::addColumn<bool>("waits");
        QTest::newRow("a worker still busy") << true << 1 << true;
        QTest::newRow("no chunk left, a worker free") << false << 1 << false;
        QTest::newRow("a worker spare from the start") << true << 2 << false;
    }

    void idleChild()
    {
        QFETCH(bool, busy);
        QFETCH(int, workers);
        QFETCH(bool, waits);
        const QString sh = QStringLiteral("/bin/sh");
        const bool undoable =
            QProcess::execute(
                sh, {QStringLiteral("-c"),
                     QStringLiteral("(chrt -i -p 0 $$ && chrt -o -p 0 $$) 2>/dev/null")}) == 0;
        // The sound says how it runs at once, or once woken (in 10 s at
        // most), then lets a busy worker end.
        const QString loop =
            QStringLiteral("for i in $(seq 500); do %1 && break; sleep 0.02; done;");
        const QString told = dir.filePath(QStringLiteral("told"));
        QFile::remove(told);
        QByteArray said;
        ChildCommand sound;
        sound.argv = QStringList{sh, QStringLiteral("-c"),
                                 (waits ? QString() : loop.arg("chrt -p $$ | grep -q OTHER")) +
                                     QStringLiteral("chrt -p $$; touch '%1'").arg(told)};
        sound.idle = true;
        sound.onStdout = [&said](const QByteArray &bytes) { said += bytes; };
        ChildCommand chunk;
        chunk.argv = QStringList{sh, QStringLiteral("-c"),
                                 busy ? loop.arg(QStringLiteral("[ -e '%1' ]").arg(told))
                                      : QStringLiteral("true")};
        chunk.pooled = true;
        const QList<ChildResult> runs = runChildren({sound, chunk}, true, workers);
        QVERIFY(!failed(runs.at(0)) && !failed(runs.at(1)));
        QVERIFY2(said.contains(waits && undoable ? "SCHED_IDLE" : "SCHED_OTHER"), said.constData());
    }
};

QTEST_GUILESS_MAIN(TestEncoderLogic)
#include "tst_encoder_logic.moc"
