// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the window's form (src/velkoran.ui, compiled by uic) against the
// object table the rest of the program relies on: members, classes, parents,
// places, initial states, texts, focus chain, and the German catalogue.

#include <QtTest>
#include <QtWidgets>

#include "ui_velkoran.h"

#include <cstddef>
#include <type_traits>

#ifndef VELKORAN_TEST_QM
#error "VELKORAN_TEST_QM must name the compiled German catalogue"
#endif

static_assert(std::is_standard_layout_v<Ui_Velkoran>,
              "member order is checked through member addresses");

// Every member of the form in declaration order, with its class and the
// object it hangs from ("tab" for a page means: a page of that tab widget).
#define VELKORAN_FORM_MEMBERS(X)                                                                   \
    X(centralWidget, "QWidget", "Velkoran")                                                        \
    X(gridLayout, "QGridLayout", "centralWidget")                                                  \
    X(tab, "QTabWidget", "centralWidget")                                                          \
    X(tab_2, "QWidget", "tab")                                                                     \
    X(EncodeToTheorapushButton, "QPushButton", "tab_2")                                            \
    X(line_3, "QFrame", "tab_2")                                                                   \
    X(outputFileNameLineEdit, "QLineEdit", "tab_2")                                                \
    X(openFileNameLineEdit, "QLineEdit", "tab_2")                                                  \
    X(openFileNameButton, "QToolButton", "tab_2")                                                  \
    X(line, "QFrame", "tab_2")                                                                     \
    X(label_11, "QLabel", "tab_2")                                                                 \
    X(openDirectoryButton, "QToolButton", "tab_2")                                                 \
    X(line_2, "QFrame", "tab_2")                                                                   \
    X(EncodersComboBox, "QComboBox", "tab_2")                                                      \
    X(label_2, "QLabel", "tab_2")                                                                  \
    X(groupBox_2_2_3, "QGroupBox", "tab_2")                                                        \
    X(gridLayout1, "QGridLayout", "groupBox_2_2_3")                                                \
    X(AudiocomboBox, "QComboBox", "groupBox_2_2_3")                                                \
    X(VideocomboBox, "QComboBox", "groupBox_2_2_3")                                                \
    X(VideoQualityHorizontalSlider, "QSlider", "groupBox_2_2_3")                                   \
    X(AudioQualityHorizontalSlider, "QSlider", "groupBox_2_2_3")                                   \
    X(VideoQualityHorizontalLabel, "QLabel", "groupBox_2_2_3")                                     \
    X(AudioQualityHorizontalLabel, "QLabel", "groupBox_2_2_3")                                     \
    X(openDirectoryLineEdit, "QLineEdit", "tab_2")                                                 \
    X(label_3, "QLabel", "tab_2")                                                                  \
    X(CancelpushButton, "QPushButton", "tab_2")                                                    \
    X(label, "QLabel", "tab_2")                                                                    \
    X(tab_21, "QWidget", "tab")                                                                    \
    X(LicenseLineEdit, "QLineEdit", "tab_21")                                                      \
    X(CopyrightLineEdit, "QLineEdit", "tab_21")                                                    \
    X(label_10, "QLabel", "tab_21")                                                                \
    X(LocationLineEdit, "QLineEdit", "tab_21")                                                     \
    X(label_9_2_2_2_2_2, "QLabel", "tab_21")                                                       \
    X(label_9_2_2_2_2, "QLabel", "tab_21")                                                         \
    X(OraganizationLineEdit, "QLineEdit", "tab_21")                                                \
    X(label_9_2_2_2, "QLabel", "tab_21")                                                           \
    X(DateLineEdit, "QLineEdit", "tab_21")                                                         \
    X(label_9_2_2, "QLabel", "tab_21")                                                             \
    X(ArtistLineEdit, "QLineEdit", "tab_21")                                                       \
    X(label_9, "QLabel", "tab_21")                                                                 \
    X(label_9_2, "QLabel", "tab_21")                                                               \
    X(TitleLineEdit, "QLineEdit", "tab_21")                                                        \
    X(tab_22, "QWidget", "tab")                                                                    \
    X(gridLayout2, "QGridLayout", "tab_22")                                                        \
    X(startTimelabel, "QLabel", "tab_22")                                                          \
    X(startTimetimeEdit, "QTimeEdit", "tab_22")                                                    \
    X(endTimelabel, "QLabel", "tab_22")                                                            \
    X(endTimetimeEdit, "QTimeEdit", "tab_22")                                                      \
    X(groupBox_3, "QGroupBox", "tab_22")                                                           \
    X(gridLayout3, "QGridLayout", "groupBox_3")                                                    \
    X(cropRightlineEdit, "QLineEdit", "groupBox_3")                                                \
    X(label_22, "QLabel", "groupBox_3")                                                            \
    X(cropLeftlineEdit, "QLineEdit", "groupBox_3")                                                 \
    X(label_21, "QLabel", "groupBox_3")                                                            \
    X(label_20, "QLabel", "groupBox_3")                                                            \
    X(label_19, "QLabel", "groupBox_3")                                                            \
    X(cropToplineEdit, "QLineEdit", "groupBox_3")                                                  \
    X(cropBottomlineEdit, "QLineEdit", "groupBox_3")                                               \
    X(label_6, "QLabel", "tab_22")                                                                 \
    X(disableSoundcomboBox, "QComboBox", "tab_22")                                                 \
    X(label_12, "QLabel", "tab_22")                                                                \
    X(nicenesslineEdit, "QLineEdit", "tab_22")                                                     \
    X(ScaleHeightlineEdit, "QLineEdit", "tab_22")                                                  \
    X(ScaleWidthlineEdit, "QLineEdit", "tab_22")                                                   \
    X(outputSampleratelineEdit, "QLineEdit", "tab_22")                                             \
    X(label_15, "QLabel", "tab_22")                                                                \
    X(label_5, "QLabel", "tab_22")                                                                 \
    X(frameAspectlineEdit, "QLineEdit", "tab_22")                                                  \
    X(label_18, "QLabel", "tab_22")                                                                \
    X(label_17, "QLabel", "tab_22")                                                                \
    X(sharpnessspinBox, "QSpinBox", "tab_22")                                                      \
    X(label_14, "QLabel", "tab_22")                                                                \
    X(label_7, "QLabel", "tab_22")                                                                 \
    X(keyframespinBox, "QSpinBox", "tab_22")                                                       \
    X(getDurationpushButton, "QPushButton", "tab_22")                                              \
    X(disableVideolabel, "QLabel", "tab_22")                                                       \
    X(disableVideocomboBox, "QComboBox", "tab_22")                                                 \
    X(tab_23, "QWidget", "tab")                                                                    \
    X(gridLayout4, "QGridLayout", "tab_23")                                                        \
    X(inputfpslineEdit, "QLineEdit", "tab_23")                                                     \
    X(label_4, "QLabel", "tab_23")                                                                 \
    X(label_13, "QLabel", "tab_23")                                                                \
    X(inputFormatlineEdit, "QLineEdit", "tab_23")                                                  \
    X(label_16, "QLabel", "tab_23")                                                                \
    X(desableDeinterlacecomboBox, "QComboBox", "tab_23")                                           \
    X(progressBar, "QProgressBar", "centralWidget")

