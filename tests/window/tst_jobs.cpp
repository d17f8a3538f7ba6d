// SPDX-License-Identifier: GPL-3.0-or-later
// Running the encoder from the window: the command it receives, the progress
// bar, cancelling, and how every kind of failure reaches the user.

#include <signal.h>

#include "spoken.h"
#include "testsupport.h"

namespace
{

const int jobTimeoutMs = 10000;

void setPaths(Velkoran &w, const QString &input, const QString &dir, const QString &name)
{
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ui.openFileNameLineEdit->setText(input);
    ui.openDirectoryLineEdit->setText(dir);
    ui.outputFileNameLineEdit->setText(name);
}

bool idle(Velkoran &w)
{
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    return ui.EncodeToTheorapushButton->isEnabled() && !ui.CancelpushButton->isEnabled() &&
           VelkoranTestAccess::process(w).state() == QProcess::NotRunning;
}

bool encoding(Velkoran &w)
{
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    return !ui.EncodeToTheorapushButton->isEnabled() && ui.CancelpushButton->isEnabled();
}

// Shell that prints the pieces of error output one at a time, creates the
// file "printed", then waits until the test creates the file "go", then
// exits with EXITCODE.
QString scripted(const QStringList &pieces, int exitCode = 0)
{
    QString shell;
    for (const QString &piece : pieces)
        shell += "printf '" + piece + "' >&2; sleep 0.15\n";
    shell += ": > \"$d/printed\"\n";
    shell += "while [ ! -e \"$d/go\" ]; do sleep 0.05; done\n";
    shell += QString("exit %1\n").arg(exitCode);
    return shell;
}

void release(FakeEncoder &fake)
{
    QFile go(fake.path("go"));
    QVERIFY(go.open(QIODevice::WriteOnly));
}

bool processGone(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) != 0;
}

} // namespace

class TestJobs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void receivedArguments_data();
    void receivedArguments();
    void progressFromPieces_data();
    void progressFromPieces();
    void secondJobStartsAfresh();
    void cancelStopsTheEncoder_data();
    void cancelStopsTheEncoder();
    void cancelledEncodeResumes();
    void encoderCannotStart_data();
    void encoderCannotStart();
    void endOfJobReported_data();
    void endOfJobReported();
    void outputThatIsTheInputIsRefused();
    void existingOutputNeedsConsent_data();
    void existingOutputNeedsConsent();
    void closingStopsTheEncoder_data();
    void closingStopsTheEncoder();
};

void TestJobs::receivedArguments_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("commandStart");
    QTest::addColumn<QStringList>("argsStart");
    QTest::addColumn<QString>("refusal"); // what the box says when nothing starts

    QTest::newRow("plain paths")
        << "/home/user/video/holiday.avi"
        << "/home/user/video/"
        << "holiday.ogg"
        << "ffmpeg2theora /home/user/video/holiday.avi -o /home/user/video/holiday.ogg "
        << QStringList{"/home/user/video/holiday.avi", "-o", "/home/user/video/holiday.ogg"}
        << QString();
    QTest::newRow("blanks stay in one argument")
        << "/home/u/My Videos/a b.avi"
        << "/home/u/My Videos/"
        << "a b.ogg"
        << "ffmpeg2theora \"/home/u/My Videos/a b.avi\" -o \"/home/u/My Videos/a b.ogg\" "
        << QStringList{"/home/u/My Videos/a b.avi", "-o", "/home/u/My Videos/a b.ogg"} << QString();
    QTest::newRow("quote in a name")
        << "/v/say \"hi\".avi"
        << "/v/"
        << "say.ogg"
        << "ffmpeg2theora \"/v/say \"\"\"hi\"\"\".avi\" -o /v/say.ogg "
        << QStringList{"/v/say \"hi\".avi", "-o", "/v/say.ogg"} << QString();
    QTest::newRow("empty input: -o comes first")
        << ""
        << "/no/such/dir/"
        << "x.ogg"
        << "ffmpeg2theora  -o /no/such/dir/x.ogg " << QStringList{"-o", "/no/such/dir/x.ogg"}
        << QString();
    QTest::newRow("directory without slash gets one")
        << "/a.avi"
        << "/tmp/out"
        << "clip.ogg"
        << "ffmpeg2theora /a.avi -o /tmp/out/clip.ogg "
        << QStringList{"/a.avi", "-o", "/tmp/out/clip.ogg"} << QString();
    QTest::newRow("input beginning with a dash stays a path")
        << "-x.mp4"
        << "/no/such/dir/"
        << "x.ogg"
        << "ffmpeg2theora ./-x.mp4 -o /no/such/dir/x.ogg "
        << QStringList{"./-x.mp4", "-o", "/no/such/dir/x.ogg"} << QString();
    QTest::newRow("empty directory is refused")
        << "/a.avi"
        << ""
        << "clip.ogg"
        << "ffmpeg2theora /a.avi -o /clip.ogg " << QStringList{} << "directory";
    QTest::newRow("empty name is refused")
        << "/a.avi"
        << "/tmp/"
        << ""
        << "ffmpeg2theora /a.avi -o /tmp/ " << QStringList{} << "name";
}

