// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_OGG_H
#define FFMPEG2THEORA_OGG_H

// Everything this program knows about Ogg files, on libogg: reading pages,
// writing them, the facts of the Theora and Vorbis identification headers and
// the arithmetic of granule positions.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <ogg/ogg.h>

#include <optional>

// A granule position that no packet ends on (a page that only continues one).
constexpr qint64 noGranule = -1;

// What a stream's first packet, its codec's identification header, says about
// the time of its granule positions.
struct StreamClock {
    enum Kind { Other, Theora, Vorbis };
    Kind kind = Other;
    quint32 rateNum = 0; // Theora: frames per second as a fraction;
    quint32 rateDen = 0; // Vorbis: samples per second in rateNum, 1 in rateDen
    int shift = 0;       // Theora: granule = key frame << shift | frames since

    // Frames (Theora) or samples (Vorbis) up to and with the granule's packet;
    // a Theora granule counts its key frame from 1.
    qint64 units(qint64 granule) const;
    double seconds(qint64 granule) const;
    // A Theora granule whose frame is a key frame.
    bool isKeyFrame(qint64 granule) const;
    // A Theora granule moved on by FRAMES pictures before it.
    qint64 moved(qint64 granule, qint64 frames) const;
};

// The clock of the stream whose first packet is PACKET; kind Other when it is
// no Theora or Vorbis identification header, or one with a zero rate.
StreamClock identifyStream(const QByteArray &packet);

// A Theora picture packet that holds a key frame (first bit 0 for data,
// second bit 0 for an intra frame).
bool isTheoraKeyFramePacket(const QByteArray &packet);

// One page, held in its own memory.
class OggPage
{
public:
    OggPage() = default;
    explicit OggPage(const ogg_page &page);

    quint32 serial() const;
    quint32 sequence() const;
    qint64 granule() const;
    bool bos() const;
    bool eos() const;
    bool continued() const;
    int packetsEnded() const;
    qint64 size() const { return header.size() + body.size(); }
    const QByteArray &bodyBytes() const { return body; }

    // Writing: the checksum is set anew by bytes().
    void setSerial(quint32 serial);
    void setGranule(qint64 granule);
    void setSequence(quint32 sequence);
    void setBos(bool on);
    void setEos(bool on);
    QByteArray bytes();

    ogg_page view() const;

private:
    QByteArray header;
    QByteArray body;
};

// Reads an Ogg file page by page from its start, whatever the size of a page.
class OggReader
{
public:
    explicit OggReader(const QString &path);
    ~OggReader();
    OggReader(const OggReader &) = delete;
    OggReader &operator=(const OggReader &) = delete;

    // From byte FROM on; a reader that starts there skips to the first page.
    bool open(qint64 from = 0);
    // The next page; false at the end or when the file is damaged or cannot
    // be read (then problem() says so).
    bool next(OggPage &page);
    QString problem() const { return error; }
    QString path() const { return name; }

private:
    QString name;
    QString error;
    int fd = -1;
    bool atEnd = false;
    bool midPage = false;
    qint64 consumed = 0; // bytes of the pages returned
    ogg_sync_state sync;
};

// The packets of one stream, taken from its pages.
class OggPackets
{
public:
    explicit OggPackets(quint32 serial);
    ~OggPackets();
    OggPackets(const OggPackets &) = delete;
    OggPackets &operator=(const OggPackets &) = delete;

    void add(const OggPage &page);
    // The next whole packet, if one is there.
    std::optional<QByteArray> next();
    // A whole packet waits to be taken.
    bool pending();

private:
    ogg_stream_state stream;
};

// Follows an Ogg file while it is written and adds up, for the Theora and
// the Vorbis stream, the bytes of their pages and the time those pages reach,
// for the bit rates of the progress line. A path that does not exist yet and
// a page that is still being written at the end are waited for.
class OggFollower
{
public:
    explicit OggFollower(const QString &path);
    ~OggFollower();
    OggFollower(const OggFollower &) = delete;
    OggFollower &operator=(const OggFollower &) = delete;

    // Reads what was added since the last call.
    void update();
    // Reads the rest of a finished file and lets it go; the totals stay.
    void finish();

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

    void reset();

    QString path;
    int fd = -1;
    bool finished = false;
    qint64 offset = 0;
    ogg_sync_state sync;
    QHash<quint32, StreamClock> streams; // by serial number
    Totals video;
    Totals audio;
};

// What a finished Ogg file with one Theora stream holds: its three headers,
// whether the first picture is a key frame, and how many pictures the stream
// has, from the last granule position.
struct TheoraFile {
    bool ok = false;
    QList<QByteArray> headers;
    bool startsWithKeyFrame = false;
    qint64 frames = 0;
};

TheoraFile readTheoraFile(const QString &path);

// What is wrong with the finished Ogg file at PATH, as a validator finds it:
// the streams' first pages before any other, no page of a stream after its
// last, each stream's pages numbered without a gap, its granule positions
// never going back, the pages of all streams in the order of their time;
// and its Theora stream holding other than FRAMES pictures (when FRAMES is
// not 0). Empty when nothing is. PICTURES, when given, learns how many
// pictures its Theora stream holds (0: none, or no Theora stream).
QString checkOggFile(const QString &path, qint64 frames, qint64 *pictures = nullptr);

#endif
