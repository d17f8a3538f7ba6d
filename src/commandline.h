// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QByteArray>
#include <QString>

// Pieces of the encoder command line and of reading the encoder's error output
// that need no window.

// A value as one word of the command text. A value holding whitespace or a
// double quote is enclosed in double quotes, with every quote inside written as
// three quotes, so that QProcess::splitCommand gives it back as one argument,
// unchanged. Any other value is returned exactly as it is.
QString quoteWord(const QString &value);

// "PROGRAM INPUT -o OUTPUT", the input and output quoted by quoteWord. An
// input beginning with "-" is given as "./-...", so that it stays a path.
QString baseCommand(const QString &program, const QString &input, const QString &output);

// The output file NAME in directory DIR, joined with one "/".
QString outputPath(const QString &dir, const QString &name);

// The first time (hours, two-digit minutes, two-digit seconds) in TEXT, or an
// empty string when there is none.
QString firstTime(const QString &text);

// The first time in TEXT as seconds, with the fraction the text gives after
// the seconds and without trailing zeros: "0:00:07.80" gives "7.8", "0:01:02"
// gives "62". Empty when there is no time.
QString firstTimeSeconds(const QString &text);

// Seconds of a time text "H:MM:SS"; minutes and seconds count as written.
int timeTextSeconds(const QString &time, int *hour = nullptr, int *min = nullptr,
                    int *sec = nullptr);

// The first of the encoder's known error phrases in TEXT, or an empty string.
QString firstErrorPhrase(const QString &text);

// The line of TEXT (lines end at \n or \r) that holds PART, without the
// blanks around it.
QString lineHolding(const QString &text, const QString &part);

// The text of the box that shows a known error phrase, in the user's language,
// with the encoder's own LINE that holds the phrase below it.
QString errorBoxText(const QString &phrase, const QString &line = QString());

// A piece of error output as the window reads it: one character per byte,
// ending at the first zero byte.
QString errorOutputText(const QByteArray &bytes);

// The last LINES non-empty lines of an error output (lines end at \n or \r).
QString lastLines(const QByteArray &output, int lines);

// What the encoder says in its error output TEXT of the chunks it keeps for
// the same command to resume: "N of M chunks (P %) kept in DIR; the same
// command resumes" after an encode that did not complete (also after
// "stopped; "), and "resuming: N of M chunks already encoded (P %)" when it
// goes on from them.
struct KeptChunks {
    int kept = -1;    // the share kept, in percent; -1 when TEXT does not say
    QString dir;      // where they are kept
    int resumed = -1; // the share already encoded when it resumed; -1 when TEXT does not say
};
KeptChunks keptChunks(const QString &text);

// Where the encoder keeps the chunks of an encode to OUTPUT that did not
// complete: ".NAME.chunks" beside it, with a file "manifest" in it.
QString keptChunksDir(const QString &output);

// True when both paths name one existing file (also through links).
bool sameExistingFile(const QString &a, const QString &b);

#endif
