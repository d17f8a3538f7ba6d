// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_ENCODE_H
#define FFMPEG2THEORA_ENCODE_H

#include "media.h"
#include "options.h"
#include "output.h"
#include "plan.h"

// The slices of an encode: one for the whole range (pictures and sound) when
// WORKERS is 1 or the range is too short to cut, else the sound and then the
// pictures cut into chunks (cutPoints, or at CUTS when given). Chunk files
// are named in DIR.
QList<Slice> makeSlices(const Plan &plan, const MediaInfo &m, const VideoScan *scan, int workers,
                        int keyint, const QString &output, const QString &dir,
                        const QList<qint64> &cuts = {});

// Runs the encode of PLAN with FFMPEG into TARGET, its pictures by WORKERS
// workers (1: one process) that each take the next chunk when done, the
// sound beside them, and returns the exit status. One runner for every
// slice: progress, error output, niceness, stops and failures are handled
// alike; the chunks are checked as each ends and joined when there is more
// than one. Chunks are kept beside a file output until the encode has
// succeeded, so that a run that did not complete resumes (manifest.h). With
// FFMPEG2THEORA_STATS=1, the time of each chunk and the
// workers' efficiency follow on standard error.
int encode(const Options &o, const MediaInfo &m, const Plan &plan, const VideoScan *scan,
           int workers, const QString &ffmpeg, const OutputTarget &target);

#endif
