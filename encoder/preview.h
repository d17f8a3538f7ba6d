// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_PREVIEW_H
#define FFMPEG2THEORA_PREVIEW_H

#include "options.h"

#include <QString>

// What is wrong with the forecast and preview options taken together: the
// pictures need a time, a time needs a picture to write. Empty when nothing.
QString previewError(const Options &o);

// Runs --preview-at: writes the picture at that time into the input as the
// encode shows it (--preview) and as it is before encoding
// (--preview-source), both after the same crop, size, aspect and
// deinterlacing. The encoded one is encoded from the place of the key frame
// before it in the encode, so that it holds what the file will. The exit
// status.
int preview(const Options &o, const QString &ffprobe, const QString &ffmpeg);

#endif
