// SPDX-License-Identifier: GPL-3.0-or-later
#include "velkoran.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTimer>
#include <QVariant>

#include <algorithm>

#include "accessibility.h"
#include "commandline.h"
#include "fontfit.h"
#include "forecast.h"
#include "inputchooser.h"
#include "jobreport.h"
#include "lengthprobe.h"
#include "spoken.h"

namespace
{

const char *const boxTitle = "Velkoran Theora Encoder";

// Lines of the encoder's error output quoted when it fails without a known phrase.
const int reportedLines = 5;

} // namespace

Velkoran::Velkoran(QWidget *parent) : QMainWindow(parent), myprocez()
{
    ui.setupUi(this);
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
        if (!settingInput && !runner->queue.active())
            inputChanged(text);
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

    runner = new QueueRunner(this, job, preflight);
    runner->show = [this](const EncodeQueue::Entry &file) {
        const QFileInfo output(file.output);
        setInputText(file.input);
        ui.openDirectoryLineEdit->setText(output.path() + u'/');
        ui.outputFileNameLineEdit->setText(output.fileName());
        // Nothing of the last file stays on the bar while this one is asked about.
        resetProgress();
        bar->setFormat(runner->queue.barText(0, 0));
    };
    runner->words = [this](const QString &output) { return commandWords(output); };
    runner->encode = [this](const QString &output, bool restart) {
        if (!encodeForm(output, restart))
            return false;
        bar->setFormat(runner->queue.barText(0, 0));
        return true;
    };
    runner->program = [this] { return encoderChoice(); };
    runner->running = [this](bool started) {
        lockOutput(started);
        if (started)
            return;
        if (queuedInputs.size() > 1) {
            setInputText(queuedInputs.first());
            ui.outputFileNameLineEdit->setText(EncodeQueue::outputName(queuedInputs.first()));
        }
        showIdle();
        bar->setFormat(runner->queue.counts());
    };
    connect(&job, &EncoderJob::ended, runner, &QueueRunner::fileEnded);

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
    settingInput = true;
    ui.openFileNameLineEdit->setText(path);
    settingInput = false;
}

void Velkoran::chooseInputFile(const QString &path)
{
    stopProbe();
    setInputText(path);
    proposeOutput(path);
    ui.getDurationpushButton->setEnabled(true);
    forgetTrimRange();
    setQueue({});
}

void Velkoran::chooseInputFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    chooseInputFile(paths.first());
    if (paths.size() > 1)
        setQueue(paths);
}

// A queue of several files shows its first file, the note of how many
// follow, and no trim range or output name of its own (they belong to one
// file). One file shows nothing of a queue.
void Velkoran::setQueue(const QStringList &paths)
{
    const bool wasQueued = !queuedInputs.isEmpty();
    queuedInputs = paths.size() > 1 ? paths : QStringList();
    const bool queued = !queuedInputs.isEmpty();
    if (!queued && !wasQueued)
        return;
    ui.outputFileNameLineEdit->setEnabled(!queued);
    ui.openFileNameLineEdit->setToolTip(queuedInputs.join(u'\n'));
    if (queued) {
        ui.outputFileNameLineEdit->setText(EncodeQueue::outputName(paths.first()));
        ui.getDurationpushButton->setEnabled(false);
    }
    if (job.running())
        return;
    resetProgress();
    if (queued)
        bar->setFormat(EncodeQueue::moreNote(queuedInputs.size()));
}

// The output directory and name for INPUT: its own directory (unless the
// user chose one), and its name with only the last extension replaced.
void Velkoran::proposeOutput(const QString &input)
{
    // A directory kept from an earlier run stays until the user chooses another.
    const bool keepDir =
        !rememberedDir.isEmpty() && ui.openDirectoryLineEdit->text() == rememberedDir;
    proposedDir = keepDir ? rememberedDir : InputChooser::proposedDir(input);
    proposedName = EncodeQueue::outputName(input);
    ui.openDirectoryLineEdit->setText(proposedDir);
    ui.outputFileNameLineEdit->setText(proposedName);
}