void TestJobs::receivedArguments()
{
    QFETCH(QString, input);
    QFETCH(QString, dir);
    QFETCH(QString, name);
    QFETCH(QString, commandStart);
    QFETCH(QStringList, argsStart);
    QFETCH(QString, refusal);

    FakeEncoder fake;
    Velkoran w;
    setPaths(w, input, dir, name);
    ModalWatcher watcher;
    VelkoranTestAccess::ui(w).EncodeToTheorapushButton->click();
    if (!refusal.isEmpty()) {
        QVERIFY(idle(w));
        QTest::qWait(100);
        QCOMPARE(fake.runs(), 0);
        QCOMPARE(watcher.boxes.size(), 1);
        QVERIFY2(watcher.boxes[0].text.contains(refusal), qPrintable(watcher.boxes[0].text));
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(fake.runs(), 1, jobTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);

    const QStringList args = fake.arguments();
    QCOMPARE(args.mid(0, argsStart.size()), argsStart);
    QCOMPARE(args.mid(argsStart.size()), QStringList({"--audioquality", "6", "--videoquality", "3",
                                                      "--sharpness", "2", "--keyint", "64"}));
    QVERIFY2(VelkoranTestAccess::baseCommand(w) + " " == commandStart,
             qPrintable(VelkoranTestAccess::baseCommand(w)));
    // An output directory that does not exist here gets no file, which is said; nothing else.
    for (const ModalWatcher::Box &box : watcher.boxes)
        QVERIFY2(box.text.contains("wrote no file"), qPrintable(box.text));
    // Pressing again with the same form gives the encoder the same command.
    QFile::remove(QDir(dir).filePath(name)); // no question of replacing it
    VelkoranTestAccess::ui(w).EncodeToTheorapushButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(fake.runs(), 2, jobTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QCOMPARE(fake.arguments(1), fake.arguments(0));
}

void TestJobs::progressFromPieces_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<int>("trimLength"); // 0: no trim range
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("realDuration");
    QTest::addColumn<int>("boxes");

    QTest::newRow("length first, then position")
        << QStringList{"  Duration: 00:01:23.45, start: 0\\n", "\\r      0:00:10.00 audio: 62kbps"}
        << 0 << 83 << 10 << 83 << 0;
    QTest::newRow("length alone moves no value")
        << QStringList{"  Duration: 0:02:00.00\\n"} << 0 << 120 << 0 << 120 << 0;
    QTest::newRow("a zero time is no length")
        << QStringList{"0:00:00.00\\n", "0:00:20.00\\n"} << 0 << 20 << 0 << 20 << 0;
    QTest::newRow("first time of a piece only")
        << QStringList{"0:01:00 0:00:30\\n", "0:00:10 0:00:50\\n"} << 0 << 60 << 10 << 60 << 0;
    QTest::newRow("position beyond the length raises it")
        << QStringList{"0:01:00\\n", "0:01:30\\n"} << 0 << 90 << 90 << 90 << 0;
    QTest::newRow("error and time in one piece")
        << QStringList{"Unable to open file x.avi 0:01:00\\n"} << 0 << 60 << 0 << 60 << 1;
    QTest::newRow("nothing after a zero byte")
        << QStringList{"0:01:00\\n", "\\000 0:00:30 Unable to open file"} << 0 << 60 << 0 << 60
        << 0;
    QTest::newRow("ten hours and more")
        << QStringList{"  Duration: 12:34:56.00\\n", "10:00:00.00\\n"} << 0 << 45296 << 36000
        << 45296 << 0;
    QTest::newRow("trim range sets the maximum")
        << QStringList{"  Duration: 0:05:00.00\\n", "0:00:40.00\\n"} << 120 << 120 << 40 << 300
        << 0;
    QTest::newRow("time cut between pieces is lost")
        << QStringList{"0:01:", "00\\n"} << 0 << 100 << 0 << 0 << 0;
    QTest::newRow("phrase in another case is no error")
        << QStringList{"unable to open file\\n"} << 0 << 100 << 0 << 0 << 0;
    QTest::newRow("length unknown: a busy bar with the position")
        << QStringList{"  Duration: N/A\\n", "\\r      0:01:23.00 audio: 62kbps"} << 0 << 0 << 0
        << 0 << 0;
}

void TestJobs::progressFromPieces()
{
    QFETCH(QStringList, pieces);
    QFETCH(int, trimLength);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(int, realDuration);
    QFETCH(int, boxes);

    FakeEncoder fake;
    fake.setBehaviour(scripted(pieces));
    Velkoran w;
    setPaths(w, "/in.avi", fake.dir.path() + "/", "out.ogg");
    QProgressBar *bar = VelkoranTestAccess::ui(w).progressBar;
    ModalWatcher watcher;
    if (trimLength) {
        // What a probed input carries into the encode.
        Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
        ui.endTimetimeEdit->setMaximumTime(QTime(0, 5));
        ui.endTimetimeEdit->setTime(QTime(0, 3));
        ui.startTimetimeEdit->setTime(QTime(0, 1));
        ui.startTimetimeEdit->setEnabled(true);
    }
    VelkoranTestAccess::ui(w).EncodeToTheorapushButton->click();
    QVERIFY(encoding(w));
    QCOMPARE(VelkoranTestAccess::customEndTime(w), trimLength);

    QTRY_COMPARE_WITH_TIMEOUT(fake.runs(), 1, jobTimeoutMs);
    // Every piece is written once "printed" is there; the window may still
    // be reading them, however busy the machine is.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(fake.path("printed")), jobTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(bar->maximum(), maximum, jobTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(bar->value(), value, jobTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(VelkoranTestAccess::realDuration(w), realDuration, jobTimeoutMs);
    if (maximum == 0) // a screen reader hears what the bar shows
        QCOMPARE(bar->accessibleDescription(), QString("0:01:23 encoded"));
    QTRY_COMPARE_WITH_TIMEOUT(watcher.boxes.size(), boxes, jobTimeoutMs);
    if (boxes) {
        QCOMPARE(watcher.boxes[0].title, QString("Velkoran Theora Encoder"));
        QCOMPARE(watcher.boxes[0].icon, QMessageBox::Critical);
        QVERIFY(watcher.boxes[0].text.contains("\"Unable to open file\"\n\nUnable to open file"));
    }

    // A job that ends well ends with a full bar.
    release(fake);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(watcher.boxes.size(), boxes);
}

void TestJobs::secondJobStartsAfresh()
{
    FakeEncoder fake;
    Velkoran w;
    setPaths(w, "/in.avi", fake.dir.path() + "/", "out.ogg");
    QProgressBar *bar = VelkoranTestAccess::ui(w).progressBar;
    ModalWatcher watcher;

    fake.setBehaviour("printf '  Duration: 0:01:00.00\\n' >&2; sleep 0.1; printf '0:00:30\\n' >&2");
    VelkoranTestAccess::ui(w).EncodeToTheorapushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QCOMPARE(bar->value(), 60);

    // The next job shows nothing of the last one, and its own length is its maximum.
    fake.setBehaviour(scripted({"  Duration: 0:00:50.00\\n", "0:00:40\\n"}));
    VelkoranTestAccess::ui(w).EncodeToTheorapushButton->click();
    QCOMPARE(bar->value(), 0);
    QCOMPARE(VelkoranTestAccess::realDuration(w), 0);
    QTRY_COMPARE_WITH_TIMEOUT(bar->value(), 40, jobTimeoutMs);
    QCOMPARE(bar->maximum(), 50);
    release(fake);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QCOMPARE(fake.runs(), 2);
    QCOMPARE(watcher.boxes.size(), 1); // replacing the first job's file
    QCOMPARE(watcher.boxes[0].icon, QMessageBox::Question);
}

void TestJobs::cancelStopsTheEncoder_data()
{
    QTest::addColumn<bool>("trimmed");
    QTest::addColumn<bool>("probe");
    QTest::addColumn<bool>("writesOutput");
    QTest::addColumn<QString>("after"); // what the bar says then

    const QString partial = "Cancelled \u00b7 a partial file remains";
    QTest::newRow("whole input") << false << false << true << partial;
    QTest::newRow("trim range") << true << false << true << partial;
    QTest::newRow("nothing written yet") << false << false << false << "Cancelled";
    QTest::newRow("probe") << false << true << false << "Cancelled";
}

void TestJobs::cancelStopsTheEncoder()
{
    QFETCH(bool, trimmed);
    QFETCH(bool, probe);
    QFETCH(bool, writesOutput);
    QFETCH(QString, after);
    FakeEncoder fake;
    const QStringList pieces =
        probe ? QStringList{"Input #0\\n"} : QStringList{"  Duration: 0:01:00.00\\n", "0:00:10\\n"};
    fake.setBehaviour(scripted(pieces), writesOutput);
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    setPaths(w, "/in.avi", fake.dir.path() + "/", "out.ogg");
    if (trimmed) {
        ui.endTimetimeEdit->setTime(QTime(0, 0, 45));
        ui.startTimetimeEdit->setEnabled(true);
    }
    ModalWatcher watcher;
    if (probe) {
        ui.getDurationpushButton->setEnabled(true);
        ui.getDurationpushButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(fake.runs(), 1, jobTimeoutMs);
        QCOMPARE(ui.progressBar->maximum(), 0); // busy
        QVERIFY(ui.CancelpushButton->isEnabled());
    } else {
        ui.EncodeToTheorapushButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(VelkoranTestAccess::realDuration(w), 60, jobTimeoutMs);
        QVERIFY(encoding(w));
    }
    const qint64 pid = VelkoranTestAccess::process(w).processId();

    ui.CancelpushButton->click();
    QCOMPARE(ui.progressBar->value(), 0);
    QCOMPARE(ui.progressBar->maximum(), 100);
    QCOMPARE(VelkoranTestAccess::realDuration(w), 0);
    QVERIFY(VelkoranTestAccess::k(w));
    QCOMPARE(ui.progressBar->format(), QString("Stopping\u2026"));
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QVERIFY(processGone(pid));
    // A cancelled job is no failure.
    QCOMPARE(watcher.boxes.size(), 0);
    QCOMPARE(ui.progressBar->value(), 0);
    QCOMPARE(ui.progressBar->format(), after);
    QVERIFY(!VelkoranTestAccess::getDuration(w));
    QVERIFY(!ui.startTimetimeEdit->isEnabled() || trimmed);
}

void TestJobs::cancelledEncodeResumes()
{
    FakeEncoder fake;
    fake.setBehaviour(
        "c=\"$d/.out.ogg.chunks\"; trap 'mkdir \"$c\"; : > \"$c/manifest\"; printf "
        "\"ffmpeg2theora: stopped; 7 of 12 chunks (58 %%) kept in %s; the same command "
        "resumes\\n\" \"$c\" >&2; exit 143' TERM\n" +
        scripted({"  Duration: 0:01:00.00\\n", "0:00:40\\n"}));
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    setPaths(w, "/in.avi", fake.dir.path() + "/", "out.ogg");
    ModalWatcher watcher;
    ui.EncodeToTheorapushButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(ui.progressBar->value(), 40, jobTimeoutMs);
    ui.CancelpushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QCOMPARE(ui.progressBar->text(), QString("Cancelled \u00b7 58 % kept, Encode resumes it"));
    QCOMPARE(ui.progressBar->value(), 58);

    // Encode again: the file is replaced, the encode resumed from the kept share.
    fake.setBehaviour(
        scripted({"  Duration: 0:01:00.00\\nffmpeg2theora: resuming: 7 of 12 chunks already "
                  "encoded (58 %%)\\n"}));
    ui.EncodeToTheorapushButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(ui.progressBar->value(), 34, jobTimeoutMs);
    QCOMPARE(watcher.boxes.size(), 2);
    QCOMPARE(watcher.boxes[1].text, QString("An earlier encode of this file stopped at 58 %."));
    release(fake);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QVERIFY(!fake.arguments().contains("--restart"));

    // Start over: the kept chunks are not used.
    QFile::remove(fake.path("out.ogg"));
    watcher.answer = QMessageBox::No;
    ui.EncodeToTheorapushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QCOMPARE(fake.arguments(2).last(), QString("--restart"));
}

void TestJobs::encoderCannotStart_data()
{
    QTest::addColumn<bool>("present");
    QTest::newRow("not on the search path") << false;
    QTest::newRow("not executable") << true;
}

void TestJobs::encoderCannotStart()
{
    QFETCH(bool, present);
    QTemporaryDir dir;
    if (present) {
        QFile f(dir.filePath("ffmpeg2theora"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()));
    Velkoran w;
    setPaths(w, "/in.avi", dir.path() + "/", "out.ogg");
    ModalWatcher watcher;
    VelkoranTestAccess::ui(w).EncodeToTheorapushButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.boxes.size(), 1, jobTimeoutMs);
    qputenv("PATH", oldPath);
    QVERIFY(idle(w));
    QCOMPARE(watcher.boxes[0].title, QString("Velkoran Theora Encoder"));
    QVERIFY(watcher.boxes[0].text.contains("ffmpeg2theora"));
    QCOMPARE(watcher.boxes[0].icon, QMessageBox::Critical);
}

void TestJobs::endOfJobReported_data()
{
    QTest::addColumn<QString>("behaviour");
    QTest::addColumn<QStringList>("boxTexts"); // each box must contain its text
    QTest::addColumn<bool>("fullBar");
    QTest::addColumn<int>("trimLength"); // 0: no trim range

    QTest::newRow("success fills the bar")
        << "printf '  Duration: 0:00:50\\n' >&2; sleep 0.1; printf '0:00:20\\n' >&2; exit 0"
        << QStringList{} << true << 0;
    QTest::newRow("success without any time") << "exit 0" << QStringList{} << true << 0;
    QTest::newRow("success with an input that ended early")
        << "printf '  Duration: 0:00:20.00\\nffmpeg2theora: warning: the input ended early, at "
           "0:00:01.36 of 0:00:20.00\\n' >&2; exit 0"
        << QStringList{} << true << 0;
    QTest::newRow("non-zero exit with unknown output")
        << "printf 'first line\\nsomething broke\\n' >&2; exit 3"
        << QStringList{"3", "something broke"} << false << 0;
    QTest::newRow("crash") << "printf 'going down\\n' >&2; kill -SEGV $$"
                           << QStringList{"going down"} << false << 0;
    QTest::newRow("success without a file")
        << "rm -f \"$out\"; exit 0" << QStringList{"wrote no file", "out.ogg"} << false << 0;
    QTest::newRow("phrase printed twice: one box, with the encoder's line")
        << "printf 'a.avi: Unable to open file\\n' >&2; sleep 0.2\n"
           "printf 'a.avi: Unable to open file\\n' >&2; exit 1"
        << QStringList{"\"Unable to open file\"\n\na.avi: Unable to open file"} << false << 0;
    QTest::newRow("known phrase is reported once")
        << "printf 'option requires an argument -- o\\n' >&2; exit 1"
        << QStringList{"\"option requires an argument\""} << false << 0;
    QTest::newRow("the last lines quoted are not progress lines")
        << "for i in 1 2 3 4; do printf '0:00:00.4%s audio: 22kbps video: 300kbps\\r' $i >&2; "
           "done; printf 'out.ogg: No space left on device\\n' >&2; exit 1"
        << QStringList{"exit code 1.\n\nout.ogg: No space left on device"} << false << 0;
    QTest::newRow("the last lines quoted are not the finishing line")
        << "printf 'ffmpeg2theora: finishing: joining and checking 410 MB, about 3.4 s\\n"
           "ffmpeg2theora: cannot write out.ogg\\n' >&2; exit 1"
        << QStringList{"exit code 1.\n\nffmpeg2theora: cannot write out.ogg"} << false << 0;
    QTest::newRow("failed trimmed encode shows how far it got")
        << "printf '  Duration: 0:05:00\\n' >&2; sleep 0.1; printf '0:00:30\\n' >&2; exit 1"
        << QStringList{"exit code 1"} << false << 120;
}

void TestJobs::endOfJobReported()
{
    QFETCH(QString, behaviour);
    QFETCH(QStringList, boxTexts);
    QFETCH(bool, fullBar);
    QFETCH(int, trimLength);
    // How far it got and how it ended: the bar's last words.
    const QString ended = behaviour.contains("ended early")
                              ? QString(" \u00b7 the input ended at 0:01 of 0:20")
                              : QString();
    const QString barText = fullBar      ? "Done \u00b7 out.ogg" + ended
                            : trimLength ? "25% \u00b7 Failed"
                                         : "0% \u00b7 Failed";

    FakeEncoder fake;
    fake.setBehaviour(behaviour);
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    setPaths(w, "/in.avi", fake.dir.path() + "/", "out.ogg");
    if (trimLength) {
        ui.endTimetimeEdit->setMaximumTime(QTime(0, 5));
        ui.endTimetimeEdit->setTime(QTime(0, 0).addSecs(trimLength));
        ui.startTimetimeEdit->setEnabled(true);
    }
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    ui.EncodeToTheorapushButton->setFocus();
    ModalWatcher watcher;
    const Spoken *spoken = w.findChild<Spoken *>();
    QVERIFY(spoken);
    ui.EncodeToTheorapushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QCOMPARE(ui.progressBar->text(), barText);
    QCOMPARE(ui.progressBar->accessibleDescription(), barText);
    // The end is read out once, in words, and nothing twice in a row.
    const QString heardEnd = QString(barText).replace(QStringLiteral(" \u00b7 "), ", ");
    QTRY_COMPARE(spoken->history().count(heardEnd), 1);
    const QStringList said = spoken->history();
    QCOMPARE(said.last(), heardEnd);
    for (int i = 1; i < said.size(); ++i)
        QVERIFY2(said[i] != said[i - 1], qPrintable(said.join(" / ")));
    QCOMPARE(ui.EncodeToTheorapushButton->accessibleDescription(), heardEnd);
    // The keyboard is back on the button it pressed.
    QCOMPARE(w.focusWidget(), ui.EncodeToTheorapushButton);
    QTest::qWait(100);
    QCOMPARE(watcher.boxes.size(), boxTexts.isEmpty() ? 0 : 1);
    for (const QString &text : boxTexts)
        QVERIFY2(watcher.boxes[0].text.contains(text), qPrintable(watcher.boxes[0].text));
    QVERIFY(watcher.boxes.isEmpty() || !watcher.boxes[0].text.contains("kbps"));
    QProgressBar *bar = VelkoranTestAccess::ui(w).progressBar;
    if (fullBar) {
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
    }
}

void TestJobs::outputThatIsTheInputIsRefused()
{
    FakeEncoder fake;
    QFile input(fake.path("clip.ogg"));
    QVERIFY(input.open(QIODevice::WriteOnly));
    input.write("precious");
    input.close();

    Velkoran w;
    w.chooseInputFile(fake.path("clip.ogg")); // the output becomes the input itself
    ModalWatcher watcher;
    VelkoranTestAccess::ui(w).EncodeToTheorapushButton->click();
    QCOMPARE(watcher.boxes.size(), 1);
    QCOMPARE(watcher.boxes[0].icon, QMessageBox::Critical);
    QVERIFY(idle(w));
    QTest::qWait(200);
    QCOMPARE(fake.runs(), 0);
    QVERIFY(input.open(QIODevice::ReadOnly));
    QCOMPARE(input.readAll(), QByteArray("precious"));
}

void TestJobs::existingOutputNeedsConsent_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("keep the file") << false;
    QTest::newRow("replace it") << true;
}

