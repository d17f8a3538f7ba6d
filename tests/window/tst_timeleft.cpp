// SPDX-License-Identifier: GPL-3.0-or-later
// The time left shown on the progress bar while an encode runs.

#include "testsupport.h"
#include "timeleft.h"

class TestTimeLeft : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void estimate_data();
    void estimate();
    void recentPace_data();
    void recentPace();
    void durationForms_data();
    void durationForms();
    void shownDuringEncodeOnly();
};

void TestTimeLeft::estimate_data()
{
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<int>("firstValue");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<qint64>("left");

    QTest::newRow("too early to tell") << qint64(2000) << 0 << 10 << 100 << qint64(-1);
    QTest::newRow("no movement yet") << qint64(8000) << 10 << 10 << 100 << qint64(-1);
    QTest::newRow("at the end") << qint64(8000) << 0 << 100 << 100 << qint64(-1);
    QTest::newRow("no length known") << qint64(8000) << 0 << 10 << 0 << qint64(-1);
    QTest::newRow("real time") << qint64(10000) << 0 << 10 << 100 << qint64(90);
    QTest::newRow("twice real time") << qint64(10000) << 0 << 20 << 100 << qint64(40);
    QTest::newRow("counted from the first position")
        << qint64(10000) << 50 << 60 << 100 << qint64(40);
    QTest::newRow("rounded up") << qint64(3000) << 0 << 7 << 10 << qint64(2);
    // A 60 s clip encoded in 90 s at a steady pace, at 20 %: 72 s really remain.
    QTest::newRow("steady pace at 20 %") << qint64(18000) << 0 << 12 << 60 << qint64(72);
}

void TestTimeLeft::estimate()
{
    QFETCH(qint64, elapsedMs);
    QFETCH(int, firstValue);
    QFETCH(int, value);
    QFETCH(int, maximum);
    QFETCH(qint64, left);
    QCOMPARE(secondsLeft(elapsedMs, firstValue, value, maximum), left);
    const QString format = progressFormat(elapsedMs, firstValue, value, maximum);
    if (left < 0)
        QCOMPARE(format, QString("%p%"));
    else
        QCOMPARE(format, QString("%p% \u00b7 about %1 left").arg(durationText(left)));
}

// The pace of the last stretch of an encode (a third of it, at least 10 s),
// and the join and check after the last picture as the encoder says.
void TestTimeLeft::recentPace_data()
{
    QTest::addColumn<QList<qint64>>("whenMs");
    QTest::addColumn<QList<double>>("where");
    QTest::addColumn<qint64>("finishingMs"); // -1: not said
    QTest::addColumn<double>("finishing");
    QTest::addColumn<qint64>("atMs");
    QTest::addColumn<qint64>("left");
    using T = QList<qint64>;
    using P = QList<double>;
    QTest::newRow("too early to tell")
        << T{0, 2000} << P{0, 5} << qint64(-1) << 0.0 << qint64(2000) << qint64(-1);
    QTest::newRow("steady pace") << T{0, 5000, 10000} << P{0, 5, 10} << qint64(-1) << 0.0
                                 << qint64(10000) << qint64(90);
    // 60 s of input in the first 30 s, then 15 s in 15 s: 25 s for the last
    // 25, not the 15 s the pace since the start would say.
    QTest::newRow("slower towards the end")
        << T{0, 30000, 45000} << P{0, 60, 75} << qint64(-1) << 0.0 << qint64(45000) << qint64(25);
    // 50 s of input in 40 s, the last third (from 20 s) at 1.5 s a second: 34 s for the
    // last 50, not the 40 s of the pace since the start.
    QTest::newRow("the machine got quieter") << T{0, 20000, 30000, 40000} << P{0, 20, 30, 50}
                                             << qint64(-1) << 0.0 << qint64(40000) << qint64(34);
    QTest::newRow("time since the last position")
        << T{0, 10000} << P{0, 10} << qint64(-1) << 0.0 << qint64(14000) << qint64(86);
    QTest::newRow("at the end, nothing said yet")
        << T{0, 10000} << P{0, 100} << qint64(-1) << 0.0 << qint64(10000) << qint64(-1);
    QTest::newRow("finishing counts down")
        << T{0, 10000} << P{0, 100} << qint64(10000) << 4.5 << qint64(12000) << qint64(3);
    QTest::newRow("finishing longer than said")
        << T{0, 10000} << P{0, 100} << qint64(10000) << 2.0 << qint64(20000) << qint64(1);
}

