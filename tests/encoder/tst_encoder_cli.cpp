// SPDX-License-Identifier: GPL-3.0-or-later
// ffmpeg2theora's refusals, failures and stops: what it prints and its exit
// status for a bad command line, an input it cannot use, ffmpeg failing, and
// a signal.

#include "encodertest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cmath>
#include <csignal>

class TestEncoderCli : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString out() const { return dir.filePath(QStringLiteral("out.ogg")); }

    // CLIP, OUT and DIR in ARGS stand for the test clip, an output file and
    // the temporary directory.
    QStringList expand(const QString &args) const
    {
        QString text = args;
        text.replace(QLatin1String("CLIP"), dir.filePath(QStringLiteral("clip.mkv")));
        text.replace(QLatin1String("OUT"), out());
        text.replace(QLatin1String("DIR"), dir.path());
        return words(text);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(
            makeClip(dir.filePath(QStringLiteral("clip.mkv")),
                     QStringLiteral("-f lavfi -i testsrc2=s=64x48:r=10:d=1 -f lavfi -i sine=d=1 "
                                    "-c:v mpeg4 -c:a pcm_s16le")));
        QFile empty(dir.filePath(QStringLiteral("empty.avi")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        QFile junk(dir.filePath(QStringLiteral("junk.avi")));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(4096, 'x')) == 4096);
        QVERIFY(makeClip(dir.filePath(QStringLiteral("tiny.mkv")),
                         QStringLiteral("-f lavfi -i testsrc2=s=16x16:r=10:d=1 -c:v ffv1")));
        // An MP4 that lost all but its first bytes: ffprobe's complaint names
        // the reader by its address.
        QFile headless(dir.filePath(QStringLiteral("headless.mp4")));
        QVERIFY(
            makeClip(headless.fileName(), QStringLiteral("-f lavfi -i testsrc2=s=64x48:r=10:d=1")));
        QVERIFY(headless.resize(64));
    }

    // Stand-in programs: SCRIPT as an executable shell script named NAME.
    QString standIn(const QString &name, const QByteArray &script)
    {
        QFile fake(dir.filePath(name));
        if (!fake.open(QIODevice::WriteOnly) || fake.write("#!/bin/sh\n" + script + '\n') <= 0)
            return {};
        fake.setPermissions(fake.permissions() | QFileDevice::ExeOwner);
        return fake.fileName();
    }

    void refused_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const char *args, const char *message) {
            QTest::newRow(name) << QString::fromLatin1(args) << QString::fromLatin1(message);
        };
        const char *unable = "Unable to open file";
        row("no such input", "DIR/nothing.avi -o OUT", unable);
        row("empty input", "DIR/empty.avi -o OUT", unable);
        row("input without media", "DIR/junk.avi -o OUT", unable);
        row("input is a directory", "DIR -o OUT", unable);

        const char *requires = "option requires an argument";
        row("-o without value", "CLIP -o", requires);
        row("--width without value", "CLIP -o OUT --width", requires);
        row("an option where the value should be", "CLIP -o OUT --title --width 32", requires);

        row("unknown option", "CLIP -o OUT --colour red", "unknown option '--colour'");
        row("two inputs", "CLIP CLIP -o OUT", "more than one input");
        row("video quality above 10", "CLIP -o OUT --videoquality 10.5", "from 0 to 10");
        row("audio quality below -1", "CLIP -o OUT --audioquality -1.5", "from -1 to 10");
        row("deinterlace maybe", "CLIP -o OUT -d maybe", "'off' or 'on'");
        row("end before start", "CLIP -o OUT --starttime 0.6 --endtime 0.4", "must be later");
        row("start after the end", "CLIP -o OUT --starttime 5", "not within the input");
        row("crop leaves nothing", "CLIP -o OUT --cropleft 40 --cropright 24", "no picture");
        row("unknown input format", "CLIP -o OUT --format nosuch", "names no input format");
        row("output is the input", "CLIP -o DIR/./clip.mkv", "is the input file");
        row("a preview without a time", "CLIP --preview DIR/p.png", "need --preview-at");
        row("a preview time without a picture", "CLIP --preview-at 0.5", "needs --preview PNG");
        row("a resume check without an output", "CLIP --resume-check", "no output file given");
        row("neither video nor sound", "CLIP -o OUT --novideo --nosound", "leave nothing");
    }

    void refused()
    {
        QFETCH(QString, args);
        QFETCH(QString, message);
        const QString clip = dir.filePath(QStringLiteral("clip.mkv"));
        const qint64 clipSize = QFileInfo(clip).size();

        const EncoderRun r = runEncoder(expand(args));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        // Refused before anything is written, and without a time that the
        // window would take for the input's length.
        QVERIFY(!QFile::exists(out()));
        QCOMPARE(QFileInfo(clip).size(), clipSize);
        QVERIFY2(timesShown(r.err).isEmpty(), qPrintable(r.err));
    }

    // ffmpeg's messages reach standard error only when it fails, and its exit
    // status (or signal) becomes ours. A script stands in for ffmpeg.
    void ffmpegFails_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: the real ffmpeg
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("hidden");

        const auto row = [](const char *name, const QByteArray &script, const char *output,
                            int exitCode, const char *shown, const char *hidden) {
            QTest::newRow(name) << script << QString::fromLatin1(output) << exitCode
                                << QString::fromLatin1(shown) << QString::fromLatin1(hidden);
        };
        row("fails with its status", "echo 'libtheora broke down' >&2; exit 3", "OUT", 3,
            "libtheora broke down", "");
        row("dies of a signal", "kill -FPE $$", "OUT", 128 + SIGFPE, "Floating point exception",
            "");
        // Its success is not taken on its word: the file is checked.
        row("talks but succeeds, writing nothing", "echo 'frame=25 time=00:00:01.00' >&2", "OUT", 1,
            "the encoded file is not valid", "frame=");
        // ffmpeg's text is brought down to its reason.
        row("without addresses",
            "echo '[libtheora @ 0x55d0c1a2b3c0] Invalid pixel format' >&2; exit 1", "OUT", 1,
            "failed: Invalid pixel format", "0x55d0c1a2b3c0");
        row("without the lines that only say it failed",
            "echo 'Invalid pixel format' >&2; echo 'Conversion failed!' >&2; exit 1", "OUT", 1,
            "Invalid pixel format", "Conversion failed");
        row("cannot be loaded",
            "echo \"$0: error while loading shared libraries: x\" >&2; exit 127", "OUT", 1,
            "cannot run DIR/fake-ffmpeg: error while loading shared libraries: x", "");
        row("real ffmpeg, no such output directory", "", "DIR/none/out.ogg", 1,
            "No such file or directory", "");
    }

    void ffmpegFails()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, output);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        QFETCH(QString, hidden);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!script.isEmpty()) {
            QFile fake(dir.filePath(QStringLiteral("fake-ffmpeg")));
            QVERIFY(fake.open(QIODevice::WriteOnly) && fake.write("#!/bin/sh\n" + script) > 0);
            fake.setPermissions(fake.permissions() | QFileDevice::ExeOwner);
            env.insert(QStringLiteral("FFMPEG2THEORA_FFMPEG"), fake.fileName());
        }

        const EncoderRun r = runEncoder(expand(QStringLiteral("CLIP -o ") + output), env);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.startsWith(QLatin1String("  Duration: 0:00:01.00\n")), qPrintable(r.err));
        QVERIFY2(r.err.contains(expand(shown).join(QLatin1Char(' '))), qPrintable(r.err));
        QVERIFY2(hidden.isEmpty() || !r.err.contains(hidden), qPrintable(r.err));
    }

    void helpSaysSharpnessHasNoEffect()
    {
        const EncoderRun r = runEncoder({QStringLiteral("--help")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains(QLatin1String("--sharpness")));
        QVERIFY(r.out.contains(QLatin1String("without effect")));
        // And an encode says so, as it says why --inputfps keeps it in one
        // process where it would have been cut into parts.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL"), QStringLiteral("2"));
        const EncoderRun e =
            runEncoder(expand(QStringLiteral("CLIP -o OUT --sharpness 2 --inputfps 25")), env);
        QCOMPARE(e.exitCode, 0);
        QVERIFY2(e.err.contains(QLatin1String("note: --sharpness has no effect")),
                 qPrintable(e.err));
        QVERIFY2(e.err.contains(QLatin1String("note: --inputfps")) &&
                     e.err.count(QLatin1String("one process")) == 1,
                 qPrintable(e.err));
    }

    // Stopped by a signal, it has ffmpeg close a playable file, exits with
    // 128 plus the signal and leaves no process behind; killed outright, its
    // ffmpeg goes with it.
    void stopping_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("exitCode"); // -1: killed, no status

        QTest::newRow("SIGTERM") << int(SIGTERM) << 128 + SIGTERM;
        QTest::newRow("SIGINT") << int(SIGINT) << 128 + SIGINT;
        QTest::newRow("SIGKILL") << int(SIGKILL) << -1;
    }

    void stopping()
    {
        QFETCH(int, signal);
        QFETCH(int, exitCode);
        QProcess p;
        // A minute of generated picture, far more than the test waits for.
        p.start(QStringLiteral(FFMPEG2THEORA),
                QStringList{"--format", "lavfi", "testsrc2=s=160x120:r=25:d=60", "-o", out(),
                            "--nice", "7"});
        QString err;
        QElapsedTimer clock;
        clock.start();
        while (timesShown(err).isEmpty() || timesShown(err).last() < 0.5) {
            QVERIFY2(clock.elapsed() < 20000 && p.state() != QProcess::NotRunning, qPrintable(err));
            p.waitForReadyRead(200);
            err += QString::fromLocal8Bit(p.readAllStandardError());
        }
        const QStringList children = childrenOf(p.processId());
        QCOMPARE(children.size(), 1);
        QCOMPARE(statField(children.first(), 16), QByteArray("7")); // its niceness

        ::kill(p.processId(), signal);
        QVERIFY(p.waitForFinished(15000));
        QCOMPARE(p.exitStatus(), exitCode < 0 ? QProcess::CrashExit : QProcess::NormalExit);
        if (exitCode >= 0)
            QCOMPARE(p.exitCode(), exitCode);
        QTRY_VERIFY_WITH_TIMEOUT(QByteArray("ZX").contains(statField(children.first(), 0)), 10000);
        QVERIFY(playable(out()));
        QVERIFY(field(probe(out()).format, "duration").toDouble() >= 0.4);
    }

    // Refused before any encoding: every line of ours says who speaks, and
    // ffmpeg is never started.
    void refusedBeforeEncoding_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("parallel"); // FFMPEG2THEORA_PARALLEL
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const char *args, const char *parallel,
                            const char *message) {
            QTest::newRow(name) << QString::fromLatin1(args) << QString::fromLatin1(parallel)
                                << QString::fromLatin1(message);
        };
        row("--endtime 0", "CLIP -o OUT --endtime 0", "", "leaves nothing to encode");
        row("start at the very end", "CLIP -o OUT --starttime 0.99", "", "holds no picture");
        row("--width 16", "CLIP -o OUT --width 16", "", "at least 18x18");
        row("a 16x16 input", "DIR/tiny.mkv -o OUT", "", "the input is 16x16");
        row("output is a directory", "CLIP -o DIR", "", "Is a directory");
        row("output in a missing directory", "CLIP -o DIR/none/out.ogg", "",
            "No such file or directory");
        row("too long an output name",
            "CLIP -o "
            "DIR/xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
            "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
            "xx"
            "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx."
            "ogg",
            "", "File name too long");
        row("FFMPEG2THEORA_PARALLEL not a number", "CLIP -o OUT", "yes",
            "FFMPEG2THEORA_PARALLEL takes a whole number");
        row("an unknown option", "CLIP -o OUT --colour red", "", "unknown option");
        row("no input", "-o OUT", "", "no input file");
        row("an MP4 without its index", "DIR/headless.mp4 -o OUT", "", "Unable to open file");
        row("no video of an input without sound", "DIR/tiny.mkv -o OUT --novideo", "",
            "input has no sound");
    }

    void refusedBeforeEncoding()
    {
        QFETCH(QString, args);
        QFETCH(QString, parallel);
        QFETCH(QString, message);
        const QString ran = dir.filePath(QStringLiteral("ffmpeg-ran"));
        QFile::remove(ran);
        QFile::remove(out());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FFMPEG2THEORA_FFMPEG"),
                   standIn(QStringLiteral("fake-ffmpeg-marks"), "touch " + ran.toLocal8Bit()));
        if (!parallel.isEmpty())
            env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL"), parallel);

        const EncoderRun r = runEncoder(expand(args), env);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFile::exists(ran));
        QVERIFY(!QFile::exists(out()));
        QVERIFY2(!r.err.contains(QLatin1String(" @ 0x")), qPrintable(r.err));
        for (const QString &line : r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            QVERIFY2(line.startsWith(QLatin1String("ffmpeg2theora: ")) ||
                         line.startsWith(QLatin1String("  Duration: ")),
                     qPrintable(line));
    }

    // A stop at any step: the children end, nothing of ours is left, one
    // line says so, and the exit status is 128 plus the signal. An existing
    // output survives.
    void stopsAtEveryStep_data()
    {
        QTest::addColumn<QByteArray>("ffprobe"); // a stand-in's script; empty: the real one
        QTest::addColumn<QByteArray>("ffmpeg");
        QTest::addColumn<QString>("parallel");

        // The stand-ins mark when they are reached, then take their time.
        QTest::newRow("during the probe")
            << QByteArray("touch \"$STEP\"; exec sleep 30") << QByteArray() << "0";
        QTest::newRow("while the key frames are sought")
            << QByteArray("case \"$*\" in *packet=*) touch \"$STEP\"; exec sleep 30;; esac; "
                          "exec ffprobe \"$@\"")
            << QByteArray() << "2";
        QTest::newRow("one process, over an existing file")
            << QByteArray() << QByteArray("touch \"$STEP\"; exec ffmpeg -re \"$@\"") << "0";
        QTest::newRow("parts, over an existing file")
            << QByteArray() << QByteArray("touch \"$STEP\"; exec ffmpeg -re \"$@\"") << "2";
    }

    void stopsAtEveryStep()
    {
        QFETCH(QByteArray, ffprobe);
        QFETCH(QByteArray, ffmpeg);
        QFETCH(QString, parallel);
        QTemporaryDir place;
        QVERIFY(place.isValid());
        const QString step = dir.filePath(QStringLiteral("step-reached"));
        QFile::remove(step);
        const QString output = place.filePath(QStringLiteral("old.ogg"));
        QFile old(output);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("STEP"), step);
        env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL"), parallel);
        env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL_MIN"), QStringLiteral("0"));
        if (!ffprobe.isEmpty())
            env.insert(QStringLiteral("FFMPEG2THEORA_FFPROBE"),
                       standIn(QStringLiteral("fake-ffprobe"), ffprobe));
        if (!ffmpeg.isEmpty())
            env.insert(QStringLiteral("FFMPEG2THEORA_FFMPEG"),
                       standIn(QStringLiteral("fake-ffmpeg"), ffmpeg));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(FFMPEG2THEORA),
                {dir.filePath(QStringLiteral("clip.mkv")), QStringLiteral("-o"), output});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(step), 20000);
        const QStringList children = childrenOf(p.processId());
        QVERIFY(!children.isEmpty());

        ::kill(p.processId(), SIGTERM);
        QVERIFY(p.waitForFinished(15000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 128 + SIGTERM);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(err.count(QLatin1String("ffmpeg2theora: ")), 1);
        QVERIFY2(err.contains(
                     QStringLiteral("ffmpeg2theora: stopped; %1 is left as it was").arg(output)),
                 qPrintable(err));
        for (const QString &child : children)
            QTRY_VERIFY_WITH_TIMEOUT(QByteArray("ZX").contains(statField(child, 0)), 10000);
        QCOMPARE(
            QDir(place.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("old.ogg")});
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
    }

    // The forecast of an encode against that encode: the size within 15 %
    // of the file's, in the line's form, and nothing left behind; an input
    // that can be read only once has none.
    void forecast_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("known");
        QTest::newRow("standard input") << QStringLiteral("- --forecast") << false;
        QTest::newRow("20 s at quality 6")
            << QStringLiteral("DIR/long.mkv --forecast --videoquality 6") << true;
        QTest::newRow("20 s at bit rates")
            << QStringLiteral("DIR/long.mkv --forecast --videobitrate 300 --audiobitrate 64")
            << true;
        QTest::newRow("20 s of sound alone")
            << QStringLiteral("DIR/long.mkv --forecast --novideo --audioquality 3") << true;
    }

    void forecast()
    {
        QFETCH(QString, options);
        QFETCH(bool, known);
        const QString clip = dir.filePath(QStringLiteral("long.mkv"));
        if (known && !QFile::exists(clip))
            QVERIFY(makeClip(clip, QStringLiteral("-f lavfi -i testsrc2=s=320x240:r=25:d=20 -f "
                                                  "lavfi -i sine=d=20 -c:v mpeg4 -q:v 4 -c:a "
                                                  "pcm_s16le")));
        QTemporaryDir temporary;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), temporary.path());
        const EncoderRun r = runEncoder(expand(options), env);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(QDir(temporary.path()).isEmpty(), "the samples are left behind");
        if (!known) {
            QCOMPARE(r.out, QStringLiteral("forecast unknown\n"));
            QVERIFY2(r.err.contains(QLatin1String("read only once")), qPrintable(r.err));
            return;
        }
        static const QRegularExpression line(
            QStringLiteral("^forecast size=(\\d+) seconds=(\\d+\\.\\d) workers=([1-9]\\d*)\n$"));
        const QRegularExpressionMatch m = line.match(r.out);
        QVERIFY2(m.hasMatch(), qPrintable(r.out + r.err));
        QVERIFY(m.captured(2).toDouble() > 0);

        QStringList encode = expand(options);
        encode.removeAll(QStringLiteral("--forecast"));
        QFile::remove(out());
        QCOMPARE(runEncoder(encode << QStringLiteral("-o") << out()).exitCode, 0);
        const double real = double(QFileInfo(out()).size());
        QFile::remove(out());
        const double off = m.captured(1).toDouble() / real - 1;
        QVERIFY2(
            std::abs(off) <= 0.15,
            qPrintable(QStringLiteral("forecast %1 bytes, file %2").arg(m.captured(1)).arg(real)));
    }

    // The two preview pictures: at the display aspect asked for, and no
    // output file.
    void preview()
    {
        const QString before = dir.filePath(QStringLiteral("before.png"));
        const QString after = dir.filePath(QStringLiteral("after.png"));
        const EncoderRun r = runEncoder(
            expand(QStringLiteral("CLIP --preview-at 0.5 --preview-source DIR/before.png "
                                  "--preview DIR/after.png --width 32 --aspect 2:1")));
        QCOMPARE(r.exitCode, 0);
        for (const QString &picture : {before, after}) {
            QFile png(picture);
            QVERIFY2(png.open(QIODevice::ReadOnly), qPrintable(r.err));
            const QByteArray head = png.read(24);
            QVERIFY(head.startsWith("\x89PNG"));
            const auto number = [&head](int at) {
                return quint32(quint8(head[at])) << 24 | quint32(quint8(head[at + 1])) << 16 |
                       quint32(quint8(head[at + 2])) << 8 | quint8(head[at + 3]);
            };
            QCOMPARE(number(16), 2 * number(20));
        }
        QVERIFY(!QFile::exists(out()));
    }
};

QTEST_GUILESS_MAIN(TestEncoderCli)
#include "tst_encoder_cli.moc"
