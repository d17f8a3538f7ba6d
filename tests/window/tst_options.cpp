// SPDX-License-Identifier: GPL-3.0-or-later
// Every option of the form reaching the encoder, the duration probe and the
// trim range, checked through the arguments the fake encoder receives.

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>

#include "spoken.h"
#include "testsupport.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

// A time line as the encoder prints it before it starts encoding.
const QString twoMinutes = QStringLiteral("  Duration: 0:02:00.00, start: 0.000000");

const QStringList defaultQuality = {"--audioquality", "6", "--videoquality", "3"};
const QStringList defaultTail = {"--sharpness", "2", "--keyint", "64"};

// The encoder's behaviour for a probe: it prints LINE on its error output
// and would then go on for a second if it were not stopped.
QString probeBehaviour(const QString &line)
{
    return "printf '%s\\n' '" + line + "' >&2; exec sleep 1";
}

// Sets each widget named in SETTINGS (name, value, name, value, ...) as a user
// would: a line edit's or label's text, a combo box's entry (picked, so that
// it is activated even when it is the current one), a slider's or spin box's
// value, a time editor's time (hh:mm:ss).
void apply(Velkoran &w, const QStringList &settings)
{
    QVERIFY(settings.size() % 2 == 0);
    for (int i = 0; i + 1 < settings.size(); i += 2) {
        const QString &name = settings[i];
        const QString &value = settings[i + 1];
        QWidget *widget = w.findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable("no widget " + name));
        if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            edit->setText(value);
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            combo->setCurrentIndex(value.toInt());
            emit combo->activated(value.toInt());
        } else if (auto *slider = qobject_cast<QSlider *>(widget)) {
            slider->setValue(value.toInt());
        } else if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
            spin->setValue(value.toInt());
        } else if (auto *time = qobject_cast<QTimeEdit *>(widget)) {
            time->setTime(QTime::fromString(value, "hh:mm:ss"));
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            label->setText(value);
        } else {
            QFAIL(qPrintable("cannot set " + name));
        }
    }
}

// A window with an input chosen, the fake encoder first on PATH and every
// dialog answered.
struct Session {
    FakeEncoder fake;
    QTemporaryDir dir;
    ModalWatcher watcher;
    Velkoran w;
    Ui::Velkoran &ui;
    QProcess &process;
    QString input;
    QString output;

    Session()
        : ui(VelkoranTestAccess::ui(w)), process(VelkoranTestAccess::process(w)),
          input(dir.filePath("clip.avi")), output(dir.filePath("clip.ogg"))
    {
        w.chooseInputFile(input);
    }

    ~Session()
    {
        // A child still running after a failed check ends while the window is whole.
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(3000);
        }
    }

    bool idle() const
    {
        return process.state() == QProcess::NotRunning && ui.EncodeToTheorapushButton->isEnabled();
    }

    // Presses BUTTON and waits until the child it started has ended.
    bool runWith(QAbstractButton *button)
    {
        const int before = fake.runs();
        button->click();
        return QTest::qWaitFor([&] { return fake.runs() > before && idle(); }, 5000);
    }
    bool encode() { return runWith(ui.EncodeToTheorapushButton); }
    bool probe(const QString &line)
    {
        fake.setBehaviour(probeBehaviour(line));
        return runWith(ui.getDurationpushButton);
    }

    QStringList base() const { return {input, "-o", output}; }

    // The command text as the encode button builds it.
    QString commandText()
    {
        return VelkoranTestAccess::baseCommand(w) + VelkoranTestAccess::audio(w).join("") +
               VelkoranTestAccess::video(w).join("") + VelkoranTestAccess::metainfo(w).join("") +
               VelkoranTestAccess::args(w).join("");
    }

    QStringList boxTexts() const
    {
        QStringList texts;
        for (const ModalWatcher::Box &box : watcher.boxes)
            texts << box.text;
        return texts;
    }
};

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void quality_data();
    void quality();
    void metadata_data();
    void metadata();
    void pictureSoundOptions_data();
    void pictureSoundOptions();
    void toSeconds_data();
    void toSeconds();
    void probeBoundsEditors_data();
    void probeBoundsEditors();
    void startTimeRaisesEndMinimum_data();
    void startTimeRaisesEndMinimum();
    void encodeCarriesTrimRange_data();
    void encodeCarriesTrimRange();
    void newInputDropsTrimRange_data();
    void newInputDropsTrimRange();
    void probeLeavesUserFilesAlone_data();
    void probeLeavesUserFilesAlone();
    void probeWithoutTime_data();
    void probeWithoutTime();
    void noSecondStartDuringProbe();
    void probeIgnoredDuringEncode();
    void probeTimeBehindErrorBox();
    void probeLongerThanADay_data();
    void probeLongerThanADay();
    void wholeSession();
    void settingsKept_data();
    void settingsKept();
    void presetApplied_data();
    void presetApplied();
    void nothingLeftToEncode();
};

void TestOptions::workedExamples_data()
{
    QTest::addColumn<QString>("probe"); // the probe's time line; empty: no probe
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("command");

    QTest::newRow("quality, bit rate, title, size")
        << QString()
        << QStringList{"AudioQualityHorizontalSlider", "65",  "VideocomboBox",       "1",
                       "VideoQualityHorizontalSlider", "600", "TitleLineEdit",       "Holiday",
                       "ScaleWidthlineEdit",           "320", "ScaleHeightlineEdit", "240"}
        << "ffmpeg2theora /home/user/video/holiday.avi -o /home/user/video/holiday.ogg"
           " --audioquality 6.5 --videobitrate 600 --title Holiday --width 320 --height 240"
           " --sharpness 2 --keyint 64";
    // clang-format off
    QTest::newRow("probed, trimmed, no sound, no deinterlacing")
        << twoMinutes
        << QStringList{"startTimetimeEdit", "00:00:30", "endTimetimeEdit", "00:01:35",
                       "disableSoundcomboBox", "1", "desableDeinterlacecomboBox", "1"}
        << "ffmpeg2theora /home/user/video/holiday.avi -o /home/user/video/holiday.ogg"
           " --audioquality 6 --videoquality 3 --nosound  -d off  --sharpness 2 --keyint 64"
           " --starttime 30 --endtime 95";
    // clang-format on
}

