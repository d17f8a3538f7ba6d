// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobreport.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include "../encoder/contract.h"

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
    // Progress lines, and the line that the join and check begin, say how
    // far it got, not why it stopped.
    static const QRegularExpression progress(
        QStringLiteral("^\\d+:\\d\\d:\\d\\d(\\.\\d+)?\\s+(audio|video|\\d)"));
    static const QRegularExpression finishing(QString::fromLatin1(contract::finishingPattern));
    QStringList kept;
    const QStringList all = job.lastOutput(64).split(u'\n');
    for (auto it = all.crbegin(); it != all.crend() && kept.size() < lines; ++it) {
        if (!it->contains(progress) && !it->contains(finishing))
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

namespace
{
// A time the encoder wrote (H:MM:SS.ss) as a person reads it: "0:01",
// "1:02:03"; the fraction of a second is left out.
QString shortTime(const QString &time)
{
    const QStringList parts = time.section(u'.', 0, 0).split(u':');
    if (parts.size() != 3)
        return time;
    const int hours = parts[0].toInt();
    return hours ? QStringLiteral("%1:%2:%3").arg(hours).arg(parts[1], parts[2])
                 : QStringLiteral("%1:%2").arg(parts[1].toInt()).arg(parts[2]);
}
} // namespace

QString JobReport::warning(const EncoderJob &job)
{
    // An input cut short is the more telling news: ffmpeg may have met
    // damage where it was cut.
    static const QRegularExpression early(QLatin1String(contract::endedEarlyPattern));
    const QRegularExpressionMatch end = early.match(job.lastOutput(64));
    if (end.hasMatch())
        return QCoreApplication::translate("Velkoran", "the input ended at %1 of %2")
            .arg(shortTime(end.captured(1)), shortTime(end.captured(2)));
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
