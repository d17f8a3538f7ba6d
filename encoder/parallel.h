#ifndef FFMPEG2THEORA_PARALLEL_H
#define FFMPEG2THEORA_PARALLEL_H

#include "media.h"
#include "options.h"

// Splitting the video over several processes: the range is cut into parts of
// whole frames, each part is encoded by an ffmpeg of its own at the same
// time, the sound by one more, and the parts and the sound are then joined
// page by page into the one output file, without encoding anything again.

// How many parts to encode the video in; 0 to encode in one process. Only a
// seekable input with a known frame rate can be split; a range of at least
// FFMPEG2THEORA_PARALLEL_MIN seconds (default 20) of one is split into one
// part per core. FFMPEG2THEORA_PARALLEL=0 keeps every encode in one process,
// 1 splits every input that can be split into one part per core, a greater
// number splits into that many parts.
int partsFor(const Options &o, const MediaInfo &m, const Plan &plan);

// Runs the encode in PARTS parts with FFMPEG and returns the exit status.
int encodeInParts(const Options &o, const MediaInfo &m, const Plan &plan, int parts,
                  const QString &ffmpeg);

#endif