namespace
{

struct Member {
    const char *name;
    const char *className;
    const char *parentName;
    QObject *object;
};

QList<Member> membersOf(const Ui_Velkoran &ui)
{
#define VELKORAN_MEMBER_ROW(n, cls, parent) Member{#n, cls, parent, ui.n},
    return {VELKORAN_FORM_MEMBERS(VELKORAN_MEMBER_ROW)};
#undef VELKORAN_MEMBER_ROW
}

// One window with its form, built the way the program builds it.
struct Form {
    QMainWindow window;
    Ui::Velkoran ui;
    QHash<QString, QObject *> byName;

    Form()
    {
        ui.setupUi(&window);
        for (const Member &m : membersOf(ui))
            byName.insert(QString::fromLatin1(m.name), m.object);
    }

    QObject *object(const QString &name) const
    {
        if (name == QLatin1String("Velkoran"))
            return const_cast<QMainWindow *>(&window);
        return byName.value(name);
    }
    QWidget *widget(const QString &name) const { return qobject_cast<QWidget *>(object(name)); }
};

// The name of the object O hangs from; a tab page reports its tab widget.
QString ownerName(const QObject *o)
{
    const QObject *p = o->parent();
    if (qobject_cast<const QStackedWidget *>(p) && qobject_cast<const QTabWidget *>(p->parent()))
        p = p->parent();
    return p ? p->objectName() : QString();
}

// The two rich-text documents labels carry their text in.
const QString kRichHead = QStringLiteral(
    "<html><head><meta name=\"qrichtext\" content=\"1\" /></head><body style=\" white-space: "
    "pre-wrap; font-family:Sans Serif; font-weight:400; font-style:normal; "
    "text-decoration:none;\"><p style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; "
    "margin-right:0px; -qt-block-indent:0; text-indent:0px;\">");
const QString kRichTail = QStringLiteral("</p></body></html>");
const QString kSpanHead = QStringLiteral("<span style=\" font-size:12pt;\">");
const QString kSpanTail = QStringLiteral("</span>");

enum class Format { Plain, Body, Pt12 };

QString wrap(Format f, const QString &visible)
{
    switch (f) {
    case Format::Plain:
        return visible;
    case Format::Body:
        return kRichHead + visible + kRichTail;
    case Format::Pt12:
        return kRichHead + kSpanHead + visible + kSpanTail + kRichTail;
    }
    return {};
}

// The visible words inside a text of format F, or a null string when the
// text does not have that shape.
QString unwrap(Format f, const QString &text)
{
    QString head, tail;
    if (f == Format::Body) {
        head = kRichHead;
        tail = kRichTail;
    } else if (f == Format::Pt12) {
        head = kRichHead + kSpanHead;
        tail = kSpanTail + kRichTail;
    }
    if (!text.startsWith(head) || !text.endsWith(tail) || text.size() < head.size() + tail.size())
        return QString();
    return text.mid(head.size(), text.size() - head.size() - tail.size());
}

// Reads one text of the form: a property ("text", "title", ...), a tab
// title ("tab:N" on the tab widget) or a combo box item ("item:N").
QString readText(const Form &form, const QString &objectName, const QString &what)
{
    QObject *o = form.object(objectName);
    if (!o)
        return QStringLiteral("<no object %1>").arg(objectName);
    if (what.startsWith(QLatin1String("tab:")))
        return qobject_cast<QTabWidget *>(o)->tabText(what.mid(4).toInt());
    if (what.startsWith(QLatin1String("item:")))
        return qobject_cast<QComboBox *>(o)->itemText(what.mid(5).toInt());
    return o->property(what.toLatin1().constData()).toString();
}

struct TextRow {
    const char *object;
    const char *what;
    Format format;
    const char *english;
    bool fixedPlace;   // sits at a fixed rectangle, so its text must fit it
    bool sameInGerman; // a name, number or format that German keeps as is
};

// Every visible text of the form.
const TextRow kTexts[] = {
    {"Velkoran", "windowTitle", Format::Plain, "Velkoran Theora Encoder", false, false},
    {"tab", "tab:0", Format::Plain, "Encode", false, false},
    {"tab", "tab:1", Format::Plain, "Metadata information", false, false},
    {"tab", "tab:2", Format::Plain, "Output options", false, false},
    {"tab", "tab:3", Format::Plain, "Input options", false, false},
    // Encode
    {"label", "text", Format::Pt12, "Please select a video file to encode:", true, false},
    {"openFileNameButton", "text", Format::Plain, "&Browse Files", true, false},
    {"label_11", "text", Format::Body, "Path to encoded file:", true, false},
    {"openDirectoryButton", "text", Format::Plain, "Browse &Directories", true, false},
    {"label_2", "text", Format::Body, "Encoded file name:", true, false},
    {"label_3", "text", Format::Pt12, "Select your encoder:", true, false},
    {"EncodersComboBox", "item:0", Format::Plain, "ffmpeg2theora", false, true},
    {"groupBox_2_2_3", "title", Format::Plain, "Encoding quality", true, false},
    {"AudiocomboBox", "item:0", Format::Plain, "Audio Quality", false, false},
    {"AudiocomboBox", "item:1", Format::Plain, "Audio Bitrate", false, false},
    {"VideocomboBox", "item:0", Format::Plain, "Video Quality", false, false},
    {"VideocomboBox", "item:1", Format::Plain, "Video Bitrate", false, false},
    {"AudioQualityHorizontalLabel", "text", Format::Plain, "6", false, true},
    {"VideoQualityHorizontalLabel", "text", Format::Plain, "3", false, true},
    {"EncodeToTheorapushButton", "text", Format::Plain, "&Encode to Ogg Theora", true, false},
    {"CancelpushButton", "text", Format::Plain, "&Cancel Encoding", true, false},
    // Metadata information
    {"label_9_2", "text", Format::Pt12, "Title:", true, false},
    {"label_9", "text", Format::Pt12, "Artist:", true, false},
    {"label_9_2_2", "text", Format::Pt12, "Date:", true, false},
    {"label_9_2_2_2", "text", Format::Pt12, "Organization:", true, false},
    {"label_9_2_2_2_2", "text", Format::Pt12, "Location:", true, false},
    {"label_10", "text", Format::Pt12, "Licence:", true, false},
    {"label_9_2_2_2_2_2", "text", Format::Pt12, "Copyright:", true, true},
    // Output options
    {"label_5", "text", Format::Body, "Scale width to given size:", false, false},
    {"label_12", "text", Format::Body, "Scale height to given size:", false, false},
    {"label_15", "text", Format::Body, "Define frame aspect ratio: i.e. 4:3 or 16:9:", false,
     false},
    {"label_17", "text", Format::Plain, "Set output samplerate in Hz:", false, false},
    {"label_18", "text", Format::Plain, "Set niceness to n:", false, false},
    {"label_14", "text", Format::Body, "Disable sound from input:", false, false},
    {"disableSoundcomboBox", "item:0", Format::Plain, "No", false, false},
    {"disableSoundcomboBox", "item:1", Format::Plain, "Yes", false, false},
    {"label_6", "text", Format::Plain, "Sharpness of images:", false, false},
    {"label_7", "text", Format::Plain, "Keyframe interval:", false, false},
    {"getDurationpushButton", "text", Format::Plain, "&Get Duration", false, false},
    {"startTimelabel", "text", Format::Body, "Start encoding at this time:", false, false},
    {"startTimetimeEdit", "displayFormat", Format::Plain, "hh:mm:ss", false, true},
    {"endTimelabel", "text", Format::Body, "End encoding at this time:", false, false},
    {"endTimetimeEdit", "displayFormat", Format::Plain, "hh:mm:ss ", false, true},
    {"groupBox_3", "title", Format::Plain, "Crop input before resizing", false, false},
    {"label_19", "text", Format::Body, "Top:", false, false},
    {"label_20", "text", Format::Body, "Bottom:", false, false},
    {"label_21", "text", Format::Body, "Left:", false, false},
    {"label_22", "text", Format::Body, "Right:", false, false},
    // Input options
    {"label_16", "text", Format::Body, "Deinterlace:", false, false},
    {"desableDeinterlacecomboBox", "item:0", Format::Plain, "On", false, false},
    {"desableDeinterlacecomboBox", "item:1", Format::Plain, "Off", false, false},
    {"label_13", "text", Format::Body, "Specify input format:", false, false},
    {"label_4", "text", Format::Body, "Over input fps:", false, false},
    {"disableVideolabel", "text", Format::Plain, "Disable video from input:", false, false},
};

// Texts the window's code translates in the same context.
const char *const kCodeTexts[] = {
    "Select your file",
    "Select your directory",
    "All Files (*)",
    "Please choose the directory for the encoded file.",
    "Please enter a name for the encoded file.",
    "Sound and video are both disabled, so nothing would be encoded. Set \"Disable sound from "
    "input\" or \"Disable video from input\" on the Output options page back to No.",
    "Stopping…",
    "Cancelled",
    "Cancelled · a partial file remains",
    "%1 % kept, Encode resumes it",
    "An earlier encode of this file stopped at %1 %.",
    "&Resume",
    "&Start over",
    "Audio bit rate in kilobits per second",
    "Video bit rate in kilobits per second",
    "kbit/s",
    "Length %1",
    "Niceness of the encoder",
    "Override the input's frames per second",
    "Frame aspect ratio, for example 4:3 or 16:9",
    "Output sample rate in hertz",
    "The encoder reported success, but wrote no file:\n%1",
    "The encoder reported success, but the file it wrote is empty:\n%1",
    "The encoder gave %1 as the length of the input, which is not a valid time. The whole input "
    "will be encoded.",
    "The encoder could not tell the length of the input (it read 0:00:00). The whole input will "
    "be encoded.",
    "An error occurred. Please check this message and try to correct your configuration:",
};

void addTextRows(bool onlyFixed)
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("english");
    QTest::addColumn<bool>("sameInGerman");
    for (const TextRow &r : kTexts) {
        if (onlyFixed && !r.fixedPlace)
            continue;
        QTest::addRow("%s.%s", r.object, r.what)
            << QString::fromLatin1(r.object) << QString::fromLatin1(r.what) << int(r.format)
            << QString::fromUtf8(r.english) << r.sameInGerman;
    }
}

