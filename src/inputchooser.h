// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef INPUTCHOOSER_H
#define INPUTCHOOSER_H

#include <QStringList>

class QMimeData;

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
} // namespace InputChooser

#endif
