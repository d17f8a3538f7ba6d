// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef QUEUERUNNER_H
#define QUEUERUNNER_H

#include <QObject>
#include <QStringList>

#include <functional>

#include "encodepreflight.h"
#include "encoderjob.h"
#include "queue.h"

// Drives a queue of files with the one job: asks before each file what
// the preflight asks, starts it, takes its end, and tells the end of all.
class QueueRunner : public QObject
{
    Q_OBJECT

public:
    QueueRunner(QWidget *window, EncoderJob &job, EncodePreflight &preflight);

    // What the runner asks of the window.
    std::function<void(const EncodeQueue::Entry &)> show; // the file in the fields
    std::function<QStringList(const QString &)> words;    // the command's words for an output
    std::function<bool(const QString &, bool)> encode;    // start it (output, restart)
    std::function<QString()> program;                     // the encoder chosen
    std::function<void(bool started)> running;            // the queue starts or ends

    // Plans INPUTS into DIR and starts the first; false when something
    // stands in the way (said in a box) or there is nothing to do.
    bool start(const QStringList &inputs, const QString &dir);
    // Starts the next file that is not skipped on the way, or ends the queue.
    void advance();
    // The job of the current file ended.
    void fileEnded(EncoderJob::Kind kind, EncoderJob::Outcome outcome);

    EncodeQueue queue;
    bool closing = false;

private:
    void end();

    QWidget *window;
    EncoderJob &job;
    EncodePreflight &preflight;
};

// Tells the desktop's notification service SUMMARY and BODY; nothing where there is none.
void notifyDesktop(const QString &summary, const QString &body);

#endif
