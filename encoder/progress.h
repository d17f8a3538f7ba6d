// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_PROGRESS_H
#define FFMPEG2THEORA_PROGRESS_H

#include <QByteArray>

#include <functional>
#include <optional>

// Reads what ffmpeg writes with -progress: blocks of key=value lines, each
// block closed by a "progress=continue" or "progress=end" line.
class ProgressReader
{
public:
    struct Block {
        std::optional<qint64> outTimeUs; // position in the output
        std::optional<qint64> frame;     // pictures given to the encoder so far
        bool end = false;
    };

    void feed(const QByteArray &bytes, const std::function<void(const Block &)> &onBlock);

private:
    QByteArray pending;
    Block current;
};

#endif
