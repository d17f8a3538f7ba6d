// SPDX-License-Identifier: GPL-3.0-or-later
#include "velkoran.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QStyleOptionProgressBar>
#include <QStylePainter>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVariant>

#include <algorithm>

#include "accessibility.h"
#include "commandline.h"
#include "fontfit.h"
#include "spoken.h"

namespace
{

const char *const boxTitle = "Velkoran Theora Encoder";

// Lines of the encoder's error output quoted when it fails without a known phrase.
const int reportedLines = 5;

// The local files of a drop. A folder or a web address is no input: then
// REFUSAL says why, and the drop is taken only to say so.
QStringList localFilesOf(const QMimeData *mime, QString *refusal = nullptr)
{
    if (!mime || !mime->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl &url : mime->urls()) {
        if (!url.isLocalFile()) {
            if (refusal)
                *refusal = Velkoran::tr("Only a file on this computer can be encoded, not a web "
                                        "address:\n%1")
                               .arg(url.toDisplayString());
            return {};
        }
        const QString path = url.toLocalFile();
        const QFileInfo info(path);
        if (info.isDir() && refusal)
            *refusal =
                Velkoran::tr("A folder cannot be encoded. Please drop a video file:\n%1").arg(path);
        if (!info.isFile())
            return {};
        paths << path;
    }
    return paths;
}

// TEXT as a progress bar format that shows it as it is: the bar would read
// "%p", "%v" and "%m" in it as numbers.
QString literalFormat(const QString &text)
{
    QString format = text;
    return format.replace(u'%', QStringLiteral("%\u2060"));
}

// The plain words of a label, without the colon at their end.
QString plainLabelText(const QLabel *label)
{
    QTextDocument document;
    document.setHtml(label->text());
    QString text = document.toPlainText().trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    return text;
}

// Quality sliders work in tenths in quality mode (mode 0): the label shows the
// value divided by ten, as a decimal. In bit-rate mode (mode 1) it shows the
// value as it is, in kbit/s.
void showQuality(QLabel *label, int mode, int value)
{
    if (mode == 0) {
        double dvalue = value;
        int i = 10;
        double labelValue = dvalue / i;
        label->setNum(labelValue);
    }
    if (mode == 1)
        label->setNum(value);
}

// Gives a quality slider the range and starting value of a mode, then its label.
// Quality mode runs from QUALITYMIN to 100 (tenths); bit-rate mode from 45 to
// 2000 kbit/s, starting at 92, for audio and video alike.
void enterQualityMode(QSlider *slider, QLabel *label, int mode, int qualityMin, int qualityStart)
{
    if (mode == 0) {
        slider->setMinimum(qualityMin);
        slider->setMaximum(100);
        slider->setValue(qualityStart);
    }
    if (mode == 1) {
        slider->setMinimum(45);
        slider->setMaximum(2000);
        slider->setValue(92);
    }
    showQuality(label, mode, slider->value());
}

// The option for a stream's quality, or its bit rate, with the label's text as
// the value: what the user sees is what the encoder gets.
QStringList qualityGroup(const QComboBox *mode, const QLabel *label, const char *qualityFragment,
                         const char *bitrateFragment)
{
    QStringList group;
    if (mode->currentIndex() == 0)
        group << qualityFragment << quoteWord(label->text());
    if (mode->currentIndex() == 1)
        group << bitrateFragment << quoteWord(label->text());
    return group;
}

} // namespace

