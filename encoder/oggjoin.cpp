#include "oggjoin.h"

#include <QByteArray>
#include <QFile>

#include <memory>
#include <utility>

namespace
{

quint32 crcTable[256];

void makeCrcTable()
{
    // Ogg's CRC: polynomial 0x04c11db7, most significant bit first, no
    // reflection, starting at 0.
    for (quint32 i = 0; i < 256; ++i) {
        quint32 r = i << 24;
        for (int j = 0; j < 8; ++j)
            r = r & 0x80000000u ? r << 1 ^ 0x04c11db7u : r << 1;
        crcTable[i] = r;
    }
}

struct Page {
    QByteArray bytes; // header, lacing and body
    int packetsEnded = 0;
    bool lastPacketOpen = false; // the page ends inside a packet

    quint8 flags() const { return quint8(bytes.at(5)); }
    quint64 granule() const
    {
        quint64 g = 0;
        for (int i = 7; i >= 0; --i)
            g = g << 8 | quint8(bytes.at(6 + i));
        return g;
    }
    QByteArray body() const
    {
        const int segments = quint8(bytes.at(26));
        return bytes.mid(27 + segments);
    }
    void setFlags(quint8 f) { bytes[5] = char(f); }
    void setGranule(quint64 g)
    {
        for (int i = 0; i < 8; ++i)
            bytes[6 + i] = char(g >> (8 * i) & 0xff);
    }
    void setSerial(quint32 s)
    {
        for (int i = 0; i < 4; ++i)
            bytes[14 + i] = char(s >> (8 * i) & 0xff);
    }
    void setSequence(quint32 n)
    {
        for (int i = 0; i < 4; ++i)
            bytes[18 + i] = char(n >> (8 * i) & 0xff);
    }
    quint32 serial() const
    {
        quint32 s = 0;
        for (int i = 3; i >= 0; --i)
            s = s << 8 | quint8(bytes.at(14 + i));
        return s;
    }
    void sign()
    {
        for (int i = 22; i < 26; ++i)
            bytes[i] = 0;
        quint32 crc = 0;
        for (const char c : std::as_const(bytes))
            crc = crc << 8 ^ crcTable[(crc >> 24 ^ quint8(c)) & 0xff];
        for (int i = 0; i < 4; ++i)
            bytes[22 + i] = char(crc >> (8 * i) & 0xff);
    }
};

constexpr quint64 noGranule = ~quint64(0);
constexpr quint8 bos = 2, eos = 4;

// Reads an Ogg file page by page.
class PageReader
{
public:
    explicit PageReader(const QString &path) : file(path) {}
    bool open() { return file.open(QIODevice::ReadOnly); }
    QString error() const { return file.fileName() + QStringLiteral(": ") + problem; }

    // The next page; false at the end or on damage (then problem says so).
    bool next(Page &page)
    {
        const QByteArray head = file.read(27);
        if (head.isEmpty())
            return false;
        if (head.size() < 27 || !head.startsWith("OggS")) {
            problem = QStringLiteral("not an Ogg page at byte %1").arg(file.pos() - head.size());
            return false;
        }
        const int segments = quint8(head.at(26));
        const QByteArray lacing = file.read(segments);
        int body = 0;
        for (const char l : lacing)
            body += quint8(l);
        const QByteArray data = file.read(body);
        if (lacing.size() != segments || data.size() != body) {
            problem = QStringLiteral("cut short");
            return false;
        }
        page.bytes = head + lacing + data;
        page.packetsEnded = 0;
        for (const char l : lacing)
            if (quint8(l) < 255)
                ++page.packetsEnded;
        page.lastPacketOpen = segments > 0 && quint8(lacing.at(segments - 1)) == 255;
        return true;
    }

    QString problem;

private:
    QFile file;
};

quint32 bigEndian(const QByteArray &b, int at, int bytes)
{
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | quint8(b.at(at + i));
    return v;
}

// One output stream: its pages in order, each with the time it reaches.
struct Stream {
    QList<Page> headers;
    quint32 serial = 0;
    quint32 sequence = 0;
    double lastTime = 0;
};

} // namespace

