// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
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

QString useBundledEncoderIfMissing(const QString &programDir)
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("ffmpeg2theora"));
    if (!onPath.isEmpty())
        return onPath;
    const QString bundled = bundledEncoder(programDir);
    if (bundled.isEmpty())
        return QString();
    QByteArray path = QFile::encodeName(QFileInfo(bundled).absolutePath());
    const QByteArray oldPath = qgetenv("PATH");
    if (!oldPath.isEmpty())
        path += ':' + oldPath;
    qputenv("PATH", path);
    return bundled;
}
