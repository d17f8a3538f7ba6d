// SPDX-License-Identifier: GPL-3.0-or-later
#include "inputchooser.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMessageBox>
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

bool InputChooser::takeDrop(QDropEvent *event, QWidget *window, bool busy, bool quiet,
                            const std::function<void(const QStringList &)> &choose)
{
    QStringList leftOut;
    const QStringList paths = localFiles(event->mimeData(), &leftOut);
    if (paths.isEmpty() && leftOut.isEmpty())
        return false;
    const Qt::DropActions possible = event->possibleActions();
    const Qt::DropAction action = possible.testFlag(Qt::CopyAction)   ? Qt::CopyAction
                                  : possible.testFlag(Qt::LinkAction) ? Qt::LinkAction
                                                                      : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction || busy) {
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::Drop) {
        event->setDropAction(action);
        event->accept();
        return true;
    }
    if (!leftOut.isEmpty() && !quiet) {
        // Said, with what it left out; the files it holds are taken.
        auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Velkoran Theora Encoder"),
                                    leftOutText(leftOut), QMessageBox::Ok, window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    if (paths.isEmpty()) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return true;
    }
    choose(paths);
    event->setDropAction(action);
    event->accept();
    return true;
}
