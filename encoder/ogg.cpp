// SPDX-License-Identifier: GPL-3.0-or-later
#include "ogg.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int chunkSize = 1 << 16;

// The bytes of a page header: flags at 5, granule position at 6, serial
// number at 14, page sequence number at 18 (all little-endian).
constexpr int flagsAt = 5, granuleAt = 6, serialAt = 14, sequenceAt = 18;
constexpr unsigned char continuedFlag = 1, bosFlag = 2, eosFlag = 4;

void putLittleEndian(QByteArray &bytes, int at, quint64 value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xff);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads what the file at FD holds from OFFSET on into SYNC; the bytes read,
// 0 at its end, -1 on an error (errno says which).
ssize_t readInto(ogg_sync_state &sync, int fd, qint64 offset = -1)
{
    char *buffer = ogg_sync_buffer(&sync, chunkSize);
    if (!buffer) {
        errno = ENOMEM;
        return -1;
    }
    ssize_t n;
    do
        n = offset < 0 ? read(fd, buffer, chunkSize) : pread(fd, buffer, chunkSize, offset);
    while (n < 0 && errno == EINTR);
    if (n > 0)
        ogg_sync_wrote(&sync, long(n));
    return n;
}

} // namespace

qint64 StreamClock::units(qint64 granule) const
{
    if (granule < 0)
        return 0;
    if (kind != Theora || shift == 0)
        return granule;
    return (granule >> shift) + (granule & ((qint64(1) << shift) - 1));
}

double StreamClock::seconds(qint64 granule) const
{
    return rateNum ? double(units(granule)) * rateDen / rateNum : 0;
}

bool StreamClock::isKeyFrame(qint64 granule) const
{
    return kind == Theora && granule >= 0 && (granule & ((qint64(1) << shift) - 1)) == 0;
}

qint64 StreamClock::moved(qint64 granule, qint64 frames) const
{
    if (granule < 0)
        return granule;
    if (kind != Theora)
        return granule + frames;
    return ((granule >> shift) + frames) << shift | (granule & ((qint64(1) << shift) - 1));
}

StreamClock identifyStream(const QByteArray &packet)
{
    StreamClock c;
    oggpack_buffer b;
    if (packet.size() >= 42 && packet.startsWith(QByteArray("\x80theora", 7))) {
        // Version (3 bytes), macro blocks (2 x 16 bits), picture size and
        // offset (2 x 24 + 2 x 8), then the frame rate; quality, the key
        // frame granule shift and the pixel format follow the aspect, the
        // colour space and the bit rate. Bits are packed from the top.
        oggpackB_readinit(&b, reinterpret_cast<unsigned char *>(const_cast<char *>(packet.data())),
                          int(packet.size()));
        oggpackB_adv(&b, 7 * 8 + 3 * 8 + 2 * 16 + 2 * 24 + 2 * 8);
        const quint32 num = quint32(oggpackB_read(&b, 32));
        const quint32 den = quint32(oggpackB_read(&b, 32));
        oggpackB_adv(&b, 24 + 24 + 8 + 24 + 6);
        const int shift = int(oggpackB_read(&b, 5));
        if (num > 0 && den > 0) {
            c.kind = StreamClock::Theora;
            c.rateNum = num;
            c.rateDen = den;
            c.shift = shift;
        }
    } else if (packet.size() >= 30 && packet.startsWith(QByteArray("\x01vorbis", 7))) {
        // Version (32 bits), channels (8), sample rate (32), least
        // significant bit first.
        oggpack_readinit(&b, reinterpret_cast<unsigned char *>(const_cast<char *>(packet.data())),
                         int(packet.size()));
        oggpack_adv(&b, 7 * 8 + 32 + 8);
        const quint32 rate = quint32(oggpack_read(&b, 32));
        if (rate > 0) {
            c.kind = StreamClock::Vorbis;
            c.rateNum = rate;
            c.rateDen = 1;
        }
    }
    return c;
}

bool isTheoraKeyFramePacket(const QByteArray &packet)
{
    return !packet.isEmpty() && !(quint8(packet.at(0)) & 0xC0);
}

OggPage::OggPage(const ogg_page &page)
    : header(reinterpret_cast<const char *>(page.header), int(page.header_len)),
      body(reinterpret_cast<const char *>(page.body), int(page.body_len))
{
}

ogg_page OggPage::view() const
{
    ogg_page p;
    p.header = reinterpret_cast<unsigned char *>(const_cast<char *>(header.constData()));
    p.header_len = header.size();
    p.body = reinterpret_cast<unsigned char *>(const_cast<char *>(body.constData()));
    p.body_len = body.size();
    return p;
}

quint32 OggPage::serial() const
{
    const ogg_page p = view();
    return quint32(ogg_page_serialno(&p));
}

quint32 OggPage::sequence() const
{
    const ogg_page p = view();
    return quint32(ogg_page_pageno(&p));
}

qint64 OggPage::granule() const
{
    const ogg_page p = view();
    return qint64(ogg_page_granulepos(&p));
}

