// SPDX-License-Identifier: GPL-3.0-or-later
#include "oggjoin.h"

#include "ogg.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace
{

// The joined file, written from its start to its end.
class Output
{
public:
    explicit Output(const QString &path) : path(path) {}
    ~Output()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Output(const Output &) = delete;
    Output &operator=(const Output &) = delete;

    bool open()
    {
        fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                    0666);
        return fd >= 0 || failed(errno);
    }
    bool write(const QByteArray &bytes)
    {
        const char *data = bytes.constData();
        qint64 left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, data, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return failed(n < 0 ? errno : EIO);
            data += n;
            left -= n;
        }
        return true;
    }
    bool finish()
    {
        const int result = ::close(fd);
        fd = -1;
        return result == 0 || failed(errno);
    }
    QString error;

private:
    bool failed(int code)
    {
        error = path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(code));
        return false;
    }

    QString path;
    int fd = -1;
};

// One file to join, holding one stream: its headers, and the pages read
// ahead of the join to see its first picture.
struct Input {
    explicit Input(const QString &path) : reader(path) {}
    OggReader reader;
    quint32 serial = 0;
    StreamClock clock;
    QList<QByteArray> headers;
    QList<OggPage> ahead;
    bool filledUp = false;
    bool startsWithKeyFrame = false;
    qint64 lastGranule = noGranule;

    bool next(OggPage &page)
    {
        if (ahead.isEmpty())
            return reader.next(page);
        page = ahead.takeFirst();
        return true;
    }
};

QString kindName(StreamClock::Kind kind)
{
    return kind == StreamClock::Theora ? QStringLiteral("Theora") : QStringLiteral("Vorbis");
}

// Opens IN and reads its headers and, for Theora, its first picture; returns
// what is wrong with it.
QString openInput(Input &in, StreamClock::Kind kind)
{
    const QString path = in.reader.path();
    if (!in.reader.open())
        return in.reader.problem();
    const QString noStream = path + QStringLiteral(": holds no %1 stream").arg(kindName(kind));
    OggPage page;
    if (!in.reader.next(page))
        return in.reader.problem().isEmpty() ? noStream : in.reader.problem();
    if (!page.bos())
        return noStream;
    in.serial = page.serial();
    in.clock = identifyStream(page.bodyBytes());
    OggPackets packets(in.serial);
    packets.add(page);
    // Every stream's first page comes before any other page.
    int streams = 1;
    bool more;
    while ((more = in.reader.next(page)) && page.bos())
        ++streams;
    if (!in.reader.problem().isEmpty())
        return in.reader.problem();
    if (streams > 1)
        return path + QStringLiteral(": holds %1 streams, not one %2 stream")
                          .arg(streams)
                          .arg(kindName(kind));
    if (in.clock.kind != kind)
        return noStream;

    const QString shared = path + QStringLiteral(": a packet shares a page with the headers");
    for (;;) {
        while (in.headers.size() < 3) {
            const std::optional<QByteArray> packet = packets.next();
            if (!packet)
                break;
            in.headers << *packet;
        }
        if (in.headers.size() == 3)
            break;
        if (!more)
            return in.reader.problem().isEmpty() ? path + QStringLiteral(": headers missing")
                                                 : in.reader.problem();
        packets.add(page);
        more = in.reader.next(page);
    }
    // The data start on a page of their own.
    if (packets.pending() || (more && page.continued()))
        return shared;
    if (!in.reader.problem().isEmpty())
        return in.reader.problem();
    if (kind != StreamClock::Theora) {
        if (more)
            in.ahead << page;
        return QString();
    }
    // The first picture, on as many pages as it takes.
    while (more) {
        in.ahead << page;
        packets.add(page);
        if (const std::optional<QByteArray> picture = packets.next()) {
            in.startsWithKeyFrame = isTheoraKeyFramePacket(*picture);
            return QString();
        }
        more = in.reader.next(page);
    }
    return in.reader.problem().isEmpty() ? path + QStringLiteral(": holds no pictures")
                                         : in.reader.problem();
}