QString joinOgg(const QList<QString> &parts, const QList<qint64> &frames, const QString &sound,
                const QString &output)
{
    if (!crcTable[1])
        makeCrcTable();
    QFile out(output);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return output + QStringLiteral(": ") + out.errorString();

    // Headers: pages up to the one on which the third packet ends, alone.
    auto readHeaders = [](PageReader &reader, QList<Page> &headers) -> QString {
        int packets = 0;
        Page page;
        while (packets < 3) {
            if (!reader.next(page))
                return reader.error() +
                       (reader.problem.isEmpty() ? QStringLiteral("headers missing") : QString());
            packets += page.packetsEnded;
            headers << page;
        }
        if (packets != 3 || page.lastPacketOpen)
            return reader.error() + QStringLiteral("a picture shares a page with the headers");
        return QString();
    };

    QList<std::shared_ptr<PageReader>> readers;
    for (const QString &path : parts) {
        readers << std::make_shared<PageReader>(path);
        if (!readers.last()->open())
            return path + QStringLiteral(": cannot read it");
    }
    Stream video;
    for (int k = 0; k < readers.size(); ++k) {
        QList<Page> headers;
        const QString err = readHeaders(*readers.at(k), headers);
        if (!err.isEmpty())
            return err;
        if (k == 0)
            video.headers = headers;
    }
    const QByteArray ident = video.headers.first().body();
    if (!ident.startsWith("\x80theora") || ident.size() < 42)
        return parts.first() + QStringLiteral(": no Theora stream");
    const double secondsPerFrame = double(bigEndian(ident, 26, 4)) / bigEndian(ident, 22, 4);
    const int shift = (quint8(ident.at(40)) & 0x03) << 3 | quint8(ident.at(41)) >> 5;
    video.serial = video.headers.first().serial();

    std::unique_ptr<PageReader> soundReader;
    Stream audio;
    double secondsPerSample = 0;
    if (!sound.isEmpty()) {
        soundReader = std::make_unique<PageReader>(sound);
        if (!soundReader->open())
            return sound + QStringLiteral(": cannot read it");
        const QString err = readHeaders(*soundReader, audio.headers);
        if (!err.isEmpty())
            return err;
        const QByteArray head = audio.headers.first().body();
        if (!head.startsWith("\x01vorbis") || head.size() < 16)
            return sound + QStringLiteral(": no Vorbis stream");
        const quint32 rate = quint8(head.at(12)) | quint8(head.at(13)) << 8 |
                             quint8(head.at(14)) << 16 | quint32(quint8(head.at(15))) << 24;
        secondsPerSample = rate ? 1.0 / rate : 0;
        audio.serial = audio.headers.first().serial();
        if (audio.serial == video.serial)
            audio.serial = video.serial + 1;
    }

    auto write = [&out](Stream &s, Page page, bool first, bool last) {
        quint8 f = page.flags() & ~(bos | eos);
        if (first)
            f |= bos;
        if (last)
            f |= eos;
        page.setFlags(f);
        page.setSerial(s.serial);
        page.setSequence(s.sequence++);
        page.sign();
        return out.write(page.bytes) == page.bytes.size();
    };

    // The streams' first pages, then the rest of their headers.
    bool ok = write(video, video.headers.first(), true, false);
    if (soundReader)
        ok = ok && write(audio, audio.headers.first(), true, false);
    for (int i = 1; i < video.headers.size(); ++i)
        ok = ok && write(video, video.headers.at(i), false, false);
    for (int i = 1; i < audio.headers.size(); ++i)
        ok = ok && write(audio, audio.headers.at(i), false, false);

    // The pictures, part after part; each page is held back until the next is
    // known, so that the very last one can end the stream.
    int part = 0;
    qint64 offset = 0; // pictures in the parts before
    auto nextVideo = [&](Page &page, double &time) -> bool {
        while (part < readers.size()) {
            if (readers.at(part)->next(page)) {
                const quint64 g = page.granule();
                if (g != noGranule) {
                    const quint64 key = (g >> shift) + quint64(offset);
                    const quint64 since = g & ((quint64(1) << shift) - 1);
                    page.setGranule(key << shift | since);
                    video.lastTime = double(key + since) * secondsPerFrame;
                }
                time = video.lastTime;
                return true;
            }
            if (!readers.at(part)->problem.isEmpty())
                return false;
            offset += frames.value(part);
            ++part;
        }
        return false;
    };
    auto nextAudio = [&](Page &page, double &time) -> bool {
        if (!soundReader || !soundReader->next(page))
            return false;
        if (page.granule() != noGranule)
            audio.lastTime = double(page.granule()) * secondsPerSample;
        time = audio.lastTime;
        return true;
    };

    Page v, a;
    double vt = 0, at = 0;
    bool haveV = nextVideo(v, vt);
    bool haveA = nextAudio(a, at);
    while (ok && (haveV || haveA)) {
        if (haveV && (!haveA || vt <= at)) {
            Page next;
            double nt = 0;
            const bool more = nextVideo(next, nt);
            ok = write(video, v, false, !more);
            v = next, vt = nt, haveV = more;
        } else {
            Page next;
            double nt = 0;
            const bool more = nextAudio(next, nt);
            ok = write(audio, a, false, !more);
            a = next, at = nt, haveA = more;
        }
    }
    for (const auto &r : readers)
        if (!r->problem.isEmpty())
            return r->error();
    if (soundReader && !soundReader->problem.isEmpty())
        return soundReader->error();
    if (!ok || !out.flush())
        return output + QStringLiteral(": ") + out.errorString();
    return QString();
}