void Velkoran::inputChanged(const QString &typed)
{
    stopProbe();
    const QString path = InputChooser::bare(typed);
    if (path != typed)
        setInputText(path);
    const bool file = QFileInfo(path).isFile();
    // Output fields the user has not changed follow the new input.
    if (file && ui.openDirectoryLineEdit->text() == proposedDir &&
        ui.outputFileNameLineEdit->text() == proposedName)
        proposeOutput(path);
    ui.getDurationpushButton->setEnabled(file);
    forgetTrimRange();
    setQueue({});
}

void Velkoran::on_openDirectoryButton_clicked()
{
    const QString dir = QFileDialog::getExistingDirectory(
        this, tr("Select your directory"), ui.openDirectoryLineEdit->text(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (dir.isEmpty())
        return;
    ui.openDirectoryLineEdit->setText(dir + "/");
    chosenDir = dir + "/";
}

// While a queue runs, what it reads for each file stays as it was.
void Velkoran::lockOutput(bool locked)
{
    for (QWidget *w : {static_cast<QWidget *>(ui.openDirectoryLineEdit),
                       static_cast<QWidget *>(ui.openDirectoryButton),
                       static_cast<QWidget *>(ui.openFileNameLineEdit),
                       static_cast<QWidget *>(ui.openFileNameButton)})
        w->setEnabled(!locked);
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
        const QTime starttime = ui.startTimetimeEdit->time();
        const QTime endtime = ui.endTimetimeEdit->time();
        const int starttimearg = toSeconds(starttime);
        const int endtimearg = toSeconds(endtime);
        customendtimebool = true;
        customendtime = endtimearg - starttimearg;
        // An end left at the probed length is the length as the encoder
        // wrote it, fraction included, so that no tail is lost.
        const bool wholeInput =
            !probedLength.isEmpty() && endtime == ui.endTimetimeEdit->maximumTime();
        args << " --starttime " << QVariant(starttimearg).toString() << " --endtime "
             << (wholeInput ? probedLength : QVariant(endtimearg).toString());
    }
    return args;
}

// The words after the program of the encode of the form to OUTPUT: input,
// output, quality, metadata, then picture, sound and time.
QStringList Velkoran::commandWords(const QString &output) const
{
    auto *self = const_cast<Velkoran *>(this);
    QStringList fragments = self->getAudioQuality() + self->getVideoQuality();
    fragments += self->checkMetainfo();
    fragments += self->getArgs();
    const QString text = baseCommand(QStringLiteral("x"), ui.openFileNameLineEdit->text(), output) +
                         fragments.join(QString());
    QStringList words = QProcess::splitCommand(text);
    words.removeFirst();
    return words;
}

int Velkoran::toSeconds(QTime encodetime)
{
    return encodetime.hour() * 3600 + encodetime.minute() * 60 + encodetime.second();
}

// ---- an encode ----

void Velkoran::on_EncodeToTheorapushButton_clicked()
{
    if (job.running() || runner->queue.active())
        return;
    if (ui.openDirectoryLineEdit->text().isEmpty()) {
        QMessageBox::critical(this, boxTitle,
                              tr("Please choose the directory for the encoded file."));
        return;
    }
    saveSettings();
    if (!queuedInputs.isEmpty()) {
        forgetTrimRange(); // whatever a probe still running might have found
        runner->start(queuedInputs, ui.openDirectoryLineEdit->text());
        return;
    }
    if (ui.outputFileNameLineEdit->text().isEmpty()) {
        QMessageBox::critical(this, boxTitle, tr("Please enter a name for the encoded file."));
        return;
    }
    const QString output = outputOfForm();
    using Answer = EncodePreflight::Answer;
    const Answer answer = preflight.ask(encoderChoice(), ui.openFileNameLineEdit->text(), output,
                                        commandWords(output), nullptr);
    if (answer == Answer::Stop && EncodePreflight::findProgram(encoderChoice()).isEmpty()) {
        resetProgress();
        bar->showFailed(preflight.reason());
    }
    if (answer == Answer::Go || answer == Answer::Restart)
        encodeForm(output, answer == Answer::Restart);
}

// Starts the encode of what the form holds, to OUTPUT; with RESTART, the
// chunks an earlier encode kept are not used.
bool Velkoran::encodeForm(const QString &output, bool restart)
{
    runningWords = commandWords(output);
    QString encode_cmd = generateFFmpeg2theoraCommand();
    if (output != outputOfForm())
        encode_cmd = baseCommand(encoderChoice(), ui.openFileNameLineEdit->text(), output);
    encode_cmd.append(getAudioQuality().join(""));
    encode_cmd.append(getVideoQuality().join(""));
    encode_cmd.append(checkMetainfo().join(""));
    encode_cmd.append(getArgs().join(""));
    if (restart)
        encode_cmd.append(QStringLiteral(" --restart"));

    resetProgress();
    forecast->stop(); // the encoder's time is the encode's
    if (!job.startEncode(encode_cmd, output, ui.openFileNameLineEdit->text()))
        return false;
    showRunning();
    return true;
}

// While a job runs only Cancel can be pressed; a keyboard on Encode moves to it.
void Velkoran::showRunning()
{
    QWidget *focus = focusWidget();
    ui.CancelpushButton->setEnabled(true);
    if (focus == ui.EncodeToTheorapushButton)
        ui.CancelpushButton->setFocus(Qt::OtherFocusReason);
    ui.EncodeToTheorapushButton->setEnabled(false);
}

// After a job Encode can be pressed again, and the keyboard is back on it.
void Velkoran::showIdle()
{
    if (runner->queue.active()) {
        ui.EncodeToTheorapushButton->setEnabled(false); // until the queue ends
        ui.CancelpushButton->setEnabled(false);
        return;
    }
    QWidget *focus = focusWidget();
    ui.EncodeToTheorapushButton->setEnabled(true);
    if (!focus || focus == ui.CancelpushButton || focus == ui.EncodeToTheorapushButton)
        ui.EncodeToTheorapushButton->setFocus(Qt::OtherFocusReason);
    ui.CancelpushButton->setEnabled(false);
}

// Every job is measured afresh: nothing of the last one's length or position counts.
void Velkoran::resetProgress()
{
    real_duration = 0;
    k = true;
    bar->reset();
}

void Velkoran::on_CancelpushButton_clicked()
{
    // A probe that has measured its length stops by itself; that is no user's stop.
    const bool userStop = job.kind() == EncoderJob::Kind::Encode || getDuration;
    job.stop();
    ui.progressBar->setValue(0);
    ui.progressBar->setMaximum(100);
    bar->setFormat(job.stopping() && userStop ? tr("Stopping…") : QStringLiteral("%p%"));
    real_duration = 0;
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
        if (closing)
            return;
        if (outcome == EncoderJob::Outcome::NoTempDir)
            QMessageBox::critical(this, boxTitle,
                                  tr("No temporary directory could be made for reading the length "
                                     "of the input file:\n%1")
                                      .arg(job.errorString()));
        else
            QMessageBox::critical(this, boxTitle,
                                  tr("The encoder \"%1\" could not be started:\n%2")
                                      .arg(myprocez.program(), job.errorString()));
        return;
    }
    if (kind == EncoderJob::Kind::Probe)
        probeEnded(outcome);
    else
        encodeEnded(outcome);
}