void TestOptions::workedExamples()
{
    QFETCH(QString, probe);
    QFETCH(QStringList, settings);
    QFETCH(QString, command);
    Session s;
    s.w.chooseInputFile("/home/user/video/holiday.avi");
    if (!probe.isEmpty()) {
        QVERIFY(s.probe(probe));
        QVERIFY(s.ui.startTimetimeEdit->isEnabled());
        s.fake.setBehaviour("exit 0");
    }
    apply(s.w, settings);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(s.encode());
    QStringList words = command.split(' ', Qt::SkipEmptyParts);
    words.removeFirst();
    QCOMPARE(s.fake.arguments(), words);
    QCOMPARE(s.commandText(), command);
}

void TestOptions::quality_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<bool>("audio"); // which stream the row is about
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("option");

    const QString aSlider = "AudioQualityHorizontalSlider",
                  vSlider = "VideoQualityHorizontalSlider";
    const QString aMode = "AudiocomboBox", vMode = "VideocomboBox";

    QTest::newRow("audio untouched") << QStringList{} << true << -10 << 100 << 60 << "6"
                                     << "--audioquality";
    QTest::newRow("video untouched") << QStringList{} << false << 0 << 100 << 30 << "3"
                                     << "--videoquality";
    const std::pair<int, const char *> audioSteps[] = {
        {-10, "-1"}, {-5, "-0.5"}, {0, "0"}, {65, "6.5"}, {100, "10"}};
    for (const auto &[value, label] : audioSteps)
        QTest::addRow("audio quality %d", value)
            << QStringList{aSlider, QString::number(value)} << true << -10 << 100 << value << label
            << "--audioquality";
    const std::pair<int, const char *> videoSteps[] = {
        {0, "0"}, {5, "0.5"}, {65, "6.5"}, {100, "10"}};
    for (const auto &[value, label] : videoSteps)
        QTest::addRow("video quality %d", value)
            << QStringList{vSlider, QString::number(value)} << false << 0 << 100 << value << label
            << "--videoquality";
    QTest::newRow("video quality stops at 0")
        << QStringList{vSlider, "-10"} << false << 0 << 100 << 0 << "0"
        << "--videoquality";

    QTest::newRow("audio bit rate picked")
        << QStringList{aMode, "1"} << true << 45 << 2000 << 92 << "92"
        << "--audiobitrate";
    QTest::newRow("video bit rate picked")
        << QStringList{vMode, "1"} << false << 45 << 2000 << 92 << "92"
        << "--videobitrate";
    QTest::newRow("audio bit rate from quality 1")
        << QStringList{aSlider, "10", aMode, "1"} << true << 45 << 2000 << 92 << "92"
        << "--audiobitrate";
    QTest::newRow("audio bit rate 2000")
        << QStringList{aMode, "1", aSlider, "2000"} << true << 45 << 2000 << 2000 << "2000"
        << "--audiobitrate";
    QTest::newRow("video bit rate 45")
        << QStringList{vMode, "1", vSlider, "45"} << false << 45 << 2000 << 45 << "45"
        << "--videobitrate";

    QTest::newRow("audio quality picked again")
        << QStringList{aSlider, "65", aMode, "0"} << true << -10 << 100 << 60 << "6"
        << "--audioquality";
    QTest::newRow("video quality picked again")
        << QStringList{vSlider, "77", vMode, "0"} << false << 0 << 100 << 30 << "3"
        << "--videoquality";
    QTest::newRow("audio bit rate picked again")
        << QStringList{aMode, "1", aSlider, "1500", aMode, "1"} << true << 45 << 2000 << 92 << "92"
        << "--audiobitrate";
    QTest::newRow("video bit rate picked again")
        << QStringList{vMode, "1", vSlider, "1500", vMode, "1"} << false << 45 << 2000 << 92 << "92"
        << "--videobitrate";

    QTest::newRow("audio bit rate 1500 back to quality")
        << QStringList{aMode, "1", aSlider, "1500", aMode, "0"} << true << -10 << 100 << 60 << "6"
        << "--audioquality";
    QTest::newRow("video bit rate 1500 back to quality")
        << QStringList{vMode, "1", vSlider, "1500", vMode, "0"} << false << 0 << 100 << 30 << "3"
        << "--videoquality";

    QTest::newRow("the label is the value")
        << QStringList{aSlider, "65", "AudioQualityHorizontalLabel", "7.25"} << true << -10 << 100
        << 65 << "7.25"
        << "--audioquality";
}

void TestOptions::quality()
{
    QFETCH(QStringList, settings);
    QFETCH(bool, audio);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(QString, label);
    QFETCH(QString, option);
    Session s;
    apply(s.w, settings);
    if (QTest::currentTestFailed())
        return;

    const QSlider *slider =
        audio ? s.ui.AudioQualityHorizontalSlider : s.ui.VideoQualityHorizontalSlider;
    QCOMPARE(slider->minimum(), minimum);
    QCOMPARE(slider->maximum(), maximum);
    QCOMPARE(slider->value(), value);
    QCOMPARE((audio ? s.ui.AudioQualityHorizontalLabel : s.ui.VideoQualityHorizontalLabel)->text(),
             label);

    QVERIFY(s.encode());
    QStringList quality = defaultQuality;
    quality[audio ? 0 : 2] = option;
    quality[audio ? 1 : 3] = label;
    QCOMPARE(s.fake.arguments(), s.base() + quality + defaultTail);
}

