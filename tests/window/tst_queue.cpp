// SPDX-License-Identifier: GPL-3.0-or-later
// Several input files in one go: where each goes, what is refused, and the window running them.

#include <QMimeData>
#include <QUrl>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "testsupport.h"

class TestQueue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void outputsAndClashes_data();
    void outputsAndClashes();
    void timeLeft();
    void queueRuns_data();
    void queueRuns();
    void questionsBeforeEncode_data();
    void questionsBeforeEncode();
};

void TestQueue::outputsAndClashes_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QStringList>("outputs");
    QTest::addColumn<QString>("clash"); // a part of the refusal, or empty

    QTest::newRow("one file takes the name field")
        << QStringList{"/v/a.mp4"} << "/out/" << QStringList{"/out/mine.ogg"} << "";
    QTest::newRow("several take their own names") << QStringList{"/v/a.mp4", "/w/b.mkv"} << "/out"
                                                  << QStringList{"/out/a.ogg", "/out/b.ogg"} << "";
    QTest::newRow("only the last extension goes")
        << QStringList{"/v/show.1.mp4", "/v/show.2.mp4"} << "/v/"
        << QStringList{"/v/show.1.ogg", "/v/show.2.ogg"} << "";
    QTest::newRow("one name, two extensions")
        << QStringList{"/v/a.mp4", "/v/a.mkv"} << "/v/" << QStringList{"/v/a.ogg", "/v/a.ogg"}
        << "/v/a.mp4 and /v/a.mkv would both be encoded to /v/a.ogg";
    QTest::newRow("an input that an encode writes")
        << QStringList{"/v/a.mp4", "/v/../v/a.ogg"} << "/v/" << QStringList{"/v/a.ogg", "/v/a.ogg"}
        << "The encode of a.mp4 would replace /v/../v/a.ogg, which is in the queue too.";
}

void TestQueue::outputsAndClashes()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, dir);
    QFETCH(QStringList, outputs);
    QFETCH(QString, clash);
    EncodeQueue queue;
    queue.plan(inputs, dir, "mine.ogg");
    QStringList planned;
    for (const EncodeQueue::Entry &e : queue.entries())
        planned << e.output;
    QCOMPARE(planned, outputs);
    QVERIFY2(clash.isEmpty() ? queue.clash().isEmpty() : queue.clash().contains(clash),
             qPrintable(queue.clash()));
}

// The time left covers the whole queue once a file has given a pace.
void TestQueue::timeLeft()
{
    EncodeQueue queue; // three inputs of one size: none exists, so each counts alike
    queue.plan({"/none/a.mp4", "/none/b.mp4", "/none/c.mp4"}, "/o/");
    queue.start();
    queue.next();
    const QString bar = "%1 of 3 \u00b7 %p %", left = " \u00b7 about %1 left";
    QCOMPARE(queue.barText(1, 100, 1000), bar.arg(1)); // too early
    QCOMPARE(queue.barText(50, 100, 10000),
             bar.arg(1) + left.arg("0:50")); // its own pace, for three
    queue.finish(EncodeQueue::State::Encoded, QString(), 30000);
    queue.next();
    QCOMPARE(queue.barText(0, 100, 0), bar.arg(2) + left.arg("1:00"));     // the pace of the first
    QCOMPARE(queue.barText(75, 100, 6000), bar.arg(2) + left.arg("0:32")); // and its own end
    queue.finish(EncodeQueue::State::Encoded, QString(), 30000);
    queue.next();
    queue.resume(50); // what an earlier encode kept is no pace
    QCOMPARE(queue.barText(75, 100, 6000), bar.arg(3) + left.arg("0:06"));

    // Until its encode starts (a question may wait), a file's clock stands.
    QElapsedTimer asked;
    asked.start();
    queue.start();
    queue.next();
    QTRY_VERIFY(asked.hasExpired(20)); // the question is open
    queue.finish(EncodeQueue::State::Skipped);
    QCOMPARE(queue.entries().at(0).ms, 0);
}

