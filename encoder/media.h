#ifndef FFMPEG2THEORA_MEDIA_H
#define FFMPEG2THEORA_MEDIA_H

#include "options.h"
#include "process.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the probe learnt about the input: its length and the one video and one
// audio stream that get encoded (-1 where there is none).
struct MediaInfo {
    std::optional<double> duration; // seconds
    int videoStream = -1;
    int width = 0;
    int height = 0;
    int audioStream = -1;
    int sampleRate = 0;
    int channels = 0;
};

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

ProbeResult probeInput(const Options &o, const QString &ffprobe);

// The ffmpeg arguments for an encode, with the notes about values that had to
// be brought into range, or an error that stops it.
struct Plan {
    QStringList args;
    QStringList notes;
    QString error;
    bool video = false;
    bool audio = false;
};

Plan makePlan(const Options &o, const MediaInfo &m);

// Position or length as H:MM:SS.ss.
QString formatTime(double seconds);

#endif
