// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_REPORT_H
#define FFMPEG2THEORA_REPORT_H

#include "process.h"

#include <QByteArray>
#include <QString>

// Writes TEXT to standard error in one write, so that a reader gets each line
// whole.
void say(const QByteArray &text);
void say(const QString &text);

// "ffmpeg2theora: MESSAGE" on a line of its own.
void complain(const QString &message);

// Exit status for a stop by the signal received.
int stoppedExit();

// Says why the ffmpeg run RUN of PROGRAM failed, with what it wrote on its
// standard error (ERRORS), and returns the exit status that passes it on; 0
// and nothing said if it succeeded.
int reportFailure(const QString &program, const ChildResult &run, const QByteArray &errors);

// Why a child could not run at all, from its result and what it wrote on
// its standard error (ERRORS): it could not be started, or the system could
// not load it (exit status 127: a library missing, or a memory limit too
// low for it). Empty when it ran.
QString cannotRun(const ChildResult &run, const QByteArray &errors);

// What ffmpeg wrote on its standard error, brought down to the reason it
// gives: one line, without the "[decoder @ 0x...]" addresses and without the
// lines that only say that something failed. Empty if it said nothing.
QString failureReason(const QByteArray &errors);

// How many of the lines ffmpeg wrote report damage in what it decoded.
int damageReports(const QByteArray &errors);

#endif
