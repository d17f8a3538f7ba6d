// SPDX-License-Identifier: GPL-3.0-or-later
// The Ogg module and the joiner of ffmpeg2theora, on files made here with
// libogg from packets that have the layout of Theora and Vorbis headers.

#include "manifest.h"
#include "ogg.h"
#include "oggjoin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace
{

constexpr int shift = 6;

QByteArray bitsToBytes(oggpack_buffer &b)
{
    QByteArray bytes(reinterpret_cast<const char *>(oggpackB_get_buffer(&b)),
                     int(oggpackB_bytes(&b)));
    oggpackB_writeclear(&b);
    return bytes;
}

QByteArray theoraIdent(quint32 num, quint32 den, int kfgshift)
{
    oggpack_buffer b;
    oggpackB_writeinit(&b);
    for (const char c : QByteArray("\x80theora"))
        oggpackB_write(&b, quint8(c), 8);
    const QList<QPair<unsigned long, int>> fields = {{3, 8},
                                                     {2, 8},
                                                     {1, 8},
                                                     {4, 16},
                                                     {3, 16},
                                                     {64, 24},
                                                     {48, 24},
                                                     {0, 8},
                                                     {0, 8},
                                                     {num, 32},
                                                     {den, 32},
                                                     {1, 24},
                                                     {1, 24},
                                                     {0, 8},
                                                     {0, 24},
                                                     {32, 6},
                                                     {quint32(kfgshift), 5},
                                                     {0, 2},
                                                     {0, 3}};
    for (const auto &f : fields)
        oggpackB_write(&b, f.first, f.second);
    return bitsToBytes(b);
}

QByteArray vorbisIdent(quint32 rate)
{
    oggpack_buffer b;
    oggpack_writeinit(&b);
    for (const char c : QByteArray("\x01vorbis"))
        oggpack_write(&b, quint8(c), 8);
    const QList<QPair<unsigned long, int>> fields = {{0, 32}, {2, 8},  {rate, 32}, {0, 32},
                                                     {0, 32}, {0, 32}, {0xb8, 8},  {1, 8}};
    for (const auto &f : fields)
        oggpack_write(&b, f.first, f.second);
    QByteArray bytes(reinterpret_cast<const char *>(oggpack_get_buffer(&b)),
                     int(oggpack_bytes(&b)));
    oggpack_writeclear(&b);
    return bytes;
}

// Writes packets as an Ogg stream; pages end where asked.
class StreamWriter
{
public:
    StreamWriter(QByteArray &file, quint32 serial) : file(file)
    {
        ogg_stream_init(&s, int(serial));
    }
    ~StreamWriter() { ogg_stream_clear(&s); }
    void add(const QByteArray &data, qint64 granule, bool flush, bool last = false)
    {
        ogg_packet p;
        p.packet = reinterpret_cast<unsigned char *>(const_cast<char *>(data.data()));
        p.bytes = data.size();
        p.b_o_s = packetno == 0;
        p.e_o_s = last;
        p.granulepos = granule;
        p.packetno = packetno++;
        ogg_stream_packetin(&s, &p);
        ogg_page page;
        if (flush || last)
            while (ogg_stream_flush(&s, &page))
                file += OggPage(page).bytes();
    }
    // The first page alone, for a file with two streams.
    ogg_stream_state s;

private:
    QByteArray &file;
    qint64 packetno = 0;
};

struct PartLayout {
    int frames = 8;
    int keyEvery = 4;
    bool keyFirst = true;
    QByteArray setup = "\x82theora setup";
    int bigFrame = -1; // index of a picture of 3 MiB
    bool withVorbis = false;
    quint32 serial = 1000;
};

QByteArray picture(bool key, int size)
{
    QByteArray p(size, 'p');
    p[0] = char(key ? 0x00 : 0x40);
    return p;
}

void makeVorbisPackets(StreamWriter &w, int packets, bool headersOnly = false)
{
    w.add(vorbisIdent(48000), 0, true);
    w.add("\x03vorbis comment", 0, false);
    w.add("\x05vorbis setup", 0, true);
    if (!headersOnly)
        for (int i = 0; i < packets; ++i)
            w.add(QByteArray(300, 'a'), qint64(i + 1) * 4800, i % 3 == 2, i == packets - 1);
}

QByteArray makePart(const PartLayout &layout)
{
    QByteArray file;
    StreamWriter w(file, layout.serial);
    std::unique_ptr<StreamWriter> sound;
    w.add(theoraIdent(25, 1, shift), 0, true);
    if (layout.withVorbis) {
        sound = std::make_unique<StreamWriter>(file, layout.serial + 7);
        makeVorbisPackets(*sound, 0, true);
    }
    w.add("\x81theora comment", 0, false);
    w.add(layout.setup, 0, true);
    int key = 0;
    for (int i = 0; i < layout.frames; ++i) {
        const bool isKey = i % layout.keyEvery == 0 && (i > 0 || layout.keyFirst);
        if (isKey)
            key = i;
        const qint64 granule = qint64(key + 1) << shift | (i - key);
        w.add(picture(isKey, i == layout.bigFrame ? 3 << 20 : 500 + i), granule, i % 2 == 1,
              i == layout.frames - 1);
    }
    return file;
}

QByteArray makeSound(int packets, quint32 serial)
{
    QByteArray file;
    StreamWriter w(file, serial);
    makeVorbisPackets(w, packets);
    return file;
}

bool save(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// What a joined file holds, read back with the module.
struct Joined {
    QString problem;
    QList<quint32> serials; // in the order of their first pages
    QList<QByteArray> videoPackets;
    qint64 lastVideoGranule = noGranule;
    bool timesInOrder = true;
    bool sequencesInOrder = true;
    bool granulesIncrease = true;
};

Joined readJoined(const QString &path)
{
    Joined j;
    OggReader reader(path);
    if (!reader.open())
        return Joined{reader.problem(), {}, {}, noGranule, true, true, true};
    QHash<quint32, StreamClock> clocks;
    QHash<quint32, quint32> sequence;
    QHash<quint32, double> time;
    std::unique_ptr<OggPackets> video;
    double last = 0;
    OggPage page;
    while (reader.next(page)) {
        const quint32 serial = page.serial();
        if (page.bos()) {
            j.serials << serial;
            clocks.insert(serial, identifyStream(page.bodyBytes()));
            if (clocks.value(serial).kind == StreamClock::Theora)
                video = std::make_unique<OggPackets>(serial);
        }
        const ogg_page view = page.view();
        j.sequencesInOrder &= quint32(ogg_page_pageno(&view)) == sequence[serial]++;
        const StreamClock clock = clocks.value(serial);
        if (page.granule() != noGranule)
            time[serial] = clock.seconds(page.granule());
        j.timesInOrder &= time.value(serial) >= last;
        last = time.value(serial);
        if (clock.kind == StreamClock::Theora) {
            if (page.granule() > 0) { // not a header page
                j.granulesIncrease &= page.granule() > j.lastVideoGranule;
                j.lastVideoGranule = page.granule();
            }
            video->add(page);
            while (const std::optional<QByteArray> p = video->next())
                j.videoPackets << *p;
        }
    }
    j.problem = reader.problem();
    return j;
}

// Runs "program arg arg ..."; its standard output, or a null array if it failed.
QByteArray runTool(const QString &command)
{
    QStringList args = command.split(QLatin1Char(' '));
    QProcess p;
    p.start(args.takeFirst(), args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("%s: %s", qPrintable(command), p.readAllStandardError().constData());
        return {};
    }
    return p.readAllStandardOutput() + ' ';
}

} // namespace

class TestOgg : public QObject
{
    Q_OBJECT

private slots:
    void clock_data();
    void clock();
    void readTheoraFile_data();
    void readTheoraFile();
    void keptChunks_data();
    void keptChunks();
    void join_data();
    void join();
    void joinFails_data();
    void joinFails();
    void stopEndsJoin();
    void followerReadsGrowingFile();
    void joinFfmpegParts();
};

void TestOgg::clock_data()
{
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<qint64>("granule");
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<bool>("key");
    QTest::addColumn<qint64>("movedBy10");

    QTest::newRow("theora key frame") << theoraIdent(25, 1, 6) << (qint64(5) << 6) << 1 << qint64(5)
                                      << 0.2 << true << (qint64(15) << 6);
    QTest::newRow("theora since key") << theoraIdent(30000, 1001, 6) << (qint64(5) << 6 | 25) << 1
                                      << qint64(30) << 1.001 << false << (qint64(15) << 6 | 25);
    QTest::newRow("theora shift 31") << theoraIdent(25, 1, 31) << (qint64(2) << 31 | 3) << 1
                                     << qint64(5) << 0.2 << false << (qint64(12) << 31 | 3);
    QTest::newRow("vorbis") << vorbisIdent(48000) << qint64(96000) << 2 << qint64(96000) << 2.0
                            << false << qint64(96010);
    QTest::newRow("cut short") << theoraIdent(25, 1, 6).left(41) << qint64(5) << 0 << qint64(5)
                               << 0.0 << false << qint64(15);
    QTest::newRow("zero rate") << theoraIdent(0, 1, 6) << qint64(5) << 0 << qint64(5) << 0.0
                               << false << qint64(15);
}

void TestOgg::clock()
{
    QFETCH(QByteArray, packet);
    QFETCH(qint64, granule);
    QFETCH(int, kind);
    const StreamClock c = identifyStream(packet);
    QCOMPARE(int(c.kind), kind);
    QTEST(c.units(granule), "units");
    QFETCH(double, seconds);
    QCOMPARE(qRound(c.seconds(granule) * 1000), qRound(seconds * 1000));
    QTEST(c.isKeyFrame(granule), "key");
    QTEST(c.moved(granule, 10), "movedBy10");
}

void TestOgg::readTheoraFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("keyFirst");
    QTest::addColumn<qint64>("frames");

    PartLayout layout;
    QTest::newRow("plain") << makePart(layout) << true << true << qint64(8);
    layout.bigFrame = 0; // spans about 50 pages at the start
    QTest::newRow("3 MiB key frame first") << makePart(layout) << true << true << qint64(8);
    layout.bigFrame = 7;
    QTest::newRow("3 MiB picture last") << makePart(layout) << true << true << qint64(8);
    layout = PartLayout();
    layout.keyFirst = false;
    QTest::newRow("inter frame first") << makePart(layout) << true << false << qint64(8);
    layout = PartLayout();
    layout.withVorbis = true;
    QTest::newRow("two streams") << makePart(layout) << false << false << qint64(0);
    QTest::newRow("vorbis only") << makeSound(5, 3) << false << false << qint64(0);
    QTest::newRow("not ogg") << QByteArray(5000, 'x') << false << false << qint64(0);
}

