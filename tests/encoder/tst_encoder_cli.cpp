// ffmpeg2theora's refusals and failures: what it prints and the exit status,
// for a bad command line, an input it cannot use, and ffmpeg failing.

#include "encodertest.h"

#include <QTemporaryDir>

class TestEncoderCli : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

    // %clip, %out and %dir in ARGS stand for the test clip, an output file and
    // the temporary directory.
    QStringList expand(QStringList args) const
    {
        for (QString &a : args) {
            a.replace(QLatin1String("%clip"), path(QStringLiteral("clip.mkv")));
            a.replace(QLatin1String("%out"), path(QStringLiteral("out.ogg")));
            a.replace(QLatin1String("%dir"), dir.path());
        }
        return args;
    }

    // A stand-in for ffmpeg: a shell script with BODY.
    QString fakeFfmpeg(const QString &name, const QByteArray &body)
    {
        QFile f(path(name));
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write("#!/bin/sh\n" + body + "\n");
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        return f.fileName();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(makeClip(path(QStringLiteral("clip.mkv")),
                         {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                          QStringLiteral("testsrc2=s=64x48:r=10:d=1"), QStringLiteral("-f"),
                          QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("sine=d=1"),
                          QStringLiteral("-c:v"), QStringLiteral("mpeg4"), QStringLiteral("-c:a"),
                          QStringLiteral("pcm_s16le")}));
        QFile empty(path(QStringLiteral("empty.avi")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        QFile junk(path(QStringLiteral("junk.avi")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QString unable = QStringLiteral("Unable to open file");
        const QString requires = QStringLiteral("option requires an argument");
        const QString takes = QStringLiteral("takes");

        QTest::newRow("no such input") << QStringList{"%dir/nothing.avi", "-o", "%out"} << unable;
        QTest::newRow("empty input") << QStringList{"%dir/empty.avi", "-o", "%out"} << unable;
        QTest::newRow("input without media")
            << QStringList{"%dir/junk.avi", "-o", "%out"} << unable;
        QTest::newRow("input is a directory") << QStringList{"%dir", "-o", "%out"} << unable;

        QTest::newRow("-o without value") << QStringList{"%clip", "-o"} << requires;
        QTest::newRow("-d without value") << QStringList{"%clip", "-o", "%out", "-d"} << requires;
        QTest::newRow("--width without value")
            << QStringList{"%clip", "-o", "%out", "--width"} << requires;
        QTest::newRow("--title followed by an option")
            << QStringList{"%clip", "-o", "%out", "--title", "--width", "32"} << requires;

        QTest::newRow("unknown option") << QStringList{"%clip", "-o", "%out", "--colour", "red"}
                                        << QStringLiteral("unknown option");
        QTest::newRow("no output") << QStringList{"%clip"} << QStringLiteral("no output");
        QTest::newRow("no input") << QStringList{"-o", "%out"} << QStringLiteral("no input");
        QTest::newRow("two inputs")
            << QStringList{"%clip", "%clip", "-o", "%out"} << QStringLiteral("more than one");

        QTest::newRow("video quality above 10")
            << QStringList{"%clip", "-o", "%out", "--videoquality", "10.5"} << takes;
        QTest::newRow("audio quality below -1")
            << QStringList{"%clip", "-o", "%out", "--audioquality", "-1.5"} << takes;
        QTest::newRow("bit rate not a number")
            << QStringList{"%clip", "-o", "%out", "--videobitrate", "fast"} << takes;
        QTest::newRow("sharpness 3")
            << QStringList{"%clip", "-o", "%out", "--sharpness", "3"} << takes;
        QTest::newRow("keyint 0") << QStringList{"%clip", "-o", "%out", "--keyint", "0"} << takes;
        QTest::newRow("negative crop")
            << QStringList{"%clip", "-o", "%out", "--croptop", "-2"} << takes;
        QTest::newRow("deinterlace maybe")
            << QStringList{"%clip", "-o", "%out", "-d", "maybe"} << takes;
        QTest::newRow("aspect 0:3")
            << QStringList{"%clip", "-o", "%out", "--aspect", "0:3"} << takes;
        QTest::newRow("frame rate x")
            << QStringList{"%clip", "-o", "%out", "--inputfps", "x"} << takes;
        QTest::newRow("sample rate 500")
            << QStringList{"%clip", "-o", "%out", "--samplerate", "500"} << takes;
        QTest::newRow("nice 20") << QStringList{"%clip", "-o", "%out", "--nice", "20"} << takes;
        QTest::newRow("negative start")
            << QStringList{"%clip", "-o", "%out", "--starttime", "-1"} << takes;
        QTest::newRow("end before start")
            << QStringList{"%clip", "-o", "%out", "--starttime", "0.6", "--endtime", "0.4"}
            << QStringLiteral("must be later");

        QTest::newRow("start after the end")
            << QStringList{"%clip", "-o", "%out", "--starttime", "5"}
            << QStringLiteral("not within");
        QTest::newRow("crop leaves nothing")
            << QStringList{"%clip", "-o", "%out", "--cropleft", "40", "--cropright", "24"}
            << QStringLiteral("leaves no picture");
        QTest::newRow("unknown input format")
            << QStringList{"%clip", "-o", "%out", "--format", "nosuchformat"}
            << QStringLiteral("names no input format");
        QTest::newRow("output is the input")
            << QStringList{"%clip", "-o", "%dir/./clip.mkv"} << QStringLiteral("is the input file");
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QFile::remove(path(QStringLiteral("out.ogg")));
        const qint64 clipSize = QFileInfo(path(QStringLiteral("clip.mkv"))).size();

        const EncoderRun r = runEncoder(expand(args));
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        // Refused before anything is written, and without a time the window
        // would take for the input's length.
        QVERIFY(!QFile::exists(path(QStringLiteral("out.ogg"))));
        QCOMPARE(QFileInfo(path(QStringLiteral("clip.mkv"))).size(), clipSize);
        QVERIFY2(timesShown(r.err).isEmpty(), qPrintable(r.err));
    }

    // ffmpeg's own messages reach standard error only when it fails, and its
    // exit status (or signal) becomes ours.
    void ffmpegFails_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("hidden");

        QTest::newRow("fails with its status")
            << QByteArray("echo 'Encoder libtheora broke down' >&2; exit 3") << 3
            << QStringLiteral("Encoder libtheora broke down") << QString();
        QTest::newRow("dies of a signal")
            << QByteArray("kill -FPE $$") << 128 + 8 << QStringLiteral("Floating point exception")
            << QString();
        QTest::newRow("talks but succeeds")
            << QByteArray("echo 'frame=  25 time=00:00:01.00 bitrate=12kbits/s' >&2; exit 0") << 0
            << QString() << QStringLiteral("frame=");
    }

    void ffmpegFails()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        QFETCH(QString, hidden);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FFMPEG2THEORA_FFMPEG"),
                   fakeFfmpeg(QStringLiteral("fake-ffmpeg"), script));

        const EncoderRun r = runEncoder(expand({"%clip", "-o", "%out"}), env);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.startsWith(QLatin1String("  Duration: 0:00:01.00\n")), qPrintable(r.err));
        if (!shown.isEmpty())
            QVERIFY2(r.err.contains(shown), qPrintable(r.err));
        if (!hidden.isEmpty())
            QVERIFY2(!r.err.contains(hidden), qPrintable(r.err));
    }

    void realFfmpegFailureIsRelayed()
    {
        const EncoderRun r = runEncoder(expand({"%clip", "-o", "%dir/no/such/dir/out.ogg"}));
        QVERIFY(r.finished);
        QVERIFY(r.exitCode != 0);
        QVERIFY2(r.err.contains(QLatin1String("No such file or directory")), qPrintable(r.err));
    }

    void missingFfmpeg()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FFMPEG2THEORA_FFMPEG"), path(QStringLiteral("no-ffmpeg-here")));
        const EncoderRun r = runEncoder(expand({"%clip", "-o", "%out"}), env);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QLatin1String("cannot run")), qPrintable(r.err));
    }

    void helpNamesEveryOption()
    {
        const EncoderRun r = runEncoder({QStringLiteral("--help")});
        QCOMPARE(r.exitCode, 0);
        for (const char *option :
             {"--audioquality", "--audiobitrate", "--videoquality", "--videobitrate", "--artist",
              "--title",        "--date",         "--location",     "--organization", "--copyright",
              "--license",      "--width",        "--height",       "--format",       "--aspect",
              "--samplerate",   "--nice",         "--croptop",      "--cropbottom",   "--cropleft",
              "--cropright",    "--nosound",      "-d off|on",      "--sharpness",    "--keyint",
              "--inputfps",     "--starttime",    "--endtime"})
            QVERIFY2(r.out.contains(QLatin1String(option)), option);
        QVERIFY(r.out.contains(QLatin1String("without effect")));
    }
};

QTEST_GUILESS_MAIN(TestEncoderCli)
#include "tst_encoder_cli.moc"
