// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef ACCESSIBILITY_H
#define ACCESSIBILITY_H

#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QSlider;
class QWidget;

// What a screen reader hears of the window's sliders and combo boxes: the
// value a slider shows beside it, and a combo box's label with its choice.
namespace Accessibility
{

// SLIDER is heard by the number LABEL shows beside it (its value divided by
// DIVISOR), followed by UNIT when there is one; LABEL is tied to the slider
// instead of being heard as a bare number. Called again when the mode changes.
void showValueBeside(QSlider *slider, QLabel *label, int divisor, const QString &unit = {});

// The value a slider tied by showValueBeside is heard with: "6", "6.1", "96 kbit/s".
QString shownValue(const QSlider *slider);

// Each combo box in WINDOW with a label tied to it (a buddy) is heard as
// "Label: Item" on focus; when the item changes while it has the focus,
// SAY is given the same words.
void hearChoices(QWidget *window, const std::function<void(const QString &)> &say);

// CONTROL is heard as NAME, and so is the label tied to it (a reader says
// the label of a control rather than the control's own name).
void rename(QWidget *control, const QString &name);

// The words a combo box is heard with now: its label's words, a colon, its item.
QString heardChoice(const QComboBox *box);

// The plain words of a rich-text LABEL, without the colon at their end.
QString labelWords(const QLabel *label);

} // namespace Accessibility

#endif
