// SPDX-License-Identifier: GPL-3.0-or-later
#include "inputchooser.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

QStringList InputChooser::localFiles(const QMimeData *mime, QStringList *leftOut)
{
    if (!mime || !mime->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl &url : mime->urls()) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (!path.isEmpty() && QFileInfo(path).isFile())
            paths << path;
        else if (leftOut)
            leftOut->append(path.isEmpty() ? url.toDisplayString() : path);
    }
    return paths;
}

QString InputChooser::leftOutText(const QStringList &leftOut)
{
    if (leftOut.isEmpty())
        return QString();
    return QCoreApplication::translate(
               "Velkoran", "Only files on this computer can be encoded, not folders or web "
                           "addresses. Left out:\n%1")
        .arg(leftOut.join(u'\n'));
}

QString InputChooser::bare(const QString &path)
{
    if (QFileInfo(path).isFile())
        return path;
    QString trimmed = path;
    while (!trimmed.isEmpty() && trimmed.back().isSpace())
        trimmed.chop(1);
    return trimmed != path && QFileInfo(trimmed).isFile() ? trimmed : path;
}

QString InputChooser::proposedDir(const QString &input)
{
    return QFileInfo(input).path() + u'/';
}
