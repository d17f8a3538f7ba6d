// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue.h"

#include <QDir>
#include <QFileInfo>

#include "commandline.h"
#include "timeleft.h"

namespace
{

// One path for one place, however it was written.
QString cleanPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool samePlace(const QString &a, const QString &b)
{
    return cleanPath(a) == cleanPath(b) || sameExistingFile(a, b);
}

QString nameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

QString EncodeQueue::outputName(const QString &input)
{
    return QFileInfo(input).completeBaseName() + QStringLiteral(".ogg");
}

QString EncodeQueue::outputFor(const QString &dir, const QString &input)
{
    return outputPath(dir, outputName(input));
}

void EncodeQueue::plan(const QStringList &inputs, const QString &dir, const QString &name)
{
    list.clear();
    for (const QString &input : inputs) {
        Entry e;
        e.input = input;
        e.output = inputs.size() == 1 ? outputPath(dir, name) : outputFor(dir, input);
        e.bytes = QFileInfo(input).size();
        list << e;
    }
    at = -1;
    running = false;
    replaceAll = false;
}

QString EncodeQueue::clash() const
{
    for (const Entry &in : list) {
        for (const Entry &out : list) {
            if (samePlace(in.input, out.output))
                return tr("The encode of %1 would replace %2, which is in the queue too.")
                    .arg(nameOf(out.input), in.input);
        }
    }
    for (int i = 0; i < list.size(); ++i) {
        for (int j = i + 1; j < list.size(); ++j) {
            if (samePlace(list[i].output, list[j].output))
                return tr("%1 and %2 would both be encoded to %3.\n\nPlease encode one of them on "
                          "its own, with a name of its own.")
                    .arg(list[i].input, list[j].input, list[i].output);
        }
    }
    return QString();
}

void EncodeQueue::start()
{
    for (Entry &e : list) {
        e.state = State::Waiting;
        e.reason.clear();
        e.ms = 0;
        e.warning.clear();
    }
    at = -1;
    running = !list.isEmpty();
    replaceAll = false;
}

int EncodeQueue::next()
{
    at = -1;
    for (int i = 0; running && i < list.size(); ++i) {
        if (list[i].state == State::Waiting) {
            at = i;
            clock.invalidate(); // until its encode starts: a question's wait is no encoding
            return at;
        }
    }
    running = false;
    return -1;
}

void EncodeQueue::startClock()
{
    clock.start();
}

void EncodeQueue::resume(int percent)
{
    if (at >= 0)
        list[at].resumed = qBound(0, percent, 99);
}

void EncodeQueue::noteReason(const QString &reason)
{
    if (at >= 0 && list[at].reason.isEmpty())
        list[at].reason = reason;
}

void EncodeQueue::noteWarning(const QString &warning)
{
    if (at >= 0)
        list[at].warning = warning;
}

void EncodeQueue::finish(State state, const QString &reason, qint64 ms)
{
    if (at < 0)
        return;
    Entry &e = list[at];
    e.state = state;
    if (state == State::Encoded)
        e.reason.clear(); // an error it got over is no news
    else if (!reason.isEmpty())
        e.reason = reason;
    e.ms = ms >= 0 ? ms : clock.isValid() ? clock.elapsed() : 0;
}

void EncodeQueue::skipRest(const QString &reason)
{
    for (Entry &e : list) {
        if (e.state == State::Waiting) {
            e.state = State::Skipped;
            e.reason = reason;
        }
    }
}

int EncodeQueue::waiting() const
{
    int n = 0;
    for (int i = 0; i < list.size(); ++i)
        n += i != at && list[i].state == State::Waiting;
    return n;
}

int EncodeQueue::count(State state) const
{
    int n = 0;
    for (const Entry &e : list)
        n += e.state == state;
    return n;
}

qint64 EncodeQueue::secondsLeft(int position, int maximum, qint64 elapsedMs) const
{
    if (at < 0)
        return -1;
    // Only what an encode did itself: not what an earlier one had kept.
    const auto whole = [](const Entry &e) { return double(qMax<qint64>(e.bytes, 1)); };
    const auto work = [&whole](const Entry &e) { return whole(e) * (100 - e.resumed) / 100; };
    // The pace, in milliseconds per byte of input: from the files encoded
    // whole, or else from the current one once it can tell its own end.
    double doneMs = 0, doneWork = 0;
    for (const Entry &e : list) {
        if (e.state == State::Encoded && e.ms > 0) {
            doneMs += e.ms;
            doneWork += work(e);
        }
    }
    const Entry &now = list[at];
    const qint64 ownLeft =
        ::secondsLeft(elapsedMs, int(qint64(maximum) * now.resumed / 100), position, maximum);
    double pace = 0;
    if (doneWork > 0)
        pace = doneMs / doneWork;
    else if (ownLeft >= 0)
        pace = (elapsedMs + ownLeft * 1000.0) / work(now);
    else
        return -1;
    const double fraction = maximum > 0 ? qBound(0.0, double(position) / maximum, 1.0) : 0.0;
    double leftMs = ownLeft >= 0 ? ownLeft * 1000.0 : whole(now) * (1 - fraction) * pace;
    for (int i = 0; i < list.size(); ++i) {
        if (i != at && list[i].state == State::Waiting)
            leftMs += work(list[i]) * pace;
    }
    return qint64(leftMs / 1000.0 + 0.999);
}

QString EncodeQueue::barText(int position, int maximum) const
{
    return barText(position, maximum, clock.isValid() ? clock.elapsed() : 0);
}

QString EncodeQueue::barText(int position, int maximum, qint64 elapsedMs) const
{
    QString text = tr("%1 of %2").arg(at + 1).arg(list.size()) + QStringLiteral(" \u00b7 %p %");
    const qint64 left = secondsLeft(position, maximum, elapsedMs);
    if (left >= 0)
        text += QStringLiteral(" \u00b7 ") +
                QCoreApplication::translate("Velkoran", "about %1 left").arg(durationText(left));
    return text;
}

QString EncodeQueue::moreNote(int count)
{
    return tr("+ %1 more").arg(count - 1);
}

QString EncodeQueue::dropQuestion(int count)
{
    return tr("The encode was cancelled.\n\nDo you want to drop the rest of the queue as well? "
              "Files left: %1")
        .arg(count);
}

QString EncodeQueue::counts() const
{
    return tr("%1 encoded \u00b7 %2 skipped \u00b7 %3 failed")
        .arg(count(State::Encoded))
        .arg(count(State::Skipped))
        .arg(count(State::Failed));
}

QString EncodeQueue::summary() const
{
    QString text = tr("The queue is done: %1.").arg(counts());
    const std::pair<State, QString> groups[] = {
        {State::Encoded, tr("Encoded:")},
        {State::Skipped, tr("Skipped:")},
        {State::Failed, tr("Failed:")},
    };
    for (const auto &[state, heading] : groups) {
        QString lines;
        for (const Entry &e : list) {
            if (e.state != state)
                continue;
            lines += u'\n' + (state == State::Encoded ? nameOf(e.output) : nameOf(e.input));
            if (!e.reason.isEmpty())
                lines += QStringLiteral(": ") + e.reason.simplified();
            else if (state == State::Encoded && !e.warning.isEmpty())
                lines += QStringLiteral(": ") + e.warning;
        }
        if (!lines.isEmpty())
            text += QStringLiteral("\n\n") + heading + lines;
    }
    return text;
}

QStringList inputsFromArguments(const QStringList &arguments)
{
    QStringList inputs;
    for (const QString &argument : arguments.mid(1))
        inputs << QFileInfo(argument).absoluteFilePath();
    return inputs;
}