void TestJobs::existingOutputNeedsConsent()
{
    QFETCH(bool, yes);
    FakeEncoder fake;
    QFile output(fake.path("out.ogg"));
    QVERIFY(output.open(QIODevice::WriteOnly));
    output.close();

    Velkoran w;
    setPaths(w, "/in.avi", fake.dir.path() + "/", "out.ogg");
    ModalWatcher watcher(yes ? QMessageBox::Yes : QMessageBox::No);
    VelkoranTestAccess::ui(w).EncodeToTheorapushButton->click();
    QCOMPARE(watcher.boxes.size(), 1);
    QCOMPARE(watcher.boxes[0].icon, QMessageBox::Question);
    QVERIFY(watcher.boxes[0].text.contains(fake.path("out.ogg")));
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
    QCOMPARE(fake.runs(), yes ? 1 : 0);
}

void TestJobs::closingStopsTheEncoder_data()
{
    QTest::addColumn<bool>("stopIt");
    QTest::addColumn<bool>("ignoresTerm");
    QTest::newRow("keep encoding") << false << false;
    QTest::newRow("stop and quit") << true << false;
    QTest::newRow("stop an encoder that ignores the request") << true << true;
}

void TestJobs::closingStopsTheEncoder()
{
    QFETCH(bool, stopIt);
    QFETCH(bool, ignoresTerm);
    FakeEncoder fake;
    fake.setBehaviour(QString(ignoresTerm ? "trap '' TERM\n" : "") +
                      "printf '  Duration: 0:01:00\\n' >&2\n"
                      "while [ ! -e \"$d/go\" ]; do sleep 0.05; done");
    Velkoran w;
    setPaths(w, "/in.avi", fake.dir.path() + "/", "out.ogg");
    VelkoranTestAccess::ui(w).EncodeToTheorapushButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(VelkoranTestAccess::realDuration(w), 60, jobTimeoutMs);
    const qint64 pid = VelkoranTestAccess::process(w).processId();

    ModalWatcher watcher(stopIt ? QMessageBox::Yes : QMessageBox::No);
    QCOMPARE(w.close(), stopIt);
    QCOMPARE(watcher.boxes.size(), 1);
    QCOMPARE(watcher.boxes[0].icon, QMessageBox::Question);
    QVERIFY(watcher.boxes[0].text.contains("finished chunks is kept"));
    if (!stopIt) {
        QVERIFY(w.isVisible());
        QVERIFY(encoding(w));
        release(fake);
        QTRY_VERIFY_WITH_TIMEOUT(idle(w), jobTimeoutMs);
        return;
    }
    QCOMPARE(VelkoranTestAccess::process(w).state(), QProcess::NotRunning);
    QVERIFY(processGone(pid));
    QCOMPARE(watcher.boxes.size(), 1); // no report of the stopped job
}

QTEST_MAIN(TestJobs)
#include "tst_jobs.moc"
