// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef JOBSTORY_H
#define JOBSTORY_H

#include <QCoreApplication>
#include <QString>

#include "encoderjob.h"

class EncodeQueue;
class ProgressView;
class QWidget;

// How a job's end is told: on the bar, in a box over WINDOW, or, while a
// queue runs, in the queue's summary.
class JobStory
{
    Q_DECLARE_TR_FUNCTIONS(Velkoran)

public:
    JobStory(QWidget *window, EncoderJob &job, EncodeQueue &queue, const bool &closing)
        : window(window), job(job), queue(queue), closing(closing)
    {
    }
    ProgressView *bar = nullptr;

    // The job could not start (OUTCOME NotStarted or NoTempDir) with PROGRAM.
    void notStarted(EncoderJob::Outcome outcome, const QString &program);
    // The bar's last words of an encode that ended in OUTCOME, and a box when it failed.
    void encodeEnded(EncoderJob::Outcome outcome);
    // The bar after a probe that ended in OUTCOME, and a box when it failed;
    // ASKED: it was still waiting for the length.
    void probeEnded(EncoderJob::Outcome outcome, bool asked);
    // WHAT failed, with the encoder's last lines.
    void reportFailure(const QString &what);
    // A known PHRASE the encoder wrote, in its LINE; a box beside the running job.
    void showPhrase(const QString &phrase, const QString &line);

    // The encoder's lines TEXT in the window's words: what it says to do on
    // the command line becomes what to do in the window.
    static QString windowWords(const QString &text);

private:
    QWidget *window;
    EncoderJob &job;
    EncodeQueue &queue;
    const bool &closing;
};

#endif
