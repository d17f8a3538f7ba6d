// SPDX-License-Identifier: GPL-3.0-or-later
#include "inputfields.h"

#include <QFileInfo>

#include "inputchooser.h"
#include "queue.h"

void InputFields::setInputText(const QString &path)
{
    settingInput = true;
    ui.openFileNameLineEdit->setText(path);
    settingInput = false;
}

void InputFields::chooseInputFile(const QString &path)
{
    newInput();
    setInputText(path);
    proposeOutput(path);
    ui.getDurationpushButton->setEnabled(true);
    setQueue({});
}

void InputFields::setQueue(const QStringList &paths)
{
    const bool wasQueued = !queuedInputs.isEmpty();
    queuedInputs = paths.size() > 1 ? paths : QStringList();
    const bool queued = !queuedInputs.isEmpty();
    if (!queued && !wasQueued)
        return;
    ui.outputFileNameLineEdit->setEnabled(!queued);
    ui.openFileNameLineEdit->setToolTip(queuedInputs.join(u'\n'));
    if (queued) {
        ui.outputFileNameLineEdit->setText(EncodeQueue::outputName(paths.first()));
        ui.getDurationpushButton->setEnabled(false);
    }
    queueChanged(int(queuedInputs.size()));
}

void InputFields::proposeOutput(const QString &input)
{
    // A directory kept from an earlier run stays until the user chooses another.
    const QString kept = keptDir ? keptDir() : QString();
    const bool keepDir = !kept.isEmpty() && ui.openDirectoryLineEdit->text() == kept;
    proposedDir = keepDir ? kept : InputChooser::proposedDir(input);
    proposedName = EncodeQueue::outputName(input);
    ui.openDirectoryLineEdit->setText(proposedDir);
    ui.outputFileNameLineEdit->setText(proposedName);
}

void InputFields::inputChanged(const QString &typed)
{
    newInput();
    const QString path = InputChooser::bare(typed);
    if (path != typed)
        setInputText(path);
    const bool file = QFileInfo(path).isFile();
    // Output fields the user has not changed follow the new input.
    if (file && ui.openDirectoryLineEdit->text() == proposedDir &&
        ui.outputFileNameLineEdit->text() == proposedName)
        proposeOutput(path);
    ui.getDurationpushButton->setEnabled(file);
    setQueue({});
}
