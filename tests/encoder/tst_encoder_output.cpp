// SPDX-License-Identifier: GPL-3.0-or-later
// What ffmpeg2theora writes, Ogg files with Theora and Vorbis as the options
// ask, and what it shows meanwhile: the input's length, then the position
// within the encoded range.

#include "encodertest.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QTemporaryDir>

#include <sys/stat.h>

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
        // A phone's video: stored 160x120, shown turned a quarter, 120x160.
        QVERIFY(makeClip(dir.filePath(QStringLiteral("stored.mp4")),
                         QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=1 -c:v libx264")));
        QVERIFY(makeClip(dir.filePath(QStringLiteral("rotated.mp4")),
                         QStringLiteral("-i %1 -c copy -metadata:s:v:0 rotate=90")
                             .arg(dir.filePath(QStringLiteral("stored.mp4")))));
        // Damaged in its middle third.
        const QString damaged = dir.filePath(QStringLiteral("damaged.mkv"));
        QVERIFY(makeClip(damaged, QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=2 -c:v "
                                                 "mpeg4 -q:v 3")));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::ReadWrite));
        for (qint64 at = file.size() / 3; at < file.size() * 2 / 3; at += 3000)
            QVERIFY(file.seek(at) && file.write(QByteArray(100, '\xff')) == 100);
        // 20 s whose download stopped at 15 %: its header still says 20 s.
        const QString cut = dir.filePath(QStringLiteral("cut.mkv"));
        QVERIFY(makeClip(cut, QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=20 -f lavfi -i "
                                             "sine=d=20 -c:v mpeg4 -q:v 3 -c:a pcm_s16le")));
        QFile cutFile(cut);
        QVERIFY(cutFile.resize(cutFile.size() * 15 / 100));
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
        // Cropping and scaling work on the picture as it is shown.
        row("turned, cropped", "rotated.mp4", "--cropleft 10 --cropright 10 --cropbottom 20",
            "100x140", "");
        row("turned, width alone", "rotated.mp4", "--width 60", "60x80", "");
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
        row("--novideo", "av.mkv", "--novideo", 0, "44100", "", "");
        row("sound only input", "mono.wav", "", 0, "22050", "", "");
        // libvorbis's default bit rate says 66666 here, quality 0 36666.
        row("resampled, lowest quality", "av.mkv", "--samplerate 22050 --audioquality -1", 1,
            "22050", "30000", "");
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
        QVERIFY(oggValid(out()));
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

    // A damaged input, or one cut short, still gives a file, and the last
    // of our lines says how much was damaged and how long the result is, or
    // where the input ended of the length it claims, in either mode.
    void damagedInput_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("parts");
        QTest::addColumn<QString>("said"); // a pattern
        for (const char *parts : {"0", "2"}) {
            const char *mode = *parts == '0' ? "one process" : "parts";
            QTest::addRow("damaged, %s", mode)
                << "damaged.mkv" << parts
                << "^ffmpeg2theora: warning: the input is damaged: .*the result lasts 0:00:02.00$";
            QTest::addRow("cut short, %s", mode)
                << "cut.mkv" << parts
                << "^ffmpeg2theora: warning: the input ended early, at 0:00:0[1-4]\\.[0-9]{2} of "
                   "0:00:20\\.00$";
        }
    }

    void damagedInput()
    {
        QFETCH(QString, clip);
        QFETCH(QString, parts);
        QFETCH(QString, said);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL"), parts);
        env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL_MIN"), QStringLiteral("0"));
        QFile::remove(out());
        const EncoderRun r = runEncoder({dir.filePath(clip), QStringLiteral("-o"), out()}, env);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(playable(out()));
        QVERIFY(oggValid(out()));
        const QStringList ours =
            r.err.split(QLatin1Char('\n')).filter(QStringLiteral("ffmpeg2theora:"));
        QVERIFY2(!ours.isEmpty() && ours.last().contains(QRegularExpression(said)),
                 qPrintable(r.err));
        if (clip != QLatin1String("cut.mkv")) {
            QCOMPARE(ours.size(), 1);
            return;
        }
        // Where it ended is how long the result lasts.
        const QRegularExpressionMatch at =
            QRegularExpression(QStringLiteral("at 0:00:(\\d\\d\\.\\d\\d)")).match(ours.last());
        const double lasts = field(probe(out()).format, "duration").toDouble();
        QVERIFY2(qAbs(at.captured(1).toDouble() - lasts) < 0.1,
                 qPrintable(QStringLiteral("%1 s lasts %2").arg(ours.last()).arg(lasts)));
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

    // Where the result goes, the same in one process and in parts: a file
    // is replaced only after success, a link is written through, a FIFO and
    // standard output are written to, a file we may not write or the input
    // itself is refused, and a failed encode leaves the old file as it was.
    void outputPolicy_data()
    {
        QTest::addColumn<QString>("parts");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QByteArray>("ffmpeg"); // a stand-in's script; empty: the real one
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        for (const char *parts : {"0", "2"}) {
            const auto row = [parts](const char *name, const char *output, const QByteArray &ffmpeg,
                                     int exitCode, const char *message) {
                QTest::addRow("%s, %s", name, *parts == '0' ? "one process" : "parts")
                    << QString::fromLatin1(parts) << QString::fromLatin1(output) << ffmpeg
                    << exitCode << QString::fromLatin1(message);
            };
            row("input as a file: URL, output the input", "input", "", 1, "is the input file");
            row("symbolic link", "link", "", 0, "");
            row("FIFO", "fifo", "", 0, "");
            row("standard output", "-", "", 0, "");
            row("standard output, no temporary directory", "-notmp", "", 0, "");
            // Read once, by one ffmpeg: its length is not known.
            row("input from standard input", "stdin", "", 0, "Duration: N/A");
            row("input from a FIFO", "fifoin", "", 0, "Duration: N/A");
            // Checked before it replaces anything: a file with no picture
            // (and no end), and one shorter than the range.
            row("input from standard input, started past its end", "stdin-late", "", 1,
                "is left as it was");
            row("an encode cut short over a file", "old",
                "for a; do shift; [ \"$a\" = -flush_packets ] && set -- \"$@\" -frames:v 10; "
                "set -- \"$@\" \"$a\"; done; exec ffmpeg \"$@\"",
                1, "holds 10 ");
            row("read-only file", "readonly", "", 1, "Permission denied");
            row("chunks beside it nobody came back for", "stale", "", 0,
                "chunks no encode has used for 30 days");
            row("failing encode over a file", "old",
                "for a; do last=$a; done; case $last in -*) ;; *) echo junk > \"${last#file:}\";; "
                "esac; "
                "echo 'Invalid argument' >&2; exit 1",
                1, "Invalid argument");
        }
    }

    void outputPolicy()
    {
        QFETCH(QString, parts);
        QFETCH(QString, output);
        QFETCH(QByteArray, ffmpeg);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir place;
        QVERIFY(place.isValid());
        const QDir d(place.path());
        const QString clip = d.filePath(QStringLiteral("clip.mkv"));
        QVERIFY(QFile::copy(dir.filePath(QStringLiteral("av.mkv")), clip));
        const QByteArray oldText = "the user's own file\n";
        const QString old = d.filePath(QStringLiteral("old.ogg"));
        QFile oldFile(old);
        QVERIFY(oldFile.open(QIODevice::WriteOnly) && oldFile.write(oldText) > 0);
        oldFile.close();
        QVERIFY(oldFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ReadGroup));
        QString input = clip, target = old;
        QProcess reader;
        if (output == QLatin1String("input")) {
            input = QStringLiteral("file://") + clip;
            target = clip;
        } else if (output == QLatin1String("link")) {
            target = d.filePath(QStringLiteral("link.ogg"));
            QVERIFY(QFile::link(old, target));
        } else if (output == QLatin1String("fifo")) {
            target = d.filePath(QStringLiteral("fifo"));
            QCOMPARE(mkfifo(QFile::encodeName(target).constData(), 0600), 0);
            reader.setStandardOutputFile(d.filePath(QStringLiteral("read.ogg")));
            reader.start(QStringLiteral("cat"), {target});
            QVERIFY(reader.waitForStarted());
        } else if (output.startsWith(QLatin1Char('-'))) {
            target = QStringLiteral("-");
        } else if (output.startsWith(QLatin1String("stdin"))) {
            input = QStringLiteral("-");
        } else if (output == QLatin1String("fifoin")) {
            input = d.filePath(QStringLiteral("in.fifo"));
            QCOMPARE(mkfifo(QFile::encodeName(input).constData(), 0600), 0);
            reader.start(QStringLiteral("sh"),
                         {QStringLiteral("-c"), QStringLiteral("cat \"$0\" >\"$1\""), clip, input});
        } else if (output == QLatin1String("stale")) {
            QVERIFY(d.mkdir(QStringLiteral(".gone.ogg.chunks")));
            for (const char *name : {"manifest", "part0.ogg"}) {
                QFile f(d.filePath(QStringLiteral(".gone.ogg.chunks/%1").arg(QLatin1String(name))));
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write("x") == 1 && f.flush());
                QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-31),
                                      QFileDevice::FileModificationTime));
            }
        } else if (output == QLatin1String("readonly")) {
            QVERIFY(oldFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        }
        const QByteArray clipHash = hash(clip);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL"), parts);
        env.insert(QStringLiteral("FFMPEG2THEORA_PARALLEL_MIN"), QStringLiteral("0"));
        // Nothing is left in the temporary folder either; a missing one is
        // not used.
        QVERIFY(d.mkdir(QStringLiteral("tmp")));
        env.insert(QStringLiteral("TMPDIR"),
                   d.filePath(output == QLatin1String("-notmp") ? QStringLiteral("none")
                                                                : QStringLiteral("tmp")));
        if (!ffmpeg.isEmpty()) {
            QFile fake(d.filePath(QStringLiteral("fake-ffmpeg")));
            QVERIFY(fake.open(QIODevice::WriteOnly) && fake.write("#!/bin/sh\n" + ffmpeg) > 0);
            fake.close();
            fake.setPermissions(fake.permissions() | QFileDevice::ExeOwner);
            env.insert(QStringLiteral("FFMPEG2THEORA_FFMPEG"), fake.fileName());
        }
        QProcess p;
        p.setProcessEnvironment(env);
        if (input == QLatin1String("-"))
            p.setStandardInputFile(clip);
        // Short key frame intervals: the clip makes two parts.
        QStringList late{QStringLiteral("--keyint"), QStringLiteral("8")};
        if (output == QLatin1String("stdin-late"))
            late << QStringLiteral("--starttime") << QStringLiteral("100");
        p.start(QStringLiteral(FFMPEG2THEORA),
                QStringList{input, QStringLiteral("-o"), target} + late);
        QVERIFY(p.waitForFinished(60000));
        const QByteArray data = p.readAllStandardOutput();
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(p.exitCode() == exitCode, qPrintable(err));
        QVERIFY2(err.contains(message), qPrintable(err));
        QCOMPARE(hash(clip), clipHash);
        // Nothing is left beside the output: no temporary file, no parts;
        // only the chunks a failed encode says it kept.
        for (const QString &name :
             d.entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot))
            QVERIFY2(!name.startsWith(QLatin1Char('.')) ||
                         (exitCode != 0 && err.contains(QStringLiteral("kept in ")) &&
                          err.contains(name)),
                     qPrintable(name + QLatin1Char('\n') + err));
        QCOMPARE(QDir(d.filePath(QStringLiteral("tmp")))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());

        if (exitCode != 0) {
            QCOMPARE(readAll(old), oldText);
            QCOMPARE(QFileInfo(old).permissions() & QFileDevice::WriteOwner,
                     output == QLatin1String("readonly") ? QFileDevice::Permissions()
                                                         : QFileDevice::WriteOwner);
            return;
        }
        QString written = old;
        if (output == QLatin1String("link")) {
            QVERIFY(QFileInfo(target).isSymLink());
            // The target keeps its permissions.
            struct stat st;
            QVERIFY(stat(QFile::encodeName(old).constData(), &st) == 0);
            QCOMPARE(st.st_mode & 0777, 0640u);
        } else if (output == QLatin1String("fifo")) {
            QVERIFY(reader.waitForFinished(10000));
            struct stat st;
            QVERIFY(stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
            written = d.filePath(QStringLiteral("read.ogg"));
        } else if (target == QLatin1String("-")) {
            QVERIFY(data.startsWith("OggS"));
            written = d.filePath(QStringLiteral("stdout.ogg"));
            QFile f(written);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
        }
        QVERIFY(oggValid(written));
        QCOMPARE(field(probe(written).video, "codec_name"), QStringLiteral("theora"));
        QVERIFY(playable(written));
    }

private:
    static QByteArray readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray hash(const QString &path)
    {
        return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha1);
    }
};

QTEST_GUILESS_MAIN(TestEncoderOutput)
#include "tst_encoder_output.moc"
