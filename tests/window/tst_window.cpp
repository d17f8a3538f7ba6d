// The window's shape and the choice of input file and output directory.

#include <QAccessible>
#include <QFileDialog>
#include <QLineEdit>
#include <QMetaMethod>
#include <QMimeData>
#include <QTranslator>
#include <QUrl>

#include "startup.h"
#include "testsupport.h"

namespace
{

// What a file chooser was opened with.
struct ChooserSeen {
    QString caption;
    QString directory;
    QStringList filters;
    QFileDialog::Options options;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
};

// Answers the next file chooser with PATH, or cancels it when PATH is empty.
void answerChooser(ModalWatcher &watcher, const QString &path, ChooserSeen *seen)
{
    watcher.onDialog = [path, seen](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        if (!dialog)
            return;
        if (seen) {
            seen->caption = dialog->windowTitle();
            seen->directory = dialog->directory().absolutePath();
            seen->filters = dialog->nameFilters();
            seen->options = dialog->options();
            seen->mode = dialog->fileMode();
        }
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // The chooser ignores selectFile() while its name field has the
        // focus, so the answer is typed into that field.
        dialog->setDirectory(QFileInfo(path).absolutePath());
        if (auto *name = dialog->findChild<QLineEdit *>("fileNameEdit"))
            name->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

struct FormState {
    QString input, directory, name;
    bool probe, start, end, trim;
    bool operator==(const FormState &o) const
    {
        return input == o.input && directory == o.directory && name == o.name && probe == o.probe &&
               start == o.start && end == o.end && trim == o.trim;
    }
};

FormState stateOf(Velkoran &w)
{
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    return {ui.openFileNameLineEdit->text(),         ui.openDirectoryLineEdit->text(),
            ui.outputFileNameLineEdit->text(),       ui.getDurationpushButton->isEnabled(),
            ui.startTimetimeEdit->isEnabled(),       ui.endTimetimeEdit->isEnabled(),
            VelkoranTestAccess::customEndTimeBool(w)};
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsIdleAndVisible();
    void slotTableInOrder();
    void castsByClassName();
    void chooseInputFile_data();
    void chooseInputFile();
    void chooseDirectory();
    void directoryThenFile();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void dropFile_data();
    void dropFile();
    void typedInput_data();
    void typedInput();
    void startAndClose_data();
    void startAndClose();
    void namedForScreenReaders_data();
    void namedForScreenReaders();
    void nothingCut_data();
    void nothingCut();
};

void TestWindow::startsIdleAndVisible()
{
    Velkoran w;
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QString("Velkoran Theora Encoder"));
    QCOMPARE(VelkoranTestAccess::realDuration(w), 0);
    QVERIFY(VelkoranTestAccess::k(w));
    QVERIFY(!VelkoranTestAccess::getDuration(w));
    QVERIFY(!VelkoranTestAccess::customEndTimeBool(w));
    QCOMPARE(VelkoranTestAccess::customEndTime(w), 0);
    QCOMPARE(VelkoranTestAccess::process(w).state(), QProcess::NotRunning);
    const QSize size = w.size();
    QCOMPARE(size, QSize(561, 577).expandedTo(w.minimumSizeHint()));
}

void TestWindow::slotTableInOrder()
{
    const QMetaObject &mo = Velkoran::staticMetaObject;
    QCOMPARE(mo.className(), "Velkoran");
    QCOMPARE(mo.superClass(), &QMainWindow::staticMetaObject);
    QCOMPARE(mo.methodCount() - mo.methodOffset(), 16);
    QCOMPARE(mo.propertyCount(), mo.propertyOffset());
    const char *expected[] = {"on_openFileNameButton_clicked()",
                              "on_openDirectoryButton_clicked()",
                              "on_AudioQualityHorizontalSlider_valueChanged(int)",
                              "on_VideoQualityHorizontalSlider_valueChanged(int)",
                              "on_EncodeToTheorapushButton_clicked()",
                              "updateProgressbar()",
                              "enableButton()",
                              "on_AudiocomboBox_activated(int)",
                              "on_VideocomboBox_activated(int)",
                              "on_CancelpushButton_clicked()",
                              "on_getDurationpushButton_clicked()",
                              "setDuration(int,int,int)",
                              "on_startTimetimeEdit_timeChanged(QTime)",
                              "generateFFmpeg2theoraCommand()",
                              "checkMetainfo()",
                              "getArgs()"};
    for (int i = 0; i < 16; ++i) {
        const QMetaMethod m = mo.method(mo.methodOffset() + i);
        QCOMPARE(m.methodSignature(), QByteArray(expected[i]));
        QCOMPARE(m.methodType(), QMetaMethod::Slot);
        QCOMPARE(m.access(), QMetaMethod::Private);
    }
    QCOMPARE(mo.method(mo.indexOfSlot("generateFFmpeg2theoraCommand()")).returnType(),
             int(QMetaType::QString));
    QCOMPARE(mo.method(mo.indexOfSlot("getArgs()")).returnType(), int(QMetaType::QStringList));
}

void TestWindow::castsByClassName()
{
    Velkoran w;
    QCOMPARE(w.qt_metacast("Velkoran"), static_cast<void *>(&w));
    QCOMPARE(w.qt_metacast("QMainWindow"), w.QMainWindow::qt_metacast("QMainWindow"));
    QCOMPARE(w.qt_metacast(nullptr), nullptr);
}

void TestWindow::chooseInputFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "clip.avi"
                           << "clip.ogg";
    QTest::newRow("only the last extension goes") << "clip.part1.avi"
                                                  << "clip.part1.ogg";
    QTest::newRow("a date with dots") << "Holiday 2024.07.14.mp4"
                                      << "Holiday 2024.07.14.ogg";
    QTest::newRow("no dot") << "movie"
                            << "movie.ogg";
    QTest::newRow("hidden file") << ".hidden.avi"
                                 << ".hidden.ogg";
    QTest::newRow("blank in name") << "My Clip.mp4"
                                   << "My Clip.ogg";
}

void TestWindow::chooseInputFile()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    touch(path);

    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ui.startTimetimeEdit->setEnabled(true);
    ui.endTimetimeEdit->setEnabled(true);
    ui.startTimelabel->setEnabled(true);
    VelkoranTestAccess::setCustomEndTime(w, true, 65);

