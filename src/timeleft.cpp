// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeleft.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

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

namespace
{
// The pace is measured over the last third of the encode so far, and over
// no less than this: a shorter stretch is mostly the steps of the position.
const qint64 shortestStretchMs = 10000;
} // namespace

void TimeLeft::reset()
{
    points.clear();
    end = 0;
    finishingFrom = -1;
    finishingSeconds = 0;
}

void TimeLeft::position(qint64 elapsedMs, double position, double maximum)
{
    end = maximum;
    if (!points.isEmpty() && position < points.last().second)
        return; // a position never goes back
    points.append({elapsedMs, position});
}

void TimeLeft::finishing(qint64 elapsedMs, double seconds)
{
    finishingFrom = elapsedMs;
    finishingSeconds = seconds;
}

qint64 TimeLeft::secondsLeft(qint64 elapsedMs) const
{
    if (finishingNow()) {
        const double left = finishingSeconds - (elapsedMs - finishingFrom) / 1000.0;
        return std::max<qint64>(1, qint64(std::ceil(left)));
    }
    if (points.isEmpty())
        return -1;
    const auto [firstMs, first] = points.first();
    const auto [lastMs, last] = points.last();
    if (lastMs - firstMs < settleMs || last <= first || end <= 0 || last >= end)
        return -1;
    // The last point at least a stretch before the latest.
    const qint64 stretch = std::max(shortestStretchMs, (lastMs - firstMs) / 3);
    auto from = points.cbegin();
    for (auto it = points.cbegin(); it != points.cend() && it->first <= lastMs - stretch; ++it)
        from = it;
    const double pace = last > from->second ? (last - from->second) / double(lastMs - from->first)
                                            : (last - first) / double(lastMs - firstMs);
    const double leftMs = (end - last) / pace - double(elapsedMs - lastMs);
    return std::max<qint64>(1, qint64(std::ceil(leftMs / 1000.0)));
}

QString TimeLeft::format(qint64 elapsedMs) const
{
    const qint64 left = secondsLeft(elapsedMs);
    if (left < 0)
        return QStringLiteral("%p%");
    const QString text = finishingNow()
                             ? QCoreApplication::translate("Velkoran", "finishing, about %1 left")
                             : QCoreApplication::translate("Velkoran", "about %1 left");
    return QStringLiteral("%p% \u00b7 ") + text.arg(durationText(left));
}
