// SPDX-License-Identifier: GPL-3.0-or-later
#include "spoken.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QWidget>

namespace
{

const char *const noticeName = "spokenNotice";

// The notice is a notification to a screen reader: it reads one out as it
// appears, wherever the focus is.
QAccessibleInterface *noticeFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->objectName() == QLatin1String(noticeName))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

} // namespace

Spoken::Spoken(QWidget *window, QWidget *bar, const QList<QWidget *> &holders)
    : QObject(window), bar(bar)
{
    static const bool installed = [] {
        QAccessible::installFactory(noticeFactory);
        return true;
    }();
    Q_UNUSED(installed);
    for (QWidget *holder : holders)
        this->holders << holder;
    notice = new QWidget(window);
    notice->setObjectName(noticeName);
    notice->setGeometry(0, 0, 0, 0);
    notice->hide();
    flushTimer.setSingleShot(true);
    connect(&flushTimer, &QTimer::timeout, this, &Spoken::flush);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!now || !this->holders.contains(now))
            return;
        focusCame = now;
        sinceFocusCame.start();
        readWithFocus = now->accessibleDescription();
    });
}

QString Spoken::forSpeech(const QString &shown)
{
    QString text = shown;
    // "·" is read as "middle dot"; a comma is a pause.
    text.replace(QStringLiteral(" \u00b7 "), QStringLiteral(", "));
    text.replace(QChar(0x00b7), QChar(u','));
    // Format characters that keep a "%" literal on the bar say nothing.
    text.remove(QChar(0x2060));
    return text.trimmed();
}

void Spoken::barChanged(const QString &shown, bool ended, bool readOut)
{
    // The bar's own description is what it shows, and the main buttons'
    // what is read out ("where am I" there tells it), at once; only the
    // reading out waits.
    if (bar && bar->accessibleDescription() != shown)
        bar->setAccessibleDescription(shown);
    const QString spoken = forSpeech(shown);
    for (const QPointer<QWidget> &holder : holders)
        if (holder && holder->accessibleDescription() != spoken)
            holder->setAccessibleDescription(spoken);
    // The reader reads the focus that has just come with the description as
    // it is once the window's slot is done.
    if (focusCame && sinceFocusCame.isValid() && sinceFocusCame.elapsed() < focusReadMs)
        readWithFocus = spoken;
    if (!readOut)
        return;
    waiting = spoken;
    if (ended || !sinceSent.isValid() || sinceSent.elapsed() >= calmMs) {
        flushTimer.start(0);
        return;
    }
    if (!flushTimer.isActive())
        flushTimer.start(int(calmMs - sinceSent.elapsed()));
}

void Spoken::say(const QString &text)
{
    flushTimer.stop();
    waiting.clear();
    send(forSpeech(text));
}

void Spoken::flush()
{
    if (waiting.isEmpty() || waiting == said)
        return;
    send(waiting);
}

void Spoken::send(const QString &text)
{
    said = text;
    heard << text;
    sinceSent.start();
    // What was read out with the focus that came to a main button is not
    // read out again while the focus stays there.
    if (focusCame && focusCame == QApplication::focusWidget() && text == readWithFocus)
        return;
    // The notice appearing is what is read out.
    if (notice) {
        notice->hide();
        notice->setAccessibleName(text);
        notice->show();
    }
}
