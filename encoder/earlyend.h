// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_EARLYEND_H
#define FFMPEG2THEORA_EARLYEND_H

#include "media.h"
#include "plan.h"

#include <QString>

// An input cut short (a download that stopped, a copy that failed) still
// says in its header how long it is; ffmpeg reads what there is and ends
// without an error, so the encode succeeds with what the input holds.
//
// The warning for an encode of PLAN from the input M whose result lasts
// LASTS seconds (its longest stream), when the result ends before the range
// the probe found by more than a second or 2 % of it: the line of
// contract::endedEarlyLine, without the program's name. Empty otherwise, and
// when the range's length is not known.
QString endedEarly(const Plan &plan, const MediaInfo &m, double lasts);

#endif
