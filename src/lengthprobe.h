// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef LENGTHPROBE_H
#define LENGTHPROBE_H

#include <QString>

class QTimeEdit;

// The input's length as a probe measured it, and the trim editors it bounds.
namespace LengthProbe
{
// Why a probed length of HOUR:MIN:SEC cannot bound the editors (not a time of
// a day, or nothing); empty when it can.
QString unusable(int hour, int min, int sec);
// Bounds START and END by a length of HOUR:MIN:SEC: the whole input, from its
// beginning, at least one second long. The editors are enabled.
void bound(QTimeEdit *start, QTimeEdit *end, int hour, int min, int sec);
// The end editor's minimum one second after START's time.
void followStart(QTimeEdit *start, QTimeEdit *end);
} // namespace LengthProbe

#endif
