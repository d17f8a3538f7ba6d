// SPDX-License-Identifier: GPL-3.0-or-later
// The window's events: the question before it closes while an encode runs,
// and files dropped on it or on its text fields.
#include "velkoran.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>

#include "inputchooser.h"

namespace
{

const char *const boxTitle = "Velkoran Theora Encoder";

} // namespace

void Velkoran::closeEvent(QCloseEvent *event)
{
    if (job.kind() == EncoderJob::Kind::Encode) {
        const QMessageBox::StandardButton answer = QMessageBox::question(
            this, boxTitle,
            tr("An encode is still running.\n\nWhat is already encoded in finished "
               "chunks is kept, and Encode with the same settings resumes it."
               "\n\nStop it and quit?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            event->ignore();
            return;
        }
    }
    saveSettings();
    closing = true;
    runner->closing = true;
    job.stopAndWait();
    event->accept();
}

bool Velkoran::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (takeDrop(drop))
            return true;
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Velkoran::takeDrop(QDropEvent *event)
{
    return InputChooser::takeDrop(event, this, runner->queue.active(), closing,
                                  [this](const QStringList &paths) { chooseInputFiles(paths); });
}

void Velkoran::dragEnterEvent(QDragEnterEvent *event)
{
    takeDrop(event);
}

void Velkoran::dropEvent(QDropEvent *event)
{
    takeDrop(event);
}