void TestOgg::readTheoraFile()
{
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("part.ogg"));
    QVERIFY(save(path, file));
    const TheoraFile t = ::readTheoraFile(path);
    QTEST(t.ok, "ok");
    if (!t.ok)
        return;
    QTEST(t.startsWithKeyFrame, "keyFirst");
    QTEST(t.frames, "frames");
    QCOMPARE(t.headers.size(), 3);
    QVERIFY(t.headers.first().startsWith("\x80theora"));
}

// A stopped encode's chunks are used again only while each is as it was
// listed, and only our own files are ever removed.
void TestOgg::keptChunks_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("kept"); // the files there afterwards
    const QString all = QStringLiteral("audio.ogg manifest part0.ogg part1.ogg");
    QTest::newRow("as left") << "" << all;
    QTest::newRow("a chunk damaged") << "flip part1.ogg"
                                     << "audio.ogg manifest part0.ogg";
    QTest::newRow("the sound cut short") << "cut audio.ogg"
                                         << "manifest part0.ogg part1.ogg";
    QTest::newRow("no key frame first, listed so") << "inter"
                                                   << "audio.ogg manifest part1.ogg";
    QTest::newRow("a chunk half written") << "unlisted" << all;
    QTest::newRow("another option") << "option"
                                    << "manifest";
    QTest::newRow("a manifest of another version") << "version"
                                                   << "manifest";
    QTest::newRow("a manifest cut short") << "truncate"
                                          << "manifest";
    // Each chunk is used while the input holds what it was made from,
    // whatever the input is called; the sound while the file is the same.
    QTest::newRow("the input rewritten where part1 was made from") << "rewritten"
                                                                   << "manifest part0.ogg";
    QTest::newRow("the input named otherwise") << "renamed" << all;
    QTest::newRow("the manifest cannot be written") << "unwritable" << all;
    QTest::newRow("started over") << "restart"
                                  << "manifest";
    QTest::newRow("no manifest: not ours") << "foreign"
                                           << "audio.ogg mine.txt part0.ogg part1.ogg";
}