    ModalWatcher watcher;
    ChooserSeen seen;
    answerChooser(watcher, path, &seen);
    ui.openFileNameButton->click();

    QCOMPARE(seen.caption, QString("Select your file"));
    QCOMPARE(seen.filters, QStringList{"All Files (*)"});
    QCOMPARE(seen.mode, QFileDialog::ExistingFile);
    QCOMPARE(stateOf(w), (FormState{path, dir.path() + "/", name, true, false, false, false}));
    QVERIFY(ui.startTimelabel->isEnabled()); // the labels keep their state

    // The next chooser starts where the last file was.
    answerChooser(watcher, QString(), &seen);
    ui.openFileNameButton->click();
    QCOMPARE(seen.directory, dir.path());
}

void TestWindow::chooseDirectory()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("out"));
    touch(dir.filePath("clip.avi"));
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ModalWatcher watcher;
    answerChooser(watcher, dir.filePath("clip.avi"), nullptr);
    ui.openFileNameButton->click();
    const FormState before = stateOf(w);

    ChooserSeen seen;
    answerChooser(watcher, dir.filePath("out"), &seen);
    ui.openDirectoryButton->click();
    QCOMPARE(seen.caption, QString("Select your directory"));
    QCOMPARE(seen.directory, dir.path());
    QVERIFY(seen.options.testFlag(QFileDialog::ShowDirsOnly));
    QVERIFY(seen.options.testFlag(QFileDialog::DontResolveSymlinks));
    FormState expected = before;
    expected.directory = dir.filePath("out") + "/";
    QCOMPARE(stateOf(w), expected);
    QCOMPARE(ui.openDirectoryLineEdit->text() + ui.outputFileNameLineEdit->text(),
             dir.filePath("out/clip.ogg"));
}

