// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef INPUTCHOOSER_H
#define INPUTCHOOSER_H

#include <QStringList>

#include <functional>

class QDropEvent;
class QMimeData;
class QWidget;

// Which files a drop, a paste or a typed path make the input, and the
// output proposed for an input.
namespace InputChooser
{
// The local files of a drop. A folder or a web address is no input: each one
// left out is named in LEFTOUT.
QStringList localFiles(const QMimeData *mime, QStringList *leftOut = nullptr);
// What to say of the things a drop left out; empty when it left out nothing.
QString leftOutText(const QStringList &leftOut);
// PATH as typed or pasted: a path with blanks at its end that no file has is
// the file without them.
QString bare(const QString &path);
// The output directory proposed for INPUT: its own, with a final "/".
QString proposedDir(const QString &input);
// A drop on WINDOW, taken as a copy (or a link), never as a move: a file
// manager that honours a move would delete the user's original. Its files go
// to CHOOSE; what it left out is said in a box unless QUIET; while BUSY it
// takes nothing. True when the drop is handled here.
bool takeDrop(QDropEvent *event, QWidget *window, bool busy, bool quiet,
              const std::function<void(const QStringList &)> &choose);
} // namespace InputChooser

#endif