bool OggPage::bos() const
{
    const ogg_page p = view();
    return ogg_page_bos(&p);
}

bool OggPage::eos() const
{
    const ogg_page p = view();
    return ogg_page_eos(&p);
}

bool OggPage::continued() const
{
    const ogg_page p = view();
    return ogg_page_continued(&p);
}

int OggPage::packetsEnded() const
{
    const ogg_page p = view();
    return ogg_page_packets(&p);
}

void OggPage::setSerial(quint32 serial)
{
    putLittleEndian(header, serialAt, serial, 4);
}

void OggPage::setGranule(qint64 granule)
{
    putLittleEndian(header, granuleAt, quint64(granule), 8);
}

void OggPage::setSequence(quint32 sequence)
{
    putLittleEndian(header, sequenceAt, sequence, 4);
}

void OggPage::setBos(bool on)
{
    header[flagsAt] = char(on ? header.at(flagsAt) | bosFlag : header.at(flagsAt) & ~bosFlag);
}

void OggPage::setEos(bool on)
{
    header[flagsAt] = char(on ? header.at(flagsAt) | eosFlag : header.at(flagsAt) & ~eosFlag);
}

QByteArray OggPage::bytes()
{
    ogg_page p;
    p.header = reinterpret_cast<unsigned char *>(header.data());
    p.header_len = header.size();
    p.body = reinterpret_cast<unsigned char *>(body.data());
    p.body_len = body.size();
    ogg_page_checksum_set(&p);
    return header + body;
}

OggReader::OggReader(const QString &path) : name(path)
{
    ogg_sync_init(&sync);
}

OggReader::~OggReader()
{
    ogg_sync_clear(&sync);
    if (fd >= 0)
        close(fd);
}

bool OggReader::open(qint64 from)
{
    fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = name + QStringLiteral(": ") + systemError(errno);
        return false;
    }
    if (from > 0 && lseek(fd, off_t(from), SEEK_SET) < 0) {
        error = name + QStringLiteral(": ") + systemError(errno);
        return false;
    }
    midPage = from > 0;
    return true;
}

bool OggReader::next(OggPage &page)
{
    if (fd < 0 || !error.isEmpty())
        return false;
    for (;;) {
        ogg_page p;
        const int r = ogg_sync_pageout(&sync, &p);
        if (r == 1) {
            midPage = false;
            page = OggPage(p);
            consumed += page.size();
            return true;
        }
        if (r < 0) {
            // Bytes that are no page: damage, unless we started inside one.
            if (!midPage) {
                error = name + QStringLiteral(": not an Ogg page at byte %1").arg(consumed);
                return false;
            }
            continue;
        }
        if (atEnd) {
            if (sync.fill > sync.returned && !midPage)
                error = name + QStringLiteral(": cut short after byte %1").arg(consumed);
            return false;
        }
        const ssize_t n = readInto(sync, fd);
        if (n < 0) {
            error = name + QStringLiteral(": ") + systemError(errno);
            return false;
        }
        atEnd = n == 0;
    }
}

OggPackets::OggPackets(quint32 serial)
{
    ogg_stream_init(&stream, int(serial));
}

OggPackets::~OggPackets()
{
    ogg_stream_clear(&stream);
}

void OggPackets::add(const OggPage &page)
{
    ogg_page p = page.view();
    ogg_stream_pagein(&stream, &p);
}

std::optional<QByteArray> OggPackets::next()
{
    ogg_packet packet;
    for (;;) {
        const int r = ogg_stream_packetout(&stream, &packet);
        if (r == 0)
            return std::nullopt;
        if (r == 1)
            return QByteArray(reinterpret_cast<const char *>(packet.packet), int(packet.bytes));
        // A gap in the pages: take what follows.
    }
}

bool OggPackets::pending()
{
    return ogg_stream_packetpeek(&stream, nullptr) == 1;
}

OggFollower::OggFollower(const QString &path) : path(path)
{
    ogg_sync_init(&sync);
}

OggFollower::~OggFollower()
{
    ogg_sync_clear(&sync);
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
    ogg_sync_reset(&sync);
    streams.clear();
    video = Totals();
    audio = Totals();
}

void OggFollower::finish()
{
    update();
    finished = true;
    if (fd >= 0)
        close(fd);
    fd = -1;
}

void OggFollower::update()
{
    if (finished)
        return;
    if (fd < 0) {
        fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return; // not there yet
    }
    struct stat st;
    if (fstat(fd, &st) == 0 && st.st_size < offset)
        reset(); // written anew from the start
    for (;;) {
        const ssize_t n = readInto(sync, fd, offset);
        if (n <= 0)
            break;
        offset += n;
        ogg_page p;
        int r;
        // A page still being written stays in the buffer until it is whole;
        // bytes that are no page are skipped.
        while ((r = ogg_sync_pageout(&sync, &p)) != 0) {
            if (r < 0)
                continue;
            const OggPage page(p);
            if (page.bos())
                streams.insert(page.serial(), identifyStream(page.bodyBytes()));
            const StreamClock clock = streams.value(page.serial());
            Totals *totals = clock.kind == StreamClock::Theora   ? &video
                             : clock.kind == StreamClock::Vorbis ? &audio
                                                                 : nullptr;
            // Header pages (granule 0) are left out; so are pages on which
            // no packet ends (no granule), but for their bytes.
            const qint64 granule = page.granule();
            if (!totals || granule == 0)
                continue;
            totals->bytes += page.size();
            if (granule != noGranule)
                totals->seconds = clock.seconds(granule);
        }
    }
}

