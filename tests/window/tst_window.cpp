// SPDX-License-Identifier: GPL-3.0-or-later
// The window's shape and the choice of input file and output directory.

#include <QAccessible>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QMimeData>
#include <QSlider>
#include <QTabBar>
#include <QTranslator>
#include <QUrl>

#include "queue.h"
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
    void namedForScreenReaders_data();
    void namedForScreenReaders();
    void heardAsShown_data();
    void heardAsShown();
    void accessKeysUniquePerPage_data();
    void accessKeysUniquePerPage();
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
    // The first key press goes to the input.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), VelkoranTestAccess::ui(w).openFileNameLineEdit);
    const QSize size = w.size();
    // The designed size, grown to show the rows below the buttons without scrolling.
    QCOMPARE(size, size.expandedTo(QSize(561, 577)).expandedTo(w.minimumSizeHint()));
    QCOMPARE(size.width(), 561);
    // A lone file argument is the input, as the program opens it; a normal close exits with 0.
    QVERIFY(inputsFromArguments({"velkoran"}).isEmpty());
    w.chooseInputFiles(inputsFromArguments({"velkoran", "clip.avi"}));
    QCOMPARE(stateOf(w).input, QDir::current().filePath("clip.avi"));
    QTimer::singleShot(0, &w, &QWidget::close);
    QCOMPARE(QApplication::exec(), 0);
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
    QTest::newRow("no dot") << "movie"
                            << "movie.ogg";
    QTest::newRow("hidden file") << ".hidden.avi"
                                 << ".hidden.ogg";
    QTest::newRow("blank in name") << "My Clip.mp4"
                                   << "My Clip.ogg";
    // Voice control or a screen reader's edit sets the text of the field.
    QTest::newRow("set through the accessibility interface") << "heard.avi"
                                                             << "heard.ogg";
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

    if (QByteArray(QTest::currentDataTag()).contains("accessibility")) {
        QAccessible::queryAccessibleInterface(ui.openFileNameLineEdit)
            ->setText(QAccessible::Value, path);
        QCOMPARE(stateOf(w), (FormState{path, dir.path() + "/", name, true, false, false, false}));
        return;
    }
    ModalWatcher watcher;
    ChooserSeen seen;
    answerChooser(watcher, path, &seen);
    ui.openFileNameButton->click();

    QCOMPARE(seen.caption, QString("Select your file"));
    QCOMPARE(seen.filters, QStringList{"All Files (*)"});
    QCOMPARE(seen.mode, QFileDialog::ExistingFiles); // one or several
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
    QTest::addColumn<QString>("target");  // object name, or empty for the window itself
    QTest::addColumn<bool>("move");       // the drag source proposes a move (Shift held)
    QTest::addColumn<QString>("refusal"); // what a box says of a drop that is no input
    QTest::newRow("a local file") << "file" << true << "" << false << "";
    QTest::newRow("a local file on the input field")
        << "file" << true << "openFileNameLineEdit" << false << "";
    QTest::newRow("a local file on the name field")
        << "file" << true << "outputFileNameLineEdit" << false << "";
    QTest::newRow("a move is taken as a copy") << "file" << true << "" << true << "";
    QTest::newRow("a directory") << "dir" << false << "" << false << "folder";
    QTest::newRow("two files") << "two" << true << "" << false << ""; // queued
    QTest::newRow("a file and a folder: the file, and a word of the folder")
        << "file dir" << true << "" << false << "folder";
    QTest::newRow("a web address") << "web" << false << "" << false << "web address";
}

