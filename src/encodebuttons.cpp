// SPDX-License-Identifier: GPL-3.0-or-later
#include "encodebuttons.h"

#include <QPushButton>

void EncodeButtons::showRunning(QPushButton *encode, QPushButton *cancel)
{
    QWidget *focus = encode->window()->focusWidget();
    cancel->setEnabled(true);
    if (focus == encode)
        cancel->setFocus(Qt::OtherFocusReason);
    encode->setEnabled(false);
}

void EncodeButtons::showIdle(QPushButton *encode, QPushButton *cancel, bool queued)
{
    if (queued) {
        encode->setEnabled(false); // until the queue ends
        cancel->setEnabled(false);
        return;
    }
    QWidget *focus = encode->window()->focusWidget();
    encode->setEnabled(true);
    if (!focus || focus == cancel || focus == encode)
        encode->setFocus(Qt::OtherFocusReason);
    cancel->setEnabled(false);
}

void EncodeButtons::lock(std::initializer_list<QWidget *> widgets, bool locked)
{
    for (QWidget *w : widgets)
        w->setEnabled(!locked);
}
