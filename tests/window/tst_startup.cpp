// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the catalogue and the encoder at start-up.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

#include "startup.h"

namespace
{

void copyCatalogue(const QString &which, const QString &dir, const QString &name)
{
    QVERIFY(QDir().mkpath(dir));
    const QString target = dir + "/" + name;
    QFile::remove(target);
    QVERIFY(QFile::copy(QStringLiteral(TEST_QM_DIR "/catalogue_") + which + ".qm", target));
}

void makeExecutable(const QString &path, const QByteArray &script = QByteArray())
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + script);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void catalogueLookup_data();
    void catalogueLookup();
    void toolkitCatalogue_data();
    void toolkitCatalogue();
    void bundledEncoderLocations();
    void encoderChoice_data();
    void encoderChoice();
    void commandLine_data();
    void commandLine();

private:
    QString savedCwd;
    QByteArray savedPath;
    std::unique_ptr<QTemporaryDir> root;
};

void TestStartup::init()
{
    savedCwd = QDir::currentPath();
    savedPath = qgetenv("PATH");
    root = std::make_unique<QTemporaryDir>();
    QDir(root->path()).mkpath("cwd");
    QDir::setCurrent(root->filePath("cwd"));
}

void TestStartup::cleanup()
{
    QDir::setCurrent(savedCwd);
    qputenv("PATH", savedPath);
    root.reset();
}

void TestStartup::catalogueLookup_data()
{
    // Where catalogues are put ("cwd", "program" beside the program in the
    // build tree, "installed" under the install prefix, "elsewhere"), under
    // which file name, the locale, and the window title the user then sees.
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("placed"); // place:catalogue:file name
    QTest::addColumn<QString>("title");

    QTest::newRow("working directory, full locale name")
        << "de_DE" << QStringList{"cwd:cwd:velkoran_de_DE.qm"} << "Katalog cwd";
    QTest::newRow("language only, found by shortening")
        << "de_AT" << QStringList{"cwd:cwd:velkoran_de.qm"} << "Katalog cwd";
    QTest::newRow("none anywhere: English")
        << "de_DE" << QStringList{} << "Velkoran Theora Encoder";
    QTest::newRow("another directory is not used")
        << "de_DE" << QStringList{"elsewhere:cwd:velkoran_de_DE.qm"} << "Velkoran Theora Encoder";
    QTest::newRow("other language not used")
        << "fr_FR" << QStringList{"cwd:cwd:velkoran_de.qm"} << "Velkoran Theora Encoder";
    QTest::newRow("beside the program when the working directory has none")
        << "de_DE" << QStringList{"program:program:velkoran_de.qm"} << "Katalog program";
    QTest::newRow("under the install prefix")
        << "de_AT" << QStringList{"installed:program:velkoran_de.qm"} << "Katalog program";
    QTest::newRow("working directory takes precedence")
        << "de_DE" << QStringList{"program:program:velkoran_de_DE.qm", "cwd:cwd:velkoran_de.qm"}
        << "Katalog cwd";
}

void TestStartup::catalogueLookup()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, placed);
    QFETCH(QString, title);

    const QString programDir = root->filePath("prefix/bin");
    const QHash<QString, QString> places = {
        {"cwd", root->filePath("cwd")},
        {"program", programDir + "/translations"},
        {"installed", root->filePath("prefix/" VELKORAN_TRANSLATIONS_SUBDIR)},
        {"elsewhere", root->filePath("elsewhere")},
    };
    for (const QString &entry : placed) {
        const QStringList parts = entry.split(':');
        copyCatalogue(parts[1], places.value(parts[0]), parts[2]);
    }

    QTranslator translator;
    const bool loaded = loadCatalogue(translator, locale, programDir);
    QCOMPARE(loaded, title != "Velkoran Theora Encoder");
    QCoreApplication::installTranslator(&translator);
    QCOMPARE(QCoreApplication::translate("Velkoran", "Velkoran Theora Encoder"), title);
    QCoreApplication::removeTranslator(&translator);
}

void TestStartup::toolkitCatalogue_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("yes"); // our catalogue has its own word for it
    QTest::addColumn<QString>("no");  // only the toolkit's catalogue has this
    QTest::addColumn<QString>("title");
    QTest::newRow("German") << "de_DE"
                            << "Katalog-Ja"
                            << "&Nein"
                            << "Katalog program";
    QTest::newRow("German in Austria") << "de_AT"
                                       << "Katalog-Ja"
                                       << "&Nein"
                                       << "Katalog program";
    QTest::newRow("only the toolkit has one: English throughout") << "fr_FR"
                                                                  << "&Yes"
                                                                  << "&No"
                                                                  << "Velkoran Theora Encoder";
    QTest::newRow("no catalogues for the locale") << "xx_XX"
                                                  << "&Yes"
                                                  << "&No"
                                                  << "Velkoran Theora Encoder";
}

