// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef LENGTHPROBE_H
#define LENGTHPROBE_H

#include <QStringList>

class QLabel;
class QPushButton;
class QTime;
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
// TIME in seconds: hours × 3600 + minutes × 60 + seconds.
int seconds(const QTime &time);
// The encoder's words for the trim range of START and END: an end left at the
// probed length is PROBED, the length as the encoder wrote it, fraction
// included, so that no tail is lost. LENGTH gets the range's length.
QStringList trimArgs(const QTimeEdit *start, const QTimeEdit *end, const QString &probed,
                     int *length);
} // namespace LengthProbe

// The trim editors of the form and the probed length that bounds them.
class TrimRange
{
public:
    // PROBEDLENGTH: the probed length in seconds, as the encoder wrote it.
    TrimRange(QTimeEdit *start, QTimeEdit *end, QLabel *startLabel, QLabel *endLabel,
              QPushButton *probe, QString &probedLength)
        : probedLength(probedLength), start(start), end(end), startLabel(startLabel),
          endLabel(endLabel), probe(probe)
    {
    }
    QString &probedLength;

    // A new input: the editors wait for its probe, and no range reaches the encoder.
    void forget();
    // Bounds the editors by a probed length of HOUR:MIN:SEC; the probe button
    // is done. Why the length cannot bound them, when it cannot (the editors
    // stay off and the whole input is encoded).
    QString bound(int hour, int min, int sec);
    // The encoder's words for the range; LENGTH gets its length.
    QStringList args(int *length) const;
    void followStart();

private:
    QTimeEdit *start, *end;
    QLabel *startLabel, *endLabel;
    QPushButton *probe;
};

#endif