void TestOgg::keptChunks()
{
    QFETCH(QString, change);
    QTemporaryDir top;
    const QString dir = top.filePath(QStringLiteral("chunks"));
    const auto file = [&](const QString &name) { return QDir(dir).filePath(name); };
    Manifest now;
    now.input.path = QStringLiteral("/in.mkv");
    now.arguments = QStringList{QStringLiteral("-q:v"), QStringLiteral("6")};
    now.keyint = 4;
    now.frames = 24;
    {
        ChunkStore store;
        QVERIFY(store.open(dir, now, false));
        store.setCuts({0, 8, 16});
        PartLayout layout;
        layout.bigFrame = 3; // its middle is read by the checksum alone
        for (int index : {-1, 0, 1}) {
            const QString path = file(keptFileName(index));
            layout.keyFirst = index != 0 || change != QLatin1String("inter");
            QVERIFY(save(path, index < 0 ? makeSound(5, 3) : makePart(layout)));
            QVERIFY(store
                        .record({index, 8, 8, QFileInfo(path).size(), fileChecksum(path), 0,
                                 QByteArray::number(index)})
                        .isEmpty());
        }
        QVERIFY(save(file(QStringLiteral("part2.ogg")), "half"));
    }
    QVERIFY(QFile::exists(file(QStringLiteral("part2.ogg")))); // kept with the others
    if (change.startsWith(QLatin1String("flip ")) || change.startsWith(QLatin1String("cut "))) {
        QFile f(file(change.section(QLatin1Char(' '), 1)));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(change.startsWith(QLatin1String("cut "))
                    ? f.resize(f.size() - 1)
                    : f.seek(f.size() / 2) && f.write("Q") == 1);
    }
    if (change == QLatin1String("option"))
        now.arguments.last() = QStringLiteral("7");
    if (change == QLatin1String("version")) {
        QFile m(file(QStringLiteral("manifest")));
        QVERIFY(m.open(QIODevice::ReadOnly));
        const QByteArray text = m.readAll().replace("\"version\": 1", "\"version\": 9");
        m.close();
        QVERIFY(save(m.fileName(), text));
    }
    if (change == QLatin1String("truncate"))
        QVERIFY(QFile(file(QStringLiteral("manifest"))).resize(100));
    if (change == QLatin1String("rewritten"))
        now.input.head = "other";
    if (change == QLatin1String("renamed"))
        now.input.path = QStringLiteral("/elsewhere/link.mkv");
    if (change == QLatin1String("unwritable"))
        QVERIFY(QDir(dir).mkdir(QStringLiteral("manifest.new")));
    if (change == QLatin1String("foreign")) {
        QVERIFY(QFile::remove(file(QStringLiteral("manifest"))));
        QVERIFY(save(file(QStringLiteral("mine.txt")), "mine"));
        QVERIFY(QFile::remove(file(QStringLiteral("part2.ogg"))));
    }
    ChunkStore store;
    QCOMPARE(store.open(dir, now, change == QLatin1String("restart")),
             change != QLatin1String("foreign") && change != QLatin1String("unwritable"));
    QCOMPARE(store.note(), change == QLatin1String("truncate")  ? "its manifest is damaged"
                           : change == QLatin1String("version") ? "made by another version"
                                                                : store.note());
    QCOMPARE(store.failure().isEmpty(), change != QLatin1String("unwritable"));
    if (change == QLatin1String("rewritten"))
        QCOMPARE(store.dropChanged({"0", "changed"}), QList<int>{2});
    QTEST(QDir(dir).entryList(QDir::Files).join(QLatin1Char(' ')), "kept");
    // What is kept is what the manifest lists, and it stays after a stop.
    QCOMPARE(store.manifest().chunks.size(),
             store.resumable() ? int(QDir(dir).entryList({QStringLiteral("part*")}).size()) : 0);
}