void TestWindow::directoryThenFile()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("out"));
    touch(dir.filePath("clip.avi"));
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ModalWatcher watcher;
    answerChooser(watcher, dir.filePath("out"), nullptr);
    ui.openDirectoryButton->click();
    QCOMPARE(ui.openDirectoryLineEdit->text(), dir.filePath("out") + "/");
    answerChooser(watcher, dir.filePath("clip.avi"), nullptr);
    ui.openFileNameButton->click();
    QCOMPARE(ui.openDirectoryLineEdit->text(), dir.path() + "/");
}

void TestWindow::cancelChangesNothing_data()
{
    QTest::addColumn<bool>("fileChooser");
    QTest::newRow("file chooser") << true;
    QTest::newRow("directory chooser") << false;
}

void TestWindow::cancelChangesNothing()
{
    QFETCH(bool, fileChooser);
    QTemporaryDir dir;
    touch(dir.filePath("clip.avi"));
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ModalWatcher watcher;
    answerChooser(watcher, dir.filePath("clip.avi"), nullptr);
    ui.openFileNameButton->click();
    ui.startTimetimeEdit->setEnabled(true);
    ui.endTimetimeEdit->setEnabled(true);
    VelkoranTestAccess::setCustomEndTime(w, true, 12);
    const FormState before = stateOf(w);

    answerChooser(watcher, QString(), nullptr);
    (fileChooser ? ui.openFileNameButton : ui.openDirectoryButton)->click();
    QCOMPARE(stateOf(w), before);
    QCOMPARE(VelkoranTestAccess::customEndTime(w), 12);
}

void TestWindow::dropFile_data()
{
    QTest::addColumn<QString>("dropped"); // "file", "dir", "two", "web"
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("target"); // object name, or empty for the window itself
    QTest::addColumn<Qt::DropAction>("proposed");
    QTest::addColumn<QString>("refusal"); // what a box says of a drop that is no input
    const Qt::DropAction copy = Qt::CopyAction;
    QTest::newRow("a local file") << "file" << true << "" << copy << "";
    QTest::newRow("a local file on the input field")
        << "file" << true << "openFileNameLineEdit" << copy << "";
    QTest::newRow("a local file on the name field")
        << "file" << true << "outputFileNameLineEdit" << copy << "";
    QTest::newRow("a move is taken as a copy") << "file" << true << "" << Qt::MoveAction << "";
    QTest::newRow("a directory") << "dir" << false << "" << copy << "folder";
    QTest::newRow("a directory on the input field")
        << "dir" << false << "openFileNameLineEdit" << copy << "folder";
    QTest::newRow("two files") << "two" << false << "" << copy << "";
    QTest::newRow("a web address") << "web" << false << "" << copy << "web address";
}

