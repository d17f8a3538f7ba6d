// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FORMNAMES_H
#define FORMNAMES_H

#include <QCoreApplication>
#include <QString>

#include <functional>

#include "ui_velkoran.h"

// What a screen reader hears of each control of the window's form.
class FormNames
{
    Q_DECLARE_TR_FUNCTIONS(Velkoran)

public:
    // Every control of UI in WINDOW says what it is to a screen reader: a
    // label is tied to its field, and a control with no label beside it gets
    // a name of its own. A combo box's new choice is given to SAY.
    static void nameControls(QWidget *window, Ui::Velkoran &ui,
                             const std::function<void(const QString &)> &say);
};

#endif