void TestOgg::join_data()
{
    QTest::addColumn<QList<int>>("partFrames");
    QTest::addColumn<int>("soundPackets"); // 0: no sound
    QTest::addColumn<quint32>("soundSerial");
    QTest::addColumn<int>("bigFrame");
    QTest::addColumn<int>("repeats"); // the first part stands for that many pictures more

    QTest::newRow("two parts") << QList<int>{8, 8} << 0 << 5u << -1 << 0;
    QTest::newRow("three parts, sound") << QList<int>{8, 5, 12} << 40 << 5u << -1 << 0;
    QTest::newRow("serials clash") << QList<int>{8, 8} << 30 << 1000u << -1 << 0;
    QTest::newRow("one part, sound") << QList<int>{9} << 35 << 5u << -1 << 0;
    QTest::newRow("3 MiB key frame") << QList<int>{8, 8} << 30 << 5u << 0 << 0;
    // ffmpeg's Ogg writer drops the empty packets (repeated pictures) that
    // end a stream: the join puts them back, on pages of their own.
    QTest::newRow("repeats lost at a part's end") << QList<int>{8, 8} << 30 << 5u << -1 << 40;
}

void TestOgg::join()
{
    QFETCH(QList<int>, partFrames);
    QFETCH(int, soundPackets);
    QFETCH(quint32, soundSerial);
    QFETCH(int, bigFrame);
    QFETCH(int, repeats);
    QTemporaryDir dir;
    QList<QString> parts;
    QList<qint64> frames;
    int total = 0;
    for (int k = 0; k < partFrames.size(); ++k) {
        PartLayout layout;
        layout.frames = partFrames.at(k);
        layout.serial = 1000 + quint32(k) * (k % 2); // parts may share serials or not
        layout.bigFrame = bigFrame;
        parts << dir.filePath(QStringLiteral("part%1.ogg").arg(k));
        QVERIFY(save(parts.last(), makePart(layout)));
        frames << layout.frames + (k ? 0 : repeats);
        total += frames.last();
    }
    QString sound;
    if (soundPackets) {
        sound = dir.filePath(QStringLiteral("sound.ogg"));
        QVERIFY(save(sound, makeSound(soundPackets, soundSerial)));
    }
    const QString output = dir.filePath(QStringLiteral("joined.ogg"));
    const JoinResult r = joinOgg(parts, frames, sound, output);
    QVERIFY2(r.ok(), qPrintable(r.message));

    const Joined j = readJoined(output);
    QVERIFY2(j.problem.isEmpty(), qPrintable(j.problem)); // every checksum is right
    QCOMPARE(j.serials.size(), soundPackets ? 2 : 1);
    if (soundPackets)
        QVERIFY(j.serials.at(0) != j.serials.at(1));
    QVERIFY(j.sequencesInOrder);
    QVERIFY(j.timesInOrder);
    QVERIFY(j.granulesIncrease);
    // The headers once, then every picture, starting with a key frame.
    QCOMPARE(j.videoPackets.size(), 3 + total);
    for (int i = 0; i < j.videoPackets.size(); ++i) {
        const QByteArray &packet = j.videoPackets.at(i); // empty: the picture before again
        QCOMPARE(!packet.isEmpty() && (quint8(packet.at(0)) & 0x80), i < 3);
    }
    QVERIFY(isTheoraKeyFramePacket(j.videoPackets.at(3)));
    QCOMPARE(identifyStream(j.videoPackets.first()).units(j.lastVideoGranule), qint64(total));
    // What the encoder checks before a joined file replaces anything.
    QCOMPARE(checkOggFile(output, total), QString());
    QVERIFY(!checkOggFile(output, total + 1).isEmpty());
    // A file made of the joined one is read as one part.
    const TheoraFile t = ::readTheoraFile(output);
    QVERIFY(t.ok == !soundPackets);
}

