// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTranslator>

QStringList catalogueDirectories(const QString &programDir)
{
    return {programDir + QStringLiteral("/translations"),
            QDir::cleanPath(programDir + QStringLiteral("/../") +
                            QStringLiteral(VELKORAN_TRANSLATIONS_SUBDIR))};
}

bool loadCatalogue(QTranslator &translator, const QString &locale, const QString &programDir)
{
    const QString name = QStringLiteral("velkoran_") + locale;
    if (translator.load(name, QString(), QString(), QString()))
        return true;
    for (const QString &dir : catalogueDirectories(programDir)) {
        if (translator.load(name, dir, QString(), QString()))
            return true;
    }
    return false;
}

bool loadToolkitCatalogue(QTranslator &translator, const QString &locale)
{
    return translator.load(QStringLiteral("qtbase_") + locale,
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool loadCatalogues(QTranslator &ours, QTranslator &toolkit, const QString &locale,
                    const QString &programDir)
{
    if (!loadCatalogue(ours, locale, programDir))
        return false;
    loadToolkitCatalogue(toolkit, locale);
    return true;
}

void installCatalogues(QTranslator &toolkit, QTranslator &ours)
{
    QCoreApplication::installTranslator(&toolkit);
    QCoreApplication::installTranslator(&ours);
}

QString bundledEncoder(const QString &programDir)
{
    const QStringList candidates = {programDir + QStringLiteral("/ffmpeg2theora"),
                                    QDir::cleanPath(programDir + QStringLiteral("/../") +
                                                    QStringLiteral(VELKORAN_LIBEXEC_SUBDIR) +
                                                    QStringLiteral("/ffmpeg2theora"))};
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return QString();
}

// Any version of ours: the name says whose it is (see velkoran_version.h).
bool isOurEncoder(const QString &program)
{
    QProcess p;
    p.start(program, {QStringLiteral("--version")});
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 &&
           p.readAllStandardOutput().startsWith("ffmpeg2theora (Velkoran Theora Encoder) ");
}

EncoderChoice chooseEncoder(const QString &programDir)
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("ffmpeg2theora"));
    const QString bundled = bundledEncoder(programDir);
    if (bundled.isEmpty()) {
        if (onPath.isEmpty())
            return {QString(), QStringLiteral("none installed with the window, none on PATH")};
        return {onPath, QStringLiteral("none installed with the window; found on PATH")};
    }
    if (!onPath.isEmpty()) {
        if (QFileInfo(onPath).canonicalFilePath() == QFileInfo(bundled).canonicalFilePath())
            return {bundled, QStringLiteral("installed with the window")};
        if (isOurEncoder(onPath))
            return {onPath, QStringLiteral("found first on PATH and answers --version as ours")};
    }
    QByteArray path = QFile::encodeName(QFileInfo(bundled).absolutePath());
    const QByteArray oldPath = qgetenv("PATH");
    if (!oldPath.isEmpty())
        path += ':' + oldPath;
    qputenv("PATH", path);
    if (onPath.isEmpty())
        return {bundled, QStringLiteral("installed with the window")};
    return {bundled,
            QStringLiteral("installed with the window; %1 on PATH is another program").arg(onPath)};
}

namespace
{
// The toolkit's options (Qt Gui and Widgets, and the X11 platform's), by
// whether a value follows them; "-name=value" is taken as well, and so is
// "--name".
const QStringList toolkitOptionsWithValue = {QStringLiteral("platform"),
                                             QStringLiteral("platformpluginpath"),
                                             QStringLiteral("platformtheme"),
                                             QStringLiteral("plugin"),
                                             QStringLiteral("qwindowgeometry"),
                                             QStringLiteral("qwindowicon"),
                                             QStringLiteral("qwindowtitle"),
                                             QStringLiteral("session"),
                                             QStringLiteral("display"),
                                             QStringLiteral("geometry"),
                                             QStringLiteral("style"),
                                             QStringLiteral("stylesheet"),
                                             QStringLiteral("name"),
                                             QStringLiteral("title"),
                                             QStringLiteral("visual"),
                                             QStringLiteral("fontengine")};
const QStringList toolkitFlags = {QStringLiteral("reverse"),      QStringLiteral("widgetcount"),
                                  QStringLiteral("nograb"),       QStringLiteral("dograb"),
                                  QStringLiteral("sync"),         QStringLiteral("testability"),
                                  QStringLiteral("qmljsdebugger")};
} // namespace

EarlyRequest readCommandLine(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("--version"))
            return {EarlyRequest::Version, QString()};
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return {EarlyRequest::Help, QString()};
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
            continue;
        QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool valueGiven = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (toolkitOptionsWithValue.contains(name)) {
            if (!valueGiven)
                ++i;
        } else if (!toolkitFlags.contains(name)) {
            return {EarlyRequest::Refused, argument};
        }
    }
    return {};
}

QStringList filesFromCommandLine(QStringList arguments)
{
    const int end = arguments.indexOf(QStringLiteral("--"));
    if (end > 0)
        arguments.removeAt(end);
    return arguments.mid(1);
}

QString usageText()
{
    return QCoreApplication::translate(
        "Usage",
        "Usage: velkoran [OPTION]... [FILE]...\n"
        "Opens the window of the Velkoran Theora Encoder, which converts videos to Ogg Theora.\n"
        "Each FILE is a video to encode; several are encoded one after another.\n"
        "\n"
        "  -h, --help          show this help and exit\n"
        "      --version       show the version and the license and exit\n"
        "      --              what follows are files, even when they begin with a dash\n"
        "\n"
        "The toolkit's own options are accepted as well, among them:\n"
        "  -platform NAME      the window system to use (xcb, wayland, offscreen)\n"
        "  -style NAME         the style of the widgets (Fusion, Windows)\n"
        "  -reverse            lay the window out from right to left\n"
        "\n"
        "Exit status: 0 when the window was closed, 2 for an unknown option.\n"
        "The manual page (man velkoran) tells more.\n");
}

QString refusalText(const QString &option)
{
    return QCoreApplication::translate("Usage", "velkoran: unknown option \"%1\"; velkoran --help "
                                                "lists the options\n")
        .arg(option);
}