void TestWindow::dropFile()
{
    QFETCH(QString, dropped);
    QFETCH(bool, taken);
    QFETCH(QString, target);
    QFETCH(Qt::DropAction, proposed);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    touch(dir.filePath("drop me.mkv"));
    touch(dir.filePath("other.avi"));
    QList<QUrl> urls;
    if (dropped == "file")
        urls = {QUrl::fromLocalFile(dir.filePath("drop me.mkv"))};
    else if (dropped == "dir")
        urls = {QUrl::fromLocalFile(dir.path())};
    else if (dropped == "two")
        urls = {QUrl::fromLocalFile(dir.filePath("drop me.mkv")),
                QUrl::fromLocalFile(dir.filePath("other.avi"))};
    else
        urls = {QUrl("https://example.org/clip.avi")};

    Velkoran w;
    VelkoranTestAccess::setCustomEndTime(w, true, 5);
    const FormState before = stateOf(w);
    QMimeData mime;
    mime.setUrls(urls);
    mime.setText(urls.constFirst().toString()); // file managers offer the text too
    QWidget *receiver = target.isEmpty() ? &w : w.findChild<QWidget *>(target);
    QVERIFY(receiver);
    const QPoint at(receiver->width() / 2, receiver->height() / 2);
    const Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    // The drag source proposes a move when Shift is held.
    const Qt::KeyboardModifiers keys =
        proposed == Qt::MoveAction ? Qt::ShiftModifier : Qt::NoModifier;
    QDragEnterEvent enter(at, possible, &mime, Qt::LeftButton, keys);
    QCOMPARE(enter.proposedAction(), proposed);
    QApplication::sendEvent(receiver, &enter);
    // A drop that is no input is taken only to say why.
    QCOMPARE(enter.isAccepted(), taken || !refusal.isEmpty());
    QDropEvent drop(QPointF(at), possible, &mime, Qt::LeftButton, keys);
    ModalWatcher watcher;
    QApplication::sendEvent(receiver, &drop);
    QCOMPARE(drop.isAccepted(), taken);
    if (taken) // never a move: a file manager would delete the original
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
    QTRY_COMPARE(watcher.boxes.size(), refusal.isEmpty() ? 0 : 1);
    if (!refusal.isEmpty())
        QVERIFY2(watcher.boxes[0].text.contains(refusal), qPrintable(watcher.boxes[0].text));

    if (taken)
        QCOMPARE(stateOf(w), (FormState{dir.filePath("drop me.mkv"), dir.path() + "/",
                                        "drop me.ogg", true, false, false, false}));
    else
        QCOMPARE(stateOf(w), before);
}

void TestWindow::typedInput_data()
{
    QTest::addColumn<QString>("typed");   // after clip.avi was chosen
    QTest::addColumn<QString>("ownName"); // typed into the name field first, if any
    QTest::addColumn<QString>("input");   // the input field then
    QTest::addColumn<QString>("name");
    QTest::newRow("the proposal follows") << "b.mp4"
                                          << ""
                                          << "b.mp4"
                                          << "b.ogg";
    QTest::newRow("the user's own name stays") << "b.mp4"
                                               << "mine.ogg"
                                               << "b.mp4"
                                               << "mine.ogg";
    QTest::newRow("a blank at the end is dropped") << "b.mp4 "
                                                   << ""
                                                   << "b.mp4"
                                                   << "b.ogg";
    QTest::newRow("no such file: nothing proposed") << "c.mp4"
                                                    << ""
                                                    << "c.mp4"
                                                    << "clip.ogg";
}

void TestWindow::typedInput()
{
    QFETCH(QString, typed);
    QFETCH(QString, ownName);
    QFETCH(QString, input);
    QFETCH(QString, name);
    QTemporaryDir dir;
    touch(dir.filePath("clip.avi"));
    touch(dir.filePath("b.mp4"));
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    w.chooseInputFile(dir.filePath("clip.avi"));
    if (!ownName.isEmpty())
        ui.outputFileNameLineEdit->setText(ownName);
    ui.openFileNameLineEdit->selectAll();
    QTest::keyClicks(ui.openFileNameLineEdit, dir.filePath(typed));
    QCOMPARE(ui.openFileNameLineEdit->text(), dir.filePath(input));
    QCOMPARE(ui.outputFileNameLineEdit->text(), name);
    QCOMPARE(ui.openDirectoryLineEdit->text(), dir.path() + "/");
}

void TestWindow::startAndClose_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("input");
    QTest::newRow("no argument") << QStringList{"velkoran"} << "";
    QTest::newRow("a lone file argument is the input")
        << QStringList{"velkoran", "clip.avi"} << QDir::current().filePath("clip.avi");
    QTest::newRow("two arguments: none is taken")
        << QStringList{"velkoran", "a.avi", "b.avi"} << "";
}

// The window as the program opens it, then closed as a user closes it.
void TestWindow::startAndClose()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, input);
    Velkoran w;
    if (!inputArgument(arguments).isEmpty())
        w.chooseInputFile(inputArgument(arguments));
    QCOMPARE(VelkoranTestAccess::ui(w).openFileNameLineEdit->text(), input);
    QTimer::singleShot(0, &w, &QWidget::close);
    QCOMPARE(QApplication::exec(), 0);
}