void TestWindow::dropFile()
{
    QFETCH(QString, dropped);
    QFETCH(bool, taken);
    QFETCH(QString, target);
    QFETCH(bool, move);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    touch(dir.filePath("drop me.mkv"));
    touch(dir.filePath("other.avi"));
    QList<QUrl> urls;
    if (dropped == "file")
        urls = {QUrl::fromLocalFile(dir.filePath("drop me.mkv"))};
    else if (dropped == "dir")
        urls = {QUrl::fromLocalFile(dir.path())};
    else if (dropped == "file dir")
        urls = {QUrl::fromLocalFile(dir.filePath("drop me.mkv")), QUrl::fromLocalFile(dir.path())};
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
    const Qt::KeyboardModifiers keys = move ? Qt::ShiftModifier : Qt::NoModifier;
    QDragEnterEvent enter(at, possible, &mime, Qt::LeftButton, keys);
    QApplication::sendEvent(receiver, &enter);
    // A drop that is no input is taken only to say why.
    QCOMPARE(enter.isAccepted(), taken || !refusal.isEmpty());
    QDropEvent drop(QPointF(at), possible, &mime, Qt::LeftButton, keys);
    ModalWatcher watcher;
    QApplication::sendEvent(receiver, &drop);
    // Never a move: a file manager would delete the original.
    QCOMPARE(drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction,
             taken ? Qt::CopyAction : Qt::IgnoreAction);
    QTRY_COMPARE(watcher.boxes.size(), refusal.isEmpty() ? 0 : 1);
    QVERIFY(refusal.isEmpty() || watcher.boxes[0].text.contains(refusal));

    if (taken)
        QCOMPARE(stateOf(w), (FormState{dir.filePath("drop me.mkv"), dir.path() + "/",
                                        "drop me.ogg", dropped != "two", false, false, false}));
    else
        QCOMPARE(stateOf(w), before);
}

void TestWindow::namedForScreenReaders_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name"); // empty: any name of its own; set: in bit-rate mode
    Velkoran w;
    for (QWidget *c : w.findChildren<QWidget *>()) {
        if ((c->focusPolicy() & Qt::TabFocus) && !c->focusProxy() && !c->objectName().isEmpty() &&
            !qobject_cast<QAbstractSpinBox *>(c->parentWidget()))
            QTest::newRow(qPrintable(c->objectName())) << c->objectName() << QString();
    }
    QTest::newRow("audio slider") << "AudioQualityHorizontalSlider"
                                  << "Audio bit rate in kilobits per second";
}

// Each control is heard by a name of its own, not by its value; a combo box
// is heard by its label.
void TestWindow::namedForScreenReaders()
{
    QFETCH(QString, object);
    QFETCH(QString, name);
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    ui.AudiocomboBox->setCurrentIndex(name.isEmpty() ? 0 : 1);
    ui.VideocomboBox->setCurrentIndex(name.isEmpty() ? 0 : 1);
    QAccessibleInterface *face =
        QAccessible::queryAccessibleInterface(w.findChild<QWidget *>(object));
    QVERIFY(face);
    const auto labels = face->relations(QAccessible::Label);
    const QString heard = labels.isEmpty() || !qobject_cast<QComboBox *>(face->object())
                              ? face->text(QAccessible::Name)
                              : labels.constFirst().first->text(QAccessible::Name);
    QVERIFY2(!heard.isEmpty() && heard != face->text(QAccessible::Value), qPrintable(heard));
    if (!name.isEmpty())
        QCOMPARE(heard, name);
    // Nobody tunes a setting the encoder does not have.
    if (object == QLatin1String("sharpnessspinBox"))
        QVERIFY(face->text(QAccessible::Description).contains(QLatin1String("no sharpness")));
}

