// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef PREVIEWDIALOG_H
#define PREVIEWDIALOG_H

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeEdit>

#include <functional>

// Shows one picture of the input before and after encoding, at a time the
// person chooses, so that the quality chosen can be seen on their own video.
// The encoder makes both pictures (--preview-at) with the form's options,
// from COMMAND: the encode's command without its output.
class PreviewDialog : public QDialog
{
    Q_OBJECT

public:
    // LENGTH is the input's length in seconds, FROM and TO the range encoded.
    PreviewDialog(std::function<QString()> command, int from, int to, QWidget *parent = nullptr);
    ~PreviewDialog() override;

    QTimeEdit *timeEdit() const { return time; }
    QPushButton *showButton() const { return show; }
    QLabel *before() const { return pictures[0]; }
    QLabel *after() const { return pictures[1]; }
    QLabel *status() const { return said; }

    // Makes the pictures at the time chosen.
    void makePictures();

signals:
    void picturesShown();

private:
    void ended(int exitCode, QProcess::ExitStatus status);

    std::function<QString()> makeCommand;
    QTimeEdit *time;
    QPushButton *show;
    QLabel *pictures[2];
    QLabel *said;
    QTemporaryDir dir;
    QPointer<QProcess> process;
};

#endif