Velkoran::Velkoran(QWidget *parent) : QMainWindow(parent), myprocez()
{
    ui.setupUi(this);
    spoken = new Spoken(this, ui.progressBar, {ui.EncodeToTheorapushButton, ui.CancelpushButton});
    FontFit::followUserFont(this);
    FontFit::growFixedPage(ui.tab_2);
    FontFit::growFixedPage(ui.tab_21, false); // its labels widen below
    fitTexts();
    nameControls();
    const QSize needed = FontFit::needed(this, ui.tab);
    FontFit::scrollWhenSmall(ui.gridLayout, ui.tab);
    FontFit::growToFit(this, size(), needed);
    setAcceptDrops(true);
    // A file dropped on a text field is the input file too, not text to insert.
    for (QLineEdit *field : findChildren<QLineEdit *>())
        field->installEventFilter(this);
    ui.progressBar->installEventFilter(this); // a busy bar with words
    connect(ui.progressBar, &QProgressBar::valueChanged, this, &Velkoran::announceBar);

    // Typing or pasting another input is choosing a new input.
    connect(ui.openFileNameLineEdit, &QLineEdit::textEdited, this, &Velkoran::inputEdited);

    // A probe's times reach the window as the length it measured.
    connect(&job, &EncoderJob::timeRead, this, [this](const QString &time) {
        if (job.kind() == EncoderJob::Kind::Encode)
            showTime(time);
    });
    connect(&job, &EncoderJob::lengthMeasured, this, &Velkoran::lengthRead);
    // A resumed encode starts from what is kept.
    connect(&job, &EncoderJob::resuming, this, [this](int percent) {
        if (queue.active())
            queue.resume(percent);
        QProgressBar *bar = ui.progressBar;
        if (bar->maximum() > 0 && real_duration > 0)
            bar->setValue(std::max(bar->value(), bar->maximum() * percent / 100));
    });
    connect(&job, &EncoderJob::phraseRead, this, &Velkoran::showPhrase);
    connect(&job, &EncoderJob::ended, this, &Velkoran::jobEnded);
    connect(&job, &EncoderJob::ended, this, &Velkoran::queueFileEnded);

    show();
    real_duration = 0;
    k = true;
    getDuration = false;
    customendtimebool = false;
    customendtime = 0;
}

void Velkoran::on_openFileNameButton_clicked()
{
    const QStringList fileNames = QFileDialog::getOpenFileNames(
        this, tr("Select your file"), ui.openFileNameLineEdit->text(), tr("All Files (*)"));
    chooseInputFiles(fileNames);
}

void Velkoran::chooseInputFile(const QString &path)
{
    stopProbe();
    ui.openFileNameLineEdit->setText(path);
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
        setBarFormat(EncodeQueue::moreNote(queuedInputs.size()));
}

// The output directory and name for INPUT: its own directory, and its name
// with only the last extension replaced.
void Velkoran::proposeOutput(const QString &input)
{
    const QFileInfo info(input);
    proposedDir = info.path() + "/";
    proposedName = EncodeQueue::outputName(input);
    ui.openDirectoryLineEdit->setText(proposedDir);
    ui.outputFileNameLineEdit->setText(proposedName);
}