void TestTimeLeft::recentPace()
{
    QFETCH(QList<qint64>, whenMs);
    QFETCH(QList<double>, where);
    QFETCH(qint64, finishingMs);
    QFETCH(double, finishing);
    QFETCH(qint64, atMs);
    QFETCH(qint64, left);
    TimeLeft estimate;
    for (int i = 0; i < whenMs.size(); ++i)
        estimate.position(whenMs.at(i), where.at(i), 100);
    if (finishingMs >= 0)
        estimate.finishing(finishingMs, finishing);
    QCOMPARE(estimate.secondsLeft(atMs), left);
    const QString said = finishingMs >= 0 ? QString("finishing, about %1 left") : "about %1 left";
    QCOMPARE(estimate.format(atMs),
             left < 0 ? QString("%p%") : "%p% \u00b7 " + said.arg(durationText(left)));
    estimate.reset();
    QCOMPARE(estimate.secondsLeft(atMs), qint64(-1));
}

void TestTimeLeft::durationForms_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("seconds") << qint64(7) << "0:07";
    QTest::newRow("minutes") << qint64(83) << "1:23";
    QTest::newRow("hours") << qint64(3723) << "1:02:03";
    QTest::newRow("many hours") << qint64(36000) << "10:00:00";
}

void TestTimeLeft::durationForms()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(durationText(seconds), text);
}

void TestTimeLeft::shownDuringEncodeOnly()
{
    // Positions move at ten seconds of input per second: 100 s take about 10 s.
    const QString steady =
        "printf '  Duration: 0:01:40.00\\n' >&2\n"
        "for p in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18; do\n"
        "  printf '\\r      0:00:%02d.00 audio: 1kbps' $((p * 5)) >&2; sleep 0.5\n"
        "done\n"
        "sleep 30";
    FakeEncoder fake;
    fake.setBehaviour(steady);
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ui.openFileNameLineEdit->setText("/in.avi");
    ui.openDirectoryLineEdit->setText(fake.dir.path() + "/");
    ui.outputFileNameLineEdit->setText("out.ogg");
    ModalWatcher watcher;

    // A probe shows no time left.
    ui.getDurationpushButton->setEnabled(true);
    ui.getDurationpushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(!ui.getDurationpushButton->isEnabled(), 5000);
    QCOMPARE(ui.progressBar->format(), QString("%p%"));
    QTRY_VERIFY_WITH_TIMEOUT(ui.EncodeToTheorapushButton->isEnabled(), 5000);

    ui.EncodeToTheorapushButton->click();
    QTest::qWait(2000);
    QCOMPARE(ui.progressBar->format(), QString("%p%")); // not yet meaningful
    QTRY_VERIFY_WITH_TIMEOUT(ui.progressBar->format().contains("left"), 6000);
    const QString text = ui.progressBar->text();
    QVERIFY2(QRegularExpression("^\\d+% \u00b7 about 0:\\d\\d left$").match(text).hasMatch(),
             qPrintable(text));
    // About ten seconds of encoding at most, whatever the moment of the check.
    const int left = text.section(':', 1).left(2).toInt();
    QVERIFY2(left >= 1 && left <= 12, qPrintable(text));

    ui.CancelpushButton->click();
    QCOMPARE(ui.progressBar->format(), QString("Stopping\u2026"));
    QTRY_VERIFY_WITH_TIMEOUT(ui.EncodeToTheorapushButton->isEnabled(), 5000);
    QVERIFY(ui.progressBar->format().startsWith("Cancelled"));
    QCOMPARE(watcher.boxes.size(), 0);
}

QTEST_MAIN(TestTimeLeft)
#include "tst_timeleft.moc"
