// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces of the command line and of the error-output reading that need no window.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "commandline.h"

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void quotedValueSurvivesSplitting_data();
    void quotedValueSurvivesSplitting();
    void plainValueStaysAsWritten_data();
    void plainValueStaysAsWritten();
    void baseCommandKeepsPathsWhole();
    void firstTimeInPiece_data();
    void firstTimeInPiece();
    void errorPhrase_data();
    void errorPhrase();
    void errorBoxWording();
    void errorOutputEndsAtZeroByte();
    void lastLinesOfOutput();
    void sameFileThroughLinks();
};

void TestCommandLine::quotedValueSurvivesSplitting_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("blank in path") << "/home/u/My Videos/a b.avi";
    QTest::newRow("option injection") << "x -o /home/u/other.ogv";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("one blank") << " ";
    QTest::newRow("leading and trailing blanks") << "  Holiday  ";
    QTest::newRow("quote inside") << "The \"Best\" Band";
    QTest::newRow("quote without blank") << "a\"b";
    QTest::newRow("lone quote") << "\"";
    QTest::newRow("quote then blank") << "\" a";
    QTest::newRow("quotes at both ends") << "\"x y\"";
    QTest::newRow("two quotes") << "\"\"";
    QTest::newRow("three quotes and blank") << "\"\"\" z";
    QTest::newRow("tab") << "a\tb";
    QTest::newRow("umlauts") << "Müller & Söhne";
}

void TestCommandLine::quotedValueSurvivesSplitting()
{
    QFETCH(QString, value);
    const QString command = "prog --title " + quoteWord(value) + " --next 1";
    const QStringList words = QProcess::splitCommand(command);
    QCOMPARE(words, QStringList({"prog", "--title", value, "--next", "1"}));
}

void TestCommandLine::plainValueStaysAsWritten_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("path") << "/home/user/video/holiday.avi";
    QTest::newRow("number") << "6.5";
    QTest::newRow("negative") << "-0.5";
    QTest::newRow("ratio") << "16:9";
    QTest::newRow("empty") << "";
    QTest::newRow("single quote") << "it's";
}

void TestCommandLine::plainValueStaysAsWritten()
{
    QFETCH(QString, value);
    QCOMPARE(quoteWord(value), value);
}

void TestCommandLine::baseCommandKeepsPathsWhole()
{
    QCOMPARE(baseCommand("ffmpeg2theora", "/home/user/video/holiday.avi",
                         "/home/user/video/holiday.ogg"),
             QString("ffmpeg2theora /home/user/video/holiday.avi -o /home/user/video/holiday.ogg"));
    QCOMPARE(baseCommand("ffmpeg2theora", "", "/tmp/x.ogg"),
             QString("ffmpeg2theora  -o /tmp/x.ogg"));
    QCOMPARE(QProcess::splitCommand(baseCommand("ffmpeg2theora", "/a b/c d.avi", "/a b/c d.ogg")),
             QStringList({"ffmpeg2theora", "/a b/c d.avi", "-o", "/a b/c d.ogg"}));
    // An input that looks like an option stays a path.
    QCOMPARE(QProcess::splitCommand(baseCommand("ffmpeg2theora", "-i x.mp4", "/o.ogg")),
             QStringList({"ffmpeg2theora", "./-i x.mp4", "-o", "/o.ogg"}));
}

void TestCommandLine::firstTimeInPiece_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("exact"); // seconds with the fraction as written
    QTest::newRow("duration line") << "  Duration: 00:01:23.45, start"
                                   << "00:01:23" << 83 << QString("83.45");
    QTest::newRow("progress line") << "\r      0:00:10.00 audio: 62kbps"
                                   << "0:00:10" << 10 << QString("10");
    QTest::newRow("zero") << "0:00:00"
                          << "0:00:00" << 0 << QString("0");
    QTest::newRow("all hour digits") << "12:34:56"
                                     << "12:34:56" << 45296 << QString("45296");
    QTest::newRow("minutes and seconds as written") << "0:75:80"
                                                    << "0:75:80" << 4580 << QString("4580");
    QTest::newRow("first of two, not the larger") << "0:00:05 then 1:00:00"
                                                  << "0:00:05" << 5 << QString("5");
    QTest::newRow("single minute digit is no time") << "0:1:23"
                                                    << "" << 0 << QString("");
    QTest::newRow("time cut in two") << "0:01:"
                                     << "" << 0 << QString("");
    QTest::newRow("fraction without trailing zeros") << "  Duration: 0:00:07.80"
                                                     << "0:00:07" << 7 << QString("7.8");
    QTest::newRow("no time") << "Input #0, avi"
                             << "" << 0 << QString("");
}

void TestCommandLine::firstTimeInPiece()
{
    QFETCH(QString, piece);
    QFETCH(QString, time);
    QFETCH(int, seconds);
    QFETCH(QString, exact);
    QCOMPARE(firstTime(piece), time);
    QCOMPARE(firstTimeSeconds(piece), exact);
    if (!time.isEmpty())
        QCOMPARE(timeTextSeconds(time), seconds);
}

void TestCommandLine::errorPhrase_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("unable") << "x Unable to open file /a.avi"
                            << "Unable to open file";
    QTest::newRow("fpe") << "Floating point exception (core dumped)"
                         << "Floating point exception";
    QTest::newRow("size") << "output size must be a multiple of 16 for now"
                          << "output size must be a multiple of 16 for now";
    QTest::newRow("argument") << "ffmpeg2theora: option requires an argument -- 'o'"
                              << "option requires an argument";
    QTest::newRow("leftmost of two") << "option requires an argument; Unable to open file"
                                     << "option requires an argument";
    QTest::newRow("case differs") << "unable to open file"
                                  << "";
    QTest::newRow("none") << "0:00:10 audio"
                          << "";
}

void TestCommandLine::errorPhrase()
{
    QFETCH(QString, piece);
    QFETCH(QString, phrase);
    QCOMPARE(firstErrorPhrase(piece), phrase);
}

void TestCommandLine::errorBoxWording()
{
    QCOMPARE(errorBoxText("Unable to open file"),
             QString("An error occurred. Please check this message and try to correct your "
                     "configuration:\n\n\"Unable to open file\""));
}

void TestCommandLine::errorOutputEndsAtZeroByte()
{
    const QByteArray bytes("0:00:05\0Unable to open file 0:00:09", 35);
    QCOMPARE(errorOutputText(bytes), QString("0:00:05"));
    QCOMPARE(errorOutputText("caf\xe9"), QString::fromLatin1("caf\xe9"));
}

void TestCommandLine::lastLinesOfOutput()
{
    QCOMPARE(lastLines("a\nb\r\n\rc\n\n", 2), QString("b\nc"));
    QCOMPARE(lastLines("only", 5), QString("only"));
    QCOMPARE(lastLines("", 5), QString());
}

void TestCommandLine::sameFileThroughLinks()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("clip.ogg");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(QFile::link(file, dir.filePath("link.ogg")));
    QVERIFY(sameExistingFile(file, dir.filePath("link.ogg")));
    QVERIFY(sameExistingFile(file, dir.filePath("./clip.ogg")));
    QVERIFY(!sameExistingFile(file, dir.filePath("other.ogg")));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