// Installs the German catalogue for as long as it lives.
struct German {
    QTranslator translator;
    bool ok = false;
    German()
    {
        ok = translator.load(QStringLiteral(VELKORAN_TEST_QM));
        if (ok)
            QCoreApplication::installTranslator(&translator);
    }
    ~German() { QCoreApplication::removeTranslator(&translator); }
};

} // namespace

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void objects_data();
    void objects();
    void windowFrame();
    void initialState_data();
    void initialState();
    void bounds_data();
    void bounds();
    void noExtraSettings();
    void comboItems_data();
    void comboItems();
    void defaultButton();
    void gridCells_data();
    void gridCells();
    void gridSettings_data();
    void gridSettings();
    void gridPagesFollowTheWindow();
    void focusChain();
    void texts_data();
    void texts();
    void catalogueCoversEveryText_data();
    void catalogueCoversEveryText();
    void germanTexts_data();
    void germanTexts();
    void germanFitsFixedPlaces_data();
    void germanFitsFixedPlaces();
    void germanWindowKeepsItsSize();
};

void TestForm::objects_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parent");
    const Ui::Velkoran ui{}; // only the member table is read
    for (const Member &m : membersOf(ui))
        QTest::newRow(m.name) << QString::fromLatin1(m.name) << QString::fromLatin1(m.className)
                              << QString::fromLatin1(m.parentName);
}

