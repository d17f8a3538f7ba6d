#include "velkoran.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>

#include "commandline.h"
#include "timeleft.h"

namespace
{

const char *const boxTitle = "Velkoran Theora Encoder";

// How long a stopped encoder may take to close its file when the window closes.
const int stopGraceMs = 3000;

// Lines of the encoder's error output quoted when it fails without a known phrase.
const int reportedLines = 5;

// Enough of the encoder's error output to quote its last lines.
const qsizetype errorTailBytes = 4096;

QString localFileOf(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return QString();
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile())
        return QString();
    const QString path = url.toLocalFile();
    return QFileInfo(path).isFile() ? path : QString();
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
    resize(size().expandedTo(minimumSizeHint()));
    setAcceptDrops(true);
    // A file dropped on a text field is the input file too, not text to insert.
    for (QLineEdit *field : findChildren<QLineEdit *>())
        field->installEventFilter(this);

    connect(&myprocez, &QProcess::readyReadStandardError, this, &Velkoran::updateProgressbar);
    connect(&myprocez, &QProcess::finished, this, &Velkoran::processFinished);
    connect(&myprocez, &QProcess::errorOccurred, this, &Velkoran::processFailedToStart);

    show();
    real_duration = 0;
    k = true;
    getDuration = false;
    customendtimebool = false;
    customendtime = 0;
}

void Velkoran::on_openFileNameButton_clicked()
{
    const QString fileName = QFileDialog::getOpenFileName(
        this, tr("Select your file"), ui.openFileNameLineEdit->text(), tr("All Files (*)"));
    if (fileName.isEmpty())
        return;
    chooseInputFile(fileName);
}

