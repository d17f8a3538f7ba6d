// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_OGGJOIN_H
#define FFMPEG2THEORA_OGGJOIN_H

#include <QList>
#include <QString>

#include <functional>

struct JoinResult {
    enum Status { Joined, Failed, Stopped };
    Status status = Joined;
    QString message; // what went wrong, when it failed
    bool ok() const { return status == Joined; }
};

// Joins Ogg files page by page, without reading a picture: the Theora streams
// of PARTS, one after the other as one stream, and the Vorbis stream of SOUND
// (none if empty) beside it, into OUTPUT. Each part holds one Theora stream
// with the same headers as the first, and starts with a key frame; FRAMES,
// when it names a part, gives how many pictures that part stands for: a part
// that holds fewer is filled up with empty packets, each the picture before
// it again (ffmpeg's Ogg writer leaves out those that end a stream), as far
// as its granules can count them, else it must hold that many. The
// granule positions of the later parts move on by the pictures before them;
// the pages of the two streams are interleaved by time. OUTPUT is written
// from start to end without a seek, so it may be a pipe or a device.
// STOPREQUESTED is asked between pages; when it says yes, the join ends at
// once with Stopped, and what was written is left to the caller.
JoinResult joinOgg(const QList<QString> &parts, const QList<qint64> &frames, const QString &sound,
                   const QString &output, const std::function<bool()> &stopRequested = {});

#endif
