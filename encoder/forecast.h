// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_FORECAST_H
#define FFMPEG2THEORA_FORECAST_H

#include "media.h"
#include "options.h"
#include "plan.h"

#include <QList>
#include <QString>

#include <optional>

// What --forecast tells: the size of the whole output and the time the encode
// takes on this machine with its workers; or why it cannot be told.
struct Forecast {
    bool known = false;
    qint64 bytes = 0;
    double seconds = 0;
    int workers = 1;
    QString reason; // when not known
};

// "forecast size=BYTES seconds=SECONDS workers=N" or "forecast unknown",
// with its line end.
QString forecastLine(const Forecast &f);

// A part of the range that is encoded on its own as a sample: the pictures
// [first, first + count) of PLAN's range (places from the range's first
// picture; seconds times the frame rate when the plan has no frame grid).
struct Span {
    qint64 first = 0;
    qint64 count = 0;
};

// The pictures a second of PLAN's range holds: its frame rate, or 25 when it
// has none (sound alone, or a rate the input does not state).
double placesPerSecond(const Plan &plan);

// The plan of SPAN alone, and the slice that encodes all of it (pictures
// and sound) into OUTPUT: read from the key frame before it (SCAN, when
// read), its filters fed as in the whole encode.
struct SpanEncode {
    Plan plan;
    Slice slice;
};
SpanEncode spanEncode(const Plan &plan, const MediaInfo &m, const VideoScan *scan, const Span &span,
                      const QString &output);

// The spans sampled from a range of FRAMES pictures at KEYINT: a few short
// ones, one in the middle of each of a few equal strata, started where
// the input has a key frame if there is one near (KEYPLACES, sorted), so
// that no picture is decoded in vain. More and longer spans for a longer
// range, about 2 % of it in all, each at least SHORTEST pictures (a sample
// shorter says little of the pictures after a key frame) and at most
// KEYINT; the whole range when it is short.
QList<Span> sampleSpans(qint64 frames, int keyint, const QList<qint64> &keyPlaces = {},
                        qint64 shortest = 10);

// What an encoded sample holds, in bytes of its packets.
struct SampleBytes {
    bool ok = false;
    qint64 file = 0;      // the file's size
    qint64 headers = 0;   // the streams' header packets
    qint64 keyFrame = 0;  // its first picture, a key frame
    qint64 rest = 0;      // its other pictures
    qint64 restCount = 0; // how many those are
    qint64 audio = 0;     // the sound's packets
    qint64 payload() const { return headers + keyFrame + rest + audio; }
};
SampleBytes readSample(const QString &path);

// One sample, encoded: its span, what it holds, the stratum of the range it
// stands for (pictures), and the processor time it took: for its encoding
// (from ffmpeg's start on the input to its end) and in all.
struct Sample {
    Span span;
    qint64 stands = 0;
    SampleBytes bytes;
    double busy = 0;
    double wall = 0;
};

// What is known before the samples: the range, the output's bit rates when
// given (kbit/s, 0: from the samples), the workers and the chunks of the
// encode, and the time spent until the encoding starts (the probe and the
// pass over the key frames).
struct ForecastBasis {
    double seconds = 0; // of the range
    double fps = 25;
    int keyint = 64;
    int videoKbps = 0;
    int audioKbps = 0;
    bool video = true;
    bool audio = false;
    int workers = 1;
    int cores = 0; // 0: as many as workers
    int chunks = 1;
    double preparing = 0;
    // The share of the workers' time the pool keeps them busy: the chunks
    // do not all end together, and the sound runs beside them.
    double busyShare = 1;
};

// The forecast from the SAMPLES: each stands for its stratum, a key frame
// every KEYINT pictures of it and its other pictures as the sample's, or
// as a bit rate given says if the stratum's sample does not need less; the
// pages' share of the file as in the samples; the time as the samples'
// encoding took, per picture (less where a bit rate holds the pictures to
// fewer bytes than the sample's), shared by the workers (at most one a
// core, busy as BASIS says), each chunk's start as a sample's, and the join.
Forecast estimate(const ForecastBasis &basis, const QList<Sample> &samples);

// Runs --forecast for O and prints its line; the exit status.
int forecast(const Options &o, const PartsAsked &asked, int cores, const QString &ffprobe,
             const QString &ffmpeg);

#endif
