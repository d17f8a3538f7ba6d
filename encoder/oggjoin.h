#ifndef FFMPEG2THEORA_OGGJOIN_H
#define FFMPEG2THEORA_OGGJOIN_H

#include <QList>
#include <QString>

// Joins Ogg files page by page, without reading a packet: the Theora streams
// of PARTS, one after the other as one stream, and the Vorbis stream of SOUND
// (none if empty) beside it, into OUTPUT. Each part holds one Theora stream
// made with the same settings; FRAMES gives how many pictures each holds.
// The first part's headers stand for all; the granule positions of the later
// parts move on by the pictures before them; the pages of the two streams are
// interleaved by time. Returns an empty string or what went wrong.
QString joinOgg(const QList<QString> &parts, const QList<qint64> &frames, const QString &sound,
                const QString &output);

#endif