void TestForm::objects()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parent);
    Form form;
    QObject *o = form.object(name);
    QVERIFY(o);
    QCOMPARE(o->objectName(), name);
    QCOMPARE(QString::fromLatin1(o->metaObject()->className()), className);
    QCOMPARE(ownerName(o), parent);
    if (auto *w = qobject_cast<QWidget *>(o))
        QCOMPARE(w->window(), &form.window);
}

void TestForm::windowFrame()
{
    Form form;
    QCOMPARE(form.window.objectName(), QStringLiteral("Velkoran"));
    QCOMPARE(form.window.centralWidget(), form.ui.centralWidget);
    QVERIFY(!form.window.findChild<QMenuBar *>());
    QVERIFY(!form.window.findChild<QStatusBar *>());
    QVERIFY(!form.window.findChild<QToolBar *>());
    QCOMPARE(form.ui.tab->count(), 4);
    const QWidget *pages[] = {form.ui.tab_2, form.ui.tab_21, form.ui.tab_22, form.ui.tab_23};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(form.ui.tab->widget(i), pages[i]);
    QCOMPARE(form.ui.tab->currentIndex(), 0);
    QVERIFY(!form.ui.tab_2->layout());
    QVERIFY(!form.ui.tab_21->layout());

    form.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    const QSize expected = QSize(561, 577).expandedTo(form.window.minimumSizeHint());
    QCOMPARE(form.window.size(), expected);
    QCOMPARE(form.window.minimumSize(), form.window.minimumSizeHint());
    QCOMPARE(form.window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void TestForm::initialState_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");
    const auto row = [](const char *object, const char *property, const QVariant &value) {
        QTest::addRow("%s.%s", object, property)
            << QString::fromLatin1(object) << QByteArray(property) << value;
    };
    row("AudioQualityHorizontalSlider", "minimum", -10);
    row("AudioQualityHorizontalSlider", "maximum", 100);
    row("AudioQualityHorizontalSlider", "singleStep", 1);
    row("AudioQualityHorizontalSlider", "value", 60);
    row("AudioQualityHorizontalSlider", "orientation", QVariant::fromValue(Qt::Horizontal));
    row("VideoQualityHorizontalSlider", "minimum", 0);
    row("VideoQualityHorizontalSlider", "maximum", 100);
    row("VideoQualityHorizontalSlider", "singleStep", 1);
    row("VideoQualityHorizontalSlider", "value", 30);
    row("VideoQualityHorizontalSlider", "sliderPosition", 30);
    row("VideoQualityHorizontalSlider", "orientation", QVariant::fromValue(Qt::Horizontal));
    for (const char *label : {"AudioQualityHorizontalLabel", "VideoQualityHorizontalLabel"}) {
        row(label, "textFormat", QVariant::fromValue(Qt::PlainText));
        row(label, "minimumSize", QSize(25, 0));
    }
    row("sharpnessspinBox", "minimum", 0);
    row("sharpnessspinBox", "maximum", 2);
    row("sharpnessspinBox", "value", 2);
    row("sharpnessspinBox", "text", QStringLiteral("2"));
    row("keyframespinBox", "minimum", 1);
    row("keyframespinBox", "maximum", 65536);
    row("keyframespinBox", "value", 64);
    row("keyframespinBox", "text", QStringLiteral("64"));
    row("progressBar", "minimum", 0);
    row("progressBar", "maximum", 100);
    row("progressBar", "value", 0);
    row("startTimetimeEdit", "time", QTime(0, 0));
    row("startTimetimeEdit", "text", QStringLiteral("00:00:00"));
    row("endTimetimeEdit", "time", QTime(0, 0));
    row("endTimetimeEdit", "text", QStringLiteral("00:00:00 "));
    for (const char *off : {"CancelpushButton", "getDurationpushButton", "startTimelabel",
                            "startTimetimeEdit", "endTimelabel", "endTimetimeEdit"})
        row(off, "enabled", false);
    row("EncodeToTheorapushButton", "enabled", true);
    row("openFileNameButton", "sizePolicy",
        QVariant::fromValue(QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding)));
    row("openFileNameButton", "accessibleDescription", QString());
    row("openFileNameButton", "shortcut", QVariant::fromValue(QKeySequence()));
    for (const char *line : {"line", "line_2", "line_3"}) {
        row(line, "frameShape", QVariant::fromValue(QFrame::HLine));
        row(line, "frameShadow", QVariant::fromValue(QFrame::Plain));
    }
    row("EncodersComboBox", "editable", false);
    row("AudiocomboBox", "currentIndex", 0);
    row("VideocomboBox", "currentIndex", 0);
    row("disableSoundcomboBox", "currentIndex", 0);
    row("disableVideocomboBox", "currentIndex", 0);
    row("desableDeinterlacecomboBox", "currentIndex", 0);
}