void TestOgg::joinFails_data()
{
    QTest::addColumn<QList<QByteArray>>("partFiles");
    QTest::addColumn<QByteArray>("soundFile");
    QTest::addColumn<QList<qint64>>("frames");
    QTest::addColumn<QString>("output"); // empty: one in the test's directory
    QTest::addColumn<QString>("message");

    const QByteArray good = makePart(PartLayout());
    PartLayout layout;
    layout.setup = "\x82theora other setup";
    QTest::newRow("headers differ")
        << QList<QByteArray>{good, makePart(layout)} << QByteArray() << QList<qint64>() << QString()
        << QStringLiteral("part1.ogg: its headers differ from those of");
    layout = PartLayout();
    layout.keyFirst = false;
    QTest::newRow("no key frame first")
        << QList<QByteArray>{good, makePart(layout)} << QByteArray() << QList<qint64>() << QString()
        << QStringLiteral("part1.ogg: does not start with a key frame");
    QTest::newRow("no theora stream")
        << QList<QByteArray>{good, makeSound(4, 3)} << QByteArray() << QList<qint64>() << QString()
        << QStringLiteral("part1.ogg: holds no Theora stream");
    layout = PartLayout();
    layout.withVorbis = true;
    QTest::newRow("two streams in a part")
        << QList<QByteArray>{makePart(layout), good} << QByteArray() << QList<qint64>() << QString()
        << QStringLiteral("part0.ogg: holds 2 streams, not one Theora stream");
    QTest::newRow("not ogg") << QList<QByteArray>{good, QByteArray(100, 'x')} << QByteArray()
                             << QList<qint64>() << QString()
                             << QStringLiteral("part1.ogg: not an Ogg page at byte 0");
    QTest::newRow("cut short") << QList<QByteArray>{good, good.left(good.size() - 20)}
                               << QByteArray() << QList<qint64>() << QString()
                               << QStringLiteral("part1.ogg: cut short after byte");
    QTest::newRow("sound not vorbis")
        << QList<QByteArray>{good} << good << QList<qint64>() << QString()
        << QStringLiteral("sound.ogg: holds no Vorbis stream");
    QTest::newRow("more frames than said")
        << QList<QByteArray>{good, good} << QByteArray() << QList<qint64>{7, 8} << QString()
        << QStringLiteral("part0.ogg: holds 8 pictures, not 7");
    // Repeats beyond what the granules since the key frame can count.
    QTest::newRow("far fewer frames than said")
        << QList<QByteArray>{good, good} << QByteArray() << QList<qint64>{80, 8} << QString()
        << QStringLiteral("part0.ogg: holds 8 pictures, not 80");
    QTest::newRow("disk full") << QList<QByteArray>{good, good} << makeSound(30, 3)
                               << QList<qint64>() << QStringLiteral("/dev/full")
                               << QStringLiteral("/dev/full: No space left on device");
    QTest::newRow("no such directory")
        << QList<QByteArray>{good} << QByteArray() << QList<qint64>()
        << QStringLiteral("/nonexistent/dir/out.ogg")
        << QStringLiteral("/nonexistent/dir/out.ogg: No such file or directory");
}

