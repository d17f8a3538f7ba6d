// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_RESUMECHECK_H
#define FFMPEG2THEORA_RESUMECHECK_H

// Whether an encode would go on from the chunks an earlier run kept beside
// its output: asked before the encode (--resume-check), so that the window
// offers to resume only what the command about to run resumes.

#include "manifest.h"
#include "media.h"
#include "options.h"
#include "plan.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The manifest of the encode of PLAN, as O asks it, with FFMPEG: what kept
// chunks must have been made with to be used again (mismatch), with no
// chunks and no cuts.
Manifest commandManifest(const Options &o, const Plan &plan, const QString &ffmpeg);

// What each kept chunk, cut at CUTS, would be made from now (chunkSource),
// by chunk.
QList<QByteArray> keptSources(const Plan &plan, const VideoScan *scan, const QList<qint64> &cuts);

// Answers --resume-check for O on standard output (contract.h) and gives the
// exit status. Encodes nothing, writes nothing, and holds the chunk
// directory only for the moment it takes to see whether an encode holds it.
// ASKED and CORES decide the workers as for the encode.
int resumeCheck(const Options &o, const PartsAsked &asked, int cores, const QString &ffprobe,
                const QString &ffmpeg);

#endif
