// SPDX-License-Identifier: GPL-3.0-or-later
#include "queuerunner.h"

#include <QAbstractButton>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMessageBox>
#include <QTimer>
#include <QVariantMap>
#include <QWidget>

#include "jobreport.h"

namespace
{
const char *const boxTitle = "Velkoran Theora Encoder";
} // namespace

QueueRunner::QueueRunner(QWidget *window, EncoderJob &job, EncodePreflight &preflight)
    : QObject(window), window(window), job(job), preflight(preflight)
{
}

bool QueueRunner::start(const QStringList &inputs, const QString &dir)
{
    queue.plan(inputs, dir);
    const QString clash = queue.clash();
    if (!clash.isEmpty()) {
        QMessageBox::critical(window, boxTitle, clash);
        return false;
    }
    queue.start();
    running(true);
    advance();
    return true;
}

void QueueRunner::advance()
{
    while (queue.active() && !job.running() && !closing) {
        const int i = queue.next();
        if (i < 0) {
            end();
            return;
        }
        const EncodeQueue::Entry file = queue.entries().at(i);
        show(file);
        const EncodePreflight::Answer answer =
            preflight.ask(program(), file.input, file.output, words(file.output), &queue);
        using Answer = EncodePreflight::Answer;
        if (answer == Answer::Skip || answer == Answer::Stop) {
            if (queue.entries().at(i).state == EncodeQueue::State::Waiting)
                queue.finish(answer == Answer::Stop ? EncodeQueue::State::Failed
                                                    : EncodeQueue::State::Skipped,
                             preflight.reason());
            if (answer == Answer::Stop)
                queue.skipRest(EncodeQueue::tr("the queue was stopped"));
            continue;
        }
        queue.startClock();
        encode(file.output, answer == Answer::Restart);
    }
}

void QueueRunner::fileEnded(EncoderJob::Kind kind, EncoderJob::Outcome outcome)
{
    using Outcome = EncoderJob::Outcome;
    if (kind != EncoderJob::Kind::Encode || !queue.active() || queue.current() < 0 || closing)
        return;
    switch (outcome) {
    case Outcome::Encoded:
        queue.finish(EncodeQueue::State::Encoded);
        break;
    case Outcome::Cancelled:
        queue.finish(EncodeQueue::State::Skipped, EncodeQueue::tr("cancelled"));
        if (queue.waiting() > 0 &&
            QMessageBox::question(window, boxTitle, EncodeQueue::dropQuestion(queue.waiting()),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::Yes) == QMessageBox::Yes)
            queue.skipRest(EncodeQueue::tr("the queue was stopped"));
        break;
    case Outcome::NotStarted:
    case Outcome::NoTempDir:
        // Each file after it would fail alike.
        queue.finish(EncodeQueue::State::Failed, job.errorString());
        queue.skipRest(EncodeQueue::tr("the queue was stopped"));
        break;
    default:
        queue.finish(EncodeQueue::State::Failed); // its reason is noted already
        break;
    }
    QTimer::singleShot(0, this, &QueueRunner::advance);
}

void QueueRunner::end()
{
    running(false);
    if (!window->isActiveWindow())
        notifyDesktop(EncodeQueue::tr("The queue is done"), queue.counts());
    const bool failed = queue.count(EncodeQueue::State::Failed) > 0;
    QMessageBox box(failed ? QMessageBox::Warning : QMessageBox::Information, boxTitle,
                    queue.summary(), QMessageBox::Ok, window);
    // A long summary scrolls inside the box, which stays on the screen.
    if (queue.entries().size() > 8) {
        box.setText(queue.summary().section(u'\n', 0, 0));
        box.setDetailedText(queue.summary());
        for (QAbstractButton *button : box.buttons()) {
            if (box.buttonRole(button) == QMessageBox::ActionRole)
                button->click(); // the details open at once
        }
    }
    box.exec();
}

void notifyDesktop(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QCoreApplication::translate("Velkoran", "Velkoran Theora Encoder") << 0u
           << QStringLiteral("org.velkoran.TheoraEncoder") << summary << body << QStringList()
           << QVariantMap() << -1;
    // Sent without waiting: a desktop without the service answers with an
    // error nobody needs to read.
    bus.send(notify);
}
