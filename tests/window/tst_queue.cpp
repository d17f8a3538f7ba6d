// Several input files in one go: where each goes, what is refused before the
// start, and the window running them with a scripted encoder.

#include <QMimeData>
#include <QUrl>

#include "testsupport.h"

using State = EncodeQueue::State;

class TestQueue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void outputsAndClashes_data();
    void outputsAndClashes();
    void timeLeft_data();
    void timeLeft();
    void queueRuns_data();
    void queueRuns();
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
        << QStringList{"/v/show.part1.mp4", "/v/show.part2.mp4", "/v/.hidden.mp4", "/v/movie"}
        << "/v/"
        << QStringList{"/v/show.part1.ogg", "/v/show.part2.ogg", "/v/.hidden.ogg", "/v/movie.ogg"}
        << "";
    QTest::newRow("one name, two extensions")
        << QStringList{"/v/a.mp4", "/v/a.mkv"} << "/v/" << QStringList{"/v/a.ogg", "/v/a.ogg"}
        << "/v/a.mp4 and /v/a.mkv would both be encoded to /v/a.ogg";
    QTest::newRow("one file twice")
        << QStringList{"/v/a.mp4", "/v/b.mp4", "/v/a.mp4"} << "/o/"
        << QStringList{"/o/a.ogg", "/o/b.ogg", "/o/a.ogg"} << "would both be encoded to /o/a.ogg";
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

void TestQueue::timeLeft_data()
{
    QTest::addColumn<int>("doneMs"); // the first file took this; 0: it is the current one
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<QString>("bar");

    // Three inputs of one size (none exists, so each counts alike).
    QTest::newRow("no pace yet") << 0 << 1 << 1000 << "1 of 3 \u00b7 %p %";
    QTest::newRow("the first file's own pace")
        << 0 << 50 << 10000 << "1 of 3 \u00b7 %p % \u00b7 about 0:50 left";
    QTest::newRow("the pace of a file done")
        << 30000 << 0 << 0 << "2 of 3 \u00b7 %p % \u00b7 about 1:00 left";
    QTest::newRow("a file done and the current one's own end")
        << 30000 << 75 << 6000 << "2 of 3 \u00b7 %p % \u00b7 about 0:32 left";
}

void TestQueue::timeLeft()
{
    QFETCH(int, doneMs);
    QFETCH(int, position);
    QFETCH(int, elapsedMs);
    QFETCH(QString, bar);
    EncodeQueue queue;
    queue.plan({"/none/a.mp4", "/none/b.mp4", "/none/c.mp4"}, "/o/");
    queue.start();
    queue.next();
    if (doneMs) {
        queue.finish(State::Encoded, QString(), doneMs);
        queue.next();
    }
    QCOMPARE(queue.barText(position, 100, elapsedMs), bar);
}

void TestQueue::queueRuns_data()
{
    QTest::addColumn<bool>("drop"); // dropped on the input field, else from the command line
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("existing"); // outputs there before
    QTest::addColumn<QString>("second");       // what the encode of b.mp4 does: "fail", "cancel"
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("runs"); // the outputs written, in order
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("summary"); // a part of the last box

    const QStringList abc{"a.mp4", "b.mp4", "c.mp4"};
    const int yes = QMessageBox::Yes, no = QMessageBox::No;
    QTest::newRow("three from the command line")
        << false << abc << QStringList() << "" << yes << QStringList{"a.ogg", "b.ogg", "c.ogg"} << 0
        << "The queue is done: 3 encoded \u00b7 0 skipped \u00b7 0 failed.";
    QTest::newRow("No to the second file's question")
        << false << abc << QStringList{"b.ogg"} << "" << no << QStringList{"a.ogg", "c.ogg"} << 1
        << "Skipped:\nb.mp4: b.ogg was kept";
    QTest::newRow("Yes to all asks once")
        << false << abc << QStringList{"a.ogg", "c.ogg"} << "" << int(QMessageBox::YesToAll)
        << QStringList{"a.ogg", "b.ogg", "c.ogg"} << 1 << "3 encoded";
    QTest::newRow("Cancel at a question stops the queue")
        << false << abc << QStringList{"b.ogg"} << "" << int(QMessageBox::Cancel)
        << QStringList{"a.ogg"} << 1
        << "Skipped:\nb.mp4: the queue was stopped\nc.mp4: the queue was stopped";
    QTest::newRow("a failure does not stop the queue")
        << false << abc << QStringList() << "fail" << yes << QStringList{"a.ogg", "b.ogg", "c.ogg"}
        << 0 << "Failed:\nb.mp4: The encoder stopped with exit code 1. b.mp4: something broke";
    QTest::newRow("Cancel, and drop the rest")
        << false << abc << QStringList() << "cancel" << yes << QStringList{"a.ogg", "b.ogg"} << 1
        << "b.mp4: cancelled\nc.mp4: the queue was stopped";
    QTest::newRow("Cancel, and keep the rest")
        << false << abc << QStringList() << "cancel" << no << QStringList{"a.ogg", "b.ogg", "c.ogg"}
        << 1 << "2 encoded \u00b7 1 skipped";
    QTest::newRow("a drop of two files")
        << true << QStringList{"a.mp4", "b.mp4"} << QStringList() << "" << yes
        << QStringList{"a.ogg", "b.ogg"} << 0 << "2 encoded";
    QTest::newRow("two files for one output")
        << false << QStringList{"a.mp4", "a.mkv"} << QStringList() << "" << yes << QStringList()
        << 0 << "would both be encoded to";
}