void TestForm::initialState()
{
    QFETCH(QString, object);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);
    Form form;
    QObject *o = form.object(object);
    QVERIFY(o);
    const QVariant actual = o->property(property.constData());
    QVERIFY2(actual.isValid(), property.constData());
    QCOMPARE(actual, expected);
}

// What the user can reach by typing or dragging: values beyond the ranges are
// pulled back to the ends.
void TestForm::bounds_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("tried");
    QTest::addColumn<int>("kept");
    QTest::newRow("audio slider below") << "AudioQualityHorizontalSlider" << -11 << -10;
    QTest::newRow("audio slider above") << "AudioQualityHorizontalSlider" << 101 << 100;
    QTest::newRow("video slider below") << "VideoQualityHorizontalSlider" << -1 << 0;
    QTest::newRow("video slider above") << "VideoQualityHorizontalSlider" << 101 << 100;
    QTest::newRow("sharpness below") << "sharpnessspinBox" << -1 << 0;
    QTest::newRow("sharpness above") << "sharpnessspinBox" << 3 << 2;
    QTest::newRow("keyframe below") << "keyframespinBox" << 0 << 1;
    QTest::newRow("keyframe above") << "keyframespinBox" << 65537 << 65536;
    QTest::newRow("keyframe top") << "keyframespinBox" << 65536 << 65536;
}

void TestForm::bounds()
{
    QFETCH(QString, object);
    QFETCH(int, tried);
    QFETCH(int, kept);
    Form form;
    QObject *o = form.object(object);
    QVERIFY(o->setProperty("value", tried));
    QCOMPARE(o->property("value").toInt(), kept);
}

// Nothing the form does not ask for: no help texts on any widget, and line
// edits that start empty, enabled and unrestricted.
void TestForm::noExtraSettings()
{
    Form form;
    for (const Member &m : membersOf(form.ui)) {
        auto *w = qobject_cast<QWidget *>(m.object);
        if (!w)
            continue;
        const QString what = QString::fromLatin1(m.name);
        QVERIFY2(w->toolTip().isEmpty(), qPrintable(what));
        QVERIFY2(w->whatsThis().isEmpty(), qPrintable(what));
        QVERIFY2(w->statusTip().isEmpty(), qPrintable(what));
        if (auto *e = qobject_cast<QLineEdit *>(w)) {
            QVERIFY2(e->text().isEmpty(), qPrintable(what));
            QVERIFY2(e->isEnabled(), qPrintable(what));
            QVERIFY2(!e->isReadOnly(), qPrintable(what));
            QVERIFY2(e->inputMask().isEmpty(), qPrintable(what));
            QVERIFY2(!e->validator(), qPrintable(what));
            QCOMPARE(e->maxLength(), QLineEdit().maxLength());
        }
    }
}

