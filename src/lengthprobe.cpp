// SPDX-License-Identifier: GPL-3.0-or-later
#include "lengthprobe.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVariant>

namespace
{
QString clock(int hour, int min, int sec)
{
    return QStringLiteral("%1:%2:%3")
        .arg(hour)
        .arg(min, 2, 10, QLatin1Char('0'))
        .arg(sec, 2, 10, QLatin1Char('0'));
}
} // namespace

QString LengthProbe::unusable(int hour, int min, int sec)
{
    const QTime length(hour, min, sec, 0);
    if (length.isValid() && length != QTime(0, 0))
        return QString();
    // No time editor can show this length: the whole input is encoded.
    if (min > 59 || sec > 59)
        return QCoreApplication::translate(
                   "Velkoran",
                   "The encoder gave %1 as the length of the input, which is not a valid time. "
                   "The whole input will be encoded.")
            .arg(clock(hour, min, sec));
    if (hour == 0 && min == 0 && sec == 0)
        return QCoreApplication::translate(
            "Velkoran", "The encoder could not tell the length of the input (it read 0:00:00). "
                        "The whole input will be encoded.");
    return QCoreApplication::translate(
               "Velkoran", "The input is %1:%2:%3 long. Only inputs shorter than a day can be "
                           "trimmed; the whole input will be encoded.")
        .arg(hour)
        .arg(min, 2, 10, QLatin1Char('0'))
        .arg(sec, 2, 10, QLatin1Char('0'));
}

void LengthProbe::bound(QTimeEdit *start, QTimeEdit *end, int hour, int min, int sec)
{
    const QTime endtime(hour, min, sec, 0);
    start->setTime(QTime(0, 0)); // a start from an earlier input means nothing here
    start->setMaximumTime(endtime.addSecs(-1));
    end->setMaximumTime(endtime);
    end->setTime(endtime);
    end->setMinimumTime(QTime(0, 0, 1));
    start->setEnabled(true);
    end->setEnabled(true);
}

void LengthProbe::followStart(QTimeEdit *start, QTimeEdit *end)
{
    end->setMinimumTime(start->time().addSecs(1));
}

int LengthProbe::seconds(const QTime &time)
{
    return time.hour() * 3600 + time.minute() * 60 + time.second();
}

QStringList LengthProbe::trimArgs(const QTimeEdit *start, const QTimeEdit *end,
                                  const QString &probed, int *length)
{
    const QTime starttime = start->time();
    const QTime endtime = end->time();
    const int starttimearg = seconds(starttime);
    const int endtimearg = seconds(endtime);
    *length = endtimearg - starttimearg;
    const bool wholeInput = !probed.isEmpty() && endtime == end->maximumTime();
    QStringList args;
    args << " --starttime " << QVariant(starttimearg).toString() << " --endtime "
         << (wholeInput ? probed : QVariant(endtimearg).toString());
    return args;
}

void TrimRange::forget()
{
    start->setEnabled(false);
    end->setEnabled(false);
    probedLength.clear();
}

QString TrimRange::bound(int hour, int min, int sec)
{
    probe->setEnabled(false);
    const QString why = LengthProbe::unusable(hour, min, sec);
    if (!why.isEmpty()) {
        probedLength.clear();
        return why;
    }
    LengthProbe::bound(start, end, hour, min, sec);
    startLabel->setEnabled(true);
    endLabel->setEnabled(true);
    return QString();
}

QStringList TrimRange::args(int *length) const
{
    return LengthProbe::trimArgs(start, end, probedLength, length);
}

void TrimRange::followStart()
{
    LengthProbe::followStart(start, end);
}