void TestQueue::queueRuns_data()
{
    // Names are separated by blanks; the encode of b.mp4 may fail, or wait to be cancelled.
    QTest::addColumn<bool>("drop"); // on the input field, else from the command line
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("existing"); // outputs there before
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("runs"); // the outputs written, in order
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("summary"); // a part of the last box

    const QString abc = "a.mp4 b.mp4 c.mp4", all = "a.ogg b.ogg c.ogg", none, fail = "fail",
                  cancel = "cancel";
    QString longQueue;
    for (int i = 0; i < 30; ++i)
        longQueue += QString(i ? " %1.mp4" : "%1.mp4").arg(i, 2, 10, QLatin1Char('0'));
    const QString longOutputs = QString(longQueue).replace(".mp4", ".ogg");
    const int yes = QMessageBox::Yes, no = QMessageBox::No, stop = QMessageBox::Cancel;
    QTest::newRow("three from the command line")
        << false << abc << yes << none << none << all << 0
        << "The queue is done: 3 encoded \u00b7 0 skipped \u00b7 0 failed.";
    QTest::newRow("No to the second file's question")
        << false << abc << no << "b.ogg" << none << "a.ogg c.ogg" << 1
        << "Skipped:\nb.mp4: b.ogg was kept";
    QTest::newRow("Yes to all asks once") << false << abc << int(QMessageBox::YesToAll)
                                          << "a.ogg c.ogg" << none << all << 1 << "3 encoded";
    QTest::newRow("Cancel at a question stops the queue")
        << false << abc << stop << "b.ogg" << none << "a.ogg" << 1
        << "Skipped:\nb.mp4: the queue was stopped\nc.mp4: the queue was stopped";
    QTest::newRow("a failure does not stop the queue")
        << false << abc << yes << none << fail << all << 0
        << "Failed:\nb.mp4: The encoder stopped with exit code 1. b.mp4: something broke";
    QTest::newRow("a failure that keeps a part says how to go on, in the window's words")
        << false << abc << yes << none << "kept" << all << 0
        << "(40 %) kept in /x/.b.ogg.chunks. Press Encode again to go on from there.";
    QTest::newRow("an input that ended early is named")
        << false << abc << yes << none << "damaged" << all << 0
        << "Encoded:\na.ogg\nb.ogg: the input is damaged or ended early; the result lasts 0:00:01";
    QTest::newRow("an input cut short is named with where it ended")
        << false << abc << yes << none << "ended" << all << 0
        << "Encoded:\na.ogg\nb.ogg: the input ended at 0:01 of 0:20";
    QTest::newRow("Cancel, and drop the rest")
        << false << abc << yes << none << cancel << "a.ogg b.ogg" << 1
        << "b.mp4: cancelled\nc.mp4: the queue was stopped";
    QTest::newRow("Cancel, and keep the rest")
        << false << abc << no << none << cancel << all << 1 << "2 encoded \u00b7 1 skipped";
    QTest::newRow("a drop of two files")
        << true << "a.mp4 b.mp4" << yes << none << none << "a.ogg b.ogg" << 0 << "2 encoded";
    QTest::newRow("a long queue: a summary that fits the screen")
        << false << longQueue << yes << none << none << longOutputs << 0 << "30 encoded";
    QTest::newRow("two files for one output")
        << false << "a.mp4 a.mkv" << yes << none << none << none << 0 << "would both be encoded";
}