void Velkoran::chooseInputFile(const QString &path)
{
    const QFileInfo info(path);
    ui.openFileNameLineEdit->setText(path);
    ui.openDirectoryLineEdit->setText(info.path() + "/");
    ui.outputFileNameLineEdit->setText(info.baseName() + ".ogg");
    ui.getDurationpushButton->setEnabled(true);
    ui.startTimetimeEdit->setEnabled(false);
    ui.endTimetimeEdit->setEnabled(false);
    customendtimebool = false;
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
    return baseCommand(encoderChoice(), openfilename, outputDir + outputfilename);
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
        const QString endtimeargstring = et.toString();
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
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, boxTitle, tr("The file %1 already exists.\n\nDo you want to replace it?").arg(output),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void Velkoran::on_EncodeToTheorapushButton_clicked()
{
    if (myprocez.state() != QProcess::NotRunning)
        return;
    if (!confirmOutputPath(ui.openFileNameLineEdit->text(),
                           ui.openDirectoryLineEdit->text() + ui.outputFileNameLineEdit->text()))
        return;

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

    startJob(Job::Encode, encode_cmd);
}

void Velkoran::startJob(Job kind, const QString &command)
{
    job = kind;
    errorShownForJob = false;
    stopRequested = false;
    errorTail.clear();
    resetProgressText();
    myprocez.startCommand(command, QIODevice::ReadWrite);
    if (job != kind)
        return; // it could not be started, and the window is idle again
    ui.EncodeToTheorapushButton->setEnabled(false);
    if (kind == Job::Encode)
        ui.CancelpushButton->setEnabled(true);
}

void Velkoran::on_CancelpushButton_clicked()
{
    if (myprocez.state() != QProcess::NotRunning)
        stopRequested = true;
    myprocez.terminate();
    resetProgressText();
    k = true;
    ui.progressBar->setValue(0);
    ui.progressBar->setMaximum(100);
    real_duration = 0;
}

void Velkoran::enableButton()
{
    ui.EncodeToTheorapushButton->setEnabled(true);
    ui.CancelpushButton->setEnabled(false);
    if (customendtimebool)
        ui.progressBar->setValue(customendtime);
}

void Velkoran::processFinished(int exitCode, QProcess::ExitStatus status)
{
    const Job ended = job;
    job = Job::None;
    resetProgressText();
    if (ended == Job::Probe) {
        // An error box may be open over the piece of output that also holds
        // the probe's time: the probe ends once that piece has been read.
        if (errorBoxesOpen > 0)
            probeEndPending = true;
        else
            finishProbe();
    } else if (ended == Job::Encode) {
        finishEncode(exitCode, status);
    }
}

void Velkoran::finishProbe()
{
    probeEndPending = false;
    probeDir.reset();
    ui.EncodeToTheorapushButton->setEnabled(true);
    if (!getDuration)
        return; // the probe found the input's length and was stopped
    getDuration = false;
    if (!errorShownForJob && !closing)
        reportFailure(tr("The length of the input file could not be read."));
}

void Velkoran::finishEncode(int exitCode, QProcess::ExitStatus status)
{
    enableButton();
    if (closing || stopRequested)
        return;
    if (status == QProcess::NormalExit && exitCode == 0) {
        if (ui.progressBar->maximum() <= 0)
            ui.progressBar->setMaximum(100);
        ui.progressBar->setValue(ui.progressBar->maximum());
    } else if (!errorShownForJob) {
        reportFailure(status == QProcess::CrashExit
                          ? tr("The encoder crashed.")
                          : tr("The encoder stopped with exit code %1.").arg(exitCode));
    }
}

void Velkoran::reportFailure(const QString &what)
{
    QString text = what;
    const QString lastOutput = lastLines(errorTail, reportedLines);
    if (!lastOutput.isEmpty())
        text += "\n\n" + lastOutput;
    QMessageBox::critical(this, boxTitle, text);
}

void Velkoran::processFailedToStart(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return; // a crash also ends in finished(), which reports it
    const Job failed = job;
    job = Job::None;
    if (failed == Job::Probe) {
        probeDir.reset();
        getDuration = false;
    }
    ui.EncodeToTheorapushButton->setEnabled(true);
    ui.CancelpushButton->setEnabled(false);
    if (!closing)
        QMessageBox::critical(this, boxTitle,
                              tr("The encoder \"%1\" could not be started:\n%2")
                                  .arg(myprocez.program(), myprocez.errorString()));
}

void Velkoran::updateProgressbar()
{
    const QByteArray bytes = myprocez.readAllStandardError();
    errorTail.append(bytes);
    if (errorTail.size() > errorTailBytes)
        errorTail = errorTail.right(errorTailBytes);
    const QString result = errorOutputText(bytes);

    const QString errorValue = firstErrorPhrase(result);
    if (!errorValue.isEmpty()) {
        errorShownForJob = true;
        if (!closing) {
            ++errorBoxesOpen;
            QMessageBox::critical(nullptr, boxTitle, errorBoxText(errorValue));
            --errorBoxesOpen;
        }
    }

    const QString value = firstTime(result);
    if (!value.isEmpty())
        showTime(value);
    if (probeEndPending && errorBoxesOpen == 0)
        finishProbe();
}

void Velkoran::showTime(const QString &value)
{
    k = real_duration == 0;
    const int totaltime = computeDuration(value);
    if (totaltime > real_duration)
        real_duration = totaltime;
    if (!customendtimebool)
        ui.progressBar->setMaximum(real_duration);
    else
        ui.progressBar->setMaximum(customendtime);
    if (!k) {
        ui.progressBar->setValue(totaltime);
        if (job == Job::Encode)
            showTimeLeft(totaltime);
    }
}

void Velkoran::showTimeLeft(int position)
{
    // The clock starts at the first position, and again when the position
    // goes back (the input's length, read as a position after a probe).
    if (clockFirstValue < 0 || position < clockFirstValue) {
        clockFirstValue = position;
        encodeClock.start();
        return;
    }
    ui.progressBar->setFormat(progressFormat(encodeClock.elapsed(), clockFirstValue, position,
                                             ui.progressBar->maximum()));
}

void Velkoran::resetProgressText()
{
    clockFirstValue = -1;
    ui.progressBar->setFormat(QStringLiteral("%p%"));
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
    if (myprocez.state() != QProcess::NotRunning)
        return;
    probeDir = std::make_unique<QTemporaryDir>();
    if (!probeDir->isValid()) {
        QMessageBox::critical(this, boxTitle,
                              tr("No temporary directory could be made for reading the length "
                                 "of the input file:\n%1")
                                  .arg(probeDir->errorString()));
        probeDir.reset();
        return;
    }
    getDuration = true;
    const QString encode_cmd = baseCommand(encoderChoice(), ui.openFileNameLineEdit->text(),
                                           probeDir->filePath(QStringLiteral("probe.ogg")));
    startJob(Job::Probe, encode_cmd);
}

void Velkoran::setDuration(int hour, int min, int sec)
{
    const QTime endtime(hour, min, sec, 0);
    if (!endtime.isValid()) {
        // A length of a day or more (or not a time of day at all) cannot be
        // shown by the time editors; they stay off and the whole input is encoded.
        ui.getDurationpushButton->setEnabled(false);
        getDuration = false;
        on_CancelpushButton_clicked();
        if (!closing)
            QMessageBox::critical(this, boxTitle,
                                  tr("The input is %1:%2:%3 long. Only inputs shorter than a "
                                     "day can be trimmed; the whole input will be encoded.")
                                      .arg(hour)
                                      .arg(min, 2, 10, QLatin1Char('0'))
                                      .arg(sec, 2, 10, QLatin1Char('0')));
        return;
    }
    const QTime starttimemax = endtime.addSecs(-1);
    const QTime endtimemin(0, 0, 1);
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
    on_CancelpushButton_clicked();
}

void Velkoran::on_startTimetimeEdit_timeChanged(const QTime &starttime)
{
    const QTime newendtime = starttime.addSecs(1);
    ui.endTimetimeEdit->setMinimumTime(newendtime);
}

void Velkoran::closeEvent(QCloseEvent *event)
{
    if (myprocez.state() != QProcess::NotRunning && job == Job::Encode) {
        const QMessageBox::StandardButton answer = QMessageBox::question(
            this, boxTitle, tr("An encode is still running.\n\nStop it and quit?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            event->ignore();
            return;
        }
    }
    closing = true;
    if (myprocez.state() != QProcess::NotRunning) {
        stopRequested = true;
        myprocez.terminate();
        if (!myprocez.waitForFinished(stopGraceMs)) {
            myprocez.kill();
            myprocez.waitForFinished(stopGraceMs);
        }
    }
    event->accept();
}

bool Velkoran::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = localFileOf(drop->mimeData());
        if (path.isEmpty())
            break;
        if (event->type() == QEvent::Drop)
            chooseInputFile(path);
        drop->acceptProposedAction();
        return true;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Velkoran::dragEnterEvent(QDragEnterEvent *event)
{
    if (!localFileOf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Velkoran::dropEvent(QDropEvent *event)
{
    const QString path = localFileOf(event->mimeData());
    if (path.isEmpty())
        return;
    chooseInputFile(path);
    event->acceptProposedAction();
}