// A slider is heard by the number beside it (with its unit for a bit rate),
// a combo box by its label and its current item, in either language.
void TestWindow::heardAsShown_data()
{
    QTest::addColumn<bool>("german");
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("mode");  // the mode box's index, or the combo box's index
    QTest::addColumn<int>("value"); // the slider's value
    QTest::addColumn<QString>("heard");
    QTest::addColumn<double>("number"); // what the value interface gives
    const char *const audio = "AudioQualityHorizontalSlider";
    const char *const video = "VideoQualityHorizontalSlider";
    QTest::newRow("audio 6") << false << audio << 0 << 60 << "6" << 6.0;
    QTest::newRow("audio 6.1") << false << audio << 0 << 61 << "6.1" << 6.1;
    QTest::newRow("audio -1") << false << audio << 0 << -10 << "-1" << -1.0;
    QTest::newRow("video 10") << false << video << 0 << 100 << "10" << 10.0;
    QTest::newRow("audio 96 kbit/s") << false << audio << 1 << 96 << "96 kbit/s" << 96.0;
    QTest::newRow("video 2000 kbit/s") << true << video << 1 << 2000 << "2000 kbit/s" << 2000.0;
    for (const bool german : {false, true}) {
        for (const char *box : {"EncodersComboBox", "AudiocomboBox", "VideocomboBox",
                                "disableSoundcomboBox", "desableDeinterlacecomboBox"}) {
            for (const int index : {0, 1}) {
                if (index == 0 || qstrcmp(box, "EncodersComboBox") != 0)
                    QTest::addRow("%s %s %d", box, german ? "de" : "en", index)
                        << german << box << index << 0 << QString() << 0.0;
            }
        }
    }
}

void TestWindow::heardAsShown()
{
    QFETCH(bool, german);
    QFETCH(QString, object);
    QFETCH(int, mode);
    QFETCH(int, value);
    QFETCH(QString, heard);
    QFETCH(double, number);
    QTranslator catalogue;
    QVERIFY(!german || catalogue.load(QStringLiteral(VELKORAN_TEST_QM)));
    QCoreApplication::installTranslator(&catalogue);
    Velkoran w;
    QCoreApplication::removeTranslator(&catalogue);
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    if (auto *box = w.findChild<QComboBox *>(object)) {
        box->setCurrentIndex(mode);
        // On Linux a combo box is heard by the label tied to it (the group
        // box around it counts as a label too).
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(box);
        QString name;
        for (const auto &relation : face->relations(QAccessible::Label))
            if (auto *label = qobject_cast<QLabel *>(relation.first->object()))
                name = label->buddy() == box ? relation.first->text(QAccessible::Name) : name;
        QVERIFY2(name.endsWith(QStringLiteral(": ") + box->currentText()) &&
                     name.size() > box->currentText().size() + 2,
                 qPrintable(name));
        return;
    }
    auto *slider = w.findChild<QSlider *>(object);
    QComboBox *modeBox =
        slider == ui.AudioQualityHorizontalSlider ? ui.AudiocomboBox : ui.VideocomboBox;
    modeBox->setCurrentIndex(mode);
    QMetaObject::invokeMethod(modeBox, "activated", Q_ARG(int, mode));
    slider->setValue(value);
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(slider);
    QVERIFY(face->valueInterface());
    QCOMPARE(face->text(QAccessible::Value), heard);
    QCOMPARE(face->valueInterface()->currentValue().toDouble(), number);
    // The number beside the slider is tied to it, not heard as its name.
    for (const auto &relation : face->relations(QAccessible::Label))
        QVERIFY(!qobject_cast<QLabel *>(relation.first->object()) ||
                !heard.startsWith(relation.first->text(QAccessible::Name)));
}

// Alt and a letter reach the main actions; no letter is taken twice on a
// page (the buttons under the pages count on each), in either language.
void TestWindow::accessKeysUniquePerPage_data()
{
    QTest::addColumn<bool>("german");
    QTest::newRow("English") << false;
    QTest::newRow("German") << true;
}

