// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QSlider>
#include <QTextDocument>

#include <cmath>

namespace
{

// How a slider and the label beside it are tied (kept on the slider).
const char *const shownByProperty = "velkoranShownBy";
const char *const divisorProperty = "velkoranShownDivisor";
const char *const unitProperty = "velkoranShownUnit";
// The words a combo box's label says, without the colon (kept on the box).
const char *const wordsProperty = "velkoranChoiceWords";

QLabel *shownBy(const QSlider *slider)
{
    return qobject_cast<QLabel *>(slider->property(shownByProperty).value<QObject *>());
}

int divisorOf(const QSlider *slider)
{
    return std::max(1, slider->property(divisorProperty).toInt());
}

// A slider heard by the number beside it, not by its steps: the audio quality
// slider stands at 60 when it shows 6.
class ShownSlider : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ShownSlider(QSlider *slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    QSlider *slider() const { return static_cast<QSlider *>(object()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Accessibility::shownValue(slider());
        return QAccessibleWidget::text(t);
    }

    // The number beside the slider is its label's value, not its name.
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        QList<QPair<QAccessibleInterface *, QAccessible::Relation>> kept;
        QLabel *beside = shownBy(slider());
        for (const auto &relation : QAccessibleWidget::relations(match)) {
            if (relation.second == QAccessible::Label && relation.first->object() == beside)
                continue;
            kept << relation;
        }
        if (beside && (match & QAccessible::Controlled))
            if (QAccessibleInterface *face = QAccessible::queryAccessibleInterface(beside))
                kept << qMakePair(face, QAccessible::Relation(QAccessible::Controlled));
        return kept;
    }

    QVariant currentValue() const override
    {
        return double(slider()->value()) / divisorOf(slider());
    }
    void setCurrentValue(const QVariant &value) override
    {
        slider()->setValue(int(std::lround(value.toDouble() * divisorOf(slider()))));
    }
    QVariant maximumValue() const override
    {
        return double(slider()->maximum()) / divisorOf(slider());
    }
    QVariant minimumValue() const override
    {
        return double(slider()->minimum()) / divisorOf(slider());
    }
    // A reader shows as many decimals as the step has: none for a whole
    // number, so that 6 is heard as "6" and 6.1 as "6.1".
    QVariant minimumStepSize() const override
    {
        const int divisor = divisorOf(slider());
        return slider()->value() % divisor == 0 ? 1.0 : 1.0 / divisor;
    }
};

QAccessibleInterface *shownSliderFactory(const QString &, QObject *object)
{
    auto *slider = qobject_cast<QSlider *>(object);
    if (slider && shownBy(slider))
        return new ShownSlider(slider);
    return nullptr;
}

} // namespace

namespace Accessibility
{

QString labelWords(const QLabel *label)
{
    QTextDocument document;
    document.setHtml(label->text());
    QString text = document.toPlainText().trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    return text;
}

void showValueBeside(QSlider *slider, QLabel *label, int divisor, const QString &unit)
{
    static const bool installed = [] {
        QAccessible::installFactory(shownSliderFactory);
        return true;
    }();
    Q_UNUSED(installed);
    const bool tied = shownBy(slider) == label;
    slider->setProperty(shownByProperty, QVariant::fromValue<QObject *>(label));
    slider->setProperty(divisorProperty, divisor);
    slider->setProperty(unitProperty, unit);
    if (!tied) {
        // An interface made before the tie is made again by the factory.
        if (QAccessibleInterface *face = QAccessible::queryAccessibleInterface(slider);
            face && !dynamic_cast<ShownSlider *>(face))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));
        label->setBuddy(slider);
    }
    label->setAccessibleName(slider->accessibleName());
    QAccessibleValueChangeEvent event(slider, double(slider->value()) / divisor);
    QAccessible::updateAccessibility(&event);
}

QString shownValue(const QSlider *slider)
{
    const QLabel *label = shownBy(slider);
    if (!label)
        return QString::number(slider->value());
    const QString unit = slider->property(unitProperty).toString();
    return unit.isEmpty() ? label->text() : label->text() + u' ' + unit;
}

void rename(QWidget *control, const QString &name)
{
    control->setAccessibleName(name);
    for (QLabel *label : control->window()->findChildren<QLabel *>())
        if (label->buddy() == control)
            label->setAccessibleName(name);
}

QString heardChoice(const QComboBox *box)
{
    const QString words = box->property(wordsProperty).toString();
    if (words.isEmpty())
        return box->currentText();
    return QStringLiteral("%1: %2").arg(words, box->currentText());
}

void hearChoices(QWidget *window, const std::function<void(const QString &)> &say)
{
    for (QLabel *label : window->findChildren<QLabel *>()) {
        auto *box = qobject_cast<QComboBox *>(label->buddy());
        if (!box)
            continue;
        // On Linux a combo box is heard by the label tied to it, so the
        // label carries the choice; a reader says nothing of a change itself.
        box->setProperty(wordsProperty, labelWords(label));
        QPointer<QLabel> heard = label;
        const auto update = [box, heard, say](bool changed) {
            const QString choice = heardChoice(box);
            if (heard)
                heard->setAccessibleName(choice);
            if (changed && box->hasFocus() && say)
                say(choice);
        };
        update(false);
        QObject::connect(box, &QComboBox::currentIndexChanged, box, [update] { update(true); });
    }
}

} // namespace Accessibility