void TestOptions::metadata_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QStringList>("group");

    QTest::newRow("none") << QStringList{} << QStringList{};
    QTest::newRow("title only") << QStringList{"TitleLineEdit", "Holiday"}
                                << QStringList{"--title", "Holiday"};
    QTest::newRow("artist before title, title typed first")
        << QStringList{"TitleLineEdit", "Holiday", "ArtistLineEdit", "Band"}
        << QStringList{"--artist", "Band", "--title", "Holiday"};
    QTest::newRow("artist before title, artist typed first")
        << QStringList{"ArtistLineEdit", "Band", "TitleLineEdit", "Holiday"}
        << QStringList{"--artist", "Band", "--title", "Holiday"};
    QTest::newRow("all seven, typed from the top of the page")
        << QStringList{"TitleLineEdit",     "T", "ArtistLineEdit",        "A",
                       "DateLineEdit",      "D", "OraganizationLineEdit", "O",
                       "LocationLineEdit",  "L", "LicenseLineEdit",       "Li",
                       "CopyrightLineEdit", "C"}
        << QStringList{"--artist",   "A", "--title",        "T", "--date",      "D",
                       "--location", "L", "--organization", "O", "--copyright", "C",
                       "--license",  "Li"};
    QTest::newRow("blank only") << QStringList{"TitleLineEdit", " "} << QStringList{"--title", " "};
    QTest::newRow("blanks only, between two values")
        << QStringList{"ArtistLineEdit", "Band", "TitleLineEdit", "   ", "DateLineEdit", "2009"}
        << QStringList{"--artist", "Band", "--title", "   ", "--date", "2009"};
    QTest::newRow("two words") << QStringList{"TitleLineEdit", "Summer Holiday"}
                               << QStringList{"--title", "Summer Holiday"};
    QTest::newRow("outer blanks kept")
        << QStringList{"ArtistLineEdit", "  Band  "} << QStringList{"--artist", "  Band  "};
    QTest::newRow("tab") << QStringList{"LocationLineEdit", "a\tb"}
                         << QStringList{"--location", "a\tb"};
    QTest::newRow("double quotes") << QStringList{"TitleLineEdit", "say \"hi\" now"}
                                   << QStringList{"--title", "say \"hi\" now"};
    QTest::newRow("lone double quote")
        << QStringList{"TitleLineEdit", "\""} << QStringList{"--title", "\""};
    QTest::newRow("two double quotes, no blank")
        << QStringList{"TitleLineEdit", "a\"\"b"} << QStringList{"--title", "a\"\"b"};
    QTest::newRow("single quotes")
        << QStringList{"TitleLineEdit", "Rock'n'Roll"} << QStringList{"--title", "Rock'n'Roll"};
    QTest::newRow("not ASCII") << QStringList{"OraganizationLineEdit", "Müller & Söhne"}
                               << QStringList{"--organization", "Müller & Söhne"};
    QTest::newRow("another output path stays a value")
        << QStringList{"TitleLineEdit", "x -o /tmp/other.ogv"}
        << QStringList{"--title", "x -o /tmp/other.ogv"};
    QTest::newRow("an option stays a value")
        << QStringList{"CopyrightLineEdit", "--nosound"} << QStringList{"--copyright", "--nosound"};
}

void TestOptions::metadata()
{
    QFETCH(QStringList, settings);
    QFETCH(QStringList, group);
    Session s;
    apply(s.w, settings);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(s.encode());
    QCOMPARE(s.fake.arguments(), s.base() + defaultQuality + group + defaultTail);
    QCOMPARE(EncodeSettings(&s.w).arguments(FormOption::Group::Metadata), group); // the form table
}

void TestOptions::pictureSoundOptions_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QStringList>("group");
    QTest::addColumn<QString>("text"); // the group's text in the command

    QTest::newRow("untouched") << QStringList{} << defaultTail << " --sharpness 2 --keyint 64";
    QTest::newRow("no sound, no deinterlacing")
        << QStringList{"disableSoundcomboBox", "1", "desableDeinterlacecomboBox", "1"}
        << QStringList{"--nosound", "-d", "off"} + defaultTail
        << " --nosound  -d off  --sharpness 2 --keyint 64";
    QTest::newRow("no video") << QStringList{"disableVideocomboBox", "1",
                                             "desableDeinterlacecomboBox", "1"}
                              << QStringList{"--novideo", "-d", "off"} + defaultTail
                              << " --novideo  -d off  --sharpness 2 --keyint 64";
    QTest::newRow("no deinterlacing only")
        << QStringList{"desableDeinterlacecomboBox", "1"} << QStringList{"-d", "off"} + defaultTail
        << " -d off  --sharpness 2 --keyint 64";
    QTest::newRow("sound and deinterlacing picked back")
        << QStringList{"disableSoundcomboBox", "1", "desableDeinterlacecomboBox", "1",
                       "disableSoundcomboBox", "0", "desableDeinterlacecomboBox", "0"}
        << defaultTail << " --sharpness 2 --keyint 64";
    QTest::newRow("format once") << QStringList{"inputFormatlineEdit", "avi", "ScaleWidthlineEdit",
                                                "320"}
                                 << QStringList{"--width", "320", "--format", "avi"} + defaultTail
                                 << " --width 320 --format avi --sharpness 2 --keyint 64";
    QTest::newRow("crop typed right to left")
        << QStringList{"cropRightlineEdit",  "4", "cropLeftlineEdit", "3",
                       "cropBottomlineEdit", "2", "cropToplineEdit",  "1"}
        << QStringList{"--croptop",  "1", "--cropbottom", "2",
                       "--cropleft", "3", "--cropright",  "4"} +
               defaultTail
        << " --croptop 1 --cropbottom 2 --cropleft 3 --cropright 4 --sharpness 2 --keyint 64";
    // clang-format off
    QTest::newRow("every option, set last to first")
        << QStringList{"inputfpslineEdit", "30000/1001",
                       "inputFormatlineEdit", "dv",
                       "desableDeinterlacecomboBox", "1",
                       "keyframespinBox", "128",
                       "sharpnessspinBox", "1",
                       "disableSoundcomboBox", "1",
                       "cropRightlineEdit", "8",
                       "cropLeftlineEdit", "6",
                       "cropBottomlineEdit", "4",
                       "cropToplineEdit", "2",
                       "nicenesslineEdit", "5",
                       "outputSampleratelineEdit", "44100",
                       "frameAspectlineEdit", "16:9",
                       "ScaleHeightlineEdit", "240",
                       "ScaleWidthlineEdit", "320"}
        << QStringList{"--width", "320", "--height", "240", "--format", "dv", "--aspect", "16:9",
                       "--samplerate", "44100", "--nice", "5",
                       "--croptop", "2", "--cropbottom", "4", "--cropleft", "6", "--cropright", "8",
                       "--nosound", "-d", "off", "--sharpness", "1", "--keyint", "128",
                       "--inputfps", "30000/1001"}
        << " --width 320 --height 240 --format dv --aspect 16:9 --samplerate 44100 --nice 5"
           " --croptop 2 --cropbottom 4 --cropleft 6 --cropright 8 --nosound  -d off "
           " --sharpness 1 --keyint 128 --inputfps 30000/1001";
    // clang-format on
    QTest::newRow("spin boxes at their lowest")
        << QStringList{"sharpnessspinBox", "0", "keyframespinBox", "1"}
        << QStringList{"--sharpness", "0", "--keyint", "1"} << " --sharpness 0 --keyint 1";
    QTest::newRow("key frame interval at its highest")
        << QStringList{"keyframespinBox", "65536"}
        << QStringList{"--sharpness", "2", "--keyint", "65536"} << " --sharpness 2 --keyint 65536";
    QTest::newRow("values as typed")
        << QStringList{"ScaleWidthlineEdit", " 320 ", "outputSampleratelineEdit", "lots",
                       "nicenesslineEdit",   " ",     "frameAspectlineEdit",      "4 : 3"}
        << QStringList{"--width",      " 320 ", "--aspect", "4 : 3",
                       "--samplerate", "lots",  "--nice",   " "} +
               defaultTail
        << " --width \" 320 \" --aspect \"4 : 3\" --samplerate lots --nice \" \""
           " --sharpness 2 --keyint 64";
}