void Velkoran::encodeEnded(EncoderJob::Outcome outcome)
{
    using Outcome = EncoderJob::Outcome;
    enableButton();
    preflight.keptAfter(job.output(), runningWords, job.keptShare());
    if (closing)
        return;
    const QString failure = JobReport::failure(job, outcome);
    if (outcome == Outcome::Cancelled) {
        if (job.keptShare() >= 0)
            bar->showKept(tr("Cancelled"), job.keptShare());
        else
            bar->showCancelled(job.partialFileLeft());
    } else if (outcome == Outcome::Encoded) {
        // An input cut short or damaged is told, though the encode succeeded.
        const QString warning = JobReport::warning(job);
        if (!warning.isEmpty() && runner->queue.active())
            runner->queue.noteWarning(warning);
        bar->showDone(QFileInfo(job.output()).fileName(), warning);
    } else if (job.keptShare() >= 0) {
        bar->showKept(tr("Failed"), job.keptShare());
    } else {
        bar->showFailed();
    }
    if (!failure.isEmpty())
        reportFailure(failure);
}

void Velkoran::reportFailure(const QString &what)
{
    if (runner->queue.active()) {
        // Told in the queue's summary, not in a box of its own.
        runner->queue.noteReason(JobReport::reason(what + u'\n' + JobReport::lastLines(job, 1)));
        return;
    }
    QString text = what;
    const QString lastOutput = JobReport::lastLines(job, reportedLines);
    if (!lastOutput.isEmpty())
        text += "\n\n" + lastOutput;
    QMessageBox::critical(this, boxTitle, text);
}