void TestQueue::queueRuns()
{
    QFETCH(bool, drop);
    QFETCH(QString, inputs);
    QFETCH(int, answer);
    QFETCH(QString, existing);
    QFETCH(QString, second);
    QFETCH(QString, runs);
    QFETCH(int, questions);
    QFETCH(QString, summary);
    const QStringList in = inputs.split(u' '), out = runs.split(u' ', Qt::SkipEmptyParts);

    FakeEncoder fake;
    if (second == "fail")
        fake.setBehaviour(
            "case \"$1\" in *b.mp4) echo 'b.mp4: something broke' >&2; exit 1;; esac");
    if (second == "kept")
        fake.setBehaviour("case \"$1\" in *b.mp4) echo 'ffmpeg2theora: 4 of 10 chunks (40 %) kept "
                          "in /x/.b.ogg.chunks; the same command resumes' >&2; exit 1;; esac");
    if (second == "damaged")
        fake.setBehaviour("case \"$1\" in *b.mp4) echo 'ffmpeg2theora: warning: the input is "
                          "damaged: ffmpeg met 2 error(s) decoding it; the result lasts 0:00:01' "
                          ">&2;; esac");
    if (second == "ended") // and damaged where it was cut
        fake.setBehaviour(
            "case \"$1\" in *b.mp4) echo 'ffmpeg2theora: warning: the input is "
            "damaged: ffmpeg met 1 error(s) decoding it; the result lasts 0:00:01.36' "
            ">&2; echo 'ffmpeg2theora: warning: the input ended early, at 0:00:01.36 "
            "of 0:00:20.00' >&2;; esac");
    if (second == "cancel")
        fake.setBehaviour("case \"$1\" in *b.mp4) while :; do sleep 0.05; done;; esac");
    for (const QString &name : in + existing.split(u' ', Qt::SkipEmptyParts))
        QVERIFY(QFile(fake.path(name)).open(QIODevice::WriteOnly));
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    if (drop) {
        QMimeData mime;
        for (const QString &name : in)
            mime.setUrls(mime.urls() << QUrl::fromLocalFile(fake.path(name)));
        mime.setText(mime.urls().constFirst().toString()); // what a field would paste
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ui.openFileNameLineEdit, &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ui.openFileNameLineEdit, &event);
    } else {
        const QString old = QDir::currentPath();
        QDir::setCurrent(fake.dir.path());
        w.chooseInputFiles(inputsFromArguments(QStringList{"velkoran"} + in));
        QDir::setCurrent(old);
    }
    QCOMPARE(ui.openFileNameLineEdit->text(), fake.path(in.first()));
    QCOMPARE(ui.progressBar->text(), QString("+ %1 more").arg(in.size() - 1));
    QVERIFY(!ui.getDurationpushButton->isEnabled() && !ui.startTimetimeEdit->isEnabled());

    ModalWatcher watcher{QMessageBox::StandardButton(answer)};
    ui.EncodeToTheorapushButton->click();
    if (second == "cancel") {
        QTRY_COMPARE_WITH_TIMEOUT(fake.runs(), 2, 10000);
        QTRY_VERIFY(ui.CancelpushButton->isEnabled());
        // What the queue reads for each file stays as it is while it runs.
        for (const QWidget *locked : {ui.openDirectoryLineEdit, ui.openFileNameLineEdit})
            QVERIFY(!locked->isEnabled());
        QVERIFY(!ui.openDirectoryButton->isEnabled() && !ui.openFileNameButton->isEnabled());
        ui.CancelpushButton->click();
    }
    QTRY_VERIFY_WITH_TIMEOUT(
        !watcher.boxes.isEmpty() && watcher.boxes.last().text.contains(summary), 10000);
    QVERIFY(watcher.boxes.last().text.count(u'\n') < 20); // a longer one scrolls
    QCOMPARE(fake.runs(), out.size());
    for (int i = 0; i < out.size(); ++i) {
        const QStringList args = fake.arguments(i);
        QCOMPARE(args.mid(1, 2), QStringList({"-o", fake.path(out[i])}));
        QCOMPARE(QFileInfo(args[0]).completeBaseName(), QFileInfo(out[i]).completeBaseName());
    }
    QCOMPARE(std::count_if(watcher.boxes.cbegin(), watcher.boxes.cend(),
                           [](const auto &box) { return box.icon == QMessageBox::Question; }),
             questions);
}

// One file and a queue ask the same questions in the same order before an
// encode, and start the same encode after them.
void TestQueue::questionsBeforeEncode_data()
{
    QTest::addColumn<bool>("queued");       // a.mp4 and b.mp4, else a.mp4 alone
    QTest::addColumn<QString>("before");    // what stands at a.ogg
    QTest::addColumn<QStringList>("asked"); // a part of each box before the encode
    QTest::addColumn<QString>("restart");   // a.ogg is encoded: "" as it is, "--restart", "none"

    const QString kept = "An earlier encode of this file stopped at 40 %.";
    for (const bool queued : {false, true}) {
        const char *path = queued ? "queue" : "one file";
        QTest::addRow("%s: nothing there", path) << queued << "" << QStringList{} << "";
        QTest::addRow("%s: a file there", path)
            << queued << "file" << QStringList{"already exists"} << "";
        QTest::addRow("%s: a kept part", path) << queued << "kept" << QStringList{kept} << "";
        if (!queued)
            QTest::addRow("%s: a kept part, the bar starts at its share", path)
                << queued << "kept share" << QStringList{kept} << "";
        QTest::addRow("%s: a file and a kept part", path)
            << queued << "file kept" << QStringList{"already exists", kept} << "";
        QTest::addRow("%s: kept with other settings", path)
            << queued << "changed"
            << QStringList{kept + "\n\nThe settings changed since; the kept part cannot be used."}
            << "--restart";
        QTest::addRow("%s: an encode of it running elsewhere", path)
            << queued << "file kept busy" << QStringList{"is running elsewhere"} << "none";
        QTest::addRow("%s: no encoder, said first", path)
            << queued << "file kept noencoder" << QStringList{"was not found"} << "none";
        // A window that did not see the encode that kept the part asks the
        // encoder whether the command about to run would use it.
        QTest::addRow("%s: a new window, kept with other settings", path)
            << queued << "kept check=changed reason=other options"
            << QStringList{kept + "\n\nThe settings changed since; the kept part cannot be used."}
            << "--restart";
        QTest::addRow("%s: the share the encoder would keep", path)
            << queued << "kept check=share=70"
            << QStringList{"An earlier encode of this file stopped at 70 %."} << "";
        QTest::addRow("%s: nothing the encoder would keep", path)
            << queued << "kept check=none" << QStringList{} << "";
        QTest::addRow("%s: an encode of it started meanwhile", path)
            << queued << "file kept check=running"
            << QStringList{"already exists", "is running elsewhere"} << "none";
    }
}