void TestOptions::pictureSoundOptions()
{
    QFETCH(QStringList, settings);
    QFETCH(QStringList, group);
    QFETCH(QString, text);
    Session s;
    apply(s.w, settings);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(s.encode());
    QCOMPARE(s.fake.arguments(), s.base() + defaultQuality + group);
    QCOMPARE(EncodeSettings(&s.w).arguments(FormOption::Group::Picture), group); // the form table
    QCOMPARE(VelkoranTestAccess::args(s.w).join(""), text);
    QVERIFY(!VelkoranTestAccess::customEndTimeBool(s.w));
}

void TestOptions::toSeconds_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("seconds");
    QTest::newRow("midnight") << QTime(0, 0, 0) << 0;
    QTest::newRow("01:02:03") << QTime(1, 2, 3) << 3723;
    QTest::newRow("last second of the day") << QTime(23, 59, 59) << 86399;
    QTest::newRow("milliseconds dropped") << QTime(0, 0, 59, 999) << 59;
}

void TestOptions::toSeconds()
{
    QFETCH(QTime, time);
    QFETCH(int, seconds);
    Velkoran w;
    QCOMPARE(VelkoranTestAccess::toSeconds(w, time), seconds);
}

void TestOptions::probeBoundsEditors_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QTime>("end"); // end time and end maximum; invalid: the toolkit's
    QTest::addColumn<QTime>("startMaximum");
    QTest::addColumn<int>("progressMaximum");

    QTest::newRow("0:01:23") << "  Duration: 0:01:23.45, start: 0.000000, bitrate: 1205 kb/s"
                             << QTime(0, 1, 23) << QTime(0, 1, 22) << 83;
    QTest::newRow("two-digit hour field")
        << "  Duration: 00:01:23.45" << QTime(0, 1, 23) << QTime(0, 1, 22) << 83;
    QTest::newRow("hours") << "  Duration: 1:02:03.00" << QTime(1, 2, 3) << QTime(1, 2, 2) << 3723;
    QTest::newRow("ten hours and more")
        << "  Duration: 10:00:01.00" << QTime(10, 0, 1) << QTime(10, 0, 0) << 36001;
}

void TestOptions::probeBoundsEditors()
{
    QFETCH(QString, line);
    QFETCH(QTime, end);
    QFETCH(QTime, startMaximum);
    QFETCH(int, progressMaximum);
    Session s;
    QVERIFY(s.probe(line));

    QCOMPARE(s.fake.runs(), 1);
    QCOMPARE(s.ui.startTimetimeEdit->maximumTime(), startMaximum);
    QCOMPARE(s.ui.endTimetimeEdit->minimumTime(), QTime(0, 0, 1));
    if (end.isValid()) {
        QCOMPARE(s.ui.endTimetimeEdit->time(), end);
        QCOMPARE(s.ui.endTimetimeEdit->maximumTime(), end);
    }
    QVERIFY(s.ui.startTimetimeEdit->isEnabled());
    QVERIFY(s.ui.endTimetimeEdit->isEnabled());
    QVERIFY(s.ui.startTimelabel->isEnabled());
    QVERIFY(s.ui.endTimelabel->isEnabled());
    QVERIFY(!s.ui.getDurationpushButton->isEnabled());
    QVERIFY(!VelkoranTestAccess::getDuration(s.w));
    QCOMPARE(s.ui.progressBar->value(), 0);
    QCOMPARE(s.ui.progressBar->maximum(), progressMaximum);
    // Stopped on purpose once the time was found: not left to run, not reported.
    QCOMPARE(s.process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(s.boxTexts(), QStringList());
    QVERIFY(s.ui.EncodeToTheorapushButton->isEnabled());
    QVERIFY(!s.ui.CancelpushButton->isEnabled());
    // The length found is read out, and is the last word of the probe.
    if (end.isValid())
        QTRY_COMPARE(s.w.findChild<Spoken *>()->history().last(),
                     QStringLiteral("Length ") + end.toString(QStringLiteral("H:mm:ss")));
}

void TestOptions::startTimeRaisesEndMinimum_data()
{
    QTest::addColumn<QStringList>("starts"); // start times set one after the other
    QTest::addColumn<QTime>("endMinimum");
    QTest::newRow("00:00:30") << QStringList{"00:00:30"} << QTime(0, 0, 31);
    QTest::newRow("start at its maximum") << QStringList{"00:01:59"} << QTime(0, 2, 0);
    QTest::newRow("back to 00:00:00") << QStringList{"00:00:30", "00:00:00"} << QTime(0, 0, 1);
}

void TestOptions::startTimeRaisesEndMinimum()
{
    QFETCH(QStringList, starts);
    QFETCH(QTime, endMinimum);
    Session s;
    QVERIFY(s.probe(twoMinutes));
    QCOMPARE(s.ui.endTimetimeEdit->minimumTime(), QTime(0, 0, 1));
    for (const QString &start : starts)
        apply(s.w, {"startTimetimeEdit", start});
    QCOMPARE(s.ui.startTimetimeEdit->time(), QTime::fromString(starts.last(), "hh:mm:ss"));
    QCOMPARE(s.ui.endTimetimeEdit->minimumTime(), endMinimum);
    // Nothing else moves.
    QCOMPARE(s.ui.endTimetimeEdit->maximumTime(), QTime(0, 2, 0));
    QCOMPARE(s.ui.endTimetimeEdit->time(), QTime(0, 2, 0));
    QCOMPARE(s.ui.startTimetimeEdit->maximumTime(), QTime(0, 1, 59));
}

void TestOptions::encodeCarriesTrimRange_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("length");
    QTest::newRow("00:00:30 to 00:01:35")
        << QStringList{"startTimetimeEdit", "00:00:30", "endTimetimeEdit", "00:01:35"} << "30"
        << "95" << 65;
    QTest::newRow("as the probe left them") << QStringList{} << "0"
                                            << "120" << 120;
    QTest::newRow("the last second") << QStringList{"startTimetimeEdit", "00:01:59"} << "119"
                                     << "120" << 1;
}

