// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef INPUTFIELDS_H
#define INPUTFIELDS_H

#include <QStringList>

#include <functional>

#include "ui_velkoran.h"

// The input and output fields of the form: a new input, however it came,
// the output proposed for it, and the queue of several inputs.
class InputFields
{
public:
    explicit InputFields(Ui::Velkoran &ui) : ui(ui) {}

    // Told first of every new input: what was measured of the last one goes.
    std::function<void()> newInput;
    // The queue changed; COUNT files are queued now (0: one file).
    std::function<void(int count)> queueChanged;
    // The output directory kept from an earlier run, if any.
    std::function<QString()> keptDir;

    // Sets the input field without taking it as a new input.
    void setInputText(const QString &path);
    // PATH becomes the input file, exactly as if it had been chosen with "Browse Files".
    void chooseInputFile(const QString &path);
    // A queue of several files shows its first file, the note of how many
    // follow, and no trim range or output name of its own (they belong to one
    // file). One file shows nothing of a queue.
    void setQueue(const QStringList &paths);
    // The output directory and name for INPUT: its own directory (unless the
    // user chose one), and its name with only the last extension replaced.
    void proposeOutput(const QString &input);
    // The input field's text changed to TYPED, not by the window itself.
    void inputChanged(const QString &typed);

    bool settingInput = false; // the window itself sets the input field
    QStringList queuedInputs;  // as chosen; empty for one file

private:
    Ui::Velkoran &ui;
    QString proposedDir;  // the output directory and name proposed for the input,
    QString proposedName; // which a new input may replace
};

#endif