void TestOgg::joinFails()
{
    QFETCH(QList<QByteArray>, partFiles);
    QFETCH(QByteArray, soundFile);
    QFETCH(QList<qint64>, frames);
    QFETCH(QString, output);
    QTemporaryDir dir;
    QList<QString> parts;
    for (int k = 0; k < partFiles.size(); ++k) {
        parts << dir.filePath(QStringLiteral("part%1.ogg").arg(k));
        QVERIFY(save(parts.last(), partFiles.at(k)));
    }
    QString sound;
    if (!soundFile.isEmpty()) {
        sound = dir.filePath(QStringLiteral("sound.ogg"));
        QVERIFY(save(sound, soundFile));
    }
    if (output.isEmpty())
        output = dir.filePath(QStringLiteral("joined.ogg"));
    const JoinResult r = joinOgg(parts, frames, sound, output);
    QCOMPARE(int(r.status), int(JoinResult::Failed));
    QFETCH(QString, message);
    QVERIFY2(r.message.contains(message), qPrintable(r.message));
}

void TestOgg::stopEndsJoin()
{
    QTemporaryDir dir;
    QList<QString> parts;
    for (int k = 0; k < 3; ++k) {
        PartLayout layout;
        layout.frames = 200;
        parts << dir.filePath(QStringLiteral("part%1.ogg").arg(k));
        QVERIFY(save(parts.last(), makePart(layout)));
    }
    const QString output = dir.filePath(QStringLiteral("joined.ogg"));
    // Asked from the first question on, and after some pages are written.
    for (const int askedBefore : {0, 20}) {
        int asked = 0;
        const JoinResult r =
            joinOgg(parts, {}, QString(), output, [&] { return ++asked > askedBefore; });
        QCOMPARE(int(r.status), int(JoinResult::Stopped));
        QCOMPARE(asked, askedBefore + 1);
    }
    QVERIFY(joinOgg(parts, {}, QString(), output, [] { return false; }).ok());
}

