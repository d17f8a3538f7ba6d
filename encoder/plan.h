// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_PLAN_H
#define FFMPEG2THEORA_PLAN_H

#include "media.h"
#include "options.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One encode, in one process or in parts: the plan holds what every ffmpeg of
// the encode shares, a slice what one of them does. ffmpegCommand makes every
// ffmpeg command line from the two, so an option reaches every slice alike.
struct Plan {
    QStringList notes;
    QString error; // not empty: the encode cannot be made
    bool video = false;
    bool audio = false;

    QStringList inputFormat;      // -f FORMAT, -r RATE: before -ss and -i
    QString url;                  // the input
    bool seekable = true;         // false: read once, from its start (readOnce)
    double start = 0;             // seconds into the input
    double startStamp = 0;        // the input's timestamp there
    std::optional<double> length; // of the range, when it ends before the input
    int videoStream = -1;
    int audioStream = -1;
    QStringList videoCodec, audioCodec;
    // The picture filters before and after the frame rate filter, which puts
    // the frames on a fixed grid that starts with the range.
    QStringList earlyFilters, lateFilters;
    QStringList metadata;
    // The frame rate of the output, when the input states one and --inputfps
    // does not replace it: the frames are then put on its grid.
    int rateNum = 0;
    int rateDen = 0;
    // The size of the pictures written, when the input's size is known.
    int width = 0;
    int height = 0;
    // The pictures of the range, when known; 0 when the range runs to the end
    // of a video of unknown length.
    qint64 frames = 0;
    // FRAMES is what the input holds, counted from its packets; else at most
    // an upper bound.
    bool counted = false;
    // The input's time stamps go back or leap (recordings joined end to
    // end): it is encoded as ffmpeg reads it, without the grid, and its
    // length is not known beforehand.
    bool broken = false;
};

// The smallest picture side Theora pictures can be decoded at.
constexpr int smallestSide = 18;

Plan makePlan(const Options &o, const MediaInfo &m);

// The frame grid: whole multiples of the frame duration, in the input's own
// timestamps (which ffmpeg keeps as they are: -copyts), so that every ffmpeg
// that reads a part of the input puts the same frame on the same place.
//
// The place of the range's first picture, and the timestamp of a place.
qint64 firstGridFrame(const Plan &p);
double gridTime(const Plan &p, qint64 place);

// Counts the range's pictures from where the video stream ends (END, the
// input's timestamp, when known) and the range; sets an error when the range
// holds none.
void countFrames(Plan &p, std::optional<double> videoEnd);

// What one ffmpeg of the encode does: the pictures [first, first + count) of
// the range (count 0: to its end), read from LEAD pictures earlier so that
// the filters see the ones before too, and/or the sound of the range.
struct Slice {
    bool video = false;
    bool audio = false;
    qint64 first = 0;
    qint64 count = 0;
    qint64 lead = 0;
    double seek = 0; // where ffmpeg starts reading, in seconds into the input
    QString output;  // what ffmpeg writes, as a URL; empty: decode only
    // Not empty: ffmpeg notes in this file the time of each picture it
    // decodes, so that the time the decoding really started can be checked.
    QString decodedLog;
};

// The time of the first picture noted in a decodedLog file's TEXT; none if
// it holds none.
std::optional<double> firstDecoded(const QByteArray &text);

// The input timestamp from which SLICE needs the input.
double neededFrom(const Plan &p, const Slice &slice);

// Where to seek (seconds into an input starting at INPUTSTART) so that the
// decoding starts on or before STAMP: at the key frame before it, found by
// SCAN. Some containers (MPEG-TS, program streams, raw streams) seek to any
// packet before the time asked, not to a key frame; their seek goes before
// the key frame's decoding time, and the decoder starts with that key frame.
double seekFor(double stamp, double inputStart, const QString &formatName, const VideoScan *scan,
               double frameDuration);

// What the chunk of the pictures [FIRST, FIRST + COUNT) of the range (COUNT
// 0: to its end), read from LEAD pictures earlier, is made from: a hash of
// the input's packets from the key frame its decoding starts at to a few
// pictures past its end, as SCAN found them. Empty without a scan.
QByteArray chunkSource(const Plan &p, const VideoScan *scan, qint64 first, qint64 count,
                       qint64 lead);

// The ffmpeg arguments (without the program) that encode SLICE of P. ffmpeg
// reports its progress on descriptor 3.
QStringList ffmpegCommand(const Plan &p, const Slice &slice);

