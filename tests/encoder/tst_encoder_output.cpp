// What ffmpeg2theora writes, Ogg files with Theora and Vorbis as the options
// ask, and what it shows meanwhile: the input's length, then the position
// within the encoded range.

#include "encodertest.h"

#include <QTemporaryDir>

class TestEncoderOutput : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString out() const { return dir.filePath(QStringLiteral("out.ogg")); }

    // Encodes CLIP (a file in the temporary directory) into out.ogg.
    EncoderRun encode(const QString &clip, const QString &options)
    {
        QFile::remove(out());
        return runEncoder(QStringList{dir.filePath(clip), QStringLiteral("-o"), out()} +
                          words(options));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // One second of 160x120 at 25 frames/s with stereo sound at 44.1 kHz;
        // an odd-sized picture without sound; sound alone, mono at 22.05 kHz.
        QVERIFY(makeClip(dir.filePath(QStringLiteral("av.mkv")),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=1 -f lavfi -i "
                                        "sine=r=44100:d=1 -ac 2 -c:v mpeg4 -c:a pcm_s16le")));
        QVERIFY(makeClip(dir.filePath(QStringLiteral("odd.nut")),
                         QStringLiteral("-f lavfi -i testsrc2=s=161x121:r=25:d=1 -c:v ffv1")));
        QVERIFY(makeClip(dir.filePath(QStringLiteral("mono.wav")),
                         QStringLiteral("-f lavfi -i sine=r=22050:d=1")));
    }

    void picture_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("aspect"); // empty: not checked
        const auto row = [](const char *name, const char *clip, const char *options,
                            const char *size, const char *aspect) {
            QTest::newRow(name) << QString::fromLatin1(clip) << QString::fromLatin1(options)
                                << QString::fromLatin1(size) << QString::fromLatin1(aspect);
        };
        row("untouched", "av.mkv", "", "160x120", "4:3");
        row("odd size made even", "odd.nut", "", "160x120", "");
        row("crop", "av.mkv", "--croptop 10 --cropbottom 20 --cropleft 30 --cropright 2", "128x90",
            "64:45");
        row("crop, then width alone keeps the aspect", "av.mkv",
            "--croptop 20 --cropbottom 20 --cropleft 20 --cropright 20 --width 60", "60x40", "3:2");
        row("height alone keeps the aspect", "av.mkv", "--height 60", "80x60", "4:3");
        row("width and height", "av.mkv", "--width 96 --height 64", "96x64", "");
        row("odd width made even", "av.mkv", "--width 81", "80x60", "4:3");
        row("aspect as a ratio", "av.mkv", "--aspect 16:9", "160x120", "16:9");
        row("aspect as a number, never deinterlaced", "av.mkv", "--aspect 2 -d off", "160x120",
            "2:1");
        row("always deinterlaced", "av.mkv", "-d on --sharpness 0", "160x120", "4:3");
    }

    void picture()
    {
        QFETCH(QString, clip);
        QFETCH(QString, options);
        QFETCH(QString, size);
        QFETCH(QString, aspect);

        QCOMPARE(encode(clip, options).exitCode, 0);
        const Probe p = probe(out());
        QCOMPARE(field(p.format, "format_name"), QStringLiteral("ogg"));
        QCOMPARE(field(p.video, "codec_name"), QStringLiteral("theora"));
        QCOMPARE(field(p.video, "width") + 'x' + field(p.video, "height"), size);
        if (!aspect.isEmpty())
            QCOMPARE(field(p.video, "display_aspect_ratio"), aspect);
    }

    void sound_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("options");
        QTest::addColumn<int>("videoStreams");
        QTest::addColumn<QString>("sampleRate"); // empty: no sound
        QTest::addColumn<QString>("nominal");    // bit/s in the Vorbis header; empty: not checked
        QTest::addColumn<QString>("note");
        const auto row = [](const char *name, const char *clip, const char *options, int video,
                            const char *rate, const char *nominal, const char *note) {
            QTest::newRow(name) << QString::fromLatin1(clip) << QString::fromLatin1(options)
                                << video << QString::fromLatin1(rate)
                                << QString::fromLatin1(nominal) << QString::fromLatin1(note);
        };
        row("both streams", "av.mkv", "", 1, "44100", "", "");
        row("--nosound", "av.mkv", "--nosound", 1, "", "", "");
        row("sound only input", "mono.wav", "", 0, "22050", "", "");
        row("resampled, lowest quality", "av.mkv", "--samplerate 22050 --audioquality -1", 1,
            "22050", "", "");
        row("bit rate wins over quality", "av.mkv", "--audiobitrate 96 --audioquality 2", 1,
            "44100", "96000", "");
        row("stereo bit rate above the reach", "av.mkv", "--audiobitrate 2000", 1, "44100",
            "500000", "using 500 kbit/s");
        row("stereo bit rate below the reach", "av.mkv", "--audiobitrate 20", 1, "44100", "45000",
            "using 45 kbit/s");
        row("mono bit rate at 22.05 kHz above the reach", "mono.wav", "--audiobitrate 200", 0,
            "22050", "90000", "using 90 kbit/s");
        row("bit rate after resampling", "av.mkv", "--samplerate 16000 --audiobitrate 500", 1,
            "16000", "200000", "using 200 kbit/s");
        row("video bit rate above the reach", "av.mkv", "--videobitrate 20000", 1, "44100", "",
            "using 16777 kbit/s");
    }

    void sound()
    {
        QFETCH(QString, clip);
        QFETCH(QString, options);
        QFETCH(int, videoStreams);
        QFETCH(QString, sampleRate);
        QFETCH(QString, nominal);
        QFETCH(QString, note);

        const EncoderRun r = encode(clip, options);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.contains(note), qPrintable(r.err));
        const Probe p = probe(out());
        QCOMPARE(p.videoStreams, videoStreams);
        QCOMPARE(p.audioStreams, sampleRate.isEmpty() ? 0 : 1);
        if (sampleRate.isEmpty())
            return;
        QCOMPARE(field(p.audio, "codec_name"), QStringLiteral("vorbis"));
        QCOMPARE(field(p.audio, "sample_rate"), sampleRate);
        if (!nominal.isEmpty())
            QCOMPARE(field(p.audio, "bit_rate"), nominal);
    }

    void vorbisComments()
    {
        const QStringList tags = {"ARTIST",       "TITLE",     "DATE",   "LOCATION",
                                  "ORGANIZATION", "COPYRIGHT", "LICENSE"};
        QStringList args{dir.filePath(QStringLiteral("av.mkv")), QStringLiteral("-o"), out()};
        for (const QString &tag : tags)
            args << QStringLiteral("--") + tag.toLower() << tag + QStringLiteral(" value, 2 words");
        QCOMPARE(runEncoder(args).exitCode, 0);
        const Probe p = probe(out());
        for (const QString &tag : tags) {
            const QString value = tag + QStringLiteral(" value, 2 words");
            QCOMPARE(p.video.value(QLatin1String("tags")).toObject().value(tag).toString(), value);
            QCOMPARE(p.audio.value(QLatin1String("tags")).toObject().value(tag).toString(), value);
        }
    }

    // Key frames come at the interval asked for, 64 by default (ffmpeg's own
    // default would put one every 12 frames); the clip has 25 frames.
    void keyFrames_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<int>("keyFrames");

        QTest::newRow("default") << "" << 1;
        QTest::newRow("every 5") << "--keyint 5" << 5;
        QTest::newRow("every frame") << "--keyint 1" << 25;
    }

    void keyFrames()
    {
        QFETCH(QString, options);
        QFETCH(int, keyFrames);
        QCOMPARE(encode(QStringLiteral("av.mkv"), options).exitCode, 0);
        const QByteArray flags =
            runTool(QStringLiteral("ffprobe"),
                    words(QStringLiteral(
                        "-v error -select_streams v -show_entries packet=flags -of csv=p=0"))
                        << out());
        QCOMPARE(flags.count('\n'), 25);
        QCOMPARE(flags.count('K'), keyFrames);
    }

    // Start and end are positions in the input; the positions shown count
    // from the start of what is encoded, the length shown is the input's.
    void trimmed_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<double>("length");

        QTest::newRow("start and end") << "--starttime 0.25 --endtime 0.75" << 0.5;
        QTest::newRow("end only") << "--endtime 0.6" << 0.6;
        QTest::newRow("start only") << "--starttime 0.7" << 0.3;
        QTest::newRow("end beyond the input") << "--starttime 0.5 --endtime 30" << 0.5;
        QTest::newRow("twice the frame rate, half the length") << "--inputfps 50 --nosound" << 0.5;
    }

    void trimmed()
    {
        QFETCH(QString, options);
        QFETCH(double, length);
        const EncoderRun r = encode(QStringLiteral("av.mkv"), options);
        QCOMPARE(r.exitCode, 0);

        const double encoded = field(probe(out()).video, "duration").toDouble();
        QVERIFY2(qAbs(encoded - length) <= 0.05, qPrintable(QString::number(encoded)));
        const QList<double> times = timesShown(r.err);
        QVERIFY2(times.size() >= 2, qPrintable(r.err));
        QCOMPARE(times.first(), 1.0);
        QVERIFY2(qAbs(times.last() - length) <= 0.1, qPrintable(r.err));
    }

    // What the window reads: the first time is the input's length, later
    // times grow; each line starts with its time, and nothing else is said.
    void progressLines()
    {
        const EncoderRun r = encode(QStringLiteral("av.mkv"), QString());
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.startsWith(QLatin1String("  Duration: 0:00:01.00\n")), qPrintable(r.err));
        QVERIFY(r.err.endsWith(QLatin1Char('\n')));
        const QStringList lines = r.err.section(QLatin1Char('\n'), 1)
                                      .chopped(1)
                                      .split(QLatin1Char('\r'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 2);

        const QRegularExpression form(QStringLiteral(
            "^      \\d+:\\d\\d:\\d\\d\\.\\d\\d audio: (\\d+)kbps video: (\\d+)kbps$"));
        double last = -1;
        for (const QString &line : lines) {
            QVERIFY2(form.match(line).hasMatch(), qPrintable(line));
            QVERIFY2(timesShown(line).first() >= last, qPrintable(r.err));
            last = timesShown(line).first();
        }
        QCOMPARE(last, 1.0);
        // The last line's bit rates add up to those of the whole file.
        const auto m = form.match(lines.last());
        const int shown = m.captured(1).toInt() + m.captured(2).toInt();
        const double file = field(probe(out()).format, "size").toDouble() * 8 / 1000;
        QVERIFY2(shown > 0.7 * file && shown < 1.1 * file,
                 qPrintable(QStringLiteral("%1 against %2").arg(shown).arg(file)));
    }
};

QTEST_GUILESS_MAIN(TestEncoderOutput)
#include "tst_encoder_output.moc"