void TestQueue::questionsBeforeEncode()
{
    QFETCH(bool, queued);
    QFETCH(QString, before);
    QFETCH(QStringList, asked);
    QFETCH(QString, restart);
    FakeEncoder fake;
    const QStringList inputs = queued ? QStringList{"a.mp4", "b.mp4"} : QStringList{"a.mp4"};
    for (const QString &name : inputs)
        QVERIFY(QFile(fake.path(name)).open(QIODevice::WriteOnly));
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ModalWatcher watcher;
    const QString chunks = fake.path(".a.ogg.chunks");
    if (before.contains("changed")) {
        // An encode with quality 3 stopped, 40 % kept; then the quality is moved.
        fake.setBehaviour("mkdir -p '" + chunks + "'; : > '" + chunks +
                          "/manifest'; echo 'ffmpeg2theora: 4 of 10 chunks (40 %) kept in " +
                          chunks + "; the same command resumes' >&2; exit 1");
        w.chooseInputFile(fake.path("a.mp4"));
        ui.EncodeToTheorapushButton->click();
        QTRY_VERIFY(ui.EncodeToTheorapushButton->isEnabled() && fake.runs() == 1);
        QTRY_COMPARE(watcher.boxes.size(), 1); // how it failed
        watcher.boxes.clear();
        QFile::remove(fake.path("a.ogg"));
        fake.setBehaviour("exit 0");
        ui.VideoQualityHorizontalSlider->setValue(32);
    }
    if (before.contains("file"))
        QVERIFY(QFile(fake.path("a.ogg")).open(QIODevice::WriteOnly));
    if (before.contains("kept")) {
        QVERIFY(QDir().mkpath(chunks));
        QFile manifest(chunks + "/manifest");
        QVERIFY(manifest.open(QIODevice::WriteOnly));
        manifest.write(R"({"frames": 100, "chunks": [{"pictures": 25}, {"pictures": 15}]})");
    }
    int held = -1; // the lock an encode running elsewhere holds
    if (before.contains("busy")) {
        held = ::open(QFile::encodeName(chunks).constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(held >= 0 && flock(held, LOCK_EX | LOCK_NB) == 0);
    }
    const QString check = before.section("check=", 1);
    if (!check.isEmpty())
        fake.setResumeCheck("echo 'resume " + check + "'");
    const QByteArray path = qgetenv("PATH");
    if (before.contains("noencoder"))
        qputenv("PATH", "/nowhere");
    const int runsBefore = fake.runs();
    if (queued)
        w.chooseInputFiles({fake.path("a.mp4"), fake.path("b.mp4")});
    else
        w.chooseInputFile(fake.path("a.mp4"));
    ui.EncodeToTheorapushButton->click();
    if (before.contains("share")) // before the encoder says a word
        QCOMPARE(ui.progressBar->text(), queued ? QString("1 of 2 \u00b7 40 %") : QString("40%"));
    QTRY_VERIFY(ui.EncodeToTheorapushButton->isEnabled() && !ui.CancelpushButton->isEnabled());
    qputenv("PATH", path);
    if (held >= 0)
        ::close(held);
    QTRY_VERIFY(watcher.boxes.size() >= asked.size() + (queued ? 1 : 0)); // and the summary
    for (int i = 0; i < asked.size(); ++i)
        QVERIFY2(watcher.boxes[i].text.contains(asked[i]), qPrintable(watcher.boxes[i].text));
    QCOMPARE(watcher.boxes.size(), asked.size() + (queued ? 1 : 0));
    QStringList aRun;
    for (int i = runsBefore; i < fake.runs(); ++i) {
        if (fake.arguments(i).value(2) == fake.path("a.ogg"))
            aRun = fake.arguments(i);
    }
    if (restart == "none") {
        QVERIFY(aRun.isEmpty());
        if (!queued && before.contains("noencoder"))
            QVERIFY(ui.progressBar->text().contains("Failed"));
    } else {
        QVERIFY(!aRun.isEmpty());
        QCOMPARE(aRun.last() == "--restart", restart == "--restart");
    }
    // The encoder is asked about the very command that runs.
    QStringList checked = aRun;
    checked.removeAll("--restart");
    if (!check.isEmpty()) {
        QCOMPARE(fake.arguments(0, "check").value(2), fake.path("a.ogg"));
        QVERIFY(aRun.isEmpty() || fake.arguments(0, "check") == checked << "--resume-check");
    }
}

QTEST_MAIN(TestQueue)
#include "tst_queue.moc"