void TestQueue::queueRuns()
{
    QFETCH(bool, drop);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, existing);
    QFETCH(QString, second);
    QFETCH(int, answer);
    QFETCH(QStringList, runs);
    QFETCH(int, questions);
    QFETCH(QString, summary);

    FakeEncoder fake;
    if (second == "fail")
        fake.setBehaviour(
            "case \"$1\" in *b.mp4) echo 'b.mp4: something broke' >&2; exit 1;; esac");
    if (second == "cancel")
        fake.setBehaviour("case \"$1\" in *b.mp4) while :; do sleep 0.05; done;; esac");
    for (const QString &name : inputs + existing)
        QVERIFY(QFile(fake.path(name)).open(QIODevice::WriteOnly));
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    if (drop) {
        QMimeData mime;
        for (const QString &name : inputs)
            mime.setUrls(mime.urls() << QUrl::fromLocalFile(fake.path(name)));
        mime.setText(mime.urls().constFirst().toString()); // what a field would paste
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ui.openFileNameLineEdit, &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ui.openFileNameLineEdit, &event);
    } else {
        const QString old = QDir::currentPath();
        QDir::setCurrent(fake.dir.path());
        w.chooseInputFiles(inputsFromArguments(QStringList{"velkoran"} + inputs));
        QDir::setCurrent(old);
    }
    QCOMPARE(ui.openFileNameLineEdit->text(), fake.path(inputs.first()));
    QCOMPARE(ui.progressBar->text(), QString("+ %1 more").arg(inputs.size() - 1));
    QVERIFY(!ui.getDurationpushButton->isEnabled() && !ui.startTimetimeEdit->isEnabled());

    ModalWatcher watcher{QMessageBox::StandardButton(answer)};
    ui.EncodeToTheorapushButton->click();
    if (second == "cancel") {
        QTRY_COMPARE_WITH_TIMEOUT(fake.runs(), 2, 10000);
        QTRY_VERIFY(ui.CancelpushButton->isEnabled());
        ui.CancelpushButton->click();
    }
    QTRY_VERIFY_WITH_TIMEOUT(
        !watcher.boxes.isEmpty() && watcher.boxes.last().text.contains(summary), 10000);
    QCOMPARE(fake.runs(), runs.size());
    for (int i = 0; i < runs.size(); ++i) {
        const QStringList args = fake.arguments(i);
        QCOMPARE(args.mid(1, 2), QStringList({"-o", fake.path(runs[i])}));
        QCOMPARE(QFileInfo(args[0]).completeBaseName(), QFileInfo(runs[i]).completeBaseName());
    }
    int asked = 0;
    for (const ModalWatcher::Box &box : watcher.boxes)
        asked += box.icon == QMessageBox::Question;
    QCOMPARE(asked, questions);
}

QTEST_MAIN(TestQueue)
#include "tst_queue.moc"