void TestStartup::toolkitCatalogue()
{
    QFETCH(QString, locale);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    QFETCH(QString, title);
    const QString programDir = root->filePath("prefix/bin");
    copyCatalogue("program", programDir + "/translations", "velkoran_de.qm");

    QTranslator toolkit, ours;
    QCOMPARE(loadCatalogues(ours, toolkit, locale, programDir), no != "&No");
    QCOMPARE(toolkit.isEmpty(), no == "&No");
    installCatalogues(toolkit, ours);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), no);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), yes);
    QCOMPARE(QCoreApplication::translate("Velkoran", "Velkoran Theora Encoder"), title);
    QCoreApplication::removeTranslator(&ours);
    QCoreApplication::removeTranslator(&toolkit);
}

void TestStartup::bundledEncoderLocations()
{
    const QString programDir = root->filePath("prefix/bin");
    QCOMPARE(bundledEncoder(programDir), QString());
    makeExecutable(root->filePath("prefix/" VELKORAN_LIBEXEC_SUBDIR "/ffmpeg2theora"));
    QCOMPARE(bundledEncoder(programDir),
             root->filePath("prefix/" VELKORAN_LIBEXEC_SUBDIR "/ffmpeg2theora"));
    makeExecutable(programDir + "/ffmpeg2theora");
    QCOMPARE(bundledEncoder(programDir), programDir + "/ffmpeg2theora");
}

void TestStartup::encoderChoice_data()
{
    QTest::addColumn<QString>("installed"); // "": none installed with the window
    QTest::addColumn<QString>("onPath");    // what one first on PATH says to --version
    QTest::addColumn<QString>("chosen");    // "installed", "path" or ""
    const QString ours = "echo 'ffmpeg2theora (Velkoran Theora Encoder) 9.9.9'";
    QTest::newRow("none at all") << ""
                                 << ""
                                 << "";
    QTest::newRow("installed only") << "libexec"
                                    << ""
                                    << "installed";
    QTest::newRow("beside the window only") << "bin"
                                            << ""
                                            << "installed";
    QTest::newRow("on PATH only") << "" << ours << "path";
    QTest::newRow("ours on PATH before the installed one") << "libexec" << ours << "path";
    QTest::newRow("a foreign one first on PATH") << "libexec"
                                                 << "echo 'ffmpeg2theora 0.29'"
                                                 << "installed";
}

void TestStartup::encoderChoice()
{
    QFETCH(QString, installed);
    QFETCH(QString, onPath);
    QFETCH(QString, chosen);
    const QString programDir = root->filePath("prefix/bin");
    const QString installedPath =
        installed == "bin" ? programDir + "/ffmpeg2theora"
                           : root->filePath("prefix/" VELKORAN_LIBEXEC_SUBDIR "/ffmpeg2theora");
    const QString pathOne = root->filePath("path/ffmpeg2theora");
    if (!installed.isEmpty())
        makeExecutable(installedPath, "exit 1\n");
    if (!onPath.isEmpty())
        makeExecutable(pathOne, onPath.toUtf8());
    const QByteArray path = QFile::encodeName(root->filePath("path")) + ":/usr/bin:/bin";
    qputenv("PATH", path);

    const EncoderChoice choice = chooseEncoder(programDir);
    const QString expected = chosen == "installed" ? installedPath
                             : chosen == "path"    ? pathOne
                                                   : "";
    QCOMPARE(choice.path, expected);
    QVERIFY(!choice.why.isEmpty());
    // The command names "ffmpeg2theora": the choice is the one found first.
    if (!expected.isEmpty())
        QCOMPARE(QStandardPaths::findExecutable("ffmpeg2theora"), expected);
    if (chosen != "installed")
        QCOMPARE(qgetenv("PATH"), path);
}

void TestStartup::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("refused");
    const int window = EarlyRequest::Window;
    QTest::newRow("files") << QStringList{"a.mp4", "b c.mkv"} << window << "";
    QTest::newRow("--help") << QStringList{"a.mp4", "--help"} << int(EarlyRequest::Help) << "";
    QTest::newRow("-h") << QStringList{"-h"} << int(EarlyRequest::Help) << "";
    QTest::newRow("--version") << QStringList{"--version"} << int(EarlyRequest::Version) << "";
    QTest::newRow("an unknown option")
        << QStringList{"a.mp4", "--bogus"} << int(EarlyRequest::Refused) << "--bogus";
    QTest::newRow("toolkit options and their values")
        << QStringList{"-platform", "offscreen", "--style=Fusion", "-reverse", "a.mp4"} << window
        << "";
    QTest::newRow("after --, a file") << QStringList{"--", "-x.mp4"} << window << "";
}

void TestStartup::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, kind);
    QFETCH(QString, refused);
    const EarlyRequest request = readCommandLine(QStringList{"velkoran"} + arguments);
    QCOMPARE(int(request.kind), kind);
    QCOMPARE(request.refused, refused);
    if (arguments.first() == "--")
        QCOMPARE(filesFromCommandLine(QStringList{"velkoran"} + arguments), QStringList{"-x.mp4"});
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