void TestWindow::namedForScreenReaders_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<bool>("bitRate"); // both quality boxes in bit-rate mode
    QTest::addColumn<QString>("name"); // empty: any name of its own
    Velkoran w;
    for (QWidget *widget : w.findChildren<QWidget *>()) {
        QWidget *owner = widget->parentWidget();
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy() &&
            !qobject_cast<QAbstractSpinBox *>(owner) && !qobject_cast<QComboBox *>(owner))
            QTest::newRow(qPrintable(widget->objectName()))
                << widget->objectName() << false << QString();
    }
    QTest::newRow("audio slider") << "AudioQualityHorizontalSlider" << false << "Audio quality";
    QTest::newRow("audio slider, bit rate")
        << "AudioQualityHorizontalSlider" << true << "Audio bit rate";
    QTest::newRow("video slider, bit rate")
        << "VideoQualityHorizontalSlider" << true << "Video bit rate";
    QTest::newRow("progress bar") << "progressBar" << false << "Progress";
}

// Each control is heard by what it is: a name of its own, not its value.
void TestWindow::namedForScreenReaders()
{
    QFETCH(QString, object);
    QFETCH(bool, bitRate);
    QFETCH(QString, name);
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    if (bitRate) {
        ui.AudiocomboBox->setCurrentIndex(1);
        ui.VideocomboBox->setCurrentIndex(1);
    }
    QWidget *widget = object.isEmpty() ? ui.tab->tabBar() : w.findChild<QWidget *>(object);
    QVERIFY(widget);
    // What a screen reader says for it: a combo box is said by its label.
    const auto heardOf = [](QWidget *control) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
        if (!qobject_cast<QComboBox *>(control))
            return face->text(QAccessible::Name);
        const auto labels = face->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.constFirst().first->text(QAccessible::Name);
    };
    const QString heard = heardOf(widget);
    QVERIFY2(!heard.isEmpty(), qPrintable(object));
    const QString value = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Value);
    QVERIFY2(heard != value, qPrintable(heard));
    if (!name.isEmpty())
        QCOMPARE(heard, name);
    for (QWidget *other : w.findChildren<QWidget *>()) {
        if (other != widget && (other->focusPolicy() & Qt::TabFocus) && !other->focusProxy())
            QVERIFY2(heardOf(other) != heard, qPrintable(heard));
    }
}

void TestWindow::nothingCut_data()
{
    QTest::addColumn<bool>("german");
    QTest::newRow("English") << false;
    QTest::newRow("German") << true;
}

// At its smallest the window still shows every text and control whole.
void TestWindow::nothingCut()
{
    QFETCH(bool, german);
    QTranslator catalogue;
    if (german) {
        QVERIFY(catalogue.load(QStringLiteral(VELKORAN_TEST_QM)));
        QCoreApplication::installTranslator(&catalogue);
    }
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ui.AudiocomboBox->setCurrentIndex(1); // the widest values: bit rates
    ui.AudioQualityHorizontalSlider->setMaximum(2000);
    ui.AudioQualityHorizontalLabel->setNum(2000);
    w.resize(1, 1);
    for (int page = 0; page < ui.tab->count(); ++page) {
        ui.tab->setCurrentIndex(page);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::processEvents();
        QWidget *shown = ui.tab->widget(page);
        for (QWidget *widget : shown->findChildren<QWidget *>()) {
            if (!widget->isVisible() || qobject_cast<QAbstractSpinBox *>(widget->parentWidget()))
                continue;
            const QRect at(widget->mapTo(shown, QPoint(0, 0)), widget->size());
            const QString what = widget->objectName() + (german ? " (German)" : "");
            QVERIFY2(shown->rect().contains(at), qPrintable(what));
            if (qobject_cast<QLabel *>(widget) || qobject_cast<QAbstractButton *>(widget))
                QVERIFY2(widget->sizeHint().width() <= widget->width(), qPrintable(what));
        }
    }
    QCoreApplication::removeTranslator(&catalogue);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
