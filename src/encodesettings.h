// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef ENCODESETTINGS_H
#define ENCODESETTINGS_H

#include <QCoreApplication>
#include <QStringList>

#include <QVariantMap>
#include <functional>

class QLabel;
class QSettings;
class QSlider;
class QWidget;

// One option of the form: the widget that holds it, what it gives the
// encoder, the label that names it, and under which key it is kept between
// runs. Adding an option to the window is one row of formOptions().
struct FormOption {
    enum class Kind {
        Text,  // a line edit: the fragment and the text, when it holds any
        Flag,  // a combo box: the fragment alone, when its index is 1
        Number // a spin box: the fragment and its text, always
    };
    enum class Group { Metadata, Picture };

    const char *widget; // the widget's object name
    Kind kind;
    Group group;
    const char *fragment; // the option text, with a blank on each side
    const char *label;    // the object name of the label beside it
    const char *heard;    // a name of its own for a screen reader (context "Velkoran"),
                          // or null: the label's words
    const char *key;      // its settings key, or null: it belongs to one file only
    bool inPresets;       // part of a preset (an encoding setting, not a person's)
};

// Every option of the form in the order the encoder gets them: the metadata
// group, then the picture, sound and time group.
const QList<FormOption> &formOptions();

// The form's options read from and written to its widgets, through the table.
// It knows the option groups of the command and what is kept between runs.
class EncodeSettings
{
    Q_DECLARE_TR_FUNCTIONS(EncodeSettings)

public:
    explicit EncodeSettings(QWidget *window);

    // The fragments of GROUP, each value as one quoted word (the command text's pieces).
    QStringList fragments(FormOption::Group group) const;
    // The same as words, one argument each.
    QStringList arguments(FormOption::Group group) const;
    // The quality option of a stream: " --audioquality " and the label's text,
    // or the bit rate, as fragments.
    QStringList quality(bool audio) const;

    // Why the form cannot be encoded as it stands (sound and video both left
    // out), or an empty string.
    QString refusal() const;

    // What is kept between runs: every saved option and the quality, by key.
    // PRESETONLY: only what a preset holds.
    QVariantMap values(bool presetOnly = false) const;
    // Gives the form VALUES; a key it does not know or a value out of range is
    // left out and named in the list returned, the others apply.
    QStringList apply(const QVariantMap &values);
    // The form's first values for everything values() holds.
    static QVariantMap defaults();

    // Kept between runs in SETTINGS (group "form"), and read back.
    void save(QSettings &settings) const;
    QStringList load(QSettings &settings);

    // A quality slider's range and start in MODE (0 quality, 1 bit rate), with its label.
    static void enterQualityMode(QSlider *slider, QLabel *label, int mode, bool audio);
    // A quality slider's VALUE in its label: tenths in quality mode, kbit/s in bit rate mode.
    static void showQuality(QLabel *label, int mode, int value);

private:
    // Calls TAKE for each option of GROUP that the form sets, with its value
    // (none for a flag), in the table's order.
    void eachChosen(FormOption::Group group,
                    const std::function<void(const FormOption &, const QString *)> &take) const;
    QWidget *widget(const char *name) const;
    QWidget *window;
};

#endif
