// SPDX-License-Identifier: GPL-3.0-or-later
#include "formnames.h"

#include <QAbstractItemView>

#include "accessibility.h"
#include "encodesettings.h"

void FormNames::nameControls(QWidget *window, Ui::Velkoran &ui,
                             const std::function<void(const QString &)> &say)
{
    QList<std::pair<QLabel *, QWidget *>> labelled = {
        {ui.label, ui.openFileNameLineEdit},       {ui.label_11, ui.openDirectoryLineEdit},
        {ui.label_2, ui.outputFileNameLineEdit},   {ui.label_3, ui.EncodersComboBox},
        {ui.startTimelabel, ui.startTimetimeEdit}, {ui.endTimelabel, ui.endTimetimeEdit},
    };
    for (const FormOption &o : formOptions())
        labelled.append(
            {window->findChild<QLabel *>(o.label), window->findChild<QWidget *>(o.widget)});
    for (const auto &[label, field] : labelled) {
        label->setBuddy(field);
        // The labels are rich text; a screen reader gets their words only.
        field->setAccessibleName(Accessibility::labelWords(label));
    }
    for (const FormOption &o : formOptions()) {
        if (o.heard)
            Accessibility::rename(window->findChild<QWidget *>(o.widget), tr(o.heard));
    }
    // ffmpeg's Theora encoder has no sharpness setting: the encoder takes the
    // value and says in a note that it does nothing; so does the window.
    const QString noSharpness = tr("ffmpeg's Theora encoder has no sharpness setting: this "
                                   "value has no effect");
    ui.sharpnessspinBox->setToolTip(noSharpness);
    ui.sharpnessspinBox->setAccessibleDescription(noSharpness);
    // A combo box is heard by its label (on Linux its own name is its current
    // item); the two mode boxes have none to see, so they get one to hear.
    const std::pair<QComboBox *, QString> modes[] = {
        {ui.AudiocomboBox, tr("Audio quality or bit rate")},
        {ui.VideocomboBox, tr("Video quality or bit rate")},
    };
    for (const auto &[box, name] : modes) {
        auto *heard = new QLabel(name, box->parentWidget());
        heard->hide();
        heard->setBuddy(box);
        box->setAccessibleName(name);
    }
    // The list a combo box opens is heard by the box's name too.
    for (QComboBox *box : window->findChildren<QComboBox *>())
        box->view()->setAccessibleName(box->accessibleName());
    ui.tab->setAccessibleName(tr("Pages"));
    ui.tab->tabBar()->setAccessibleName(tr("Pages"));
    ui.progressBar->setAccessibleName(tr("Progress"));
    // Each slider is named by what it sets, which follows its mode box.
    // In bit-rate mode the name says the unit, which a reader does not say
    // with the value; each is heard by the number shown beside it.
    const auto nameSliders = [&ui] {
        const bool audioRate = ui.AudiocomboBox->currentIndex() == 1;
        const bool videoRate = ui.VideocomboBox->currentIndex() == 1;
        ui.AudioQualityHorizontalSlider->setAccessibleName(
            audioRate ? tr("Audio bit rate in kilobits per second") : tr("Audio quality"));
        ui.VideoQualityHorizontalSlider->setAccessibleName(
            videoRate ? tr("Video bit rate in kilobits per second") : tr("Video quality"));
        Accessibility::showValueBeside(ui.AudioQualityHorizontalSlider,
                                       ui.AudioQualityHorizontalLabel, audioRate ? 1 : 10,
                                       audioRate ? tr("kbit/s") : QString());
        Accessibility::showValueBeside(ui.VideoQualityHorizontalSlider,
                                       ui.VideoQualityHorizontalLabel, videoRate ? 1 : 10,
                                       videoRate ? tr("kbit/s") : QString());
    };
    nameSliders();
    QObject::connect(ui.AudiocomboBox, &QComboBox::currentIndexChanged, window, nameSliders);
    QObject::connect(ui.VideocomboBox, &QComboBox::currentIndexChanged, window, nameSliders);
    Accessibility::hearChoices(window, say);
}
