// SPDX-License-Identifier: GPL-3.0-or-later
// The window's forecast of size and time beside the Encode button, and the
// Preview dialog: what they take from the form.
#include "velkoran.h"

#include "commandline.h"
#include "encodesettings.h"
#include "forecast.h"
#include "previewdialog.h"

#include <QTime>

// The encoder's command for what the form holds (with INPUT, if given, in
// place of the input field's), as the encode's but without its output: a
// forecast or a preview writes none.
QString Velkoran::formCommandWithoutOutput(const QString &input)
{
    QString command = baseCommand(
        encoderChoice(), input.isNull() ? ui.openFileNameLineEdit->text() : input, QString());
    command.chop(QStringLiteral(" -o ").size());
    // Reading the trim range for a command is no encode: what the progress
    // bar keeps of it stays as it was.
    const bool trimmed = customendtimebool;
    const int trimLength = customendtime;
    command += getAudioQuality().join(QString()) + getVideoQuality().join(QString()) +
               checkMetainfo().join(QString()) + getArgs().join(QString());
    customendtimebool = trimmed;
    customendtime = trimLength;
    return command;
}

void Velkoran::setupForecast()
{
    QWidget *page = ui.EncodeToTheorapushButton->parentWidget();
    const QRect below = ui.CancelpushButton->geometry();
    auto *previewButton = new QPushButton(PreviewDialog::tr("Pre&view…"), page);
    previewButton->setAccessibleDescription(PreviewDialog::tr(
        "Shows a picture of the video before and after encoding with these settings"));
    const int buttonWidth = std::max(113, previewButton->sizeHint().width());
    previewButton->setGeometry(below.right() + 1 - buttonWidth, below.bottom() + 7, buttonWidth,
                               below.height());
    auto *label = new QLabel(page);
    label->setObjectName(QStringLiteral("forecastLabel"));
    label->setGeometry(below.x(), below.bottom() + 7, below.width() - buttonWidth - 8,
                       below.height());
    // The presets come below the forecast, as wide as the buttons or their words.
    const int presetsTop = below.bottom() + 7 + below.height() + 7;
    presets->setGeometry(below.x(), presetsTop,
                         std::max(below.width(), presets->sizeHint().width()),
                         presets->sizeHint().height());
    page->setMinimumSize(page->minimumSize().expandedTo(
        QSize(presets->geometry().right() + 10, presets->geometry().bottom() + 10)));
    previewButton->setEnabled(false);

    forecast = new EncodeForecast(label, this);
    forecast->setCommand([this] { return formCommandWithoutOutput(); });
    // Only for an input of known length, and never beside an encode.
    const auto allowed = [this] {
        return !probedLength.isEmpty() && !bar->lengthUnknown && !job.running() &&
               !runner->queue.active();
    };
    // A queue's forecast is of every file it holds, before it starts.
    forecast->setAllowed([this, allowed] {
        return fields.queuedInputs.size() > 1 ? !job.running() && !runner->queue.active()
                                              : allowed();
    });
    forecast->setQueue([this] { return fields.queuedInputs; },
                       [this](const QString &input) { return formCommandWithoutOutput(input); });
    // What the encode's size and time depend on: the quality, the range, the
    // input, and every encoding setting of the form table.
    QList<QWidget *> watched{ui.VideoQualityHorizontalSlider,
                             ui.AudioQualityHorizontalSlider,
                             ui.VideocomboBox,
                             ui.AudiocomboBox,
                             ui.startTimetimeEdit,
                             ui.endTimetimeEdit,
                             ui.openFileNameLineEdit};
    for (const FormOption &o : formOptions()) {
        if (o.inPresets)
            watched << findChild<QWidget *>(QString::fromLatin1(o.widget));
    }
    forecast->watch(watched);
    // A probe that measured the length, or an encode that ended, leaves the
    // encoder free for a forecast.
    connect(&job, &EncoderJob::ended, forecast, [this, previewButton, allowed] {
        previewButton->setEnabled(allowed());
        forecast->schedule();
    });
    connect(ui.openFileNameLineEdit, &QLineEdit::textChanged, previewButton,
            [this, previewButton, allowed] { previewButton->setEnabled(allowed()); });

    connect(previewButton, &QPushButton::clicked, this, [this] {
        if (probedLength.isEmpty())
            return;
        const bool trim = ui.startTimetimeEdit->isEnabled();
        const int from = trim ? toSeconds(ui.startTimetimeEdit->time()) : 0;
        const int to = trim ? toSeconds(ui.endTimetimeEdit->time()) : int(probedLength.toDouble());
        PreviewDialog dialog([this] { return formCommandWithoutOutput(); }, from, to, this);
        dialog.exec();
    });
}