// The header pages of a stream as written anew: the first header alone on
// the first page, the others on the pages after it.
QList<OggPage> headerPages(quint32 serial, const QList<QByteArray> &headers)
{
    QList<OggPage> pages;
    ogg_stream_state stream;
    ogg_stream_init(&stream, int(serial));
    for (int i = 0; i < headers.size(); ++i) {
        ogg_packet packet;
        packet.packet = reinterpret_cast<unsigned char *>(const_cast<char *>(headers.at(i).data()));
        packet.bytes = headers.at(i).size();
        packet.b_o_s = i == 0;
        packet.e_o_s = 0;
        packet.granulepos = 0;
        packet.packetno = i;
        ogg_stream_packetin(&stream, &packet);
        if (i == 0 || i == headers.size() - 1) {
            ogg_page page;
            while (ogg_stream_flush(&stream, &page))
                pages << OggPage(page);
        }
    }
    ogg_stream_clear(&stream);
    return pages;
}

// Pages of stream SERIAL with COUNT empty Theora packets, each the picture
// before it again, that follow a packet of GRANULE, or none when their granules would
// overflow the frames counted since the key frame.
QList<OggPage> repeatedPictures(const StreamClock &clock, quint32 serial, qint64 granule,
                                qint64 count)
{
    QList<OggPage> pages;
    const qint64 since = granule & ((qint64(1) << clock.shift) - 1);
    if (granule < 0 || since + count >= (qint64(1) << clock.shift))
        return pages;
    ogg_stream_state stream;
    ogg_stream_init(&stream, int(serial));
    // The pages go on a stream: libogg must not make the first of them a
    // stream's first page, of one packet and granule 0.
    stream.b_o_s = 1;
    unsigned char nothing = 0;
    for (qint64 i = 1; i <= count; ++i) {
        ogg_packet packet;
        packet.packet = &nothing;
        packet.bytes = 0;
        packet.b_o_s = 0;
        packet.e_o_s = 0;
        packet.granulepos = granule + i;
        packet.packetno = i;
        ogg_stream_packetin(&stream, &packet);
        ogg_page page;
        while (ogg_stream_pageout(&stream, &page))
            pages << OggPage(page);
    }
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        pages << OggPage(page);
    ogg_stream_clear(&stream);
    return pages;
}

// One stream of the output.
struct Stream {
    quint32 serial = 0;
    quint32 sequence = 0;
    double time = 0; // reached by the pages so far
    QList<OggPage> headers;
};

} // namespace

