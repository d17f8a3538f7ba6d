// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobreport.h"

#include <QCoreApplication>
#include <QRegularExpression>

QString JobReport::failure(const EncoderJob &job, EncoderJob::Outcome outcome)
{
    using Outcome = EncoderJob::Outcome;
    switch (outcome) {
    case Outcome::Encoded:
    case Outcome::Cancelled:
    case Outcome::Measured:
        return QString();
    case Outcome::NoOutput:
        return QCoreApplication::translate("Velkoran",
                                           "The encoder reported success, but wrote no file:\n%1")
            .arg(job.output());
    case Outcome::EmptyOutput:
        return QCoreApplication::translate(
                   "Velkoran", "The encoder reported success, but the file it wrote is empty:\n%1")
            .arg(job.output());
    case Outcome::Crashed:
        return job.phraseShown() ? QString()
                                 : QCoreApplication::translate("Velkoran", "The encoder crashed.");
    default:
        return job.phraseShown() ? QString()
                                 : QCoreApplication::translate(
                                       "Velkoran", "The encoder stopped with exit code %1.")
                                       .arg(job.exitCode());
    }
}

QString JobReport::lastLines(const EncoderJob &job, int lines)
{
    // Progress lines say how far it got, not why it stopped.
    static const QRegularExpression progress(
        QStringLiteral("^\\d+:\\d\\d:\\d\\d(\\.\\d+)?\\s+(audio|video|\\d)"));
    QStringList kept;
    const QStringList all = job.lastOutput(64).split(u'\n');
    for (auto it = all.crbegin(); it != all.crend() && kept.size() < lines; ++it) {
        if (!it->contains(progress))
            kept.prepend(*it);
    }
    return kept.join(u'\n');
}

QString JobReport::reason(const QString &text)
{
    QString r = text;
    static const QRegularExpression prefix(QStringLiteral("(^|\\n)ffmpeg2theora: "));
    r.replace(prefix, QStringLiteral("\\1"));
    return r;
}

QString JobReport::warning(const EncoderJob &job)
{
    static const QRegularExpression damaged(
        QStringLiteral("warning: the input is damaged: .*; the result lasts (\\S+)"));
    const QRegularExpressionMatch m = damaged.match(job.lastOutput(64));
    if (m.hasMatch())
        return QCoreApplication::translate(
                   "Velkoran", "the input is damaged or ended early; the result lasts %1")
            .arg(m.captured(1));
    if (job.lastOutput(64).contains(QLatin1String("warning: nothing was encoded")))
        return QCoreApplication::translate("Velkoran", "nothing was encoded");
    return QString();
}
