// SPDX-License-Identifier: GPL-3.0-or-later
// The forecast's logic without ffmpeg: where the samples are taken, and what
// they add up to.

#include "forecast.h"

#include <QTest>

#include <algorithm>
#include <cmath>

class TestEncoderForecast : public QObject
{
    Q_OBJECT

private slots:
    // The samples lie in the range, one to a stratum, in order, never
    // overlapping; each starts on a key frame of the input when its stratum
    // holds one; a short range is encoded whole.
    void spans_data()
    {
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<int>("keyint");
        QTest::addColumn<int>("keyEvery"); // the input's key frames; 0: not known
        QTest::addColumn<int>("count");    // samples expected; 1: the whole range
        QTest::newRow("short: whole") << qint64(60) << 64 << 0 << 1;
        QTest::newRow("20 s") << qint64(500) << 64 << 0 << 4;
        QTest::newRow("60 s, key frames every 10 s") << qint64(1500) << 64 << 250 << 4;
        QTest::newRow("5 min, key frames every 12") << qint64(7500) << 64 << 12 << 6;
        QTest::newRow("45 min") << qint64(67500) << 64 << 250 << 32;
        QTest::newRow("huge key frame interval") << qint64(7500) << 65536 << 0 << 6;
    }

    void spans()
    {
        QFETCH(qint64, frames);
        QFETCH(int, keyint);
        QFETCH(int, keyEvery);
        QFETCH(int, count);
        QList<qint64> keys;
        for (qint64 k = 0; keyEvery && k < frames; k += keyEvery)
            keys << k;
        const QList<Span> spans = sampleSpans(frames, keyint, keys);
        QCOMPARE(spans.size(), count);
        if (count == 1) {
            QCOMPARE(spans.first().first, qint64(0));
            QCOMPARE(spans.first().count, frames);
            return;
        }
        qint64 sampled = 0;
        for (int j = 0; j < spans.size(); ++j) {
            const Span &s = spans.at(j);
            const qint64 from = frames * j / count, to = frames * (j + 1) / count;
            QVERIFY2(s.first >= from && s.first + s.count <= to, qPrintable(QString::number(j)));
            QVERIFY(s.count >= 10 && s.count <= std::max(10, keyint));
            const bool keyInside = std::any_of(
                keys.begin(), keys.end(), [&](qint64 k) { return k >= from && k + s.count <= to; });
            if (keyInside)
                QVERIFY(keys.contains(s.first));
            sampled += s.count;
        }
        // A few per cent of a long range, never most of a short one.
        QVERIFY(sampled * 2 < frames);
        if (frames >= 7500)
            QVERIFY(sampled <= frames / 25);
    }

    // Samples stand for their strata: a key frame every KEYINT pictures, the
    // other pictures as the sample's; a bit rate wins unless the samples
    // need less; the workers share the time.
    void estimate_data()
    {
        QTest::addColumn<int>("videoKbps");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<double>("seconds");
        // 2 strata of 640 pictures (10 key frames each): 10 * 1000 + 630 * 100
        // bytes each, 100 bytes of headers, pages 10 % of the packets;
        // encoding 0.1 s a picture, 0.5 s to start each of 4 chunks, 2
        // workers, 1 s before.
        QTest::newRow("quality") << 0 << qint64((100 + 2 * 73000) * 1.1) << 1 + (128.0 + 2) / 2;
        // Held to 25600 bytes a stratum of 73000, the pictures' encoding
        // takes 40 % of its time and 60 % of it as their bytes shrink.
        QTest::newRow("bit rate reached") << 8 << qint64((100 + 51200) * 1.1)
                                          << 1 + (128.0 * (0.4 + 0.6 * 25600 / 73000) + 2) / 2;
        QTest::newRow("bit rate above the samples")
            << 100000 << qint64((100 + 2 * 73000) * 1.1) << 1 + (128.0 + 2) / 2;
    }

    void estimate()
    {
        QFETCH(int, videoKbps);
        QFETCH(qint64, bytes);
        QFETCH(double, seconds);
        ForecastBasis basis;
        basis.seconds = 51.2;
        basis.keyint = 64;
        basis.videoKbps = videoKbps;
        basis.workers = 2;
        basis.chunks = 4;
        basis.preparing = 1;
        QList<Sample> samples;
        for (int i = 0; i < 2; ++i) {
            Sample s;
            s.span = Span{i * 640, 10};
            s.stands = 640;
            s.bytes.ok = true;
            s.bytes.headers = 100;
            s.bytes.keyFrame = 1000;
            s.bytes.rest = 900;
            s.bytes.restCount = 9;
            s.bytes.file = qint64((100 + 1000 + 900) * 1.1);
            s.busy = 1;
            s.wall = 1.5;
            samples << s;
        }
        const Forecast f = ::estimate(basis, samples);
        QVERIFY(f.known);
        QCOMPARE(f.workers, 2);
        QVERIFY2(std::abs(f.bytes - bytes) <= 2, qPrintable(QString::number(f.bytes)));
        // The join reads and writes the file.
        QVERIFY2(std::abs(f.seconds - seconds) < 0.01, qPrintable(QString::number(f.seconds)));
    }
};

QTEST_GUILESS_MAIN(TestEncoderForecast)
#include "tst_encoder_forecast.moc"
