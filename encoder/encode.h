#ifndef FFMPEG2THEORA_ENCODE_H
#define FFMPEG2THEORA_ENCODE_H

#include "media.h"
#include "options.h"
#include "output.h"
#include "plan.h"

// The slices of an encode: one for the whole range (pictures and sound) when
// PARTS is 1, else the pictures cut into parts and the sound beside them.
// Part files are named in DIR.
QList<Slice> makeSlices(const Plan &plan, const MediaInfo &m, const VideoScan *scan, int parts,
                        int keyint, const QString &output, const QString &dir);

// Runs the encode of PLAN in PARTS parts (1: one process) with FFMPEG into
// TARGET, and returns the exit status. One runner for every slice: progress,
// error output, niceness, stops and failures are handled alike; the parts
// are joined when there is more than one.
int encode(const Options &o, const MediaInfo &m, const Plan &plan, const VideoScan *scan, int parts,
           const QString &ffmpeg, const OutputTarget &target);

#endif
