// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobstory.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include "commandline.h"
#include "jobreport.h"
#include "progressview.h"
#include "queue.h"

namespace
{

const char *const boxTitle = "Velkoran Theora Encoder";

// Lines of the encoder's error output quoted when it fails without a known phrase.
const int reportedLines = 5;

} // namespace

QString JobStory::windowWords(const QString &text)
{
    static const QRegularExpression sameCommand(QStringLiteral(";\\s*the same command resumes"));
    QString words = text;
    return words.replace(sameCommand,
                         QStringLiteral(". ") + tr("Press Encode again to go on from there."));
}

void JobStory::notStarted(EncoderJob::Outcome outcome, const QString &program)
{
    if (closing)
        return;
    if (outcome == EncoderJob::Outcome::NoTempDir)
        QMessageBox::critical(window, boxTitle,
                              tr("No temporary directory could be made for reading the length "
                                 "of the input file:\n%1")
                                  .arg(job.errorString()));
    else
        QMessageBox::critical(
            window, boxTitle,
            tr("The encoder \"%1\" could not be started:\n%2").arg(program, job.errorString()));
}

void JobStory::encodeEnded(EncoderJob::Outcome outcome)
{
    using Outcome = EncoderJob::Outcome;
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
        if (!warning.isEmpty() && queue.active())
            queue.noteWarning(warning);
        bar->showDone(QFileInfo(job.output()).fileName(), warning);
    } else if (job.keptShare() >= 0) {
        bar->showKept(tr("Failed"), job.keptShare());
    } else {
        bar->showFailed();
    }
    if (!failure.isEmpty())
        reportFailure(failure);
}

void JobStory::probeEnded(EncoderJob::Outcome outcome, bool asked)
{
    bar->setFormat(QStringLiteral("%p%"));
    if (!asked)
        return;
    if (outcome == EncoderJob::Outcome::Cancelled) {
        bar->setFormat(tr("Cancelled"));
        return;
    }
    if (!job.phraseShown() && !closing)
        reportFailure(tr("The length of the input file could not be read."));
}

void JobStory::reportFailure(const QString &what)
{
    if (queue.active()) {
        // Told in the queue's summary, not in a box of its own.
        queue.noteReason(
            windowWords(JobReport::reason(what + u'\n' + JobReport::lastLines(job, 1))));
        return;
    }
    QString text = what;
    const QString lastOutput = JobReport::lastLines(job, reportedLines);
    if (!lastOutput.isEmpty())
        text += "\n\n" + lastOutput;
    QMessageBox::critical(window, boxTitle, windowWords(text));
}

// The box stays open beside the running job; each phrase is shown once a job.
void JobStory::showPhrase(const QString &phrase, const QString &line)
{
    if (closing)
        return;
    if (queue.active()) {
        queue.noteReason(windowWords(JobReport::reason(line.isEmpty() ? phrase : line)));
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Critical, boxTitle,
                                windowWords(errorBoxText(phrase, line)), QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
