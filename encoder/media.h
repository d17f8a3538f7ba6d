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
    double startTime = 0; // the timestamp the input starts at, seconds
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
//
// args is the whole command of a one-process encode; the pieces it is made of
// are kept too, for encodes that are split over several processes.
struct Plan {
    QStringList args;
    QStringList notes;
    QString error;
    bool video = false;
    bool audio = false;

    QStringList head;        // ffmpeg's own flags: quiet, progress on stdout
    QStringList inputFormat; // -f FORMAT, -r RATE: before -ss and -i
    QString url;             // the input
    double start = 0;        // seconds into the input
    double startStamp = 0;   // the input's timestamp there
    std::optional<double> length; // of the range, when it ends before the input
    QStringList videoMap, audioMap;
    QStringList videoCodec, audioCodec;
    // The picture filters before and after the frame rate filter, which
    // puts the frames on a fixed grid that starts with the range.
    QStringList earlyFilters, lateFilters;
    QStringList metadata;
    QStringList output; // muxing options and the output
    // The frame rate of the output, when the input states one and --inputfps
    // does not replace it: the frames are then put on its grid.
    int rateNum = 0;
    int rateDen = 0;
};

// With a frame rate, the frames are put on the grid of whole multiples of
// its frame duration, in the input's own timestamps (which ffmpeg keeps as
// they are: -copyts), so that every ffmpeg that reads a part of the input
// puts the same frame on the same place of the grid.
//
// The number, on that grid, of the first place of the range.
qint64 firstGridFrame(const Plan &p);
// The filter that puts the frames on the grid, from grid place FIRST on.
QString frameGridFilter(const Plan &p, qint64 first);

// The -vf words for FILTERS, none if it is empty.
QStringList videoFilterArgs(const QStringList &filters);

Plan makePlan(const Options &o, const MediaInfo &m);

// Position or length as H:MM:SS.ss.
QString formatTime(double seconds);

// Seconds as ffmpeg reads them, to the microsecond.
QString seconds(double s);

#endif