void Velkoran::inputEdited(const QString &typed)
{
    stopProbe();
    QString path = typed;
    if (!QFileInfo(path).isFile()) {
        // A pasted path often brings a blank at its end that no file has.
        QString bare = path;
        while (!bare.isEmpty() && bare.back().isSpace())
            bare.chop(1);
        if (bare != path && QFileInfo(bare).isFile()) {
            path = bare;
            ui.openFileNameLineEdit->setText(path);
        }
    }
    const bool file = QFileInfo(path).isFile();
    // Output fields the user has not changed follow the new input.
    if (file && ui.openDirectoryLineEdit->text() == proposedDir &&
        ui.outputFileNameLineEdit->text() == proposedName)
        proposeOutput(path);
    ui.getDurationpushButton->setEnabled(file);
    forgetTrimRange();
    setQueue({});
}

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
    if (time.isEmpty() && !customendtimebool && !lengthUnknown) {
        lengthUnknown = true;
        ui.progressBar->setRange(0, 0);
        setBusyText(tr("%1 encoded").arg(QStringLiteral("0:00:00")));
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

void Velkoran::on_openDirectoryButton_clicked()
{
    const QString dir = QFileDialog::getExistingDirectory(
        this, tr("Select your directory"), ui.openDirectoryLineEdit->text(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (dir.isEmpty())
        return;
    ui.openDirectoryLineEdit->setText(dir + "/");
}

void Velkoran::on_AudioQualityHorizontalSlider_valueChanged(int value)
{
    const int audioQualityType = ui.AudiocomboBox->currentIndex();
    showQuality(ui.AudioQualityHorizontalLabel, audioQualityType, value);
}

void Velkoran::on_VideoQualityHorizontalSlider_valueChanged(int value)
{
    const int videoQualityType = ui.VideocomboBox->currentIndex();
    showQuality(ui.VideoQualityHorizontalLabel, videoQualityType, value);
}

void Velkoran::on_AudiocomboBox_activated(int audioindex)
{
    enterQualityMode(ui.AudioQualityHorizontalSlider, ui.AudioQualityHorizontalLabel, audioindex,
                     -10, 60);
}

void Velkoran::on_VideocomboBox_activated(int videoindex)
{
    enterQualityMode(ui.VideoQualityHorizontalSlider, ui.VideoQualityHorizontalLabel, videoindex, 0,
                     30);
}

QStringList Velkoran::getAudioQuality()
{
    return qualityGroup(ui.AudiocomboBox, ui.AudioQualityHorizontalLabel, " --audioquality ",
                        " --audiobitrate ");
}

QStringList Velkoran::getVideoQuality()
{
    return qualityGroup(ui.VideocomboBox, ui.VideoQualityHorizontalLabel, " --videoquality ",
                        " --videobitrate ");
}

// The encoder program chosen in the form; its only entry is ffmpeg2theora.
QString Velkoran::encoderChoice() const
{
    const int encoderIndex = ui.EncodersComboBox->currentIndex();
    return encoderIndex == 0 ? QStringLiteral("ffmpeg2theora") : QString();
}

QString Velkoran::generateFFmpeg2theoraCommand()
{
    const QString openfilename = ui.openFileNameLineEdit->text();
    const QString outputDir = ui.openDirectoryLineEdit->text();
    const QString outputfilename = ui.outputFileNameLineEdit->text();
    return baseCommand(encoderChoice(), openfilename, outputPath(outputDir, outputfilename));
}

QStringList Velkoran::checkMetainfo()
{
    const std::pair<const char *, QLineEdit *> fields[] = {
        {" --artist ", ui.ArtistLineEdit},
        {" --title ", ui.TitleLineEdit},
        {" --date ", ui.DateLineEdit},
        {" --location ", ui.LocationLineEdit},
        {" --organization ", ui.OraganizationLineEdit},
        {" --copyright ", ui.CopyrightLineEdit},
        {" --license ", ui.LicenseLineEdit},
    };
    QStringList metainfo;
    for (const auto &[fragment, field] : fields) {
        if (!field->text().isEmpty())
            metainfo << fragment << quoteWord(field->text());
    }
    return metainfo;
}

QStringList Velkoran::getArgs()
{
    QStringList args;
    const auto addIfFilled = [&args](const char *fragment, const QLineEdit *field) {
        if (!field->text().isEmpty())
            args << fragment << quoteWord(field->text());
    };
    addIfFilled(" --width ", ui.ScaleWidthlineEdit);
    addIfFilled(" --height ", ui.ScaleHeightlineEdit);
    addIfFilled(" --format ", ui.inputFormatlineEdit);
    addIfFilled(" --aspect ", ui.frameAspectlineEdit);
    addIfFilled(" --samplerate ", ui.outputSampleratelineEdit);
    addIfFilled(" --nice ", ui.nicenesslineEdit);
    addIfFilled(" --croptop ", ui.cropToplineEdit);
    addIfFilled(" --cropbottom ", ui.cropBottomlineEdit);
    addIfFilled(" --cropleft ", ui.cropLeftlineEdit);
    addIfFilled(" --cropright ", ui.cropRightlineEdit);
    if (ui.disableSoundcomboBox->currentIndex() == 1)
        args << " --nosound ";
    if (ui.desableDeinterlacecomboBox->currentIndex() == 1)
        args << " -d off ";
    const QString sharpness = ui.sharpnessspinBox->text();
    const QString keyframe = ui.keyframespinBox->text();
    args << " --sharpness " << sharpness << " --keyint " << keyframe;
    addIfFilled(" --format ", ui.inputFormatlineEdit);
    addIfFilled(" --inputfps ", ui.inputfpslineEdit);

    if (ui.startTimetimeEdit->isEnabled()) {
        const QTime starttime = ui.startTimetimeEdit->time();
        const QTime endtime = ui.endTimetimeEdit->time();
        const int starttimearg = toSeconds(starttime);
        const int endtimearg = toSeconds(endtime);
        customendtimebool = true;
        customendtime = endtimearg - starttimearg;
        const QVariant st(starttimearg);
        const QVariant et(endtimearg);
        const QString starttimeargstring = st.toString();
        // An end left at the probed length is the length as the encoder
        // wrote it, fraction included, so that no tail is lost.
        const bool wholeInput =
            !probedLength.isEmpty() && endtime == ui.endTimetimeEdit->maximumTime();
        const QString endtimeargstring = wholeInput ? probedLength : et.toString();
        args << " --starttime " << starttimeargstring << " --endtime " << endtimeargstring;
    }
    return args;
}

int Velkoran::toSeconds(QTime encodetime)
{
    const int int_hour = encodetime.hour();
    const int int_min = encodetime.minute();
    const int int_sec = encodetime.second();
    return int_hour * 3600 + int_min * 60 + int_sec;
}

bool Velkoran::confirmOutputPath(const QString &input, const QString &output)
{
    if (!QFileInfo(output).isFile())
        return true; // nothing of the user's to lose; the encoder reports a bad path
    if (sameExistingFile(input, output)) {
        QMessageBox::critical(this, boxTitle,
                              tr("The encoded file would replace the video being encoded:\n%1\n\n"
                                 "Please choose another file name or directory.")
                                  .arg(output));
        return false;
    }
    // In a queue the answer may hold for the files after this one too.
    const bool queued = queue.active();
    if (queued && queue.replaceAll)
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, boxTitle, tr("The file %1 already exists.\n\nDo you want to replace it?").arg(output),
        queued ? QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::Cancel
               : QMessageBox::Yes | QMessageBox::No,
        QMessageBox::No);
    queue.replaceAll = answer == QMessageBox::YesToAll;
    if (answer == QMessageBox::Cancel)
        queue.skipRest(EncodeQueue::tr("the queue was stopped"));
    return answer == QMessageBox::Yes || answer == QMessageBox::YesToAll;
}

void Velkoran::on_EncodeToTheorapushButton_clicked()
{
    if (job.running() || queue.active())
        return;
    if (ui.openDirectoryLineEdit->text().isEmpty()) {
        QMessageBox::critical(this, boxTitle,
                              tr("Please choose the directory for the encoded file."));
        return;
    }
    if (!queuedInputs.isEmpty()) {
        startQueue();
        return;
    }
    if (ui.outputFileNameLineEdit->text().isEmpty()) {
        QMessageBox::critical(this, boxTitle, tr("Please enter a name for the encoded file."));
        return;
    }
    const QString output =
        outputPath(ui.openDirectoryLineEdit->text(), ui.outputFileNameLineEdit->text());
    bool restart = false;
    if (!confirmOutputPath(ui.openFileNameLineEdit->text(), output) ||
        !chooseResume(output, &restart))
        return;
    encodeForm(output, restart);
}

// When an earlier encode to OUTPUT stopped with chunks kept, the user chooses
// between resuming it (the encoder goes on from them by itself) and starting
// over (RESTART). False when the user cancels.
bool Velkoran::chooseResume(const QString &output, bool *restart)
{
    const QString dir = keptChunksDir(output);
    if (!QFileInfo(dir + QStringLiteral("/manifest")).isFile())
        return true;
    // How much is kept is known from the encode that stopped, if it ran here.
    const int percent = keptShares.value(dir, -1);
    QMessageBox box(QMessageBox::Question, boxTitle,
                    percent >= 0
                        ? tr("An earlier encode of this file stopped at %1 %.").arg(percent)
                        : tr("An earlier encode of this file stopped before its end."),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)->setText(tr("&Resume"));
    box.button(QMessageBox::No)->setText(tr("&Start over"));
    box.setDefaultButton(QMessageBox::Yes);
    const int answer = box.exec();
    *restart = answer == QMessageBox::No;
    return answer != QMessageBox::Cancel;
}

// Starts the encode of what the form holds, to OUTPUT; with RESTART, the
// chunks an earlier encode kept are not used.
bool Velkoran::encodeForm(const QString &output, bool restart)
{
    QString encode_cmd = generateFFmpeg2theoraCommand();
    const QStringList metainfolist = checkMetainfo();
    const QStringList argslist = getArgs();
    const QString metainfo = metainfolist.join("");
    const QString args = argslist.join("");
    const QStringList audioarglist = getAudioQuality();
    const QStringList videoarglist = getVideoQuality();
    const QString audioquality = audioarglist.join("");
    const QString videoquality = videoarglist.join("");
    encode_cmd.append(audioquality);
    encode_cmd.append(videoquality);
    encode_cmd.append(metainfo);
    encode_cmd.append(args);
    if (restart)
        encode_cmd.append(QStringLiteral(" --restart"));

    resetProgress();
    if (!job.startEncode(encode_cmd, output, ui.openFileNameLineEdit->text()))
        return false;
    showRunning();
    return true;
}

void Velkoran::startQueue()
{
    queue.plan(queuedInputs, ui.openDirectoryLineEdit->text());
    const QString clash = queue.clash();
    if (!clash.isEmpty()) {
        QMessageBox::critical(this, boxTitle, clash);
        return;
    }
    forgetTrimRange(); // whatever a probe still running might have found
    queue.start();
    advanceQueue();
}

// Starts the next file of the queue that is not skipped on the way, or ends the queue.
void Velkoran::advanceQueue()
{
    while (queue.active() && !job.running() && !closing) {
        const int i = queue.next();
        if (i < 0) {
            endQueue();
            return;
        }
        const EncodeQueue::Entry file = queue.entries().at(i);
        const QFileInfo output(file.output);
        ui.openFileNameLineEdit->setText(file.input);
        ui.openDirectoryLineEdit->setText(output.path() + u'/');
        ui.outputFileNameLineEdit->setText(output.fileName());
        if (!confirmOutputPath(file.input, file.output)) {
            if (queue.entries().at(i).state == EncodeQueue::State::Waiting)
                queue.finish(EncodeQueue::State::Skipped,
                             EncodeQueue::tr("%1 was kept").arg(output.fileName()));
            continue;
        }
        if (encodeForm(file.output))
            setBarFormat(queue.barText(0, 0));
    }
}

void Velkoran::queueFileEnded(EncoderJob::Kind kind, EncoderJob::Outcome outcome)
{
    using Outcome = EncoderJob::Outcome;
    if (kind != EncoderJob::Kind::Encode || !queue.active() || queue.current() < 0 || closing)
        return;
    switch (outcome) {
    case Outcome::Encoded:
        queue.finish(EncodeQueue::State::Encoded);
        break;
    case Outcome::Cancelled:
        queue.finish(EncodeQueue::State::Skipped, EncodeQueue::tr("cancelled"));
        if (queue.waiting() > 0 &&
            QMessageBox::question(this, boxTitle, EncodeQueue::dropQuestion(queue.waiting()),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::Yes) == QMessageBox::Yes)
            queue.skipRest(EncodeQueue::tr("the queue was stopped"));
        break;
    case Outcome::NotStarted:
    case Outcome::NoTempDir:
        // Each file after it would fail alike.
        queue.finish(EncodeQueue::State::Failed, job.errorString());
        queue.skipRest(EncodeQueue::tr("the queue was stopped"));
        break;
    default:
        queue.finish(EncodeQueue::State::Failed); // its reason is noted already
        break;
    }
    ui.EncodeToTheorapushButton->setEnabled(false); // until the queue ends
    QTimer::singleShot(0, this, &Velkoran::advanceQueue);
}

void Velkoran::endQueue()
{
    if (queuedInputs.size() > 1) {
        ui.openFileNameLineEdit->setText(queuedInputs.first());
        ui.outputFileNameLineEdit->setText(EncodeQueue::outputName(queuedInputs.first()));
    }
    showIdle();
    setBarFormat(queue.counts());
    if (!isActiveWindow())
        notifyDesktop(EncodeQueue::tr("The queue is done"), queue.counts());
    const bool failed = queue.count(EncodeQueue::State::Failed) > 0;
    QMessageBox box(failed ? QMessageBox::Warning : QMessageBox::Information, boxTitle,
                    queue.summary(), QMessageBox::Ok, this);
    box.exec();
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
    QWidget *focus = focusWidget();
    ui.EncodeToTheorapushButton->setEnabled(true);
    if (!focus || focus == ui.CancelpushButton || focus == ui.EncodeToTheorapushButton)
        ui.EncodeToTheorapushButton->setFocus(Qt::OtherFocusReason);
    ui.CancelpushButton->setEnabled(false);
}

// After an encode that kept chunks, the bar stands at the share kept and
// says how to go on, after ENDING. False when nothing was kept.
bool Velkoran::showKept(const QString &ending)
{
    const int percent = job.keptShare();
    if (percent < 0)
        return false;
    ui.progressBar->setRange(0, 100);
    ui.progressBar->setValue(percent);
    setBarFormat(ending + QStringLiteral(" \u00b7 ") +
                 tr("%1 % kept, Encode resumes it").arg(percent));
    return true;
}

// A failed encode keeps the bar where it got to.
void Velkoran::showFailed()
{
    if (showKept(tr("Failed")))
        return;
    if (ui.progressBar->maximum() <= 0) {
        const QString reached = busyText;
        ui.progressBar->setRange(0, 100);
        ui.progressBar->setValue(0);
        setBarFormat(literalFormat(reached) + QStringLiteral(" \u00b7 ") + tr("Failed"));
        return;
    }
    setBarFormat(QStringLiteral("%p% \u00b7 ") + tr("Failed"));
}

void Velkoran::setBarFormat(const QString &format)
{
    ui.progressBar->setFormat(format);
    announceBar();
}

void Velkoran::setBusyText(const QString &text)
{
    busyText = text;
    ui.progressBar->update();
    announceBar();
}

// What the bar shows goes to a screen reader too (see spoken.h).
void Velkoran::announceBar()
{
    QProgressBar *bar = ui.progressBar;
    // An empty bar between jobs has nothing to tell.
    const bool idle = !job.running();
    const bool empty = idle && bar->format() == QStringLiteral("%p%") && bar->value() <= 0;
    spoken->barChanged(bar->maximum() <= 0 ? busyText : bar->text(), idle, !empty);
}

// The style draws no text on a busy bar; this one says how far the encode got.
void Velkoran::paintBusyBar()
{
    QProgressBar *bar = ui.progressBar;
    QStylePainter painter(bar);
    QStyleOptionProgressBar option;
    option.initFrom(bar);
    option.minimum = 0;
    option.maximum = 0;
    option.progress = 0;
    option.textAlignment = bar->alignment();
    option.textVisible = true;
    option.text = busyText;
    option.state |= QStyle::State_Horizontal;
    painter.drawControl(QStyle::CE_ProgressBar, option);
}

// Every job is measured afresh: nothing of the last one's length or position counts.
void Velkoran::resetProgress()
{
    real_duration = 0;
    k = true;
    lengthUnknown = false;
    busyText.clear();
    ui.progressBar->setRange(0, 100);
    ui.progressBar->setValue(0);
    setBarFormat(QStringLiteral("%p%"));
}

void Velkoran::on_CancelpushButton_clicked()
{
    // A probe that has measured its length stops by itself; that is no user's stop.
    const bool userStop = job.kind() == EncoderJob::Kind::Encode || getDuration;
    job.stop();
    k = true;
    ui.progressBar->setValue(0);
    ui.progressBar->setMaximum(100);
    setBarFormat(job.stopping() && userStop ? tr("Stopping…") : QStringLiteral("%p%"));
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

void Velkoran::probeEnded(EncoderJob::Outcome outcome)
{
    showIdle();
    if (ui.progressBar->maximum() <= 0)
        ui.progressBar->setRange(0, 100); // no more busy bar
    setBarFormat(QStringLiteral("%p%"));
    if (!getDuration)
        return; // the probe measured the length, or its input was replaced
    getDuration = false;
    if (outcome == EncoderJob::Outcome::Cancelled) {
        setBarFormat(tr("Cancelled"));
        return;
    }
    if (!job.phraseShown() && !closing)
        reportFailure(tr("The length of the input file could not be read."));
}

void Velkoran::encodeEnded(EncoderJob::Outcome outcome)
{
    using Outcome = EncoderJob::Outcome;
    enableButton();
    const QString keptDir = keptChunksDir(job.output());
    if (job.keptShare() >= 0)
        keptShares.insert(keptDir, job.keptShare());
    else
        keptShares.remove(keptDir);
    if (closing)
        return;
    if (outcome != Outcome::Cancelled && outcome != Outcome::Encoded)
        showFailed();
    switch (outcome) {
    case Outcome::Cancelled:
        if (showKept(tr("Cancelled")))
            break;
        // An empty bar: a filled part would read as work done.
        if (ui.progressBar->maximum() <= 0)
            ui.progressBar->setMaximum(100);
        ui.progressBar->setValue(0);
        setBarFormat(job.partialFileLeft() ? tr("Cancelled · a partial file remains")
                                           : tr("Cancelled"));
        break;
    case Outcome::Encoded:
        if (ui.progressBar->maximum() <= 0)
            ui.progressBar->setMaximum(100);
        ui.progressBar->setValue(ui.progressBar->maximum());
        setBarFormat(tr("Done · %1").arg(literalFormat(QFileInfo(job.output()).fileName())));
        break;
    case Outcome::NoOutput:
        reportFailure(tr("The encoder reported success, but wrote no file:\n%1").arg(job.output()));
        break;
    case Outcome::EmptyOutput:
        reportFailure(tr("The encoder reported success, but the file it wrote is empty:\n%1")
                          .arg(job.output()));
        break;
    case Outcome::Crashed:
        if (!job.phraseShown())
            reportFailure(tr("The encoder crashed."));
        break;
    default:
        if (!job.phraseShown())
            reportFailure(tr("The encoder stopped with exit code %1.").arg(job.exitCode()));
        break;
    }
}

void Velkoran::reportFailure(const QString &what)
{
    if (queue.active()) {
        // Told in the queue's summary, not in a box of its own.
        queue.noteReason(what + u'\n' + job.lastOutput(1));
        return;
    }
    QString text = what;
    const QString lastOutput = job.lastOutput(reportedLines);
    if (!lastOutput.isEmpty())
        text += "\n\n" + lastOutput;
    QMessageBox::critical(this, boxTitle, text);
}

// The box stays open beside the running job; each phrase is shown once a job.
void Velkoran::showPhrase(const QString &phrase, const QString &line)
{
    if (closing)
        return;
    if (queue.active()) {
        queue.noteReason(line.isEmpty() ? phrase : line);
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
    if (lengthUnknown) {
        setBusyText(tr("%1 encoded").arg(value));
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
            setBarFormat(queue.active() ? queue.barText(totaltime, ui.progressBar->maximum())
                                        : job.progressFormat(totaltime, ui.progressBar->maximum()));
    }
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
    const QTime endtime(hour, min, sec, 0);
    if (!endtime.isValid() || endtime == QTime(0, 0)) {
        // No time editor can show this length: they stay off and the whole
        // input is encoded.
        ui.getDurationpushButton->setEnabled(false);
        getDuration = false;
        probedLength.clear();
        job.stop();
        if (closing)
            return;
        const QString read = QStringLiteral("%1:%2:%3")
                                 .arg(hour)
                                 .arg(min, 2, 10, QLatin1Char('0'))
                                 .arg(sec, 2, 10, QLatin1Char('0'));
        QString why;
        if (min > 59 || sec > 59)
            why = tr("The encoder gave %1 as the length of the input, which is not a valid time. "
                     "The whole input will be encoded.")
                      .arg(read);
        else if (hour == 0 && min == 0 && sec == 0)
            why = tr("The encoder could not tell the length of the input (it read 0:00:00). The "
                     "whole input will be encoded.");
        else
            why = tr("The input is %1:%2:%3 long. Only inputs shorter than a day can be trimmed; "
                     "the whole input will be encoded.")
                      .arg(hour)
                      .arg(min, 2, 10, QLatin1Char('0'))
                      .arg(sec, 2, 10, QLatin1Char('0'));
        QMessageBox::critical(this, boxTitle, why);
        return;
    }
    const QTime starttimemax = endtime.addSecs(-1);
    const QTime endtimemin(0, 0, 1);
    ui.startTimetimeEdit->setTime(QTime(0, 0)); // a start from an earlier input means nothing here
    ui.startTimetimeEdit->setMaximumTime(starttimemax);
    ui.endTimetimeEdit->setMaximumTime(endtime);
    ui.endTimetimeEdit->setTime(endtime);
    ui.endTimetimeEdit->setMinimumTime(endtimemin);
    ui.startTimetimeEdit->setEnabled(true);
    ui.endTimetimeEdit->setEnabled(true);
    ui.startTimelabel->setEnabled(true);
    ui.endTimelabel->setEnabled(true);
    ui.getDurationpushButton->setEnabled(false);
    getDuration = false;
    job.stop(); // the probe has its answer
    spoken->say(tr("Length %1").arg(endtime.toString(QStringLiteral("H:mm:ss"))));
}

void Velkoran::on_startTimetimeEdit_timeChanged(const QTime &starttime)
{
    const QTime newendtime = starttime.addSecs(1);
    ui.endTimetimeEdit->setMinimumTime(newendtime);
}

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
    closing = true;
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
    case QEvent::Paint:
        if (watched == ui.progressBar && ui.progressBar->maximum() <= 0 && !busyText.isEmpty()) {
            paintBusyBar();
            return true;
        }
        break;
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
    QString refusal;
    const QStringList paths = localFilesOf(event->mimeData(), &refusal);
    if (paths.isEmpty() && refusal.isEmpty())
        return false;
    const Qt::DropActions possible = event->possibleActions();
    const Qt::DropAction action = possible.testFlag(Qt::CopyAction)   ? Qt::CopyAction
                                  : possible.testFlag(Qt::LinkAction) ? Qt::LinkAction
                                                                      : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::Drop) {
        event->setDropAction(action);
        event->accept();
        return true;
    }
    if (!refusal.isEmpty()) {
        // Refused, with a word: the folder or the address stays as it was.
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        if (!closing) {
            auto *box =
                new QMessageBox(QMessageBox::Warning, boxTitle, refusal, QMessageBox::Ok, this);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        }
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
    const std::pair<QLabel *, QWidget *> labelled[] = {
        {ui.label, ui.openFileNameLineEdit},
        {ui.label_11, ui.openDirectoryLineEdit},
        {ui.label_2, ui.outputFileNameLineEdit},
        {ui.label_3, ui.EncodersComboBox},
        {ui.label_9_2, ui.TitleLineEdit},
        {ui.label_9, ui.ArtistLineEdit},
        {ui.label_9_2_2, ui.DateLineEdit},
        {ui.label_9_2_2_2, ui.OraganizationLineEdit},
        {ui.label_9_2_2_2_2, ui.LocationLineEdit},
        {ui.label_10, ui.LicenseLineEdit},
        {ui.label_9_2_2_2_2_2, ui.CopyrightLineEdit},
        {ui.label_5, ui.ScaleWidthlineEdit},
        {ui.label_12, ui.ScaleHeightlineEdit},
        {ui.label_15, ui.frameAspectlineEdit},
        {ui.label_17, ui.outputSampleratelineEdit},
        {ui.label_18, ui.nicenesslineEdit},
        {ui.label_14, ui.disableSoundcomboBox},
        {ui.label_6, ui.sharpnessspinBox},
        {ui.label_7, ui.keyframespinBox},
        {ui.startTimelabel, ui.startTimetimeEdit},
        {ui.endTimelabel, ui.endTimetimeEdit},
        {ui.label_16, ui.desableDeinterlacecomboBox},
        {ui.label_13, ui.inputFormatlineEdit},
        {ui.label_4, ui.inputfpslineEdit},
        {ui.label_19, ui.cropToplineEdit},
        {ui.label_20, ui.cropBottomlineEdit},
        {ui.label_21, ui.cropLeftlineEdit},
        {ui.label_22, ui.cropRightlineEdit},
    };
    for (const auto &[label, field] : labelled) {
        label->setBuddy(field);
        // The labels are rich text; a screen reader gets their words only.
        field->setAccessibleName(plainLabelText(label));
    }
    // Labels written for the eye are heard in words a listener understands.
    Accessibility::rename(ui.nicenesslineEdit, tr("Niceness of the encoder"));
    Accessibility::rename(ui.inputfpslineEdit, tr("Override the input's frames per second"));
    Accessibility::rename(ui.frameAspectlineEdit,
                          tr("Frame aspect ratio, for example 4:3 or 16:9"));
    Accessibility::rename(ui.outputSampleratelineEdit, tr("Output sample rate in hertz"));
    // The crop labels name only a side.
    ui.cropToplineEdit->setAccessibleName(tr("Crop at the top"));
    ui.cropBottomlineEdit->setAccessibleName(tr("Crop at the bottom"));
    ui.cropLeftlineEdit->setAccessibleName(tr("Crop at the left"));
    ui.cropRightlineEdit->setAccessibleName(tr("Crop at the right"));
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
