// What ffmpeg2theora shows while it works (the input's length, then the
// position within the encoded range) and how it stops.

#include "encodertest.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <csignal>

namespace
{

// Processes whose parent is PID, from /proc.
QList<qint64> childrenOf(qint64 pid)
{
    QList<qint64> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 candidate = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(candidate));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid ...: the name may hold blanks, so read after ')'.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(1).toLongLong() == pid)
            found << candidate;
    }
    return found;
}

// A field of /proc/PID/stat counted from the state (0), or empty when gone.
QByteArray statField(qint64 pid, int index)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2).split(' ').value(index);
}

bool gone(qint64 pid)
{
    const QByteArray state = statField(pid, 0);
    return state.isEmpty() || state == "Z" || state == "X";
}

double seconds(const QJsonObject &o)
{
    return o.value(QLatin1String("duration")).toString().toDouble();
}

} // namespace

class TestEncoderProgress : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString out() const { return dir.filePath(QStringLiteral("out.ogg")); }
    QString clip() const { return dir.filePath(QStringLiteral("av.mkv")); }

    EncoderRun encode(const QStringList &options)
    {
        QFile::remove(out());
        return runEncoder(QStringList{clip(), QStringLiteral("-o"), out()} + options);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // One second of 160x120 at 25 frames/s with stereo sound at 44.1 kHz.
        const QString lavfi = QStringLiteral("lavfi");
        QVERIFY(makeClip(clip(), {"-f", lavfi, "-i", "testsrc2=s=160x120:r=25:d=1", "-f", lavfi,
                                  "-i", "sine=r=44100:d=1", "-ac", "2", "-c:v", "mpeg4", "-q:v",
                                  "5", "-c:a", "pcm_s16le"}));
    }

    // Start and end are positions in the input; the positions shown count
    // from the start of what is encoded, the length shown is the input's.
    void trimmed_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<double>("length");

        QTest::newRow("start and end")
            << QStringList{"--starttime", "0.25", "--endtime", "0.75"} << 0.5;
        QTest::newRow("end only") << QStringList{"--endtime", "0.6"} << 0.6;
        QTest::newRow("start only") << QStringList{"--starttime", "0.7"} << 0.3;
        QTest::newRow("end beyond the input")
            << QStringList{"--starttime", "0.5", "--endtime", "30"} << 0.5;
        QTest::newRow("twice the frame rate, half the length")
            << QStringList{"--inputfps", "50", "--nosound"} << 0.5;
    }

    void trimmed()
    {
        QFETCH(QStringList, options);
        QFETCH(double, length);
        const EncoderRun r = encode(options);
        QCOMPARE(r.exitCode, 0);

        const Probe p = probe(out());
        QVERIFY2(qAbs(seconds(p.video) - length) <= 0.05,
                 qPrintable(QString::number(seconds(p.video))));
        const QList<double> times = timesShown(r.err);
        QVERIFY2(times.size() >= 2, qPrintable(r.err));
        QCOMPARE(times.first(), 1.0);
        QVERIFY2(qAbs(times.last() - length) <= 0.1, qPrintable(r.err));
    }

    // What the window reads: the first time is the input's length, later
    // times grow; each line starts with its time, and nothing else is said.
    void progressLines()
    {
        const EncoderRun r = encode({});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.startsWith(QLatin1String("  Duration: 0:00:01.00\n")), qPrintable(r.err));
        QVERIFY(r.err.endsWith(QLatin1Char('\n')));

        const QStringList lines = r.err.mid(r.err.indexOf(QLatin1Char('\n')) + 1)
                                      .chopped(1)
                                      .split(QLatin1Char('\r'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 2);
        const QRegularExpression form(QStringLiteral(
            "^      \\d+:\\d\\d:\\d\\d\\.\\d\\d audio: (\\d+)kbps video: (\\d+)kbps$"));
        double last = -1;
        for (const QString &line : lines) {
            QVERIFY2(form.match(line).hasMatch(), qPrintable(line));
            const double t = timesShown(line).first();
            QVERIFY2(t >= last, qPrintable(r.err));
            last = t;
        }
        QCOMPARE(last, 1.0);
        // The bit rates on the last line are those of the file.
        const auto m = form.match(lines.last());
        const Probe p = probe(out());
        const double fileKbps =
            p.format.value(QLatin1String("size")).toString().toDouble() * 8 / 1000;
        const int shown = m.captured(1).toInt() + m.captured(2).toInt();
        QVERIFY2(shown > 0.7 * fileKbps && shown < 1.1 * fileKbps,
                 qPrintable(QStringLiteral("%1 against %2").arg(shown).arg(fileKbps)));
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
        QFile::remove(out());
        QProcess p;
        // A minute of generated picture, far longer than the test waits.
        p.start(QStringLiteral(FFMPEG2THEORA),
                {"--format", "lavfi", "testsrc2=s=160x120:r=25:d=60", "-o", out(), "--nice", "7"});
        QVERIFY(p.waitForStarted());
        QString err;
        QElapsedTimer clock;
        clock.start();
        while (timesShown(err).isEmpty() || timesShown(err).last() < 0.5) {
            QVERIFY2(clock.elapsed() < 20000, qPrintable(err));
            QVERIFY(p.state() == QProcess::Running);
            p.waitForReadyRead(200);
            err += QString::fromLocal8Bit(p.readAllStandardError());
        }
        const QList<qint64> children = childrenOf(p.processId());
        QCOMPARE(children.size(), 1);
        QCOMPARE(statField(children.first(), 16).toInt(), 7); // its niceness

        ::kill(p.processId(), signal);
        QVERIFY(p.waitForFinished(15000));
        if (exitCode >= 0) {
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), exitCode);
        } else {
            QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        }
        QTRY_VERIFY_WITH_TIMEOUT(gone(children.first()), 10000);
        QVERIFY(playable(out()));
        QVERIFY(seconds(probe(out()).format) >= 0.4);
    }
};

QTEST_GUILESS_MAIN(TestEncoderProgress)
#include "tst_encoder_progress.moc"
