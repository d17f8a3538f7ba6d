// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_MANIFEST_H
#define FFMPEG2THEORA_MANIFEST_H

// The chunks of an encode in parts are kept in a directory beside the output
// until the encode has succeeded, with a manifest that says what they were
// made from and which of them are finished and checked: an encode that did
// not complete (a stop, a kill, a crash, a failed join, a full disk) resumes
// when the same command runs again, and encodes only what is missing.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What tells an input file from another, or from itself changed: its path,
// size, modification time and a hash of its first and of its last MiB.
struct InputIdentity {
    QString path;
    qint64 size = -1;
    qint64 modified = 0; // ns since the epoch
    QByteArray head, tail;
    bool operator==(const InputIdentity &o) const { return path == o.path && sameBytes(o); }
    // Nothing tells the two files apart (the path aside).
    bool sameBytes(const InputIdentity &o) const
    {
        return size == o.size && modified == o.modified && head == o.head && tail == o.tail;
    }
};

// The identity of the file at PATH (its canonical path, so that a file named
// otherwise, through a link or from elsewhere, is the same); size -1 when it
// cannot be read.
InputIdentity identifyInput(const QString &path);

// A finished chunk of pictures, or the finished sound, as checked.
struct KeptFile {
    int index = -1;      // the chunk's number from 0; -1 for the sound
    qint64 pictures = 0; // what the join counts it for
    qint64 held = 0;     // the pictures its Theora stream holds
    qint64 bytes = 0;    // its size
    QByteArray checksum; // SHA-256 of its bytes, in hex
    int damage = 0;      // errors ffmpeg met decoding its input
    // A hash of the input's packets the chunk was made from (chunkSource):
    // the chunk is used again only while the input still holds them.
    QByteArray source;
};

// The file of chunk INDEX in a chunk directory (-1: the sound), and the note
// of the pictures its ffmpeg decoded.
QString keptFileName(int index);
QString decodedLogName(int index);

// The SHA-256 of the file at PATH, in hex; empty when it cannot be read.
QByteArray fileChecksum(const QString &path);

struct Manifest {
    static constexpr int currentVersion = 1;
    int version = currentVersion;
    InputIdentity input;
    // The ffmpeg command of the whole range: every option that changes what
    // is written is in it.
    QStringList arguments;
    QByteArray ffmpeg; // a hash of what "ffmpeg -version" says
    int keyint = 0;
    qint64 frames = 0;  // the pictures of the range
    QList<qint64> cuts; // where each chunk starts
    QList<KeptFile> chunks;
    std::optional<KeptFile> sound;

    // The share of the range's pictures in the kept chunks, in whole percent
    // rounded down.
    int percentKept() const;
};

QByteArray manifestBytes(const Manifest &m);
// The manifest in TEXT; none when it is not one, or of a version this
// program does not know.
std::optional<Manifest> parseManifest(const QByteArray &text);
// Why TEXT is no manifest: "made by another version" or "its manifest is
// damaged".
QString manifestProblem(const QByteArray &text);

// Why the chunks of KEPT cannot be used for the encode described by NOW
// (whose cuts are not looked at): "other options", "another ffmpeg", "other
// cut points"; empty when they can. Cut points are kept as they were when
// they still fit the range. The input is not looked at here: each chunk is
// used only while the input still holds what it was made from
// (ChunkStore::dropChanged), and the sound only while the input is the same
// file, unchanged.
QString mismatch(const Manifest &kept, const Manifest &now);

// The chunk directory of an encode into OUTPUT (a path): beside it, hidden,
// its name made from the output's.
QString chunkDirFor(const QString &output);

// Removes the chunk directories beside OUTPUT (of any output in its folder)
// that no encode has used for contract::staleChunkDays days and none holds;
// the directories removed.
QStringList removeStaleChunkDirs(const QString &output);

// Removes the chunk directories that earlier versions left beside OUTPUT
// after a kill (".NAME.parts-XXXXXX"), when they hold nothing but chunk files
// and no running encode holds them.
void removeLegacyChunkDirs(const QString &output);

// Removes the private chunk directories (ffmpeg2theora.parts-XXXXXX) that a
// killed encode left in the temporary FOLDER, when no running encode holds
// them.
void removeKilledPrivateDirs(const QString &folder);

// The chunk directory of one encode, held (locked) while it runs. Either the
// named, resumable directory of its output, or a private one that never
// outlives the encode.
class ChunkStore
{
public:
    ChunkStore() = default;
    ~ChunkStore();
    ChunkStore(const ChunkStore &) = delete;
    ChunkStore &operator=(const ChunkStore &) = delete;

    // Makes and holds a private directory from PATTERN (ending in XXXXXX);
    // an empty string or why it cannot.
    QString openPrivate(const QString &pattern);

    // Holds the named directory DIR for the encode described by NOW: its kept
    // manifest, when it matches NOW and RESTART is not asked, with the chunks
    // that are still sound; else a fresh one, the stale chunks removed.
    // Returns false when DIR is not ours (a directory without our manifest)
    // or another encode holds it: nothing in it is then touched; or when
    // its manifest cannot be written (failure() says why): a directory made
    // here is then removed. NOTE tells why kept chunks were not used, when
    // they were not.
    bool open(const QString &dir, const Manifest &now, bool restart);
    QString failure() const { return failed; }

    // Drops the kept chunks (not the sound) that SOURCES (by chunk) no
    // longer matches: the input changed there. Their numbers, from 1.
    QList<int> dropChanged(const QList<QByteArray> &sources);
    // Drops the kept sound.
    void dropSound();

    bool resumable() const { return named; }
    QString path() const { return dir; }
    QString note() const { return why; }
    const Manifest &manifest() const { return kept; }
    const KeptFile *chunk(int index) const;

    // The cut points, when the encode starts afresh; written at once: an
    // empty string or why not.
    QString setCuts(const QList<qint64> &cuts);
    // Lists a finished, checked file and writes the manifest anew (written
    // to a temporary file, synced, renamed); an empty string or why not
    // (then the file is not listed, here as on disk).
    QString record(const KeptFile &file);
    // Removes the directory and all it holds of ours.
    void remove();

private:
    QString save();
    void clear(); // our files, but the manifest

    QString dir;
    int lock = -1;
    bool named = false;
    bool removed = false;
    Manifest kept;
    QString why;
    QString failed;
};

#endif
