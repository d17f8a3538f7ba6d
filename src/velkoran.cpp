// SPDX-License-Identifier: GPL-3.0-or-later
#include "velkoran.h"

#include <QFileDialog>
#include <QMessageBox>

#include <algorithm>

#include "commandline.h"
#include "encodebuttons.h"
#include "fontfit.h"
#include "formnames.h"
#include "inputfields.h"
#include "jobstory.h"
#include "lengthprobe.h"
#include "spoken.h"
#include "windowsettings.h"

namespace
{

const char *const boxTitle = "Velkoran Theora Encoder";

} // namespace

Velkoran::Velkoran(QWidget *parent) : QMainWindow(parent), myprocez()
{
    ui.setupUi(this);
    trim = std::make_unique<TrimRange>(ui.startTimetimeEdit, ui.endTimetimeEdit, ui.startTimelabel,
                                       ui.endTimelabel, ui.getDurationpushButton, probedLength);
    stored = std::make_unique<WindowSettings>(this, settings, ui.openFileNameLineEdit,
                                              ui.openDirectoryLineEdit);
    fields.keptDir = [this] { return stored->rememberedDir; };
    fields.newInput = [this] {
        stopProbe();
        forgetTrimRange();
    };
    fields.queueChanged = [this](int count) {
        if (job.running())
            return;
        resetProgress();
        if (count > 0)
            bar->setFormat(EncodeQueue::moreNote(count));
    };
    spoken = new Spoken(this, ui.progressBar, {ui.EncodeToTheorapushButton, ui.CancelpushButton});
    FontFit::followUserFont(this);
    // The presets below the buttons of the Encode page (placed by setupForecast).
    presets = new PresetBar(ui.tab_2, settings);
    connect(presets, &PresetBar::resetAsked, this, &Velkoran::resetToDefaults);
    FontFit::growFixedPage(ui.tab_2);
    FontFit::growFixedPage(ui.tab_21, false); // its labels widen below
    fitTexts();
    nameControls();
    setupForecast();
    const QSize needed = FontFit::needed(this, ui.tab);
    FontFit::scrollWhenSmall(ui.gridLayout, ui.tab);
    FontFit::growToFit(this, size(), needed);
    setAcceptDrops(true);
    // A file dropped on a text field is the input file too, not text to insert.
    for (QLineEdit *field : findChildren<QLineEdit *>())
        field->installEventFilter(this);
    bar = new ProgressView(ui.progressBar);
    bar->setSpoken(spoken, [this] { return job.running(); });

    // Any change of the input's text, typed, pasted or set by an assistive
    // tool, is choosing a new input; the window's own changes are not.
    connect(ui.openFileNameLineEdit, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!fields.settingInput && !runner->queue.active())
            fields.inputChanged(text);
    });

    // A probe's times reach the window as the length it measured.
    connect(&job, &EncoderJob::timeRead, this, [this](const QString &time) {
        if (job.kind() == EncoderJob::Kind::Encode)
            showTime(time);
    });
    connect(&job, &EncoderJob::lengthMeasured, this, &Velkoran::lengthRead);
    // A resumed encode starts from what is kept.
    connect(&job, &EncoderJob::resuming, this, [this](int percent) {
        if (runner->queue.active())
            runner->queue.resume(percent);
        QProgressBar *progress = ui.progressBar;
        if (progress->maximum() > 0 && real_duration > 0)
            progress->setValue(std::max(progress->value(), progress->maximum() * percent / 100));
    });
    // After the last picture the bar says what the join and check take.
    connect(&job, &EncoderJob::finishing, this, [this] {
        if (!runner->queue.active() && !job.stopping() && !bar->lengthUnknown)
            bar->setFormat(job.finishingFormat());
    });
    connect(&job, &EncoderJob::phraseRead, this, &Velkoran::showPhrase);
    connect(&job, &EncoderJob::ended, this, &Velkoran::jobEnded);

    setupQueue();
    story = std::make_unique<JobStory>(this, job, runner->queue, closing);
    story->bar = bar;

    loadSettings();
    // The first key press goes to the input.
    ui.openFileNameLineEdit->setFocus(Qt::OtherFocusReason);
    show();
    real_duration = 0;
    k = true;
    getDuration = false;
    customendtimebool = false;
    customendtime = 0;
}

