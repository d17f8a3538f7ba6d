// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef ENCODEBUTTONS_H
#define ENCODEBUTTONS_H

#include <initializer_list>

class QPushButton;
class QWidget;

// The Encode and Cancel buttons as a job starts and ends, and where the
// keyboard goes with them.
namespace EncodeButtons
{
// While a job runs only CANCEL can be pressed; a keyboard on ENCODE moves to it.
void showRunning(QPushButton *encode, QPushButton *cancel);
// After a job ENCODE can be pressed again, and the keyboard is back on it;
// while QUEUED files remain, neither can.
void showIdle(QPushButton *encode, QPushButton *cancel, bool queued);
// While LOCKED, the WIDGETS a queue reads for each file stay as they are.
void lock(std::initializer_list<QWidget *> widgets, bool locked);
} // namespace EncodeButtons

#endif
