// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FONTFIT_H
#define FONTFIT_H

#include <QSize>

class QGridLayout;
class QScrollArea;
class QTabWidget;
class QWidget;

// The window follows the user's font: texts are drawn in it, the pages of
// fixed places grow with it, and a window too large for the screen scrolls.
namespace FontFit
{

// The rich-text labels under ROOT lose their fixed font family and point
// size: their body is the user's font, and a 12 pt heading becomes a size
// larger than it.
void followUserFont(QWidget *root);

// The rich-text document TEXT with its fixed fonts made relative.
QString relativeFonts(const QString &text);

// The children of PAGE, which sit at fixed places, are spread out as far as
// the tallest text needs, and with ACROSS, the widest too.
void growFixedPage(QWidget *page, bool across = true);

// WIDGET, in its cell of the grid LAYOUT, is put into a scroll area there, so
// that a window smaller than what it holds scrolls instead of leaving the screen.
QScrollArea *scrollWhenSmall(QGridLayout *layout, QWidget *widget);

// The size WINDOW needs to show all it holds, with every title of TABS.
QSize needed(QWidget *window, QTabWidget *tabs);

// The labels of PAGE, which sit at fixed places, are widened as far as the
// widest text needs, and its text fields moved right by as much.
void widenLabelColumn(QWidget *page);

// PAGE cannot be made smaller than what it holds, with a margin.
void holdChildren(QWidget *page);

// WINDOW's first size: DESIGNED, grown to NEEDED, within its screen.
void growToFit(QWidget *window, QSize designed, QSize needed);

} // namespace FontFit

#endif
