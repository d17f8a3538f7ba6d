// SPDX-License-Identifier: GPL-3.0-or-later
#include "earlyend.h"

#include "contract.h"

#include <algorithm>

QString endedEarly(const Plan &plan, const MediaInfo &m, double lasts)
{
    // Time stamps that start again say nothing of where the input ends.
    if (!m.duration || plan.broken)
        return QString();
    const double rest = *m.duration - plan.start;
    const double range = plan.length ? std::min(*plan.length, rest) : rest;
    // Streams seldom end together: a second, or a little of a long range,
    // is no input cut short.
    const double leeway = std::max(1.0, 0.02 * range);
    if (range <= 0 || lasts >= range - leeway)
        return QString();
    return contract::endedEarlyLine().arg(formatTime(std::max(0.0, lasts)), formatTime(range));
}