namespace
{

// The last granule position of stream SERIAL in the file at PATH of SIZE
// bytes, read from its end: a window large enough to hold a whole page with
// one, grown until it does.
std::optional<qint64> lastGranule(const QString &path, qint64 size, quint32 serial)
{
    for (qint64 window = 1 << 16;; window *= 4) {
        const qint64 from = std::max<qint64>(0, size - window);
        OggReader reader(path);
        if (!reader.open(from))
            return std::nullopt;
        std::optional<qint64> last;
        OggPage page;
        while (reader.next(page)) {
            if (page.serial() == serial && page.granule() != noGranule)
                last = page.granule();
        }
        if (!reader.problem().isEmpty())
            return std::nullopt;
        if (last || from == 0)
            return last;
    }
}

} // namespace

TheoraFile readTheoraFile(const QString &path)
{
    TheoraFile t;
    OggReader reader(path);
    if (!reader.open())
        return t;
    // The stream's first pages, then its headers and its first picture.
    OggPage page;
    if (!reader.next(page) || !page.bos())
        return t;
    const quint32 serial = page.serial();
    const StreamClock clock = identifyStream(page.bodyBytes());
    if (clock.kind != StreamClock::Theora)
        return t;
    OggPackets packets(serial);
    QList<QByteArray> got;
    do {
        if (page.serial() != serial)
            return t; // a second stream
        packets.add(page);
        while (got.size() < 4) {
            const std::optional<QByteArray> packet = packets.next();
            if (!packet)
                break;
            got << *packet;
        }
    } while (got.size() < 4 && reader.next(page));
    if (got.size() < 4)
        return t;
    t.headers = got.mid(0, 3);
    t.startsWithKeyFrame = isTheoraKeyFramePacket(got.at(3));

    struct stat st;
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return t;
    const std::optional<qint64> granule = lastGranule(path, qint64(st.st_size), serial);
    if (!granule || *granule <= 0)
        return t;
    t.frames = clock.units(*granule);
    t.ok = true;
    return t;
}

QString checkOggFile(const QString &path, qint64 frames, qint64 *pictures)
{
    if (pictures)
        *pictures = 0;
    struct Stream {
        StreamClock clock;
        quint32 sequence = 0;
        qint64 granule = noGranule;
        bool ended = false;
    };
    QHash<quint32, Stream> streams;
    OggReader reader(path);
    if (!reader.open())
        return reader.problem();
    OggPage page;
    bool data = false; // a page after the streams' first ones came
    double time = 0;   // the latest page's, of any stream
    qint64 number = 0;
    const auto wrong = [&](const QString &what) {
        return QStringLiteral("page %1 %2").arg(number).arg(what);
    };
    for (; reader.next(page); ++number) {
        const quint32 serial = page.serial();
        if (page.bos()) {
            if (data || streams.contains(serial))
                return wrong(QStringLiteral("starts a stream after the first pages"));
            Stream s;
            s.clock = identifyStream(page.bodyBytes());
            streams.insert(serial, s);
        } else {
            data = true;
            if (!streams.contains(serial))
                return wrong(QStringLiteral("belongs to no stream"));
        }
        Stream &s = streams[serial];
        if (s.ended)
            return wrong(QStringLiteral("follows the end of its stream"));
        if (page.sequence() != s.sequence++)
            return wrong(QStringLiteral("is out of sequence"));
        s.ended = page.eos();
        const qint64 g = page.granule();
        if (g == noGranule)
            continue;
        if (s.granule != noGranule && s.clock.units(g) < s.clock.units(s.granule))
            return wrong(QStringLiteral("goes back in its stream"));
        s.granule = g;
        if (s.clock.kind == StreamClock::Other || page.bos())
            continue;
        const double t = s.clock.seconds(g);
        if (t + 1e-9 < time)
            return wrong(QStringLiteral("is out of order"));
        time = t;
    }
    if (!reader.problem().isEmpty())
        return reader.problem();
    if (streams.isEmpty())
        return QStringLiteral("no Ogg stream");
    for (const Stream &s : std::as_const(streams)) {
        if (!s.ended)
            return QStringLiteral("a stream does not end");
        if (pictures && s.clock.kind == StreamClock::Theora && s.granule != noGranule)
            *pictures = s.clock.units(s.granule);
        if (s.clock.kind == StreamClock::Theora && frames > 0 && s.clock.units(s.granule) != frames)
            return QStringLiteral("%1 pictures, not %2").arg(s.clock.units(s.granule)).arg(frames);
    }
    return {};
}
