// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_MEDIA_H
#define FFMPEG2THEORA_MEDIA_H

#include "options.h"
#include "process.h"

#include <QString>
#include <QStringList>

#include <QList>

#include <optional>

// What the probe learnt about the input: its length and the one video and one
// audio stream that get encoded (-1 where there is none).
struct MediaInfo {
    std::optional<double> duration; // seconds
    double startTime = 0;           // the timestamp the input starts at, seconds
    int videoStream = -1;
    int width = 0;
    int height = 0;
    // The video's frame rate as ffmpeg would pick it for the encoder; 0/0
    // when the input does not say.
    int rateNum = 0;
    int rateDen = 0;
    int audioStream = -1;
    int sampleRate = 0;
    int channels = 0;
    QString formatName; // as ffprobe names the container, "mpegts", "matroska,webm"
};

// What a pass over the video stream's packets (no decoding) tells: where its
// key frames are and where its last picture ends, in the input's own
// timestamps.
struct VideoScan {
    bool ok = false;
    struct KeyFrame {
        double pts = 0;
        double dts = 0;
    };
    QList<KeyFrame> keyFrames;
    std::optional<double> end;
    // Where the packets' times go back or leap ahead, as in recordings
    // joined end to end: such an input cannot be cut by time.
    std::optional<double> broken;
    // Every packet: its time and its size in bytes.
    struct Packet {
        double pts = 0;
        qint64 bytes = 0;
        QByteArray hash; // of its data
    };
    QList<Packet> packets;
};

// The stream index of an input that is not probed: the first stream of its
// kind, if it has one.
constexpr int firstOfKind = -2;

struct ProbeResult {
    MediaInfo info;
    ChildResult child;
    bool opened = false; // ffprobe read the input and found audio or video in it
    QString reason;      // why not, for the message
    bool unknownFormat = false;
};

// The name ffmpeg and ffprobe are given for INPUT: a plain path is made a
// file: URL so that no part of it is taken for a protocol, unless an input
// format is named (a device or a filter graph has names of its own) or it is
// already a URL.
QString inputUrl(const Options &o);

// The path of the input on this machine, when it is a file (a plain path or a
// file: URL); empty otherwise.
QString localInputPath(const Options &o);

// Whether the input can be read only once: standard input ("-", pipe:), a
// FIFO or a pipe (/dev/stdin, /dev/fd/N). Such an input is not probed: one
// ffmpeg reads it, from whatever streams it has, and its length is unknown.
bool readOnce(const Options &o);

// Whether ffmpeg reads URL from its standard input, which must then be ours.
bool readsStandardInput(const QString &url);

ProbeResult probeInput(const Options &o, const QString &ffprobe);

// Reads the video stream's packets; RESULT says whether it was stopped.
VideoScan scanVideo(const Options &o, const MediaInfo &m, const QString &ffprobe,
                    ChildResult *result);

// Position or length as H:MM:SS.ss.
QString formatTime(double seconds);

// Seconds as ffmpeg reads them, to the microsecond.
QString seconds(double s);

#endif
