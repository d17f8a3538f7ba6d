#include "progress.h"

#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void ProgressReader::feed(const QByteArray &bytes,
                          const std::function<void(const Block &)> &onBlock)
{
    pending += bytes;
    int start = 0;
    for (int nl; (nl = pending.indexOf('\n', start)) >= 0; start = nl + 1) {
        const QByteArray line = pending.mid(start, nl - start).trimmed();
        const int eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq);
        const QByteArray value = line.mid(eq + 1);
        if (key == "out_time_us") {
            bool ok = false;
            const qint64 us = value.toLongLong(&ok);
            if (ok)
                current.outTimeUs = us; // "N/A" before the first frame
        } else if (key == "progress") {
            current.end = value == "end";
            onBlock(current);
            current.end = false;
        }
    }
    pending.remove(0, start);
}

OggFollower::~OggFollower()
{
    if (fd >= 0)
        close(fd);
}

int OggFollower::Totals::kbps() const
{
    return seconds > 0 ? qRound(bytes * 8 / seconds / 1000) : 0;
}

void OggFollower::reset()
{
    offset = 0;
    buffer.clear();
    streams.clear();
    video = Totals();
    audio = Totals();
}

void OggFollower::update()
{
    if (fd < 0) {
        fd = open(path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return;
    }
    struct stat st;
    if (fstat(fd, &st) == 0 && st.st_size < offset)
        reset(); // written anew from the start
    char chunk[65536];
    for (;;) {
        const ssize_t n = pread(fd, chunk, sizeof chunk, offset);
        if (n <= 0)
            break;
        offset += n;
        buffer.append(chunk, static_cast<int>(n));
        parsePages();
    }
}

namespace
{

quint32 bigEndian(const unsigned char *p, int bytes)
{
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | p[i];
    return v;
}

} // namespace

// The first packet of a stream is its codec's identification header, which
// gives the time a granule position stands for.
OggFollower::Stream OggFollower::identify(const QByteArray &head)
{
    Stream s;
    const auto *h = reinterpret_cast<const unsigned char *>(head.constData());
    if (head.size() >= 42 && head.startsWith(QByteArray("\x80theora", 7))) {
        // Frame rate numerator and denominator at 22 and 26; the granule shift
        // is five bits across bytes 40 and 41.
        const quint32 num = bigEndian(h + 22, 4);
        const quint32 den = bigEndian(h + 26, 4);
        if (num > 0) {
            s.totals = &video;
            s.secondsPerUnit = double(den) / num;
            s.shift = (h[40] & 0x03) << 3 | h[41] >> 5;
        }
    } else if (head.size() >= 16 && head.startsWith(QByteArray("\x01vorbis", 7))) {
        // Sample rate, little-endian, at 12.
        const quint32 rate = h[12] | h[13] << 8 | h[14] << 16 | quint32(h[15]) << 24;
        if (rate > 0) {
            s.totals = &audio;
            s.secondsPerUnit = 1.0 / rate;
        }
    }
    return s;
}

// An Ogg page: "OggS", version, flags, granule position (8 bytes, little-
// endian), serial number (4), page number (4), checksum (4), segment count,
// segment sizes, then the body. Flag 2 marks a stream's first page.
void OggFollower::parsePages()
{
    const auto *b = reinterpret_cast<const unsigned char *>(buffer.constData());
    int pos = 0;
    const int size = buffer.size();
    while (size - pos >= 27) {
        if (buffer.mid(pos, 4) != "OggS") {
            const int next = buffer.indexOf("OggS", pos + 1);
            pos = next < 0 ? size - 3 : next;
            continue;
        }
        const int segments = b[pos + 26];
        if (size - pos < 27 + segments)
            break;
        int body = 0;
        for (int i = 0; i < segments; ++i)
            body += b[pos + 27 + i];
        const int total = 27 + segments + body;
        if (size - pos < total)
            break;
        quint64 granule = 0;
        for (int i = 7; i >= 0; --i)
            granule = granule << 8 | b[pos + 6 + i];
        const quint32 serial =
            b[pos + 14] | b[pos + 15] << 8 | b[pos + 16] << 16 | quint32(b[pos + 17]) << 24;
        if (b[pos + 5] & 2)
            streams.insert(serial, identify(buffer.mid(pos + 27 + segments, body)));
        const Stream s = streams.value(serial);
        // Header pages (granule 0) are left out; so are pages on which no
        // packet ends (granule -1), but for their bytes.
        if (s.totals && granule != 0) {
            s.totals->bytes += total;
            if (granule != ~quint64(0)) {
                const quint64 units =
                    s.shift ? (granule >> s.shift) + (granule & ((quint64(1) << s.shift) - 1))
                            : granule;
                s.totals->seconds = units * s.secondsPerUnit;
            }
        }
        pos += total;
    }
    buffer.remove(0, pos);
}

namespace
{

struct Page {
    quint64 granule = 0;
    quint32 serial = 0;
    QList<int> lacing;
    QByteArray body;
};

// The page at POS in DATA, and where the next one starts; 0 if none is whole.
int readPage(const QByteArray &data, int pos, Page &page)
{
    const auto *b = reinterpret_cast<const unsigned char *>(data.constData());
    if (data.size() - pos < 27 || data.mid(pos, 4) != "OggS")
        return 0;
    const int segments = b[pos + 26];
    if (data.size() - pos < 27 + segments)
        return 0;
    page.lacing.clear();
    int body = 0;
    for (int i = 0; i < segments; ++i) {
        page.lacing << b[pos + 27 + i];
        body += b[pos + 27 + i];
    }
    if (data.size() - pos < 27 + segments + body)
        return 0;
    page.granule = 0;
    for (int i = 7; i >= 0; --i)
        page.granule = page.granule << 8 | b[pos + 6 + i];
    page.serial = b[pos + 14] | b[pos + 15] << 8 | b[pos + 16] << 16 | quint32(b[pos + 17]) << 24;
    page.body = data.mid(pos + 27 + segments, body);
    return pos + 27 + segments + body;
}

} // namespace

TheoraFile readTheoraFile(const QString &path)
{
    TheoraFile t;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return t;

    // The headers and the first picture, from the start.
    const QByteArray head = file.read(1 << 20);
    QList<QByteArray> packets;
    QByteArray partial;
    quint32 serial = 0;
    Page page;
    for (int pos = 0, next; packets.size() < 4 && (next = readPage(head, pos, page)); pos = next) {
        if (pos == 0)
            serial = page.serial;
        if (page.serial != serial)
            continue;
        int offset = 0;
        for (const int lace : page.lacing) {
            partial += page.body.mid(offset, lace);
            offset += lace;
            if (lace < 255) {
                packets << partial;
                partial.clear();
            }
        }
    }
    if (packets.size() < 4 || !packets.first().startsWith(QByteArray("\x80theora", 7)) ||
        packets.first().size() < 42)
        return t;
    t.headers = packets.mid(0, 3);
    // A picture packet's first bit is 0, its second 0 for a key frame.
    t.startsWithKeyFrame = !packets.at(3).isEmpty() && !(packets.at(3).at(0) & 0xC0);
    const auto *ident = reinterpret_cast<const unsigned char *>(packets.first().constData());
    const int shift = (ident[40] & 0x03) << 3 | ident[41] >> 5;

    // The last granule position of the stream, from the end.
    const qint64 tail = std::min<qint64>(file.size(), 1 << 20);
    file.seek(file.size() - tail);
    const QByteArray end = file.read(tail);
    quint64 granule = ~quint64(0);
    for (int pos = end.indexOf("OggS"); pos >= 0; pos = end.indexOf("OggS", pos + 1)) {
        if (readPage(end, pos, page) && page.serial == serial && page.granule != ~quint64(0))
            granule = page.granule;
    }
    if (granule == ~quint64(0))
        return t;
    // The key frame's number and the pictures since, counted from 1.
    t.frames = qint64(granule >> shift) + qint64(granule & ((quint64(1) << shift) - 1));
    t.ok = true;
    return t;
}
