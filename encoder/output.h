// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_OUTPUT_H
#define FFMPEG2THEORA_OUTPUT_H

#include <QString>

// Where an encode writes, decided before any work starts. A regular file, or
// a new name, is written under a temporary name in the same directory and
// renamed into place only when the encode has succeeded, so that a failed or
// stopped encode leaves the old file as it was; a symbolic link is followed
// and its target replaced so. Devices, FIFOs and standard output cannot be
// replaced: they are written directly.
struct OutputTarget {
    enum class Kind { File, Direct, StandardOutput };
    Kind kind = Kind::File;
    QString path; // what is written in the end (a link's target)
    bool exists = false;
    uint owner = 0, group = 0; // of the file there
    uint permissions = 0;      // the file's, kept for its replacement
    QString error;             // not empty: the output is refused, and why
};

// "-", "pipe:1", /dev/stdout and the like.
bool isStandardOutput(const QString &output);

OutputTarget examineOutput(const QString &output);

// Whether two paths name one file (links included); false if either is not
// there.
bool sameFile(const QString &a, const QString &b);

// The folder for temporary files: TMPDIR when it names a folder we may write
// in, else the system's (/tmp).
QString temporaryFolder();

// Removes the temporary files (.ffmpeg2theora-XXXXXX) that a killed encode
// left in the folder of OUTPUT: those of ours that no running encode holds.
void removeKilledTemporaries(const QString &output);

// The file an encode writes, while it is written. A temporary file is
// removed when the object goes, unless it was committed.
class OutputFile
{
public:
    explicit OutputFile(const OutputTarget &target) : target(target) {}
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Makes the temporary file; an empty string or why it cannot be made.
    QString open();

    // What ffmpeg writes to, as a URL, and what our own code writes to.
    QString url() const;
    QString path() const;
    // The file whose pages may be read while it is written; empty for a
    // device, a FIFO or standard output.
    QString followable() const;
    bool direct() const { return target.kind != OutputTarget::Kind::File; }

    // Puts the finished file in place; an empty string or why not.
    QString commit();

private:
    OutputTarget target;
    QString temporary;
    int held = -1; // holds the temporary file while the encode runs
    bool committed = false;
};

#endif