// The box stays open beside the running job; each phrase is shown once a job.
void Velkoran::showPhrase(const QString &phrase, const QString &line)
{
    if (closing)
        return;
    if (runner->queue.active()) {
        runner->queue.noteReason(JobReport::reason(line.isEmpty() ? phrase : line));
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Critical, boxTitle, errorBoxText(phrase, line),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void Velkoran::updateProgressbar()
{
    // The job reads the encoder's error output as it comes; this reads
    // whatever is waiting now.
    job.readErrorOutput();
}

void Velkoran::showTime(const QString &value)
{
    if (bar->lengthUnknown) {
        bar->setBusyText(tr("%1 encoded").arg(value));
        return;
    }
    k = real_duration == 0;
    const int totaltime = computeDuration(value);
    if (totaltime > real_duration)
        real_duration = totaltime;
    if (customendtimebool)
        ui.progressBar->setMaximum(customendtime);
    else if (real_duration > 0) // a maximum of 0 would make a busy bar
        ui.progressBar->setMaximum(real_duration);
    if (!k) {
        ui.progressBar->setValue(totaltime);
        if (job.kind() == EncoderJob::Kind::Encode && !job.stopping())
            bar->setFormat(runner->queue.active()
                               ? runner->queue.barText(totaltime, ui.progressBar->maximum())
                               : job.progressFormat(totaltime, ui.progressBar->maximum()));
    }
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

// A new input: the time editors wait for its probe, and no range reaches the encoder.
void Velkoran::forgetTrimRange()
{
    ui.startTimetimeEdit->setEnabled(false);
    ui.endTimetimeEdit->setEnabled(false);
    customendtimebool = false;
    probedLength.clear();
}

void Velkoran::probeEnded(EncoderJob::Outcome outcome)
{
    showIdle();
    if (ui.progressBar->maximum() <= 0)
        ui.progressBar->setRange(0, 100); // no more busy bar
    bar->setFormat(QStringLiteral("%p%"));
    if (!getDuration)
        return; // the probe measured the length, or its input was replaced
    getDuration = false;
    if (outcome == EncoderJob::Outcome::Cancelled) {
        bar->setFormat(tr("Cancelled"));
        return;
    }
    if (!job.phraseShown() && !closing)
        reportFailure(tr("The length of the input file could not be read."));
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
    const QString why = LengthProbe::unusable(hour, min, sec);
    if (!why.isEmpty()) {
        // The time editors stay off and the whole input is encoded.
        ui.getDurationpushButton->setEnabled(false);
        getDuration = false;
        probedLength.clear();
        job.stop();
        if (!closing)
            QMessageBox::critical(this, boxTitle, why);
        return;
    }
    LengthProbe::bound(ui.startTimetimeEdit, ui.endTimetimeEdit, hour, min, sec);
    ui.startTimelabel->setEnabled(true);
    ui.endTimelabel->setEnabled(true);
    ui.getDurationpushButton->setEnabled(false);
    getDuration = false;
    job.stop(); // the probe has its answer
    spoken->say(tr("Length %1").arg(QTime(hour, min, sec).toString(QStringLiteral("H:mm:ss"))));
}

void Velkoran::on_startTimetimeEdit_timeChanged(const QTime &starttime)
{
    Q_UNUSED(starttime);
    LengthProbe::followStart(ui.startTimetimeEdit, ui.endTimetimeEdit);
}

// ---- the window ----

void Velkoran::closeEvent(QCloseEvent *event)
{
    if (job.kind() == EncoderJob::Kind::Encode) {
        const QMessageBox::StandardButton answer = QMessageBox::question(
            this, boxTitle,
            tr("An encode is still running.\n\nWhat is already encoded in finished "
               "chunks is kept, and Encode with the same settings resumes it."
               "\n\nStop it and quit?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            event->ignore();
            return;
        }
    }
    saveSettings();
    closing = true;
    runner->closing = true;
    job.stopAndWait();
    event->accept();
}

bool Velkoran::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (takeDrop(drop))
            return true;
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// A drop is taken as a copy (or a link), never as a move: a file manager that
// honours a move would delete the user's original. True when the window
// handles EVENT itself.
bool Velkoran::takeDrop(QDropEvent *event)
{
    QStringList leftOut;
    const QStringList paths = InputChooser::localFiles(event->mimeData(), &leftOut);
    if (paths.isEmpty() && leftOut.isEmpty())
        return false;
    const Qt::DropActions possible = event->possibleActions();
    const Qt::DropAction action = possible.testFlag(Qt::CopyAction)   ? Qt::CopyAction
                                  : possible.testFlag(Qt::LinkAction) ? Qt::LinkAction
                                                                      : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction || runner->queue.active()) {
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::Drop) {
        event->setDropAction(action);
        event->accept();
        return true;
    }
    if (!leftOut.isEmpty() && !closing) {
        // Said, with what it left out; the files it holds are taken.
        auto *box = new QMessageBox(QMessageBox::Warning, boxTitle,
                                    InputChooser::leftOutText(leftOut), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    if (paths.isEmpty()) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return true;
    }
    chooseInputFiles(paths);
    event->setDropAction(action);
    event->accept();
    return true;
}

void Velkoran::dragEnterEvent(QDragEnterEvent *event)
{
    takeDrop(event);
}

void Velkoran::dropEvent(QDropEvent *event)
{
    takeDrop(event);
}

// Every control says what it is to a screen reader: a label is tied to its
// field, and a control with no label beside it gets a name of its own.
void Velkoran::nameControls()
{
    QList<std::pair<QLabel *, QWidget *>> labelled = {
        {ui.label, ui.openFileNameLineEdit},       {ui.label_11, ui.openDirectoryLineEdit},
        {ui.label_2, ui.outputFileNameLineEdit},   {ui.label_3, ui.EncodersComboBox},
        {ui.startTimelabel, ui.startTimetimeEdit}, {ui.endTimelabel, ui.endTimetimeEdit},
    };
    for (const FormOption &o : formOptions())
        labelled.append({findChild<QLabel *>(o.label), findChild<QWidget *>(o.widget)});
    for (const auto &[label, field] : labelled) {
        label->setBuddy(field);
        // The labels are rich text; a screen reader gets their words only.
        field->setAccessibleName(Accessibility::labelWords(label));
    }
    for (const FormOption &o : formOptions()) {
        if (o.heard)
            Accessibility::rename(findChild<QWidget *>(o.widget), tr(o.heard));
    }
    // ffmpeg's Theora encoder has no sharpness setting: the encoder takes the
    // value and says in a note that it does nothing; so does the window.
    const QString noSharpness = tr("ffmpeg's Theora encoder has no sharpness setting: this "
                                   "value has no effect");
    ui.sharpnessspinBox->setToolTip(noSharpness);
    ui.sharpnessspinBox->setAccessibleDescription(noSharpness);
    // A combo box is heard by its label (on Linux its own name is its current
    // item); the two mode boxes have none to see, so they get one to hear.
    const std::pair<QComboBox *, QString> modes[] = {
        {ui.AudiocomboBox, tr("Audio quality or bit rate")},
        {ui.VideocomboBox, tr("Video quality or bit rate")},
    };
    for (const auto &[box, name] : modes) {
        auto *heard = new QLabel(name, box->parentWidget());
        heard->hide();
        heard->setBuddy(box);
        box->setAccessibleName(name);
    }
    // The list a combo box opens is heard by the box's name too.
    for (QComboBox *box : findChildren<QComboBox *>())
        box->view()->setAccessibleName(box->accessibleName());
    ui.tab->setAccessibleName(tr("Pages"));
    ui.tab->tabBar()->setAccessibleName(tr("Pages"));
    ui.progressBar->setAccessibleName(tr("Progress"));
    // Each slider is named by what it sets, which follows its mode box.
    // In bit-rate mode the name says the unit, which a reader does not say
    // with the value; each is heard by the number shown beside it.
    const auto nameSliders = [this] {
        const bool audioRate = ui.AudiocomboBox->currentIndex() == 1;
        const bool videoRate = ui.VideocomboBox->currentIndex() == 1;
        ui.AudioQualityHorizontalSlider->setAccessibleName(
            audioRate ? tr("Audio bit rate in kilobits per second") : tr("Audio quality"));
        ui.VideoQualityHorizontalSlider->setAccessibleName(
            videoRate ? tr("Video bit rate in kilobits per second") : tr("Video quality"));
        Accessibility::showValueBeside(ui.AudioQualityHorizontalSlider,
                                       ui.AudioQualityHorizontalLabel, audioRate ? 1 : 10,
                                       audioRate ? tr("kbit/s") : QString());
        Accessibility::showValueBeside(ui.VideoQualityHorizontalSlider,
                                       ui.VideoQualityHorizontalLabel, videoRate ? 1 : 10,
                                       videoRate ? tr("kbit/s") : QString());
    };
    nameSliders();
    connect(ui.AudiocomboBox, &QComboBox::currentIndexChanged, this, nameSliders);
    connect(ui.VideocomboBox, &QComboBox::currentIndexChanged, this, nameSliders);
    Accessibility::hearChoices(this, [this](const QString &choice) { spoken->say(choice); });
}

// The pages of fixed places get the room their texts need in the language
// shown: labels wider than their column widen it, which moves their fields to
// the right, and the window cannot be made smaller than what the pages hold.
void Velkoran::fitTexts()
{
    const QList<QLabel *> labels = ui.tab_21->findChildren<QLabel *>();
    int extra = 0;
    for (const QLabel *label : labels)
        extra = std::max(extra, label->sizeHint().width() - label->width());
    if (extra > 0) {
        for (QLabel *label : labels)
            label->resize(label->width() + extra, label->height());
        for (QLineEdit *field : ui.tab_21->findChildren<QLineEdit *>())
            field->setGeometry(field->x() + extra, field->y(), field->width() - extra,
                               field->height());
    }
    for (QWidget *page : {ui.tab_2, ui.tab_21}) {
        const QRect held = page->childrenRect();
        const int margin = 9;
        page->setMinimumSize(held.right() + 1 + margin, held.bottom() + 1 + margin);
    }
}

// ---- kept between runs ----

QString Velkoran::settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velkoran/velkoran.conf");
}

void Velkoran::saveSettings()
{
    QSettings file(settingsFile(), QSettings::IniFormat);
    settings.save(file);
    const QString dir = !chosenDir.isEmpty() ? chosenDir : rememberedDir;
    if (!dir.isEmpty())
        file.setValue(QStringLiteral("output/directory"), dir);
    else
        file.remove(QStringLiteral("output/directory"));
    file.setValue(QStringLiteral("window/size"), size());
    file.sync();
}

void Velkoran::loadSettings()
{
    QSettings file(settingsFile(), QSettings::IniFormat);
    settings.load(file);
    if (file.status() != QSettings::NoError)
        qWarning().noquote() << "settings: cannot read all of" << file.fileName()
                             << "- the form's first values stand for what is damaged";
    const QString dir = file.value(QStringLiteral("output/directory")).toString();
    if (!dir.isEmpty() && QFileInfo(dir).isDir()) {
        rememberedDir = dir.endsWith(u'/') ? dir : dir + u'/';
        ui.openDirectoryLineEdit->setText(rememberedDir);
    } else if (!dir.isEmpty()) {
        qWarning().noquote() << "settings: ignored output/directory =" << dir
                             << "(no such directory)";
    }
    const QSize saved = file.value(QStringLiteral("window/size")).toSize();
    if (saved.isValid())
        resize(saved.expandedTo(minimumSizeHint()));
}

void Velkoran::resetToDefaults()
{
    settings.apply(EncodeSettings::defaults());
    chosenDir.clear();
    if (!rememberedDir.isEmpty() && ui.openDirectoryLineEdit->text() == rememberedDir) {
        const QString input = ui.openFileNameLineEdit->text();
        ui.openDirectoryLineEdit->setText(input.isEmpty() ? QString()
                                                          : InputChooser::proposedDir(input));
    }
    rememberedDir.clear();
}
