// SPDX-License-Identifier: GPL-3.0-or-later
#include "progressview.h"

#include "spoken.h"

#include <QAccessible>
#include <QEvent>
#include <QFontMetrics>
#include <QProgressBar>
#include <QStyleOptionProgressBar>
#include <QStylePainter>

namespace
{
const QString dot = QStringLiteral(" \u00b7 ");
} // namespace

ProgressView::ProgressView(QProgressBar *bar) : QObject(bar), bar(bar)
{
    bar->installEventFilter(this); // a busy bar with words
    connect(bar, &QProgressBar::valueChanged, this, &ProgressView::announce);
}

void ProgressView::reset()
{
    lengthUnknown = false;
    busy.clear();
    startShare = -1;
    bar->setRange(0, 100);
    bar->setValue(0);
    setFormat(QStringLiteral("%p%"));
}

void ProgressView::setFormat(const QString &format)
{
    bar->setFormat(format);
    announce();
}

void ProgressView::showBusy(const QString &text)
{
    bar->setRange(0, 0);
    setBusyText(text);
}

void ProgressView::setBusyText(const QString &text)
{
    busy = text;
    bar->update();
    announce();
}

bool ProgressView::busyBar() const
{
    return bar->maximum() <= 0;
}

void ProgressView::startAt(int percent)
{
    if (percent <= 0)
        return;
    startShare = percent;
    bar->setRange(0, 100);
    bar->setValue(percent);
}

void ProgressView::keepStartShare()
{
    if (startShare < 0 || bar->maximum() <= 0)
        return;
    bar->setValue(bar->maximum() * startShare / 100);
    startShare = -1;
}

void ProgressView::showKept(const QString &ending, int percent)
{
    bar->setRange(0, 100);
    bar->setValue(percent);
    setFormat(ending + dot +
              QCoreApplication::translate("Velkoran", "%1 % kept, Encode resumes it").arg(percent));
}

void ProgressView::showFailed(const QString &why)
{
    const QString failed =
        why.isEmpty() ? QCoreApplication::translate("Velkoran", "Failed")
                      : QCoreApplication::translate("Velkoran", "Failed") + dot + literal(why);
    if (busyBar()) {
        const QString reached = busy;
        bar->setRange(0, 100);
        bar->setValue(0);
        setFormat(reached.isEmpty() ? failed : literal(reached) + dot + failed);
        return;
    }
    setFormat(QStringLiteral("%p%") + dot + failed);
}

void ProgressView::showDone(const QString &name, const QString &note)
{
    if (busyBar())
        bar->setMaximum(100);
    bar->setValue(bar->maximum());
    const QString done = QCoreApplication::translate("Velkoran", "Done \u00b7 %1");
    const QString extra = note.isEmpty() ? QString() : dot + note;
    setFormat(done.arg(literal(fitted(name, done.arg(QString()) + extra))) + literal(extra));
}

void ProgressView::showCancelled(bool partialFileLeft)
{
    // An empty bar: a filled part would read as work done.
    if (busyBar())
        bar->setMaximum(100);
    bar->setValue(0);
    setFormat(partialFileLeft
                  ? QCoreApplication::translate("Velkoran", "Cancelled · a partial file remains")
                  : QCoreApplication::translate("Velkoran", "Cancelled"));
}

QString ProgressView::literal(const QString &text)
{
    QString format = text;
    return format.replace(u'%', QStringLiteral("%\u2060"));
}

QString ProgressView::fitted(const QString &name, const QString &around) const
{
    const QFontMetrics metrics(bar->font());
    const int room =
        bar->width() - metrics.horizontalAdvance(around) - 4 * metrics.averageCharWidth();
    return metrics.elidedText(name, Qt::ElideMiddle,
                              std::max(room, 8 * metrics.averageCharWidth()));
}

void ProgressView::setSpoken(Spoken *to, std::function<bool()> running)
{
    spoken = to;
    jobRunning = std::move(running);
}

void ProgressView::announce()
{
    if (!spoken)
        return;
    const bool idle = !jobRunning || !jobRunning();
    const bool empty = idle && bar->format() == QStringLiteral("%p%") && bar->value() <= 0;
    spoken->barChanged(busyBar() ? busy : bar->text(), idle, !empty);
}

bool ProgressView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bar && event->type() == QEvent::Paint && busyBar() && !busy.isEmpty()) {
        paintBusy();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// The style draws no text on a busy bar; this one says how far the job got.
void ProgressView::paintBusy()
{
    QStylePainter painter(bar);
    QStyleOptionProgressBar option;
    option.initFrom(bar);
    option.minimum = 0;
    option.maximum = 0;
    option.progress = 0;
    option.textAlignment = bar->alignment();
    option.textVisible = true;
    option.text = busy;
    option.state |= QStyle::State_Horizontal;
    painter.drawControl(QStyle::CE_ProgressBar, option);
}
