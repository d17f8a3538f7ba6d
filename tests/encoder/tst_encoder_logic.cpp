// The encoder's logic without ffmpeg: cutting into parts, the command of
// each slice, the output policy and the environment.

#include "output.h"
#include "plan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
    // Split points strictly increase, and no part is tiny, for any number of
    // cores and any key frame interval.
    void cutPoints_data()
    {
        QTest::addColumn<int>("parts");
        QTest::addColumn<int>("keyint");
        for (int parts = 1; parts <= 64; ++parts)
            for (int keyint : {1, 2, 5, 12, 25, 64, 100, 250, 500, 1000})
                QTest::addRow("%d parts, key frames every %d", parts, keyint) << parts << keyint;
    }

    void cutPoints()
    {
        QFETCH(int, parts);
        QFETCH(int, keyint);
        for (const qint64 frames : {1, 7, 50, 500, 1500, 90000}) {
            const QList<qint64> starts = ::cutPoints(frames, parts, keyint);
            QVERIFY(!starts.isEmpty() && starts.size() <= parts);
            QCOMPARE(starts.first(), 0);
            for (int i = 1; i < starts.size(); ++i)
                QVERIFY2(starts.at(i) - starts.at(i - 1) >= shortestPart,
                         qPrintable(QStringLiteral("%1 frames: part %2 at %3 after %4")
                                        .arg(frames)
                                        .arg(i)
                                        .arg(starts.at(i))
                                        .arg(starts.at(i - 1))));
            QVERIFY(starts.size() == 1 || frames - starts.last() >= shortestPart);
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
        QTest::addColumn<int>("parts"); // -1: refused
        QTest::newRow("unset, long") << QByteArray() << QByteArray() << 25.0 << 2;
        QTest::newRow("unset, short") << QByteArray() << QByteArray() << 19.0 << 1;
        QTest::newRow("lower minimum") << QByteArray() << QByteArray("1.5") << 2.0 << 2;
        QTest::newRow("0") << QByteArray("0") << QByteArray() << 99.0 << 1;
        QTest::newRow("1: per core") << QByteArray("1") << QByteArray() << 1.0 << 2;
        QTest::newRow("32") << QByteArray("32") << QByteArray() << 1.0 << 32;
        QTest::newRow("a word") << QByteArray("yes") << QByteArray() << 25.0 << -1;
        QTest::newRow("negative") << QByteArray("-2") << QByteArray() << 25.0 << -1;
        QTest::newRow("number and more") << QByteArray("4x") << QByteArray() << 25.0 << -1;
        QTest::newRow("minimum a word") << QByteArray() << QByteArray("soon") << 25.0 << -1;
    }

    void environment()
    {
        QFETCH(QByteArray, parallel);
        QFETCH(QByteArray, shortest);
        QFETCH(double, length);
        QFETCH(int, parts);
        const PartsWanted w = partsWanted(parallel, shortest, 2, length);
        QCOMPARE(w.error.isEmpty() ? w.parts : -1, parts);
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
        QVERIFY(dir.isValid());
        const QDir d(dir.path());
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
};

QTEST_GUILESS_MAIN(TestEncoderLogic)
#include "tst_encoder_logic.moc"
