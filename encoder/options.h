// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_OPTIONS_H
#define FFMPEG2THEORA_OPTIONS_H

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// What the user asked for on the command line, checked for form and range but
// not yet against the input (that needs the probe, see plan.h).
struct Options {
    QString input;
    QString output;

    std::optional<double> audioQuality; // Vorbis quality, -1..10
    std::optional<int> audioBitrate;    // kbit/s
    std::optional<double> videoQuality; // Theora quality, 0..10
    std::optional<int> videoBitrate;    // kbit/s

    // Vorbis comment name and value, in the order the options came.
    QList<QPair<QString, QString>> comments;

    std::optional<int> width;
    std::optional<int> height;
    QString format; // input format; empty lets ffmpeg guess
    QString aspect; // display aspect as given, already checked
    std::optional<int> sampleRate;
    std::optional<int> nice;
    int cropTop = 0;
    int cropBottom = 0;
    int cropLeft = 0;
    int cropRight = 0;
    bool noSound = false;
    bool noVideo = false; // a sound-only file: Vorbis alone

    enum class Deinterlace { Auto, Off, On };
    Deinterlace deinterlace = Deinterlace::Auto;

    int sharpness = 0; // accepted, has no effect
    int keyint = 64;
    QString inputFps; // as given, already checked
    std::optional<double> startTime;
    std::optional<double> endTime;

    // The chunks an earlier, stopped run of the same command kept are
    // removed, not used.
    bool restart = false;

    // Only say whether the command would resume from kept chunks
    // (resumecheck.h): nothing is encoded or written.
    bool resumeCheck = false;

    // Forecast or preview instead of the encode (forecast.h, preview.h).
    bool forecast = false;
    std::optional<double> previewAt;
    QString preview;       // the picture as the encode shows it
    QString previewSource; // the same picture before encoding

    bool help = false;
    bool version = false;
};

// The result of reading the arguments: either options or the message that
// explains why they were refused (and that goes to standard error).
struct ParseResult {
    Options options;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

ParseResult parseArguments(const QStringList &args);

// The text --help prints.
QString usageText();

#endif