// The chunks a range of FRAMES pictures is cut into for WORKERS workers,
// each of which takes the next chunk in order when it is done: where each
// chunk starts, from 0, strictly increasing. Every start is a multiple of
// KEYINT, so that the key frames fall where one process puts them. The
// chunks come in rounds of one per worker, each of chunks of equal work and
// a part of what is left, and shrink towards the end, so that workers
// finish together and none waits long for the last chunk. No chunk is
// smaller than smallestChunk pictures but the last, which is not smaller
// than shortestPart, nor larger than largestChunk; fewer chunks rather than
// smaller ones. One worker, or too few pictures: one chunk.
//
// WORK, when it holds a number for each picture, is what that picture costs
// to encode, roughly, in pictures of no detail (encodingWork); else every
// picture costs one. A chunk that starts at picture P is decoded from the
// last place in DECODEFROM (sorted) at or before P: a chunk ends where its
// ffmpeg decodes the fewest pictures in vain, within a third of its work.
// Starting a chunk costs CHUNKCOST. Of a few sizes of rounds and of the
// smallest chunk, the cut is the one that would end soonest with the work
// as WORK says, flat, or twice as uneven: WORK is a guess.
constexpr int shortestPart = 4;
constexpr int smallestChunk = 16;
constexpr int largestChunk = 600;
QList<qint64> cutPoints(qint64 frames, int workers, int keyint,
                        const QList<qint64> &decodeFrom = {}, const QList<double> &work = {},
                        double chunkCost = 4);

// What each picture of a range of FRAMES pictures costs to encode, roughly,
// in pictures of no detail: each costs one for its pixels, and more for the
// detail and motion in it, which the size of its packet in the input
// (PACKETS: place in the range, bytes) per pixel of the input (PIXELS)
// tells.
QList<double> encodingWork(qint64 frames, const QList<std::pair<qint64, qint64>> &packets,
                           double pixels);

// What starting the ffmpeg of a chunk costs, in pictures of no detail of
// PIXELS pixels.
double chunkCost(double pixels);

// How many workers encode the pictures side by side, as the environment asks
// (PARALLEL from FFMPEG2THEORA_PARALLEL, SHORTEST from
// FFMPEG2THEORA_PARALLEL_MIN), for CORES cores and a range of LENGTH seconds
// of PIXELRATE pixels a second (0: unknown). 1 means one process. Unless
// SHORTEST is set, the range is split only when it is enough work to gain
// more than the parts cost: leastPixels pixels in all (measured: parts take
// 0.81 of one process's time at 320x240 for 10 s, 1.9e7 pixels), or 20 s
// when the picture size is not known. Anything but a number in the two
// variables is an error.
constexpr double leastPixels = 1.5e7;
struct PartsWanted {
    int workers = 1;
    QString error;
};
PartsWanted partsWanted(const QByteArray &parallel, const QByteArray &shortest, int cores,
                        double length, double pixelRate);

// What the two variables ask, read once, so that a wrong value is said before
// anything else is done.
struct PartsAsked {
    int forced = -1;             // workers asked; -1: as the work and the cores allow
    std::optional<double> least; // FFMPEG2THEORA_PARALLEL_MIN
    QString error;
};
PartsAsked partsAsked(const QByteArray &parallel, const QByteArray &shortest);
PartsWanted partsWanted(const PartsAsked &asked, int cores, double length, double pixelRate);

// An encode made ready: its plan with its pictures counted (or its error),
// the workers for its pictures (1: one process), and where the input's key
// frames are when they were read.
struct Prepared {
    Plan plan;
    int workers = 1;
    VideoScan scan;
    bool stopped = false; // asked to stop while the input was read
};

// How many workers encode PLAN, made for the input M with O, as far as
// that is known before the input is read through (prepare may still choose
// one process): 1 means one process.
int plannedWorkers(const Options &o, const MediaInfo &m, const Plan &plan, const PartsAsked &asked,
                   int cores);

// Decides how PLAN, made for the input M with O, is encoded: in chunks when
// the input is a file that can be cut by time and the workers ASKED (with
// CORES cores) are worth it; reads its key frames with FFPROBE for the
// chunks or an exact start; counts its pictures. Says in a note why an input
// that was to be cut is encoded in one process.
Prepared prepare(const Options &o, const MediaInfo &m, Plan plan, const PartsAsked &asked,
                 int cores, const QString &ffprobe);

#endif
