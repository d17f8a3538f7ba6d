#ifndef FFMPEG2THEORA_PROGRESS_H
#define FFMPEG2THEORA_PROGRESS_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Reads what ffmpeg writes with -progress: blocks of key=value lines, each
// block closed by a "progress=continue" or "progress=end" line.
class ProgressReader
{
public:
    struct Block {
        std::optional<qint64> outTimeUs; // position in the output
        bool end = false;
    };

    void feed(const QByteArray &bytes, const std::function<void(const Block &)> &onBlock);

private:
    QByteArray pending;
    Block current;
};

// Follows an Ogg file while it is written and adds up, for the Theora and
// the Vorbis stream, the bytes of their pages and the time those pages reach,
// for the bit rates of the progress line.
class OggFollower
{
public:
    explicit OggFollower(const QString &path) : path(path) {}
    ~OggFollower();
    OggFollower(const OggFollower &) = delete;
    OggFollower &operator=(const OggFollower &) = delete;

    // Reads what was added since the last call.
    void update();

    // Bit rate so far in kbit/s, 0 while nothing of the stream is written.
    int videoKbps() const { return video.kbps(); }
    int audioKbps() const { return audio.kbps(); }

    // Bytes of each stream so far and the time they reach, in seconds.
    qint64 videoBytes() const { return video.bytes; }
    double videoSeconds() const { return video.seconds; }
    qint64 audioBytes() const { return audio.bytes; }
    double audioSeconds() const { return audio.seconds; }

private:
    struct Totals {
        qint64 bytes = 0;
        double seconds = 0;
        int kbps() const;
    };
    struct Stream {
        Totals *totals = nullptr; // null for a kind we do not count
        double secondsPerUnit = 0;
        int shift = 0; // Theora: granule = key frame << shift | frames since
    };

    void reset();
    void parsePages();
    Stream identify(const QByteArray &head);

    QString path;
    int fd = -1;
    qint64 offset = 0;
    QByteArray buffer;
    QHash<quint32, Stream> streams; // by serial number
    Totals video;
    Totals audio;
};

// What a finished Ogg file with one Theora stream holds at its ends: its three
// headers, whether the first picture is a key frame, and how many pictures
// the stream has, from the last granule position.
struct TheoraFile {
    bool ok = false;
    QList<QByteArray> headers;
    bool startsWithKeyFrame = false;
    qint64 frames = 0;
};

TheoraFile readTheoraFile(const QString &path);

#endif
