// SPDX-License-Identifier: GPL-3.0-or-later
// The window with our real encoder: a probe, a trimmed encode with options,
// and a cancelled encode, on clips made with ffmpeg.

#include "../encoder/encodertest.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <signal.h>

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { qputenv("PATH", savedPath); }
    void probeThenTrimmedEncode();
    void cancelLeavesNoEncoder();
    void resumeOnlyWithTheSameSettings();

private:
    QTemporaryDir dir;
    QByteArray savedPath;
};

void TestEndToEnd::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    savedPath = qgetenv("PATH");
    // The encoder of this build, found on the search path as the window expects.
    qputenv("PATH", QFile::encodeName(QFileInfo(FFMPEG2THEORA).absolutePath()) + ':' + savedPath);
    QVERIFY(makeClip(dir.filePath("My Clip.mkv"),
                     "-f lavfi -i testsrc2=size=160x120:rate=25:duration=3 -f lavfi -i "
                     "sine=frequency=440:duration=3 -c:v mpeg4 -c:a pcm_s16le"));
    QVERIFY(makeClip(dir.filePath("long.mkv"),
                     "-f lavfi -i testsrc2=size=640x360:rate=25:duration=120 -c:v mpeg4 -q:v 20"));
}

void TestEndToEnd::probeThenTrimmedEncode()
{
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ModalWatcher watcher;
    w.chooseInputFile(dir.filePath("My Clip.mkv"));
    QCOMPARE(ui.outputFileNameLineEdit->text(), QString("My Clip.ogg"));

    ui.getDurationpushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(ui.startTimetimeEdit->isEnabled(), 20000);
    QCOMPARE(ui.endTimetimeEdit->time(), QTime(0, 0, 3));
    QTRY_VERIFY_WITH_TIMEOUT(ui.EncodeToTheorapushButton->isEnabled(), 20000);
    QCOMPARE(QDir(dir.path()).entryList({"*.ogg"}), QStringList()); // the probe wrote nothing here

    ui.startTimetimeEdit->setTime(QTime(0, 0, 1));
    ui.endTimetimeEdit->setTime(QTime(0, 0, 2));
    ui.TitleLineEdit->setText("A \"quoted\" holiday");
    ui.ScaleWidthlineEdit->setText("80");
    ui.EncodeToTheorapushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(ui.EncodeToTheorapushButton->isEnabled(), 30000);
    QCOMPARE(watcher.boxes.size(), 0);
    QCOMPARE(ui.progressBar->value(), ui.progressBar->maximum());
    QCOMPARE(ui.progressBar->maximum(), 1);

    const QString out = dir.filePath("My Clip.ogg");
    QVERIFY(playable(out));
    const Probe p = probe(out);
    QCOMPARE(field(p.video, "codec_name"), QString("theora"));
    QCOMPARE(field(p.audio, "codec_name"), QString("vorbis"));
    QCOMPARE(field(p.video, "width"), QString("80"));
    QVERIFY2(qAbs(field(p.format, "duration").toDouble() - 1.0) < 0.15,
             qPrintable(field(p.format, "duration")));
    const QJsonObject tags = p.video.value("tags").toObject();
    QCOMPARE(tags.value("TITLE").toString(), QString("A \"quoted\" holiday"));
}

void TestEndToEnd::cancelLeavesNoEncoder()
{
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ModalWatcher watcher;
    w.chooseInputFile(dir.filePath("long.mkv"));
    ui.EncodeToTheorapushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(ui.progressBar->value() > 0, 20000);
    QCOMPARE(ui.progressBar->maximum(), 120);
    const qint64 pid = VelkoranTestAccess::process(w).processId();
    ui.CancelpushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(ui.EncodeToTheorapushButton->isEnabled(), 20000);
    QCOMPARE(watcher.boxes.size(), 0);
    QVERIFY(::kill(pid_t(pid), 0) != 0);
    // The encoder stopped ffmpeg: no process of ours is left to write the file.
    QProcess pgrep;
    pgrep.start("pgrep", {"-f", dir.filePath("long.ogg")});
    QVERIFY(pgrep.waitForFinished());
    QCOMPARE(pgrep.exitCode(), 1); // nothing matched
    // What was written stays playable, and nothing else is left beside it.
    if (QFileInfo::exists(dir.filePath("long.ogg")))
        QVERIFY(playable(dir.filePath("long.ogg")));
    const QStringList left =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : left)
        QVERIFY2(name == "long.mkv" || name == "My Clip.mkv" || name == "My Clip.ogg" ||
                     name == "long.ogg",
                 qPrintable(name));
}

// A window that did not see the encode that kept a part (the program was
// started anew) offers to resume it only for the command that would use it.
void TestEndToEnd::resumeOnlyWithTheSameSettings()
{
    QVERIFY(makeClip(dir.filePath("kept.mkv"),
                     "-f lavfi -i testsrc2=size=160x120:rate=25:duration=12 -c:v mpeg4"));
    // In chunks, read at the clip's own pace, so that Cancel comes before the end.
    QFile slow(dir.filePath("slow-ffmpeg"));
    QVERIFY(slow.open(QIODevice::WriteOnly));
    slow.write("#!/bin/sh\nexec ffmpeg -re \"$@\"\n");
    slow.close();
    slow.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    qputenv("FFMPEG2THEORA_PARALLEL", "2");
    qputenv("FFMPEG2THEORA_FFMPEG", QFile::encodeName(slow.fileName()));
    const auto restore = qScopeGuard([] {
        qunsetenv("FFMPEG2THEORA_PARALLEL");
        qunsetenv("FFMPEG2THEORA_FFMPEG");
    });
    const QString manifest = dir.filePath(".kept.ogg.chunks/manifest");
    {
        Velkoran first;
        Ui::Velkoran &ui = VelkoranTestAccess::ui(first);
        first.chooseInputFile(dir.filePath("kept.mkv"));
        ui.EncodeToTheorapushButton->click();
        const auto chunkKept = [&] {
            QFile file(manifest);
            return file.open(QIODevice::ReadOnly) && file.readAll().contains("\"pictures\"");
        };
        QTRY_VERIFY_WITH_TIMEOUT(chunkKept(), 60000);
        ui.CancelpushButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(ui.EncodeToTheorapushButton->isEnabled(), 20000);
    }
    Velkoran again;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(again);
    ModalWatcher watcher{QMessageBox::Cancel};
    again.chooseInputFile(dir.filePath("kept.mkv"));
    const int quality = ui.VideoQualityHorizontalSlider->value();
    for (const int value : {quality + 2, quality}) {
        ui.VideoQualityHorizontalSlider->setValue(value);
        watcher.boxes.clear();
        ui.EncodeToTheorapushButton->click();
        QTRY_COMPARE(watcher.boxes.size(), 1);
        QVERIFY2(watcher.boxes[0].text.contains("stopped at") &&
                     watcher.boxes[0].text.contains("settings changed") == (value != quality),
                 qPrintable(watcher.boxes[0].text));
    }
    QDir(dir.filePath(".kept.ogg.chunks")).removeRecursively();
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