JoinResult joinOgg(const QList<QString> &parts, const QList<qint64> &frames, const QString &sound,
                   const QString &output, const std::function<bool()> &stopRequested)
{
    auto failure = [](const QString &message) { return JoinResult{JoinResult::Failed, message}; };
    auto stopped = [&stopRequested] { return stopRequested && stopRequested(); };
    const JoinResult stop{JoinResult::Stopped, QStringLiteral("stopped")};
    if (parts.isEmpty())
        return failure(QStringLiteral("no parts to join"));

    // Every part must be a piece of the same stream, starting on a key frame.
    std::vector<std::unique_ptr<Input>> inputs;
    for (const QString &path : parts) {
        if (stopped())
            return stop;
        inputs.push_back(std::make_unique<Input>(path));
        Input &in = *inputs.back();
        const QString problem = openInput(in, StreamClock::Theora);
        if (!problem.isEmpty())
            return failure(problem);
        if (in.headers != inputs.front()->headers)
            return failure(
                path + QStringLiteral(": its headers differ from those of %1").arg(parts.first()));
        if (!in.startsWithKeyFrame)
            return failure(path + QStringLiteral(": does not start with a key frame"));
    }
    std::unique_ptr<Input> audioIn;
    if (!sound.isEmpty()) {
        audioIn = std::make_unique<Input>(sound);
        const QString problem = openInput(*audioIn, StreamClock::Vorbis);
        if (!problem.isEmpty())
            return failure(problem);
    }
    if (stopped())
        return stop;

    Output out(output);
    if (!out.open())
        return failure(out.error);
    Stream video, audio;
    const StreamClock clock = inputs.front()->clock;
    video.serial = inputs.front()->serial;
    video.headers = headerPages(video.serial, inputs.front()->headers);
    if (audioIn) {
        audio.serial = audioIn->serial;
        if (audio.serial == video.serial)
            audio.serial = video.serial + 1;
        audio.headers = headerPages(audio.serial, audioIn->headers);
    }

    auto write = [&out](Stream &s, OggPage &page, bool last) {
        const quint32 sequence = s.sequence++;
        page.setSerial(s.serial);
        page.setSequence(sequence);
        page.setBos(sequence == 0);
        page.setEos(last);
        return out.write(page.bytes());
    };
    // The streams' first pages, then the rest of their headers.
    bool ok = write(video, video.headers.first(), false);
    if (audioIn)
        ok = ok && write(audio, audio.headers.first(), false);
    for (int i = 1; ok && i < video.headers.size(); ++i)
        ok = write(video, video.headers[i], false);
    for (int i = 1; ok && i < audio.headers.size(); ++i)
        ok = write(audio, audio.headers[i], false);

    // The pictures, part after part; each page is held back until the next is
    // known, so that the very last one can end the stream.
    QString problem;
    size_t part = 0;
    qint64 offset = 0; // pictures in the parts before
    auto nextVideo = [&](OggPage &page, double &time) -> bool {
        while (part < inputs.size()) {
            Input &in = *inputs.at(part);
            if (in.next(page)) {
                if (page.serial() != in.serial) {
                    problem = in.reader.path() + QStringLiteral(": holds more than one stream");
                    return false;
                }
                const qint64 g = page.granule();
                if (g != noGranule) {
                    in.lastGranule = g;
                    page.setGranule(clock.moved(g, offset));
                    video.time = clock.seconds(clock.moved(g, offset));
                }
                time = video.time;
                return true;
            }
            if (!in.reader.problem().isEmpty()) {
                problem = in.reader.problem();
                return false;
            }
            qint64 held = clock.units(in.lastGranule);
            const qint64 wanted = int(part) < frames.size() ? frames.at(int(part)) : 0;
            if (wanted > held && !in.filledUp) {
                in.filledUp = true;
                in.ahead = repeatedPictures(clock, in.serial, in.lastGranule, wanted - held);
                if (!in.ahead.isEmpty())
                    continue;
            }
            if (wanted > 0 && wanted != held) {
                problem = in.reader.path() +
                          QStringLiteral(": holds %1 pictures, not %2").arg(held).arg(wanted);
                return false;
            }
            offset += held;
            ++part;
        }
        return false;
    };
    auto nextAudio = [&](OggPage &page, double &time) -> bool {
        if (!audioIn || !audioIn->next(page)) {
            if (audioIn && !audioIn->reader.problem().isEmpty())
                problem = audioIn->reader.problem();
            return false;
        }
        if (page.serial() != audioIn->serial) {
            problem = sound + QStringLiteral(": holds more than one stream");
            return false;
        }
        if (page.granule() != noGranule)
            audio.time = audioIn->clock.seconds(page.granule());
        time = audio.time;
        return true;
    };

    OggPage v, a;
    double vt = 0, at = 0;
    bool haveV = nextVideo(v, vt);
    bool haveA = nextAudio(a, at);
    while (ok && problem.isEmpty() && (haveV || haveA)) {
        if (stopped())
            return stop;
        OggPage next;
        double nt = 0;
        if (haveV && (!haveA || vt <= at)) {
            const bool more = nextVideo(next, nt);
            ok = write(video, v, !more);
            v = next, vt = nt, haveV = more;
        } else {
            const bool more = nextAudio(next, nt);
            ok = write(audio, a, !more);
            a = next, at = nt, haveA = more;
        }
    }
    if (!problem.isEmpty())
        return failure(problem);
    if (!ok || !out.finish())
        return failure(out.error);
    return JoinResult();
}