// ---- input and output ----

void Velkoran::on_openFileNameButton_clicked()
{
    const QStringList fileNames = QFileDialog::getOpenFileNames(
        this, tr("Select your file"), ui.openFileNameLineEdit->text(), tr("All Files (*)"));
    chooseInputFiles(fileNames);
}

void Velkoran::setInputText(const QString &path)
{
    fields.setInputText(path);
}

void Velkoran::chooseInputFile(const QString &path)
{
    fields.chooseInputFile(path);
}

void Velkoran::chooseInputFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    chooseInputFile(paths.first());
    fields.setQueue(paths);
}

void Velkoran::on_openDirectoryButton_clicked()
{
    const QString dir = QFileDialog::getExistingDirectory(
        this, tr("Select your directory"), ui.openDirectoryLineEdit->text(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (dir.isEmpty())
        return;
    ui.openDirectoryLineEdit->setText(dir + "/");
    stored->chosenDir = dir + "/";
}

// ---- the form and its command ----

void Velkoran::on_AudioQualityHorizontalSlider_valueChanged(int value)
{
    EncodeSettings::showQuality(ui.AudioQualityHorizontalLabel, ui.AudiocomboBox->currentIndex(),
                                value);
}

void Velkoran::on_VideoQualityHorizontalSlider_valueChanged(int value)
{
    EncodeSettings::showQuality(ui.VideoQualityHorizontalLabel, ui.VideocomboBox->currentIndex(),
                                value);
}

void Velkoran::on_AudiocomboBox_activated(int audioindex)
{
    EncodeSettings::enterQualityMode(ui.AudioQualityHorizontalSlider,
                                     ui.AudioQualityHorizontalLabel, audioindex, true);
}

void Velkoran::on_VideocomboBox_activated(int videoindex)
{
    EncodeSettings::enterQualityMode(ui.VideoQualityHorizontalSlider,
                                     ui.VideoQualityHorizontalLabel, videoindex, false);
}

QStringList Velkoran::getAudioQuality()
{
    return settings.quality(true);
}

QStringList Velkoran::getVideoQuality()
{
    return settings.quality(false);
}

// The encoder program chosen in the form; its only entry is ffmpeg2theora.
QString Velkoran::encoderChoice() const
{
    const int encoderIndex = ui.EncodersComboBox->currentIndex();
    return encoderIndex == 0 ? QStringLiteral("ffmpeg2theora") : QString();
}

QString Velkoran::generateFFmpeg2theoraCommand()
{
    return baseCommand(encoderChoice(), ui.openFileNameLineEdit->text(), outputOfForm());
}

QString Velkoran::outputOfForm() const
{
    return outputPath(ui.openDirectoryLineEdit->text(), ui.outputFileNameLineEdit->text());
}

QStringList Velkoran::checkMetainfo()
{
    return settings.fragments(FormOption::Group::Metadata);
}

QStringList Velkoran::getArgs()
{
    QStringList args = settings.fragments(FormOption::Group::Picture);
    if (ui.startTimetimeEdit->isEnabled()) {
        customendtimebool = true;
        args += trim->args(&customendtime);
    }
    return args;
}

int Velkoran::toSeconds(QTime encodetime)
{
    return LengthProbe::seconds(encodetime);
}

// ---- an encode ----

void Velkoran::showRunning()
{
    EncodeButtons::showRunning(ui.EncodeToTheorapushButton, ui.CancelpushButton);
}

void Velkoran::showIdle()
{
    EncodeButtons::showIdle(ui.EncodeToTheorapushButton, ui.CancelpushButton,
                            runner->queue.active());
}

// Every job is measured afresh: nothing of the last one's length or position counts.
void Velkoran::resetProgress()
{
    real_duration = 0;
    k = true;
    bar->reset();
}

void Velkoran::enableButton()
{
    showIdle();
}

void Velkoran::jobEnded(EncoderJob::Kind kind, EncoderJob::Outcome outcome)
{
    if (outcome == EncoderJob::Outcome::NotStarted || outcome == EncoderJob::Outcome::NoTempDir) {
        if (kind == EncoderJob::Kind::Probe)
            getDuration = false;
        resetProgress();
        bar->showFailed();
        showIdle();
        story->notStarted(outcome, myprocez.program());
        return;
    }
    if (kind == EncoderJob::Kind::Probe)
        probeEnded(outcome);
    else
        encodeEnded(outcome);
}

void Velkoran::encodeEnded(EncoderJob::Outcome outcome)
{
    enableButton();
    preflight.keptAfter(job.output(), runningWords, job.keptShare());
    story->encodeEnded(outcome);
}

void Velkoran::reportFailure(const QString &what)
{
    story->reportFailure(what);
}

void Velkoran::showPhrase(const QString &phrase, const QString &line)
{
    story->showPhrase(phrase, line);
}

void Velkoran::updateProgressbar()
{
    // The job reads the encoder's error output as it comes; this reads
    // whatever is waiting now.
    job.readErrorOutput();
}

// ---- the length probe and the trim range ----

// A probe of an input that is no longer the input measures nothing of use.
void Velkoran::stopProbe()
{
    if (job.kind() != EncoderJob::Kind::Probe)
        return;
    getDuration = false;
    job.stop();
}

void Velkoran::lengthRead(const QString &input, const QString &time, const QString &seconds)
{
    if (job.kind() == EncoderJob::Kind::Probe) {
        // Only the input the probe measured gets its length.
        if (!getDuration || input != ui.openFileNameLineEdit->text())
            return;
        probedLength = seconds;
        showTime(time); // bounds the time editors, through computeDuration
        return;
    }
    if (time.isEmpty() && !customendtimebool && !bar->lengthUnknown) {
        bar->lengthUnknown = true;
        bar->showBusy(tr("%1 encoded").arg(QStringLiteral("0:00:00")));
    }
}

void Velkoran::forgetTrimRange()
{
    trim->forget();
    customendtimebool = false;
}

void Velkoran::probeEnded(EncoderJob::Outcome outcome)
{
    showIdle();
    if (ui.progressBar->maximum() <= 0)
        ui.progressBar->setRange(0, 100); // no more busy bar
    const bool asked = getDuration;       // else it measured the length, or its input was replaced
    getDuration = false;
    story->probeEnded(outcome, asked);
}

int Velkoran::computeDuration(QString value)
{
    int int_hour = 0, int_min = 0, int_sec = 0;
    const int duration = timeTextSeconds(value, &int_hour, &int_min, &int_sec);
    if (getDuration)
        setDuration(int_hour, int_min, int_sec);
    return duration;
}

void Velkoran::on_getDurationpushButton_clicked()
{
    if (job.running())
        return;
    getDuration = true;
    probedLength.clear();
    resetProgress();
    ui.progressBar->setRange(0, 0); // busy until the length is read
    if (!job.startProbe(encoderChoice(), ui.openFileNameLineEdit->text()))
        return;
    showRunning();
}

void Velkoran::setDuration(int hour, int min, int sec)
{
    const QString why = trim->bound(hour, min, sec);
    getDuration = false;
    job.stop(); // the probe has its answer, or none of use
    if (!why.isEmpty()) {
        if (!closing)
            QMessageBox::critical(this, boxTitle, why);
        return;
    }
    spoken->say(tr("Length %1").arg(QTime(hour, min, sec).toString(QStringLiteral("H:mm:ss"))));
}

void Velkoran::on_startTimetimeEdit_timeChanged(const QTime &starttime)
{
    Q_UNUSED(starttime);
    trim->followStart();
}

Velkoran::~Velkoran() = default;

// ---- the window ----

void Velkoran::nameControls()
{
    FormNames::nameControls(this, ui, [this](const QString &choice) { spoken->say(choice); });
}

// The pages of fixed places get the room their texts need in the language
// shown, and the window cannot be made smaller than what the pages hold.
void Velkoran::fitTexts()
{
    FontFit::widenLabelColumn(ui.tab_21);
    for (QWidget *page : {ui.tab_2, ui.tab_21})
        FontFit::holdChildren(page);
}

// ---- kept between runs ----

QString Velkoran::settingsFile()
{
    return WindowSettings::file();
}

void Velkoran::saveSettings()
{
    stored->save();
}

void Velkoran::loadSettings()
{
    stored->load();
}

void Velkoran::resetToDefaults()
{
    stored->reset();
}
