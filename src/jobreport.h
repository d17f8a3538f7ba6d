// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef JOBREPORT_H
#define JOBREPORT_H

#include <QString>

#include "encoderjob.h"

// How a job ended, in words: the reason of a failure for a box or a queue's
// summary, and the encoder's last lines worth quoting.
namespace JobReport
{
// Why an encode that ended in OUTCOME failed; empty when it did not, or when
// a known phrase has told it already.
QString failure(const EncoderJob &job, EncoderJob::Outcome outcome);
// The last LINES lines of the encoder's output that are not progress lines.
QString lastLines(const EncoderJob &job, int lines);
// A reason as the summary shows it: without the encoder's name in front.
QString reason(const QString &text);
// What the encoder warned of in an encode that succeeded (an input that
// ended early, and where; a damaged input, and how long the result lasts),
// in a few words; empty when nothing.
QString warning(const EncoderJob &job);
} // namespace JobReport

#endif
