// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPOKEN_H
#define SPOKEN_H

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

class QWidget;

// What a screen reader says of the progress bar. The bar never has the focus,
// and a reader says only what changes on the control that has it, or a
// notification that appears: the bar's text is shown to the reader by a
// notice of the window (never drawn), and kept at once as the accessible
// description of the bar and of the window's main buttons, where a reader's
// "where am I" finds it. An end is said
// at once, progress at most once every few seconds; nothing is sent twice in
// a row.
class Spoken : public QObject
{
    Q_OBJECT

public:
    // Progress is said at most once in this many milliseconds.
    static constexpr int calmMs = 5000;

    // BAR shows the text; HOLDERS keep it for the asking; WINDOW holds the notice.
    Spoken(QWidget *window, QWidget *bar, const QList<QWidget *> &holders);

    // The bar now shows SHOWN. ENDED: it tells how a job ended, or the state
    // between jobs, and is said as soon as the window's slot is done; the
    // last of several changes made at once is said, alone.
    // Unless READOUT, the bar only keeps the text, and nothing is read out.
    void barChanged(const QString &shown, bool ended, bool readOut = true);
    // Says TEXT now, from where the focus is.
    void say(const QString &text);

    // SHOWN as it is read out: words and punctuation in place of symbols.
    static QString forSpeech(const QString &shown);

    // What was read out, oldest first: by the notice, or with the focus
    // that came to a main button just then.
    QStringList history() const { return heard; }

    // A reader reads a control's description with the focus that comes to it;
    // the focus that came this long ago has been read already.
    static constexpr int focusReadMs = 500;

private:
    void flush();
    void send(const QString &text);

    QPointer<QWidget> bar;
    QList<QPointer<QWidget>> holders;
    QPointer<QWidget> notice; // appears, with the text as its name, to be read out
    QString waiting;          // what is to be said when the timer fires
    QString said;
    QStringList heard;
    QElapsedTimer sinceSent;
    QPointer<QWidget> focusCame; // the main button the focus last came to
    QElapsedTimer sinceFocusCame;
    QString readWithFocus; // its description, read out as the focus came
    QTimer flushTimer;
};

#endif
