// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef QUEUE_H
#define QUEUE_H

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QStringList>

// Several input files encoded one after another with one set of settings:
// where each one goes, what stands in the way before the start, how each one
// ended, and the texts that tell the user so. It shows nothing and runs
// nothing itself; the window does both.
class EncodeQueue
{
    Q_DECLARE_TR_FUNCTIONS(EncodeQueue)

public:
    enum class State { Waiting, Encoded, Skipped, Failed };

    struct Entry {
        QString input;
        QString output;
        qint64 bytes = 0; // the input's size, the measure of its work
        State state = State::Waiting;
        QString reason;  // why it was skipped or failed
        QString warning; // what an encode that succeeded warned of
        qint64 ms = 0;   // how long its encode took
        int resumed = 0; // the share an earlier encode had done, in percent
    };

    // The output name of INPUT: its name without its last extension, and ".ogg".
    static QString outputName(const QString &input);
    // The output of INPUT in DIR.
    static QString outputFor(const QString &dir, const QString &input);

    // Plans INPUTS into DIR, each under its own name; NAME is the output name
    // when there is one input only. Nothing is started.
    void plan(const QStringList &inputs, const QString &dir, const QString &name = QString());
    // What keeps the planned queue from starting (two inputs that would write
    // one file, an input that an encode would replace), or an empty string.
    QString clash() const;

    const QList<Entry> &entries() const { return list; }
    int current() const { return at; }
    bool active() const { return running; }
    bool replaceAll = false; // "Yes to all" answered

    void start();
    // The next waiting entry becomes the current one; -1 when none is left,
    // which ends the queue.
    int next();
    // The current entry's encode has started: its clock runs from now.
    void startClock();
    // The current entry's encode goes on from PERCENT that an earlier encode kept.
    void resume(int percent);
    // A reason for the current entry, should it fail (the encoder's first known error).
    void noteReason(const QString &reason);
    // A warning for the current entry, kept even when it is encoded.
    void noteWarning(const QString &warning);
    // The current entry ended in STATE; a REASON given replaces a noted one.
    // It took MS, or as long as its clock tells.
    void finish(State state, const QString &reason = QString(), qint64 ms = -1);
    // Every waiting entry is skipped for REASON.
    void skipRest(const QString &reason);
    // The entries waiting, besides the current one.
    int waiting() const;
    int count(State state) const;

    // The bar of the current entry at POSITION of MAXIMUM: "2 of 5 · 42 % ·
    // about 1:23 left", the time left for the whole queue.
    QString barText(int position, int maximum) const;
    QString barText(int position, int maximum, qint64 elapsedMs) const;
    // Seconds left for the whole queue, or -1 while no entry has given a pace.
    qint64 secondsLeft(int position, int maximum, qint64 elapsedMs) const;

    // "+ 4 more" for a queue of COUNT inputs.
    static QString moreNote(int count);
    // The question after a cancelled file, with COUNT files still waiting.
    static QString dropQuestion(int count);
    // "3 encoded · 1 skipped · 1 failed"
    QString counts() const;
    // Every entry by its state, each failure with its reason.
    QString summary() const;

private:
    QList<Entry> list;
    int at = -1;
    bool running = false;
    QElapsedTimer clock;
};

// The input files named by the program's ARGUMENTS (the first is the program), as absolute paths.
QStringList inputsFromArguments(const QStringList &arguments);

#endif