void TestOptions::encodeCarriesTrimRange()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, length);
    Session s;
    QVERIFY(s.probe(twoMinutes));
    apply(s.w, settings);
    if (QTest::currentTestFailed())
        return;
    s.fake.setBehaviour("printf '%s\\n' '" + twoMinutes + "' >&2; sleep 0.1; exit 0");
    QVERIFY(s.encode());

    const QStringList range{"--starttime", start, "--endtime", end};
    QCOMPARE(s.fake.arguments(), s.base() + defaultQuality + defaultTail + range);
    QVERIFY(VelkoranTestAccess::customEndTimeBool(s.w));
    QCOMPARE(VelkoranTestAccess::customEndTime(s.w), length);
    QCOMPARE(s.ui.progressBar->maximum(), length);
    QCOMPARE(s.ui.progressBar->value(), length);
    QCOMPARE(s.boxTexts(), QStringList());
}

void TestOptions::newInputDropsTrimRange_data()
{
    QTest::addColumn<bool>("typed");        // into the input field, instead of chosen
    QTest::addColumn<bool>("whileProbing"); // before the probe of the last input has ended
    QTest::newRow("chosen") << false << false;
    QTest::newRow("typed") << true << false;
    QTest::newRow("chosen while the last input is probed") << false << true;
    QTest::newRow("typed while the last input is probed") << true << true;
}

void TestOptions::newInputDropsTrimRange()
{
    QFETCH(bool, typed);
    QFETCH(bool, whileProbing);
    Session s;
    if (whileProbing) {
        // Its length comes only after the new input is there.
        s.fake.setBehaviour("sleep 0.3; printf '  Duration: 0:00:12.52\\n' >&2; exec sleep 5");
        s.ui.getDurationpushButton->click();
        QTRY_COMPARE(s.fake.runs(), 1);
    } else {
        QVERIFY(s.probe(twoMinutes));
        apply(s.w, {"startTimetimeEdit", "00:00:30", "endTimetimeEdit", "00:01:35"});
        s.fake.setBehaviour("exit 0");
        QVERIFY(s.encode());
        QVERIFY(VelkoranTestAccess::customEndTimeBool(s.w));
    }

    const QString other = s.dir.filePath("other.avi");
    if (typed) {
        QFile(other).open(QIODevice::WriteOnly); // an existing file can be probed
        s.ui.openFileNameLineEdit->selectAll();
        QTest::keyClicks(s.ui.openFileNameLineEdit, other + " "); // a blank pasted with it
    } else {
        s.w.chooseInputFile(other);
    }
    if (whileProbing) { // the probe stops, and the old length reaches nothing
        QTRY_VERIFY(s.idle());
        QTest::qWait(500);
        QVERIFY(s.boxTexts().isEmpty());
        s.fake.setBehaviour("exit 0");
    }
    QVERIFY(!s.ui.startTimetimeEdit->isEnabled());
    QVERIFY(!s.ui.endTimetimeEdit->isEnabled());
    QCOMPARE(s.ui.startTimelabel->isEnabled(), !whileProbing);
    QCOMPARE(s.ui.endTimelabel->isEnabled(), !whileProbing);
    QVERIFY(s.ui.getDurationpushButton->isEnabled());
    QVERIFY(!VelkoranTestAccess::customEndTimeBool(s.w));
    // The old input's times and bounds stay until the next probe.
    if (!whileProbing) {
        QCOMPARE(s.ui.startTimetimeEdit->time(), QTime(0, 0, 30));
        QCOMPARE(s.ui.endTimetimeEdit->time(), QTime(0, 1, 35));
        QCOMPARE(s.ui.endTimetimeEdit->maximumTime(), QTime(0, 2, 0));
    }

    QVERIFY(s.encode());
    // An output left as proposed follows the new input, typed or chosen.
    const QStringList otherBase{other, "-o", s.dir.filePath("other.ogg")};
    QCOMPARE(s.fake.arguments(), otherBase + defaultQuality + defaultTail);
    QVERIFY(!VelkoranTestAccess::customEndTimeBool(s.w));
}

void TestOptions::probeLeavesUserFilesAlone_data()
{
    // The fake writes to the output it was given, then prints OUTPUT.
    QTest::addColumn<QString>("name"); // of the input, without extension
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("boxes");
    QTest::newRow("time found") << "clip" << twoMinutes << 0;
    QTest::newRow("no time") << "clip"
                             << "Invalid data found when processing input" << 1;
    QTest::newRow("blanks and quotes in the name") << "my \"best\" clip" << twoMinutes << 0;
}

void TestOptions::probeLeavesUserFilesAlone()
{
    QFETCH(QString, name);
    QFETCH(QString, output);
    QFETCH(int, boxes);
    Session s;
    s.input = s.dir.filePath(name + ".avi");
    s.output = s.dir.filePath(name + ".ogg");
    s.w.chooseInputFile(s.input);
    {
        QFile user(s.output);
        QVERIFY(user.open(QIODevice::WriteOnly));
        user.write("the user's own file");
    }
    s.fake.setBehaviour("echo partial > \"$out\" && : > \"$d/wrote\"\n"
                        "printf '%s\\n' '" +
                        output + "' >&2\n" + (boxes ? "exit 1" : "exec sleep 1"));
    QVERIFY(s.runWith(s.ui.getDurationpushButton));

    const QStringList args = s.fake.arguments();
    QCOMPARE(args.size(), 3);
    QCOMPARE(args[0], s.input);
    QCOMPARE(args[1], QString("-o"));
    const QFileInfo probeFile(args[2]);
    QCOMPARE(probeFile.fileName(), QString("probe.ogg"));
    QVERIFY(probeFile.absolutePath() != QFileInfo(s.output).absolutePath());
    QVERIFY2(QFile::exists(s.fake.path("wrote")), "the probe's directory was not there");
    QVERIFY2(!QFileInfo::exists(probeFile.absolutePath()), "the probe's directory was left");

    QFile user(s.output);
    QVERIFY(user.open(QIODevice::ReadOnly));
    QCOMPARE(user.readAll(), QByteArray("the user's own file"));
    QCOMPARE(QDir(s.dir.path()).entryList(QDir::Files), QStringList{name + ".ogg"});
    // Nobody was asked about replacing the user's file.
    QCOMPARE(s.watcher.boxes.size(), boxes);
    for (const ModalWatcher::Box &box : s.watcher.boxes)
        QCOMPARE(box.icon, QMessageBox::Critical);
}

void TestOptions::probeWithoutTime_data()
{
    QTest::addColumn<QString>("behaviour");
    QTest::addColumn<QStringList>("boxParts"); // what the one box shown says
    QTest::addColumn<QString>("notShown");

    const QString unread = "The length of the input file could not be read.";
    QTest::newRow("silent, success") << "exit 0" << QStringList{unread} << QString();
    QTest::newRow("other output, failure")
        << "printf 'Invalid data found when processing input\\n' >&2; exit 1"
        << QStringList{unread, "Invalid data found when processing input"} << QString();
    QTest::newRow("crash") << "kill -SEGV $$" << QStringList{unread} << QString();
    QTest::newRow("known error phrase") << "printf 'clip.avi: Unable to open file\\n' >&2; exit 1"
                                        << QStringList{"\"Unable to open file\""} << unread;
}

