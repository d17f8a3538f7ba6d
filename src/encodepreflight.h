// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef ENCODEPREFLIGHT_H
#define ENCODEPREFLIGHT_H

#include <QHash>
#include <QStringList>

class EncodeQueue;
class QWidget;

// The questions before an encode, asked in one place and one order for a
// single file and for each file of a queue: is there an encoder, would the
// output replace the input, is an encode of this output running elsewhere,
// may an existing file be replaced, and may an earlier encode's kept part be
// used.
class EncodePreflight
{
public:
    explicit EncodePreflight(QWidget *parent) : parent(parent) {}

    enum class Answer {
        Go,      // encode
        Restart, // encode, without the part an earlier encode kept
        Skip,    // not this file (a queue goes on with the next)
        Stop,    // nothing more: not this file, nor a queue's others
    };
    // Asks what stands between the encode of INPUT to OUTPUT by PROGRAM with
    // the argument WORDS and its start. QUEUE: the queue it belongs to, whose
    // "Yes to all" and Cancel hold for the files after it; null for one file.
    Answer ask(const QString &program, const QString &input, const QString &output,
               const QStringList &words, EncodeQueue *queue);
    // Why Skip or Stop was answered, in a few words (for a queue's summary).
    QString reason() const { return why; }

    // The encode of OUTPUT with WORDS ended, PERCENT of it kept (-1: none).
    void keptAfter(const QString &output, const QStringList &words, int percent);

    // Where PROGRAM is found on the search path; empty when it is not.
    static QString findProgram(const QString &program);
    // The chunks kept for OUTPUT are held by an encode running now.
    static bool keptPartBusy(const QString &output);
    // The share kept for OUTPUT as its manifest tells, or -1.
    static int keptShare(const QString &output);
    // How long the encoder is given to say whether the command resumes.
    static constexpr int resumeCheckMs = 4000;

private:
    bool replaceAllowed(const QString &input, const QString &output, EncodeQueue *queue);
    Answer resumeAnswer(const QString &program, const QString &output, const QStringList &words,
                        EncodeQueue *queue);
    void sayRunningElsewhere(const QString &output);

    struct Kept {
        QStringList words;
        int percent = -1;
    };
    QWidget *parent;
    QHash<QString, Kept> kept; // by chunk directory: what the encode that kept it ran
    QString why;
};

#endif
