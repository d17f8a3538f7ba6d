// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TIMELEFT_H
#define TIMELEFT_H

#include <QString>

// How long an encode has still to go, from how fast its position moved since
// the first position was seen: ELAPSEDMS after FIRSTVALUE, it stands at VALUE
// of MAXIMUM (positions in seconds of the input). -1 while no estimate means
// anything yet: too early, no movement, or the end already reached.
qint64 secondsLeft(qint64 elapsedMs, int firstValue, int value, int maximum);

// "1:23" or "1:02:03".
QString durationText(qint64 seconds);

// The progress bar's format: the percentage, followed by the time left once
// there is an estimate ("%p% · about 1:23 left").
QString progressFormat(qint64 elapsedMs, int firstValue, int value, int maximum);

#endif
