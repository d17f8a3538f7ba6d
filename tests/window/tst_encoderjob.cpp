// SPDX-License-Identifier: GPL-3.0-or-later
// The run of the encoder without a window: what the job reads, how it stops
// an encoder and how it tells the end of each kind of run.

#include <QElapsedTimer>

#include "commandline.h"
#include "encoderjob.h"
#include "testsupport.h"

using Outcome = EncoderJob::Outcome;

class TestEncoderJob : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
    void cancelOverAnUntouchedFile();
};

void TestEncoderJob::run_data()
{
    QTest::addColumn<bool>("probe");
    QTest::addColumn<QString>("behaviour");
    QTest::addColumn<bool>("writesOutput");
    QTest::addColumn<bool>("stopAtTime"); // stop at the first time read
    QTest::addColumn<Outcome>("outcome");
    // "time=seconds", "phrase|line" and "length of NAME=seconds", in order
    QTest::addColumn<QStringList>("read");
    QTest::addColumn<bool>("fileLeft");

    const QString wait = "; exec sleep 5";
    QTest::newRow("exit 0 with a file")
        << false << "printf '0:00:07.80\\n' >&2" << true << false << Outcome::Encoded
        << QStringList{"position 7.8", "0:00:07=7.8"} << true;
    QTest::newRow("exit 0 without a file")
        << false << "exit 0" << false << false << Outcome::NoOutput << QStringList{} << false;
    QTest::newRow("exit 0 with an empty file") << false << ": > \"$out\"" << false << false
                                               << Outcome::EmptyOutput << QStringList{} << true;
    QTest::newRow("each phrase once, with its line")
        << false
        << "printf 'in.avi: Unable to open file: gone\\n' >&2; sleep 0.1\n"
           "printf 'x: Unable to open file\\n' >&2; sleep 0.1\n"
           "printf '\\r  Floating point exception (core dumped)\\r0:00:01\\n' >&2; exit 1"
        << true << false << Outcome::Failed
        << QStringList{"Unable to open file|in.avi: Unable to open file: gone",
                       "Floating point exception|Floating point exception (core dumped)",
                       "position 1", "0:00:01=1"}
        << true;
    QTest::newRow("cancelled, a partial file remains")
        << false << "printf '  Duration: 0:01:00.00\\n' >&2" + wait << true << true
        << Outcome::Cancelled << QStringList{"length of in.avi=60", "0:01:00=60"} << true;
    QTest::newRow("terminate ignored: killed after the grace time")
        << false << "trap '' TERM; printf '0:00:02\\n' >&2; while :; do sleep 0.05; done" << true
        << true << Outcome::Cancelled << QStringList{"position 2", "0:00:02=2"} << true;
    QTest::newRow("probe reads a length")
        << true << "printf '  Duration: 1:02:03.50\\n' >&2" + wait << true << true
        << Outcome::Measured << QStringList{"length of in.avi=3723.5", "1:02:03=3723.5"} << false;
    QTest::newRow("the line of a phrase in UTF-8")
        << false << "printf 'Gr\\303\\274\\303\\237e.avi: Unable to open file\\n' >&2; exit 1"
        << true << false << Outcome::Failed
        << QStringList{"Unable to open file|Gr\u00fc\u00dfe.avi: Unable to open file"} << true;
    QTest::newRow("standard output thrown away")
        << false << "head -c 30000000 /dev/zero; exit 0" << true << false << Outcome::Encoded
        << QStringList{} << true;
    QTest::newRow("probe without a time")
        << true << "printf 'Invalid data found\\n' >&2; exit 1" << true << false
        << Outcome::NoLength << QStringList{} << false;
}

void TestEncoderJob::run()
{
    QFETCH(bool, probe);
    QFETCH(QString, behaviour);
    QFETCH(bool, writesOutput);
    QFETCH(bool, stopAtTime);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, read);
    QFETCH(bool, fileLeft);

    FakeEncoder fake;
    fake.setBehaviour(behaviour, writesOutput);
    QProcess process;
    EncoderJob job(process);
    const int graceMs = 300;
    job.setStopGraceMs(graceMs);

    QStringList seen;
    QList<Outcome> ends;
    bool stoppingShown = false;
    QElapsedTimer sinceStop;
    connect(&job, &EncoderJob::timeRead, this, [&](const QString &time, const QString &seconds) {
        seen << time + "=" + seconds;
        if (stopAtTime && !sinceStop.isValid()) {
            job.stop();
            sinceStop.start();
            stoppingShown = job.stopping();
        }
    });
    connect(&job, &EncoderJob::phraseRead, this,
            [&](const QString &phrase, const QString &line) { seen << phrase + "|" + line; });
    connect(&job, &EncoderJob::lengthMeasured, this,
            [&](const QString &input, const QString &, const QString &seconds) {
                seen << "length of " + QFileInfo(input).fileName() + "=" + seconds;
            });
    connect(&job, &EncoderJob::positionRead, this,
            [&](double seconds) { seen << "position " + QString::number(seconds); });
    connect(&job, &EncoderJob::ended, this, [&](EncoderJob::Kind kind, Outcome how) {
        QCOMPARE(kind, probe ? EncoderJob::Kind::Probe : EncoderJob::Kind::Encode);
        ends << how;
    });

    const QString output = fake.path("out.ogg");
    const QString input = fake.path("in.avi");
    const bool started =
        probe ? job.startProbe("ffmpeg2theora", input)
              : job.startEncode(baseCommand("ffmpeg2theora", input, output), output, input);
    QVERIFY(started);
    QVERIFY(job.running());
    QTRY_COMPARE_WITH_TIMEOUT(ends.size(), 1, 10000);
    QCOMPARE(ends[0], outcome);
    QCOMPARE(seen, read);
    QVERIFY(!job.running());
    QVERIFY(process.readAllStandardOutput().isEmpty()); // nothing kept of it
    QCOMPARE(stoppingShown, stopAtTime);
    QCOMPARE(QFileInfo(probe ? fake.arguments().value(2) : output).isFile(), fileLeft);
    if (probe) // the throw-away directory went with the probe
        QVERIFY(!QFileInfo::exists(QFileInfo(fake.arguments().value(2)).path()));
    else if (outcome == Outcome::Cancelled)
        QCOMPARE(job.partialFileLeft(), fileLeft);
    if (behaviour.startsWith("trap"))
        QVERIFY(sinceStop.elapsed() >= graceMs);
    if (outcome == Outcome::Failed)
        QCOMPARE(job.exitCode(), 1);
}

// A cancelled encode over an existing file that the encoder never wrote to
// left the user's file as it was: no partial file is claimed.
void TestEncoderJob::cancelOverAnUntouchedFile()
{
    FakeEncoder fake;
    fake.setBehaviour("printf '0:00:01\\n' >&2; exec sleep 5", false);
    const QString output = fake.path("out.ogg");
    QFile old(output);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("mine") == 4);
    old.close();
    QProcess process;
    EncoderJob job(process);
    bool ended = false;
    connect(&job, &EncoderJob::timeRead, &job, &EncoderJob::stop);
    connect(&job, &EncoderJob::ended, this, [&] { ended = true; });
    QVERIFY(job.startEncode(baseCommand("ffmpeg2theora", fake.path("in.avi"), output), output));
    QTRY_VERIFY_WITH_TIMEOUT(ended, 10000);
    QVERIFY(!job.partialFileLeft());
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("mine"));
}

QTEST_GUILESS_MAIN(TestEncoderJob)
#include "tst_encoderjob.moc"