void TestForm::comboItems_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("encoders") << "EncodersComboBox" << QStringList{"ffmpeg2theora"};
    QTest::newRow("audio") << "AudiocomboBox" << QStringList{"Audio Quality", "Audio Bitrate"};
    QTest::newRow("video") << "VideocomboBox" << QStringList{"Video Quality", "Video Bitrate"};
    QTest::newRow("sound") << "disableSoundcomboBox" << QStringList{"No", "Yes"};
    QTest::newRow("no video") << "disableVideocomboBox" << QStringList{"No", "Yes"};
    QTest::newRow("deinterlace") << "desableDeinterlacecomboBox" << QStringList{"On", "Off"};
}

// Each box holds its items exactly once, without user data, and shows the first.
void TestForm::comboItems()
{
    QFETCH(QString, combo);
    QFETCH(QStringList, items);
    Form form;
    auto *box = qobject_cast<QComboBox *>(form.object(combo));
    QVERIFY(box);
    QStringList actual;
    for (int i = 0; i < box->count(); ++i) {
        actual << box->itemText(i);
        QVERIFY(!box->itemData(i).isValid());
    }
    QCOMPARE(actual, items);
    QCOMPARE(box->currentText(), items.first());
    QVERIFY(!box->isEditable());
}

void TestForm::defaultButton()
{
    Form form;
    const auto buttons = form.window.findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 3);
    for (QPushButton *b : buttons) {
        const bool isEncode = b == form.ui.EncodeToTheorapushButton;
        QVERIFY2(b->isDefault() == isEncode, qPrintable(b->objectName()));
        QVERIFY2(!b->autoDefault() || isEncode, qPrintable(b->objectName()));
    }
    QVERIFY(form.ui.EncodeToTheorapushButton->autoDefault());
}

void TestForm::gridCells_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QRect>("cell"); // column, row, column span, row span
    const auto row = [](const char *layout, const char *object, int r, int c, int rs = 1,
                        int cs = 1) {
        QTest::newRow(object) << QString::fromLatin1(layout) << QString::fromLatin1(object)
                              << QRect(c, r, cs, rs);
    };
    row("gridLayout", "tab", 0, 0);
    row("gridLayout", "progressBar", 1, 0);
    row("gridLayout1", "AudiocomboBox", 0, 0);
    row("gridLayout1", "AudioQualityHorizontalSlider", 0, 1);
    row("gridLayout1", "AudioQualityHorizontalLabel", 0, 2);
    row("gridLayout1", "VideocomboBox", 1, 0);
    row("gridLayout1", "VideoQualityHorizontalSlider", 1, 1);
    row("gridLayout1", "VideoQualityHorizontalLabel", 1, 2);
    row("gridLayout2", "label_5", 0, 0, 1, 2);
    row("gridLayout2", "ScaleWidthlineEdit", 0, 2);
    row("gridLayout2", "label_12", 1, 0, 1, 2);
    row("gridLayout2", "ScaleHeightlineEdit", 1, 2);
    row("gridLayout2", "label_15", 2, 0, 1, 2);
    row("gridLayout2", "frameAspectlineEdit", 2, 2);
    row("gridLayout2", "label_17", 3, 0, 1, 2);
    row("gridLayout2", "outputSampleratelineEdit", 3, 2);
    row("gridLayout2", "label_18", 4, 0, 1, 2);
    row("gridLayout2", "nicenesslineEdit", 4, 2);
    row("gridLayout2", "label_14", 5, 0, 1, 2);
    row("gridLayout2", "disableSoundcomboBox", 5, 2);
    row("gridLayout2", "label_6", 6, 0, 1, 2);
    row("gridLayout2", "sharpnessspinBox", 6, 2);
    row("gridLayout2", "label_7", 7, 0, 1, 2);
    row("gridLayout2", "keyframespinBox", 7, 2);
    row("gridLayout2", "getDurationpushButton", 8, 0, 1, 3);
    row("gridLayout2", "startTimelabel", 9, 0);
    row("gridLayout2", "startTimetimeEdit", 9, 1);
    row("gridLayout2", "endTimelabel", 10, 0);
    row("gridLayout2", "endTimetimeEdit", 10, 1);
    row("gridLayout2", "groupBox_3", 11, 0, 1, 3);
    row("gridLayout2", "disableVideolabel", 12, 0, 1, 2);
    row("gridLayout2", "disableVideocomboBox", 12, 2);
    row("gridLayout3", "label_19", 0, 0);
    row("gridLayout3", "cropToplineEdit", 0, 1);
    row("gridLayout3", "label_20", 1, 0);
    row("gridLayout3", "cropBottomlineEdit", 1, 1);
    row("gridLayout3", "label_21", 2, 0);
    row("gridLayout3", "cropLeftlineEdit", 2, 1);
    row("gridLayout3", "label_22", 3, 0);
    row("gridLayout3", "cropRightlineEdit", 3, 1);
    row("gridLayout4", "label_16", 0, 0);
    row("gridLayout4", "desableDeinterlacecomboBox", 0, 1);
    row("gridLayout4", "label_13", 1, 0);
    row("gridLayout4", "inputFormatlineEdit", 1, 1);
    row("gridLayout4", "label_4", 2, 0);
    row("gridLayout4", "inputfpslineEdit", 2, 1);
}

