// SPDX-License-Identifier: GPL-3.0-or-later
#include "previewdialog.h"

#include "commandline.h"
#include "forecast.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QPixmap>
#include <QVBoxLayout>

namespace
{

// The widest a picture is shown.
constexpr int shownWidth = 400;

QString timeText(const QTime &t)
{
    return t.toString(QStringLiteral("H:mm:ss"));
}

} // namespace

PreviewDialog::PreviewDialog(std::function<QString()> command, int from, int to, QWidget *parent)
    : QDialog(parent), makeCommand(std::move(command))
{
    setWindowTitle(tr("Preview"));
    setAccessibleName(tr("Preview"));
    setAccessibleDescription(tr("One picture of the video before and after encoding with the "
                                "chosen settings"));

    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    auto *timeLabel = new QLabel(tr("&Time:"), this);
    time = new QTimeEdit(this);
    time->setDisplayFormat(QStringLiteral("H:mm:ss"));
    time->setTimeRange(QTime(0, 0).addSecs(from), QTime(0, 0).addSecs(std::max(from, to - 1)));
    time->setTime(QTime(0, 0).addSecs(from + (to - from) / 2));
    time->setAccessibleName(tr("Time of the picture"));
    timeLabel->setBuddy(time);
    show = new QPushButton(tr("&Show"), this);
    show->setAccessibleDescription(tr("Makes the pictures at the time chosen"));
    row->addWidget(timeLabel);
    row->addWidget(time);
    row->addWidget(show);
    row->addStretch();
    layout->addLayout(row);

    auto *grid = new QGridLayout;
    const QString captions[2] = {tr("Before encoding"), tr("After encoding")};
    for (int i = 0; i < 2; ++i) {
        auto *caption = new QLabel(captions[i], this);
        pictures[i] = new QLabel(this);
        pictures[i]->setMinimumSize(shownWidth / 2, shownWidth * 9 / 32);
        pictures[i]->setAlignment(Qt::AlignCenter);
        pictures[i]->setAccessibleName(captions[i]);
        caption->setBuddy(pictures[i]);
        grid->addWidget(caption, 0, i);
        grid->addWidget(pictures[i], 1, i);
    }
    layout->addLayout(grid);
    said = new QLabel(this);
    said->setWordWrap(true);
    said->setAccessibleName(tr("Preview status"));
    layout->addWidget(said);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(show, &QPushButton::clicked, this, &PreviewDialog::makePictures);
}

PreviewDialog::~PreviewDialog()
{
    if (process) {
        process->disconnect(this);
        stopAndWait(process);
    }
}

void PreviewDialog::makePictures()
{
    if (process) {
        process->disconnect(this);
        stopAndWait(process);
        delete process;
    }
    for (const char *name : {"before.png", "after.png"})
        QFile::remove(dir.filePath(QLatin1String(name)));
    const QTime t = time->time();
    const int at = t.msecsSinceStartOfDay() / 1000;
    const QString command = makeCommand() + QStringLiteral(" --preview-at %1").arg(at) +
                            QStringLiteral(" --preview-source ") +
                            quoteWord(dir.filePath(QStringLiteral("before.png"))) +
                            QStringLiteral(" --preview ") +
                            quoteWord(dir.filePath(QStringLiteral("after.png")));
    process = new QProcess(this);
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, &PreviewDialog::ended);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(-1, QProcess::CrashExit);
    });
    said->setText(tr("Making the pictures at %1…").arg(timeText(t)));
    process->startCommand(command);
}

void PreviewDialog::ended(int exitCode, QProcess::ExitStatus status)
{
    const QString at = timeText(time->time());
    const QString reason =
        process ? lastLines(process->readAllStandardError(), 1).trimmed() : QString();
    bool ok = status == QProcess::NormalExit && exitCode == 0;
    const QString files[2] = {dir.filePath(QStringLiteral("before.png")),
                              dir.filePath(QStringLiteral("after.png"))};
    const QString names[2] = {tr("The picture at %1 before encoding").arg(at),
                              tr("The picture at %1 after encoding").arg(at)};
    for (int i = 0; ok && i < 2; ++i) {
        QPixmap picture(files[i]);
        ok = !picture.isNull();
        if (picture.width() > shownWidth)
            picture = picture.scaledToWidth(shownWidth, Qt::SmoothTransformation);
        pictures[i]->setPixmap(picture);
        pictures[i]->setAccessibleDescription(names[i]);
    }
    if (ok)
        said->setText(tr("The pictures at %1: on the left as the video is, on the right as the "
                         "encoded file will show it.")
                          .arg(at));
    else
        said->setText(tr("The pictures at %1 could not be made.").arg(at) +
                      (reason.isEmpty() ? QString() : QLatin1Char('\n') + reason));
    if (process)
        process->deleteLater();
    process.clear();
    if (ok)
        emit picturesShown();
}
