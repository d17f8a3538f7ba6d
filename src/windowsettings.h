// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef WINDOWSETTINGS_H
#define WINDOWSETTINGS_H

#include <QString>

class EncodeSettings;
class QLineEdit;
class QWidget;

// What the window keeps between runs in its settings file: the form's
// settings, the output directory the user chose and the window's size. Read
// at the start; written when an encode starts and when the window closes.
class WindowSettings
{
public:
    WindowSettings(QWidget *window, EncodeSettings &form, QLineEdit *input, QLineEdit *outputDir);

    static QString file();
    void save();
    void load();
    // The form's first values, and no output directory of its own.
    void reset();

    QString chosenDir;     // the output directory the user chose, kept between runs
    QString rememberedDir; // the one kept from an earlier run

private:
    QWidget *window;
    EncodeSettings &form;
    QLineEdit *input;
    QLineEdit *outputDir;
};

#endif