void TestForm::gridCells()
{
    QFETCH(QString, layout);
    QFETCH(QString, object);
    QFETCH(QRect, cell);
    Form form;
    auto *grid = qobject_cast<QGridLayout *>(form.object(layout));
    QWidget *w = form.widget(object);
    QVERIFY(grid && w);
    const int index = grid->indexOf(w);
    QVERIFY2(index >= 0, "not in this grid");
    int r = -1, c = -1, rs = -1, cs = -1;
    grid->getItemPosition(index, &r, &c, &rs, &cs);
    QCOMPARE(QRect(c, r, cs, rs), cell);
    QCOMPARE(grid->itemAt(index)->alignment(), Qt::Alignment());
}

void TestForm::gridSettings_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("owner");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::newRow("gridLayout") << "gridLayout"
                                << "centralWidget" << 2 << 2 << 1;
    QTest::newRow("gridLayout1") << "gridLayout1"
                                 << "groupBox_2_2_3" << 6 << 2 << 3;
    QTest::newRow("gridLayout2") << "gridLayout2"
                                 << "tab_22" << 24 << 13 << 3;
    QTest::newRow("gridLayout3") << "gridLayout3"
                                 << "groupBox_3" << 8 << 4 << 2;
    QTest::newRow("gridLayout4") << "gridLayout4"
                                 << "tab_23" << 6 << 3 << 2;
}

// Each grid sits on its widget with margin 8 and spacing 6, and holds nothing
// beyond the cells listed in gridCells.
void TestForm::gridSettings()
{
    QFETCH(QString, layout);
    QFETCH(QString, owner);
    QFETCH(int, items);
    QFETCH(int, rows);
    QFETCH(int, columns);
    Form form;
    auto *grid = qobject_cast<QGridLayout *>(form.object(layout));
    QVERIFY(grid);
    QCOMPARE(grid->parentWidget(), form.widget(owner));
    QCOMPARE(form.widget(owner)->layout(), grid);
    QCOMPARE(grid->contentsMargins(), QMargins(8, 8, 8, 8));
    QCOMPARE(grid->horizontalSpacing(), 6);
    QCOMPARE(grid->verticalSpacing(), 6);
    QCOMPARE(grid->count(), items);
    QCOMPARE(grid->rowCount(), rows);
    QCOMPARE(grid->columnCount(), columns);
}

// The tab widget and progress bar follow the window through the central grid,
// and so do the fields of the pages laid out by grids.
void TestForm::gridPagesFollowTheWindow()
{
    Form form;
    form.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    const int barWidth = form.ui.progressBar->width();
    form.ui.tab->setCurrentIndex(2);
    QTRY_VERIFY(form.ui.ScaleWidthlineEdit->isVisible());
    const int fieldRight = form.ui.ScaleWidthlineEdit->geometry().right();
    const int cropWidth = form.ui.groupBox_3->width();
    form.window.resize(form.window.width() + 200, form.window.height() + 100);
    QTRY_COMPARE(form.ui.progressBar->width(), barWidth + 200);
    QCOMPARE(form.ui.tab->width(), form.ui.centralWidget->width() - 16);
    QTRY_VERIFY(form.ui.ScaleWidthlineEdit->geometry().right() > fieldRight);
    // The crop group spans all three columns of its page.
    QCOMPARE(form.ui.groupBox_3->width(), cropWidth + 200);
    QVERIFY(form.ui.progressBar->y() > form.ui.tab->geometry().bottom());
}

// Tab walks from the tab bar through the four pages and ends at the input fps field.
void TestForm::focusChain()
{
    const QStringList expected = {"tab",
                                  "openFileNameLineEdit",
                                  "openFileNameButton",
                                  "openDirectoryLineEdit",
                                  "openDirectoryButton",
                                  "outputFileNameLineEdit",
                                  "EncodersComboBox",
                                  "AudiocomboBox",
                                  "AudioQualityHorizontalSlider",
                                  "VideocomboBox",
                                  "VideoQualityHorizontalSlider",
                                  "EncodeToTheorapushButton",
                                  "CancelpushButton",
                                  "TitleLineEdit",
                                  "ArtistLineEdit",
                                  "DateLineEdit",
                                  "OraganizationLineEdit",
                                  "LocationLineEdit",
                                  "LicenseLineEdit",
                                  "CopyrightLineEdit",
                                  "ScaleWidthlineEdit",
                                  "ScaleHeightlineEdit",
                                  "frameAspectlineEdit",
                                  "outputSampleratelineEdit",
                                  "nicenesslineEdit",
                                  "disableSoundcomboBox",
                                  "sharpnessspinBox",
                                  "keyframespinBox",
                                  "getDurationpushButton",
                                  "startTimetimeEdit",
                                  "endTimetimeEdit",
                                  "cropToplineEdit",
                                  "cropBottomlineEdit",
                                  "cropLeftlineEdit",
                                  "cropRightlineEdit",
                                  "desableDeinterlacecomboBox",
                                  "inputFormatlineEdit",
                                  "inputfpslineEdit"};
    QCOMPARE(expected.size(), 38);
    Form form;
    QSet<QWidget *> chained;
    for (const QString &name : expected)
        chained.insert(form.widget(name));
    QStringList walked;
    QWidget *w = form.ui.tab;
    do {
        if (chained.contains(w))
            walked << w->objectName();
        w = w->nextInFocusChain();
    } while (w != form.ui.tab);
    QCOMPARE(walked, expected);
}

