// SPDX-License-Identifier: GPL-3.0-or-later
// The window's queue of input files: how the queue runner shows each file,
// starts its encode and gives the form back when the queue ends.
#include "velkoran.h"

#include <QFileInfo>

#include "encodebuttons.h"
#include "forecast.h"

void Velkoran::setupQueue()
{
    runner = new QueueRunner(this, job, preflight);
    runner->show = [this](const EncodeQueue::Entry &file) {
        const QFileInfo output(file.output);
        setInputText(file.input);
        ui.openDirectoryLineEdit->setText(output.path() + u'/');
        ui.outputFileNameLineEdit->setText(output.fileName());
        // Nothing of the last file stays on the bar while this one is asked about.
        resetProgress();
        bar->setFormat(runner->queue.barText(0, 0));
    };
    runner->words = [this](const QString &output) { return commandWords(output); };
    runner->encode = [this](const QString &output, bool restart) {
        if (!encodeForm(output, restart))
            return false;
        bar->setFormat(runner->queue.barText(0, 0));
        return true;
    };
    runner->program = [this] { return encoderChoice(); };
    runner->running = [this](bool started) {
        lockOutput(started);
        if (started)
            return forecast->stop(); // the queue's forecast was for before its start
        if (fields.queuedInputs.size() > 1) {
            setInputText(fields.queuedInputs.first());
            ui.outputFileNameLineEdit->setText(
                EncodeQueue::outputName(fields.queuedInputs.first()));
        }
        showIdle();
        bar->setFormat(runner->queue.counts());
    };
    connect(&job, &EncoderJob::ended, runner, &QueueRunner::fileEnded);
}

// While a queue runs, what it reads for each file stays as it was.
void Velkoran::lockOutput(bool locked)
{
    EncodeButtons::lock({ui.openDirectoryLineEdit, ui.openDirectoryButton, ui.openFileNameLineEdit,
                         ui.openFileNameButton},
                        locked);
}
