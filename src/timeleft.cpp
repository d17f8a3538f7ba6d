// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeleft.h"

#include <QCoreApplication>

namespace
{
// Before this, the speed of an encode says little about its end.
const qint64 settleMs = 3000;
} // namespace

qint64 secondsLeft(qint64 elapsedMs, int firstValue, int value, int maximum)
{
    if (elapsedMs < settleMs || value <= firstValue || maximum <= 0 || value >= maximum)
        return -1;
    const double msPerSecond = double(elapsedMs) / (value - firstValue);
    return qint64(msPerSecond * (maximum - value) / 1000.0 + 0.999);
}

QString durationText(qint64 seconds)
{
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const qint64 s = seconds % 60;
    const QString mmss =
        QStringLiteral("%1:%2")
            .arg(h ? QString::number(m).rightJustified(2, u'0') : QString::number(m))
            .arg(s, 2, 10, QLatin1Char('0'));
    return h ? QString::number(h) + u':' + mmss : mmss;
}

QString progressFormat(qint64 elapsedMs, int firstValue, int value, int maximum)
{
    const qint64 left = secondsLeft(elapsedMs, firstValue, value, maximum);
    if (left < 0)
        return QStringLiteral("%p%");
    return QStringLiteral("%p% \u00b7 ") +
           QCoreApplication::translate("Velkoran", "about %1 left").arg(durationText(left));
}