void TestOptions::probeWithoutTime()
{
    QFETCH(QString, behaviour);
    QFETCH(QStringList, boxParts);
    QFETCH(QString, notShown);
    Session s;
    s.fake.setBehaviour(behaviour);
    QVERIFY(s.runWith(s.ui.getDurationpushButton));

    QTRY_COMPARE(s.watcher.boxes.size(), 1);
    const ModalWatcher::Box box = s.watcher.boxes.first();
    QCOMPARE(box.icon, QMessageBox::Critical);
    for (const QString &part : boxParts)
        QVERIFY2(box.text.contains(part), qPrintable(box.text));
    if (!notShown.isEmpty())
        QVERIFY2(!box.text.contains(notShown), qPrintable(box.text));
    QVERIFY(!VelkoranTestAccess::getDuration(s.w));
    QVERIFY(s.ui.getDurationpushButton->isEnabled());
    QVERIFY(!s.ui.startTimetimeEdit->isEnabled());
    QVERIFY(!s.ui.endTimetimeEdit->isEnabled());
    const QFileInfo probeFile(s.fake.arguments().value(2));
    QVERIFY(!QFileInfo::exists(probeFile.absolutePath()));

    // The next encode runs to its end; its times are positions, not a probe's result.
    s.fake.setBehaviour("printf '  Duration: 0:00:50.00\\n' >&2; sleep 0.2\n"
                        "printf '0:00:10.00\\n' >&2; sleep 0.1\n"
                        ": > \"$d/finished\"");
    QVERIFY(s.encode());
    QVERIFY2(QFile::exists(s.fake.path("finished")), "the encode was stopped");
    QCOMPARE(s.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(s.fake.arguments(), s.base() + defaultQuality + defaultTail);
    QVERIFY(!s.ui.startTimetimeEdit->isEnabled());
    QVERIFY(s.ui.getDurationpushButton->isEnabled());
    QCOMPARE(s.watcher.boxes.size(), 1);
}

void TestOptions::noSecondStartDuringProbe()
{
    Session s;
    s.fake.setBehaviour("sleep 0.3\n" + probeBehaviour("  Duration: 0:01:23.45"));
    s.ui.getDurationpushButton->click();
    QVERIFY(VelkoranTestAccess::getDuration(s.w));
    QVERIFY(!s.ui.EncodeToTheorapushButton->isEnabled());
    QVERIFY(s.ui.CancelpushButton->isEnabled()); // a probe can be stopped
    QTRY_COMPARE(s.fake.runs(), 1);

    // Neither the encode slot nor a second probe press starts another child.
    QVERIFY(QMetaObject::invokeMethod(&s.w, "on_EncodeToTheorapushButton_clicked"));
    s.ui.getDurationpushButton->click();
    QVERIFY(!s.ui.EncodeToTheorapushButton->isEnabled());

    QTRY_VERIFY(s.idle());
    QCOMPARE(s.fake.runs(), 1);
    QVERIFY(s.ui.startTimetimeEdit->isEnabled());
    QCOMPARE(s.ui.endTimetimeEdit->time(), QTime(0, 1, 23));
    QCOMPARE(s.boxTexts(), QStringList());

    s.fake.setBehaviour("exit 0");
    QVERIFY(s.encode());
    QCOMPARE(s.fake.runs(), 2);
}

void TestOptions::probeIgnoredDuringEncode()
{
    Session s;
    s.fake.setBehaviour("printf '  Duration: 0:00:50.00\\n' >&2; sleep 0.3\n"
                        "printf '0:00:10.00\\n' >&2; sleep 0.2\n"
                        ": > \"$d/finished\"");
    s.ui.EncodeToTheorapushButton->click();
    QTRY_COMPARE(s.fake.runs(), 1);
    QVERIFY(s.ui.getDurationpushButton->isEnabled());
    s.ui.getDurationpushButton->click();
    QVERIFY(!VelkoranTestAccess::getDuration(s.w));

    QTRY_VERIFY(s.idle());
    QCOMPARE(s.fake.runs(), 1);
    QVERIFY2(QFile::exists(s.fake.path("finished")), "the encode was stopped");
    QCOMPARE(s.fake.arguments(), s.base() + defaultQuality + defaultTail);
    QVERIFY(!s.ui.startTimetimeEdit->isEnabled());
    QVERIFY(s.ui.getDurationpushButton->isEnabled());
    QCOMPARE(s.boxTexts(), QStringList());
}

void TestOptions::probeTimeBehindErrorBox()
{
    // The encoder writes an error and the input's length in one piece and ends
    // while the user still reads the error box: the length still counts.
    FakeEncoder fake;
    QTemporaryDir dir;
    Velkoran w;
    Ui::Velkoran &ui = VelkoranTestAccess::ui(w);
    QProcess &process = VelkoranTestAccess::process(w);
    w.chooseInputFile(dir.filePath("clip.avi"));
    fake.setBehaviour("printf 'output size must be a multiple of 16 for now\\n"
                      "  Duration: 0:01:23.45\\n' >&2; exit 1");
    int boxes = 0;
    QTimer slowUser;
    QObject::connect(&slowUser, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && process.state() == QProcess::NotRunning) {
            ++boxes;
            box->accept();
        }
    });
    slowUser.start(10);
    ui.getDurationpushButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(fake.runs() == 1 && process.state() == QProcess::NotRunning &&
                                 !QApplication::activeModalWidget(),
                             10000);
    QTest::qWait(100);
    QCOMPARE(boxes, 1);
    QVERIFY(ui.startTimetimeEdit->isEnabled());
    QCOMPARE(ui.endTimetimeEdit->time(), QTime(0, 1, 23));
    QVERIFY(!ui.getDurationpushButton->isEnabled());
    QVERIFY(!VelkoranTestAccess::getDuration(w));
    QVERIFY(ui.EncodeToTheorapushButton->isEnabled());
}

void TestOptions::probeLongerThanADay_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("progressMaximum");
    QTest::addColumn<QString>("said"); // in the box
    QTest::newRow("a day and more")
        << "  Duration: 25:00:00.00" << 90000 << "25:00:00 long. Only inputs shorter than a day";
    QTest::newRow("minutes past 59") << "0:75:80" << 4580 << "gave 0:75:80 as the length";
    QTest::newRow("unknown length reads 0:00:00")
        << "  Duration: N/A\n0:00:00.00" << 100 << "could not tell the length";
}