void TestWindow::accessKeysUniquePerPage()
{
    QFETCH(bool, german);
    QTranslator catalogue;
    QVERIFY(!german || catalogue.load(QStringLiteral(VELKORAN_TEST_QM)));
    QCoreApplication::installTranslator(&catalogue);
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    const auto keyOf = [](const QString &text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        return key.isEmpty() ? QString() : key.toString();
    };
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
             ui.openFileNameButton, ui.openDirectoryButton, ui.getDurationpushButton,
             ui.EncodeToTheorapushButton, ui.CancelpushButton})
        QVERIFY2(!keyOf(button->text()).isEmpty(), qPrintable(button->text()));
    for (int page = 0; page < ui.tab->count(); ++page) {
        QStringList keys;
        for (QWidget *c : ui.tab->widget(page)->findChildren<QWidget *>()) {
            QString text;
            if (auto *button = qobject_cast<QAbstractButton *>(c))
                text = button->text();
            else if (auto *label = qobject_cast<QLabel *>(c))
                text = label->buddy() ? label->text() : QString();
            const QString key = keyOf(text);
            if (key.isEmpty())
                continue;
            QVERIFY2(!keys.contains(key), qPrintable(key + u' ' + text));
            keys << key;
        }
    }
    // The resume question's own buttons.
    const QString resume = Velkoran::tr("&Resume"), over = Velkoran::tr("&Start over");
    QVERIFY(!keyOf(resume).isEmpty() && !keyOf(over).isEmpty() && keyOf(resume) != keyOf(over));
    QCoreApplication::removeTranslator(&catalogue);
}

// At its smallest the window shows every text and control whole, in either language.
void TestWindow::nothingCut_data()
{
    QTest::addColumn<bool>("german");
    QTest::addColumn<int>("points"); // the application's font; 0: the toolkit's
    QTest::newRow("English") << false << 0;
    QTest::newRow("German") << true << 0;
    QTest::newRow("English 12 pt") << false << 12;
    QTest::newRow("German 16 pt") << true << 16;
}

// With a larger font too, the window first shows every page title, on a
// 1024×600 screen the progress bar stays in it, and no label or button is
// narrower than its text.
void TestWindow::nothingCut()
{
    QFETCH(bool, german);
    QFETCH(int, points);
    QTranslator catalogue;
    QVERIFY(!german || catalogue.load(QStringLiteral(VELKORAN_TEST_QM)));
    QCoreApplication::installTranslator(&catalogue);
    const QFont userFont = QApplication::font();
    QFont font = userFont;
    if (points)
        font.setPointSize(points);
    QApplication::setFont(font);
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    QApplication::processEvents();
    QVERIFY(ui.tab->tabBar()->width() >= ui.tab->tabBar()->sizeHint().width());
    w.resize(1024 - 16, 600 - 48); // a small screen, less the window's frame
    QApplication::processEvents();
    QCOMPARE(w.size(), QSize(1024 - 16, 600 - 48));
    QVERIFY(w.rect().contains(QRect(ui.progressBar->mapTo(&w, QPoint()), ui.progressBar->size())));
    ui.AudioQualityHorizontalLabel->setNum(2000); // the widest value: a bit rate
    w.resize(1, 1);
    for (int page = 0; page < ui.tab->count(); ++page) {
        ui.tab->setCurrentIndex(page);
        QApplication::processEvents();
        QWidget *shown = ui.tab->widget(page);
        for (QWidget *c : shown->findChildren<QWidget *>()) {
            if (!c->isVisible() || qobject_cast<QAbstractSpinBox *>(c->parentWidget()))
                continue;
            const bool worded = qobject_cast<QLabel *>(c) || qobject_cast<QAbstractButton *>(c);
            // A label that wraps its words needs their height at its width.
            const auto *label = qobject_cast<QLabel *>(c);
            const bool wraps = label && label->wordWrap();
            const int tall = wraps ? c->heightForWidth(c->width()) : c->sizeHint().height();
            QVERIFY2(shown->rect().contains(QRect(c->mapTo(shown, QPoint()), c->size())) &&
                         (!worded || wraps || c->sizeHint().width() <= c->width()) &&
                         (!worded || tall <= c->height()),
                     qPrintable(c->objectName()));
        }
    }
    QApplication::setFont(userFont);
    QCoreApplication::removeTranslator(&catalogue);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
