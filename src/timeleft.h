// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TIMELEFT_H
#define TIMELEFT_H

#include <QList>
#include <QString>

#include <utility>

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

// The time left of one encode, from the positions it reached and when (on a
// clock that starts at its first position), and from what the encoder says
// of the work after its last picture. The pace is that of the last stretch
// of the encode, so that a machine that gets busier or quieter on the way,
// or an encode that runs slower towards its end, is followed.
class TimeLeft
{
public:
    // Forgets the positions: a new encode, or one that goes on from kept work.
    void reset();
    // At ELAPSEDMS, the encode reached POSITION of MAXIMUM (seconds of the input).
    void position(qint64 elapsedMs, double position, double maximum);
    // At ELAPSEDMS, the last picture was encoded; the join and check take
    // about SECONDS at rest.
    void finishing(qint64 elapsedMs, double seconds);
    bool finishingNow() const { return finishingFrom >= 0; }

    // The seconds left at ELAPSEDMS; -1 while no estimate means anything yet.
    qint64 secondsLeft(qint64 elapsedMs) const;
    // The progress bar's format at ELAPSEDMS: the percentage, and the time left
    // once there is an estimate ("%p% · about 1:23 left"), or once the last
    // picture is encoded, what the rest takes ("%p% · finishing, about 0:02 left").
    QString format(qint64 elapsedMs) const;

private:
    QList<std::pair<qint64, double>> points; // when, where
    double end = 0;
    qint64 finishingFrom = -1;
    double finishingSeconds = 0;
};

#endif
