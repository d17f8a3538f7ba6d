// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontfit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

namespace FontFit
{

QString relativeFonts(const QString &text)
{
    static const QRegularExpression family(QStringLiteral(" ?font-family:[^;\"]*;?"));
    static const QRegularExpression twelve(QStringLiteral("font-size:12pt"));
    QString relative = text;
    relative.remove(family);
    // Larger than the body text, whatever the user's font.
    relative.replace(twelve, QStringLiteral("font-size:large"));
    return relative;
}

void followUserFont(QWidget *root)
{
    for (QLabel *label : root->findChildren<QLabel *>()) {
        if (label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text()))
            continue;
        const QString relative = relativeFonts(label->text());
        if (relative != label->text())
            label->setText(relative);
    }
}

void growFixedPage(QWidget *page, bool across)
{
    double sx = 1, sy = 1;
    const QList<QWidget *> children = page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (const QWidget *child : children) {
        if (child->isHidden() || child->width() <= 0 || child->height() <= 0)
            continue;
        QSize need;
        if (qobject_cast<const QLabel *>(child) || qobject_cast<const QAbstractButton *>(child))
            need = child->sizeHint();
        else if (qobject_cast<const QLineEdit *>(child) || qobject_cast<const QComboBox *>(child))
            need = QSize(0, child->minimumSizeHint().height());
        else if (qobject_cast<const QGroupBox *>(child))
            need = child->minimumSizeHint();
        else
            continue;
        if (across)
            sx = std::max(sx, double(need.width()) / child->width());
        sy = std::max(sy, double(need.height()) / child->height());
    }
    if (sx <= 1 && sy <= 1)
        return;
    for (QWidget *child : children) {
        const QRect r = child->geometry();
        child->setGeometry(int(std::lround(r.x() * sx)), int(std::lround(r.y() * sy)),
                           int(std::ceil(r.width() * sx)), int(std::ceil(r.height() * sy)));
    }
}

QScrollArea *scrollWhenSmall(QGridLayout *layout, QWidget *widget)
{
    const int index = layout->indexOf(widget);
    if (index < 0)
        return nullptr;
    int row = 0, column = 0, rows = 1, columns = 1;
    layout->getItemPosition(index, &row, &column, &rows, &columns);
    auto *area = new QScrollArea(layout->parentWidget());
    area->setObjectName(QStringLiteral("pagesScrollArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // Never a stop of the Tab key of its own: the pages inside are.
    area->setFocusPolicy(Qt::NoFocus);
    layout->removeWidget(widget);
    area->setWidget(widget);
    layout->addWidget(area, row, column, rows, columns);
    return area;
}

QSize needed(QWidget *window, QTabWidget *tabs)
{
    QSize size = window->minimumSizeHint();
    // The titles of the pages, all of them, without scroll arrows.
    const int titles = tabs->tabBar()->sizeHint().width();
    const int around = size.width() - tabs->minimumSizeHint().width();
    size.setWidth(std::max(size.width(), titles + std::max(around, 0) + 4));
    return size;
}

void growToFit(QWidget *window, QSize designed, QSize needed)
{
    QSize size = designed.expandedTo(needed);
    if (const QScreen *screen = window->screen()) {
        // The frame the desktop adds around the window is left room for.
        const QSize frame(16, 48);
        size = size.boundedTo(screen->availableGeometry().size() - frame);
    }
    window->resize(size);
}

void widenLabelColumn(QWidget *page)
{
    const QList<QLabel *> labels = page->findChildren<QLabel *>();
    int extra = 0;
    for (const QLabel *label : labels)
        extra = std::max(extra, label->sizeHint().width() - label->width());
    if (extra <= 0)
        return;
    for (QLabel *label : labels)
        label->resize(label->width() + extra, label->height());
    for (QLineEdit *field : page->findChildren<QLineEdit *>())
        field->setGeometry(field->x() + extra, field->y(), field->width() - extra, field->height());
}

void holdChildren(QWidget *page)
{
    const QRect held = page->childrenRect();
    const int margin = 9;
    page->setMinimumSize(held.right() + 1 + margin, held.bottom() + 1 + margin);
}

} // namespace FontFit