void TestOptions::probeLongerThanADay()
{
    // No time of day can bound the editors: they stay off, so no range that
    // the user never chose reaches the encoder.
    QFETCH(QString, line);
    QFETCH(int, progressMaximum);
    QFETCH(QString, said);
    Session s;
    QVERIFY(s.probe(line));
    QVERIFY(!s.ui.startTimetimeEdit->isEnabled());
    QVERIFY(!s.ui.endTimetimeEdit->isEnabled());
    QVERIFY(!s.ui.getDurationpushButton->isEnabled());
    QVERIFY(!VelkoranTestAccess::getDuration(s.w));
    QCOMPARE(s.ui.progressBar->maximum(), progressMaximum);
    QCOMPARE(s.boxTexts().size(), 1);
    QVERIFY2(s.boxTexts()[0].contains(said), qPrintable(s.boxTexts()[0]));
    QVERIFY(!VelkoranTestAccess::args(s.w).contains(" --starttime "));
}

void TestOptions::wholeSession()
{
    // One window, many jobs: nothing of one job or input leaks into the next.
    Session s;
    const auto touch = [&](const QString &name) {
        QFile f(s.dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        return f.fileName();
    };
    const auto encodeLength = [&](const QString &length) {
        s.fake.setBehaviour("printf '  Duration: " + length +
                            "\\n' >&2; sleep 0.1\n"
                            "printf '" +
                            length + "\\n' >&2");
        return s.encode();
    };
    const auto boxesSaying = [&](const QString &part) { return s.boxTexts().filter(part).size(); };
    const auto typeInput = [&](const QString &path) {
        s.ui.openFileNameLineEdit->selectAll();
        QTest::keyClicks(s.ui.openFileNameLineEdit, path);
    };
    const QStringList range{"--starttime", "0", "--endtime", "7.8"};
    s.input = touch("clip.avi");

    // A probe, then an encode with the editors untouched: the whole 7.8 s.
    QVERIFY(s.probe("  Duration: 0:00:07.80"));
    QVERIFY(encodeLength("0:00:07.80"));
    QCOMPARE(s.fake.arguments(), s.base() + defaultQuality + defaultTail + range);
    // Ends the user moved stay whole seconds.
    apply(s.w, {"startTimetimeEdit", "00:00:02", "endTimetimeEdit", "00:00:05"});
    QVERIFY(encodeLength("0:00:07.80"));
    QCOMPARE(s.fake.arguments().mid(11), QStringList({"--starttime", "2", "--endtime", "5"}));

    // Another input typed into the field: no trim range, and it can be probed.
    s.input = touch("other.avi");
    s.output = s.dir.filePath("other.ogg"); // proposed for it, as the field held the proposal
    typeInput(s.input);
    QVERIFY(!s.ui.startTimetimeEdit->isEnabled());
    QVERIFY(s.ui.getDurationpushButton->isEnabled());
    QVERIFY(encodeLength("0:01:40.00"));
    QCOMPARE(s.fake.arguments(), s.base() + defaultQuality + defaultTail);
    QCOMPARE(s.ui.progressBar->maximum(), 100);
    // Its probe starts the range at its beginning, not at the last input's start.
    QVERIFY(s.probe("  Duration: 0:00:12.00"));
    QCOMPARE(s.ui.startTimetimeEdit->time(), QTime(0, 0));
    QVERIFY(encodeLength("0:00:12.00"));
    QCOMPARE(s.fake.arguments().mid(11), QStringList({"--starttime", "0", "--endtime", "12"}));

    // A name that is no file leaves nothing to probe; an input of unknown length no range.
    typeInput(s.dir.filePath("missing.avi"));
    QVERIFY(!s.ui.getDurationpushButton->isEnabled());
    s.input = touch("live.ts");
    s.output = s.dir.filePath("live.ogg");
    typeInput(s.input);
    QVERIFY(s.probe("  Duration: N/A\n0:00:00.00"));
    QCOMPARE(boxesSaying("could not tell the length"), 1);
    QVERIFY(!s.ui.startTimetimeEdit->isEnabled());

    // The next job's maximum is its own length, not the last job's.
    QVERIFY(encodeLength("0:00:50.00"));
    QCOMPARE(s.fake.arguments(), s.base() + defaultQuality + defaultTail);
    QCOMPARE(s.ui.progressBar->maximum(), 50);
    QCOMPARE(s.ui.progressBar->value(), 50);

    // A directory typed without its final "/".
    s.ui.openDirectoryLineEdit->setText(s.dir.path());
    QFile::remove(s.output);
    s.fake.setBehaviour("exit 0", false);
    QVERIFY(s.encode());
    QCOMPARE(s.fake.arguments().value(2), s.output);
    // The encoder said it worked, but wrote nothing.
    QCOMPARE(boxesSaying("wrote no file:\n" + s.output), 1);

    // A phrase printed twice is one box, with the encoder's own line.
    const int before = s.watcher.boxes.size();
    s.fake.setBehaviour("for i in 1 2; do printf '%s: Unable to open file: Permission denied\\n' "
                        "\"$out\" >&2; sleep 0.1; done; exit 1");
    QVERIFY(s.encode());
    QTRY_COMPARE(s.watcher.boxes.size(), before + 1);
    QCOMPARE(boxesSaying("\"Unable to open file\"\n\n" + s.output +
                         ": Unable to open file: Permission denied"),
             1);
    QCOMPARE(s.watcher.boxes.last().parent, &s.w);
}

// A copy of the window's process saves its settings again and again and is
// killed with SIGKILL, while a save writes its new file as far as can be seen.
static void killWhileSaving(Velkoran &w)
{
    w.saveSettings(); // the file is there before the copy starts
    const pid_t child = fork();
    if (child == 0) {
        for (;;)
            w.saveSettings();
    }
    QVERIFY(child > 0);
    const QString dir = QFileInfo(Velkoran::settingsFile()).path();
    const QRegularExpression unfinished("^velkoran\\.conf\\.(?!lock$)");
    QElapsedTimer waited;
    waited.start();
    while (QDir(dir).entryList(QDir::Files).filter(unfinished).isEmpty() &&
           waited.elapsed() < 10000) {
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

// What a window keeps of the form reaches the next window; a damaged or
// foreign settings file gives the form's first values where it is wrong.
void TestOptions::settingsKept_data()
{
    QTest::addColumn<QStringList>("settings"); // set in the first window
    QTest::addColumn<QString>("how");          // how it ends: "close", "encode", "reset"
    QTest::addColumn<QByteArray>("file");      // the settings file written instead, if any
    QTest::addColumn<QString>("options");      // the second window's command after the paths
    QTest::addColumn<QString>("logged");       // a part of a start-up log line; "": none checked

    const QStringList person = {"VideocomboBox",
                                "1",
                                "VideoQualityHorizontalSlider",
                                "600",
                                "CopyrightLineEdit",
                                "CC BY-SA",
                                "TitleLineEdit",
                                "Holiday",
                                "ScaleWidthlineEdit",
                                "320",
                                "disableSoundcomboBox",
                                "1",
                                "keyframespinBox",
                                "128",
                                "cropToplineEdit",
                                "8"};
    const QString kept = " --audioquality 6 --videobitrate 600 --copyright \"CC BY-SA\""
                         " --width 320 --croptop 8 --nosound  --sharpness 2 --keyint 128";
    const QString first = " --audioquality 6 --videoquality 3 --sharpness 2 --keyint 64";
    QTest::newRow("kept when the window closes") << person << "close" << QByteArray() << kept << "";
    QTest::newRow("kept when an encode starts, the window killed after")
        << person << "encode" << QByteArray() << kept << "";
    QTest::newRow("kept when the window is killed while it saves")
        << person << "killed while saving" << QByteArray() << kept << "";
    QTest::newRow("reset to defaults") << person << "reset" << QByteArray() << first << "";
    QTest::newRow("garbage") << QStringList{} << "close" << QByteArray("\0\xff[[[=\n\x01==\n", 11)
                             << first << "cannot read all of";
    QTest::newRow("text that is no settings file")
        << QStringList{} << "close" << QByteArray("<html>\n<p>not settings</p>\n") << first
        << "cannot read all of";
    QTest::newRow("out of range, the rest applies")
        << QStringList{} << "close"
        << QByteArray("[form]\noutput\\keyint=70000\noutput\\sharpness=1\n"
                      "quality\\videoMode=1\nquality\\video=5000\nquality\\audio=-5\n")
        << " --audioquality -0.5 --videobitrate 92 --sharpness 1 --keyint 64"
        << "";
    QTest::newRow("unknown key of a newer version")
        << QStringList{} << "close"
        << QByteArray("[form]\nfuture\\thing=1\noutput\\width=640\n[later]\nx=2\n")
        << " --audioquality 6 --videoquality 3 --width 640 --sharpness 2 --keyint 64"
        << "";
}

void TestOptions::settingsKept()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, how);
    QFETCH(QByteArray, file);
    QFETCH(QString, options);
    QFETCH(QString, logged);
    QTemporaryDir config;
    const QByteArray nowhere = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    {
        Session s;
        apply(s.w, settings);
        if (how == "encode")
            QVERIFY(s.encode());
        else if (how == "reset")
            s.w.resetToDefaults();
        else if (how == "killed while saving")
            killWhileSaving(s.w);
        if (how != "encode")
            s.w.close();
    }
    if (!file.isEmpty()) {
        QFile f(Velkoran::settingsFile());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(file);
    }
    if (!logged.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(logged));
    {
        Session s;
        QCOMPARE(s.commandText(), VelkoranTestAccess::baseCommand(s.w) + options);
        s.w.close();
    }
    qputenv("XDG_CONFIG_HOME", nowhere);
}

// A preset applied gives its command; the user's own are saved, applied and deleted.
void TestOptions::presetApplied_data()
{
    QTest::addColumn<QStringList>("settings"); // set before the preset is applied
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QString>("options"); // the command after the paths

    const QStringList changed = {"VideocomboBox", "1",       "ScaleWidthlineEdit", "320",
                                 "TitleLineEdit", "Holiday", "CopyrightLineEdit",  "me"};
    const QString own = " --title Holiday --copyright me";
    QTest::newRow("small file for the web")
        << changed << "Small file for the web"
        << " --audioquality 1 --videoquality 5" + own + " --sharpness 2 --keyint 64";
    QTest::newRow("archive copy") << changed << "High-quality archive copy"
                                  << " --audioquality 8 --videoquality 9" + own +
                                         " --sharpness 0 --keyint 64";
    QTest::newRow("pictures only") << QStringList{} << "Pictures only"
                                   << " --audioquality 6 --videoquality 3 --nosound "
                                      " --sharpness 2 --keyint 64";
    QTest::newRow("sound only") << QStringList{"disableSoundcomboBox", "1"}
                                << "Sound only (Ogg Vorbis)"
                                << " --audioquality 6 --videoquality 3 --novideo "
                                   " --sharpness 2 --keyint 64";
    QTest::newRow("the user's own, saved, applied and deleted")
        << QStringList{"AudiocomboBox",
                       "1",
                       "AudioQualityHorizontalSlider",
                       "128",
                       "cropLeftlineEdit",
                       "4",
                       "keyframespinBox",
                       "32"}
        << "Mine/yours"
        << " --audiobitrate 128 --videoquality 3 --cropleft 4 --sharpness 2 --keyint 32";
}

void TestOptions::presetApplied()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, preset);
    QFETCH(QString, options);
    QTemporaryDir config;
    const QByteArray nowhere = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    Session s;
    auto *bar = s.w.findChild<PresetBar *>();
    QVERIFY(bar);
    apply(s.w, settings);
    const bool own = preset.startsWith("Mine");
    if (own) {
        QVERIFY(bar->save(preset));
        QVERIFY(bar->names().contains(preset));
        s.w.resetToDefaults(); // back to the first values, then the preset
    }
    QVERIFY(bar->apply(preset));
    QCOMPARE(s.commandText(), VelkoranTestAccess::baseCommand(s.w) + options);
    if (own) {
        QCOMPARE(QDir(Presets::directory()).entryList(QDir::Files).size(), 1);
        QVERIFY(bar->remove(preset));
        QVERIFY(!bar->names().contains(preset) && !bar->apply(preset));
    }
    qputenv("XDG_CONFIG_HOME", nowhere);
}

// Sound and video both left out: a box says so, and nothing starts.
void TestOptions::nothingLeftToEncode()
{
    Session s;
    apply(s.w, {"disableSoundcomboBox", "1", "disableVideocomboBox", "1"});
    s.ui.EncodeToTheorapushButton->click();
    QVERIFY(s.watcher.boxes.size() == 1 && s.watcher.boxes[0].text.contains("nothing would be"));
    QVERIFY(s.fake.runs() == 0 && s.idle());
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