void TestOgg::followerReadsGrowingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("growing.ogg"));
    PartLayout layout;
    layout.frames = 50;
    const QByteArray whole = makePart(layout);
    OggFollower follower(path);
    follower.update(); // not there yet
    QCOMPARE(follower.videoBytes(), qint64(0));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    // Written in pieces that end inside pages: what is whole is counted.
    double seconds = 0;
    for (int at = 0; at < whole.size(); at += 777) {
        f.write(whole.mid(at, 777));
        follower.update();
        QVERIFY(follower.videoSeconds() >= seconds);
        seconds = follower.videoSeconds();
    }
    QCOMPARE(follower.videoSeconds(), 2.0);
    QVERIFY(follower.videoBytes() > 50 * 500 && follower.videoBytes() < whole.size());
    QVERIFY(follower.videoKbps() > 0);
    QCOMPARE(follower.audioBytes(), qint64(0));
}

void TestOgg::joinFfmpegParts()
{
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("oggz-validate")).isEmpty())
        QSKIP("needs ffmpeg and oggz-validate");
    QTemporaryDir dir;
    const QString ffmpeg = QStringLiteral("ffmpeg -v error -y -f lavfi -i ");
    QList<QString> parts;
    for (const char *start : {"0", "1"}) {
        parts << dir.filePath(QStringLiteral("part%1.ogg").arg(QLatin1String(start)));
        QVERIFY(!runTool(ffmpeg + QStringLiteral("testsrc=size=64x48:rate=25:duration=2 -ss %1 "
                                                 "-t 1 -c:v libtheora -g 10 %2")
                                      .arg(QLatin1String(start), parts.last()))
                     .isNull());
    }
    const QString sound = dir.filePath(QStringLiteral("sound.ogg"));
    QVERIFY(!runTool(ffmpeg + QStringLiteral("sine=duration=2 -c:a libvorbis ") + sound).isNull());
    const QString output = dir.filePath(QStringLiteral("joined.ogg"));
    const JoinResult r = joinOgg(parts, {25, 25}, sound, output);
    QVERIFY2(r.ok(), qPrintable(r.message));
    QVERIFY(!runTool(QStringLiteral("oggz-validate ") + output).isNull());
    const QByteArray frames =
        runTool(QStringLiteral("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                               "stream=nb_read_frames -of csv=p=0 ") +
                output);
    QCOMPARE(frames.trimmed(), QByteArray("50"));
}

QTEST_GUILESS_MAIN(TestOgg)
#include "tst_ogg.moc"
