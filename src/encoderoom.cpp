// SPDX-License-Identifier: GPL-3.0-or-later
// An encode of the window: its command's words, its start from the Encode
// button, the bar's progress while it runs, and the Cancel button.
#include "velkoran.h"

#include <QFileInfo>
#include <QMessageBox>

#include "commandline.h"
#include "forecast.h"

namespace
{

const char *const boxTitle = "Velkoran Theora Encoder";

} // namespace

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

void Velkoran::on_EncodeToTheorapushButton_clicked()
{
    if (job.running() || runner->queue.active())
        return;
    if (ui.openDirectoryLineEdit->text().isEmpty()) {
        QMessageBox::critical(this, boxTitle,
                              tr("Please choose the directory for the encoded file."));
        return;
    }
    if (const QString refused = settings.refusal(); !refused.isEmpty()) {
        QMessageBox::critical(this, boxTitle, refused);
        return;
    }
    saveSettings();
    if (!fields.queuedInputs.isEmpty()) {
        forgetTrimRange(); // whatever a probe still running might have found
        runner->start(fields.queuedInputs, ui.openDirectoryLineEdit->text());
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
    // A resumed encode's bar starts at the share it goes on from.
    if (!restart && QFileInfo::exists(keptChunksDir(output)))
        bar->startAt(job.output() == output && job.keptShare() >= 0
                         ? job.keptShare()
                         : EncodePreflight::keptShare(output));
    if (!job.startEncode(encode_cmd, output, ui.openFileNameLineEdit->text()))
        return false;
    showRunning();
    return true;
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
    if (customendtimebool || real_duration > 0)
        bar->keepStartShare();
    if (!k) {
        ui.progressBar->setValue(totaltime);
        if (job.kind() == EncoderJob::Kind::Encode && !job.stopping())
            bar->setFormat(runner->queue.active()
                               ? runner->queue.barText(totaltime, ui.progressBar->maximum())
                               : job.progressFormat(totaltime, ui.progressBar->maximum()));
    }
}
