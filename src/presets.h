// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef PRESETS_H
#define PRESETS_H

#include <QList>
#include <QString>
#include <QVariantMap>
#include <QWidget>

class EncodeSettings;
class QComboBox;
class QLabel;
class QPushButton;

// A named set of the encoding settings: a few built in, each with a line that
// says when to use it, and the user's own, one small text file each in the
// settings directory, which can be copied to another computer.
struct Preset {
    QString name;
    QString description;
    QVariantMap values; // as EncodeSettings::values(true) gives them
    bool builtIn = false;
};

namespace Presets
{
QList<Preset> builtIns();
// Where the user's presets are kept.
QString directory();
// The built-in presets, then the user's, by name.
QList<Preset> all();
// Keeps VALUES as the user's preset NAME, replacing one of that name; false
// when it cannot be written.
bool save(const QString &name, const QVariantMap &values);
// Deletes the user's preset NAME.
bool remove(const QString &name);
} // namespace Presets

// The row of the Encode page that picks, applies, saves and deletes presets.
class PresetBar : public QWidget
{
    Q_OBJECT

public:
    PresetBar(QWidget *parent, EncodeSettings &settings);

    // Applies the preset NAME to the form; false when there is none.
    bool apply(const QString &name);
    // Keeps the form's settings as NAME.
    bool save(const QString &name);
    bool remove(const QString &name);
    QStringList names() const;

signals:
    // "Reset to defaults" was pressed.
    void resetAsked();

private:
    void fill(const QString &current = QString());
    void showDescription();
    void askAndSave();

    EncodeSettings &settings;
    QComboBox *box;
    QLabel *description;
    QPushButton *applyButton, *saveButton, *deleteButton, *resetButton;
};

#endif
