// What ffmpeg2theora writes: Ogg files with Theora and Vorbis as the options
// ask.

#include "encodertest.h"

#include <QSize>
#include <QTemporaryDir>

namespace
{

QSize sizeOf(const QJsonObject &video)
{
    return {video.value(QLatin1String("width")).toInt(),
            video.value(QLatin1String("height")).toInt()};
}

} // namespace

class TestEncoderOutput : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    QString out() const { return path(QStringLiteral("out.ogg")); }

    // Encodes CLIP (a name in the temporary directory) into out.ogg.
    EncoderRun encode(const QString &clip, const QStringList &options)
    {
        QFile::remove(out());
        return runEncoder(QStringList{path(clip), QStringLiteral("-o"), out()} + options);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString lavfi = QStringLiteral("lavfi");
        // One second of 160x120 at 25 frames/s with stereo sound at 44.1 kHz.
        QVERIFY(makeClip(path(QStringLiteral("av.mkv")),
                         {"-f", lavfi, "-i", "testsrc2=s=160x120:r=25:d=1", "-f", lavfi, "-i",
                          "sine=r=44100:d=1", "-ac", "2", "-c:v", "mpeg4", "-q:v", "5", "-c:a",
                          "pcm_s16le"}));
        // An odd-sized picture, no sound.
        QVERIFY(makeClip(path(QStringLiteral("odd.nut")),
                         {"-f", lavfi, "-i", "testsrc2=s=161x121:r=25:d=1", "-c:v", "ffv1",
                          "-pix_fmt", "yuv420p"}));
        // Sound only: mono at 22.05 kHz.
        QVERIFY(
            makeClip(path(QStringLiteral("mono.wav")), {"-f", lavfi, "-i", "sine=r=22050:d=1"}));
    }

    void picture_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("aspect");

        QTest::newRow("untouched") << "av.mkv" << QStringList() << QSize(160, 120) << "4:3";
        QTest::newRow("odd size made even") << "odd.nut" << QStringList() << QSize(160, 120) << "";
        QTest::newRow("crop") << "av.mkv" << QStringList{"--croptop",  "10", "--cropbottom", "20",
                                                         "--cropleft", "30", "--cropright",  "2"}
                              << QSize(128, 90) << "64:45";
        QTest::newRow("crop, then width alone keeps the aspect")
            << "av.mkv"
            << QStringList{"--croptop", "20",          "--cropbottom", "20",      "--cropleft",
                           "20",        "--cropright", "20",           "--width", "60"}
            << QSize(60, 40) << "3:2";
        QTest::newRow("height alone keeps the aspect")
            << "av.mkv" << QStringList{"--height", "60"} << QSize(80, 60) << "4:3";
        QTest::newRow("width and height")
            << "av.mkv" << QStringList{"--width", "96", "--height", "64"} << QSize(96, 64) << "";
        QTest::newRow("odd width made even")
            << "av.mkv" << QStringList{"--width", "81"} << QSize(80, 60) << "4:3";
        QTest::newRow("aspect as a ratio")
            << "av.mkv" << QStringList{"--aspect", "16:9"} << QSize(160, 120) << "16:9";
        QTest::newRow("aspect as a number, never deinterlaced")
            << "av.mkv" << QStringList{"--aspect", "2", "-d", "off"} << QSize(160, 120) << "2:1";
        QTest::newRow("deinterlace always")
            << "av.mkv" << QStringList{"-d", "on", "--sharpness", "0"} << QSize(160, 120) << "4:3";
    }

    void picture()
    {
        QFETCH(QString, clip);
        QFETCH(QStringList, options);
        QFETCH(QSize, size);
        QFETCH(QString, aspect);

        const EncoderRun r = encode(clip, options);
        QCOMPARE(r.exitCode, 0);
        const Probe p = probe(out());
        QCOMPARE(p.format.value(QLatin1String("format_name")).toString(), QStringLiteral("ogg"));
        QCOMPARE(p.video.value(QLatin1String("codec_name")).toString(), QStringLiteral("theora"));
        QCOMPARE(sizeOf(p.video), size);
        if (!aspect.isEmpty())
            QCOMPARE(p.video.value(QLatin1String("display_aspect_ratio")).toString(), aspect);
    }

    void sound_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("video");
        QTest::addColumn<int>("sampleRate");  // 0: no sound expected
        QTest::addColumn<int>("nominalRate"); // bit/s in the Vorbis header; 0: not checked
        QTest::addColumn<QString>("note");

        QTest::newRow("both streams") << "av.mkv" << QStringList() << true << 44100 << 0 << "";
        QTest::newRow("--nosound") << "av.mkv" << QStringList{"--nosound"} << true << 0 << 0 << "";
        QTest::newRow("sound only input")
            << "mono.wav" << QStringList() << false << 22050 << 0 << "";
        QTest::newRow("resampled, lowest quality")
            << "av.mkv" << QStringList{"--samplerate", "22050", "--audioquality", "-1"} << true
            << 22050 << 0 << "";
        QTest::newRow("bit rate wins over quality")
            << "av.mkv" << QStringList{"--audiobitrate", "96", "--audioquality", "2"} << true
            << 44100 << 96000 << "";
        QTest::newRow("stereo bit rate above the reach")
            << "av.mkv" << QStringList{"--audiobitrate", "2000"} << true << 44100 << 500000
            << "using 500 kbit/s";
        QTest::newRow("stereo bit rate below the reach")
            << "av.mkv" << QStringList{"--audiobitrate", "20"} << true << 44100 << 45000
            << "using 45 kbit/s";
        QTest::newRow("mono bit rate at 22.05 kHz above the reach")
            << "mono.wav" << QStringList{"--audiobitrate", "200"} << false << 22050 << 90000
            << "using 90 kbit/s";
        QTest::newRow("bit rate after resampling")
            << "av.mkv" << QStringList{"--samplerate", "16000", "--audiobitrate", "500"} << true
            << 16000 << 200000 << "using 200 kbit/s";
        QTest::newRow("video bit rate above the reach")
            << "av.mkv" << QStringList{"--videobitrate", "20000"} << true << 44100 << 0
            << "using 16777 kbit/s";
    }

    void sound()
    {
        QFETCH(QString, clip);
        QFETCH(QStringList, options);
        QFETCH(bool, video);
        QFETCH(int, sampleRate);
        QFETCH(int, nominalRate);
        QFETCH(QString, note);

        const EncoderRun r = encode(clip, options);
        QCOMPARE(r.exitCode, 0);
        if (!note.isEmpty())
            QVERIFY2(r.err.contains(note), qPrintable(r.err));
        const Probe p = probe(out());
        QCOMPARE(p.videoStreams, video ? 1 : 0);
        QCOMPARE(p.audioStreams, sampleRate ? 1 : 0);
        if (!sampleRate)
            return;
        QCOMPARE(p.audio.value(QLatin1String("codec_name")).toString(), QStringLiteral("vorbis"));
        QCOMPARE(p.audio.value(QLatin1String("sample_rate")).toString().toInt(), sampleRate);
        if (nominalRate)
            QCOMPARE(p.audio.value(QLatin1String("bit_rate")).toString().toInt(), nominalRate);
    }

    void metadata()
    {
        const QList<QPair<QString, QString>> tags = {
            {"ARTIST", "The Band"},      {"TITLE", "A Holiday"},   {"DATE", "2009-07-01"},
            {"LOCATION", "Lake shore"},  {"ORGANIZATION", "Club"}, {"COPYRIGHT", "(c) us"},
            {"LICENSE", "CC BY-SA 3.0"},
        };
        QStringList options;
        for (const auto &tag : tags)
            options << QStringLiteral("--") + tag.first.toLower() << tag.second;
        QCOMPARE(encode(QStringLiteral("av.mkv"), options).exitCode, 0);
        const Probe p = probe(out());
        for (const auto &tag : tags) {
            QCOMPARE(p.tag(p.video, tag.first), tag.second);
            QCOMPARE(p.tag(p.audio, tag.first), tag.second);
        }
    }

    // Key frames come at the interval asked for, 64 by default (ffmpeg's
    // own default would put one every 12 frames).
    void keyFrames_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("interval");

        QTest::newRow("default") << QStringList() << 64;
        QTest::newRow("every 10") << QStringList{"--keyint", "10"} << 10;
        QTest::newRow("every frame") << QStringList{"--keyint", "1"} << 1;
    }

    void keyFrames()
    {
        QFETCH(QStringList, options);
        QFETCH(int, interval);
        QCOMPARE(encode(QStringLiteral("av.mkv"), options).exitCode, 0);

        const QList<QByteArray> flags =
            runTool(QStringLiteral("ffprobe"),
                    {"-v", "error", "-select_streams", "v", "-show_entries", "packet=flags", "-of",
                     "csv=p=0", out()})
                .trimmed()
                .split('\n');
        QCOMPARE(flags.size(), 25);
        QList<int> keys;
        for (int i = 0; i < flags.size(); ++i)
            if (flags.at(i).startsWith('K'))
                keys << i;
        QList<int> expected;
        for (int i = 0; i < flags.size(); i += interval)
            expected << i;
        QCOMPARE(keys, expected);
    }
};

QTEST_GUILESS_MAIN(TestEncoderOutput)
#include "tst_encoder_output.moc"