// Every text in English, in the document shape its widget carries it in.
void TestForm::texts_data()
{
    addTextRows(false);
}

void TestForm::texts()
{
    QFETCH(QString, object);
    QFETCH(QString, what);
    QFETCH(int, format);
    QFETCH(QString, english);
    Form form;
    const QString text = readText(form, object, what);
    QCOMPARE(text, wrap(Format(format), english));
    if (auto *label = qobject_cast<QLabel *>(form.object(object))) {
        // Rich documents must render as rich text: the label keeps automatic
        // detection, except for the two quality values, which are plain.
        if (Format(format) != Format::Plain) {
            QCOMPARE(label->textFormat(), Qt::AutoText);
            QVERIFY(Qt::mightBeRichText(text));
            QTextDocument doc;
            doc.setHtml(text);
            QCOMPARE(doc.toPlainText(), english);
        } else {
            QVERIFY(!Qt::mightBeRichText(text));
        }
    }
}

void TestForm::catalogueCoversEveryText_data()
{
    QTest::addColumn<QString>("source");
    QSet<QString> seen;
    for (const TextRow &r : kTexts) {
        const QString source = wrap(r.format, QString::fromUtf8(r.english));
        if (!seen.contains(source)) {
            seen.insert(source);
            QTest::addRow("%s.%s", r.object, r.what) << source;
        }
    }
    for (const char *s : kCodeTexts)
        QTest::newRow(s) << QString::fromUtf8(s);
}

// The catalogue has a finished entry for every text, under the form's context.
void TestForm::catalogueCoversEveryText()
{
    QFETCH(QString, source);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(VELKORAN_TEST_QM)));
    const QString german = translator.translate("Velkoran", source.toUtf8().constData());
    QVERIFY2(!german.isEmpty(), qPrintable(source));
}

void TestForm::germanTexts_data()
{
    addTextRows(false);
}

// With the catalogue installed no English is left, and rich documents keep
// their shape around the German words.
void TestForm::germanTexts()
{
    QFETCH(QString, object);
    QFETCH(QString, what);
    QFETCH(int, format);
    QFETCH(QString, english);
    QFETCH(bool, sameInGerman);
    German german;
    QVERIFY(german.ok);
    Form form;
    const QString text = readText(form, object, what);
    const QString words = unwrap(Format(format), text);
    QVERIFY2(!words.isNull(), qPrintable(text));
    QVERIFY(!words.trimmed().isEmpty());
    QVERIFY(!words.contains(QLatin1Char('<')));
    if (sameInGerman)
        QCOMPARE(words, english);
    else
        QVERIFY2(words != english, qPrintable(words));
}

void TestForm::germanFitsFixedPlaces_data()
{
    QTest::addColumn<QString>("object");
    for (const TextRow &r : kTexts)
        if (r.fixedPlace && !r.sameInGerman)
            QTest::newRow(r.object) << QString::fromLatin1(r.object);
}

// Widgets at fixed rectangles cannot grow, so the German words must fit them.
// (The English texts and the rectangles are given; "Organization:" is wider
// than its 82 pixels.)
void TestForm::germanFitsFixedPlaces()
{
    QFETCH(QString, object);
    German german;
    QVERIFY(german.ok);
    Form form;
    QWidget *w = form.widget(object);
    QVERIFY(w);
    QSize need = w->sizeHint();
    if (auto *box = qobject_cast<QGroupBox *>(w))
        need = QSize(box->fontMetrics().horizontalAdvance(box->title()), 0);
    QVERIFY2(need.width() <= w->width(),
             qPrintable(QStringLiteral("needs %1 px, has %2").arg(need.width()).arg(w->width())));
    if (qobject_cast<QLabel *>(w))
        QVERIFY2(
            need.height() <= w->height(),
            qPrintable(
                QStringLiteral("needs %1 px high, has %2").arg(need.height()).arg(w->height())));
}

// The German texts of the grid pages and the tab bar must not force the
// window beyond its usual size.
void TestForm::germanWindowKeepsItsSize()
{
    German german;
    QVERIFY(german.ok);
    Form form;
    form.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    QCOMPARE(form.window.size(), QSize(561, 577));
    QVERIFY(form.ui.tab->tabBar()->sizeHint().width() <= form.ui.tab->width());
}

QTEST_MAIN(TestForm)
#include "tst_form.moc"
