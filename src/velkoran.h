// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef VELKORAN_H
#define VELKORAN_H

#include <QHash>
#include <QMainWindow>
#include <QProcess>
#include <QStringList>
#include <QTime>

#include "encoderjob.h"
#include "queue.h"
#include "ui_velkoran.h"

class Spoken;

// The one main window: holds the form, the child process that runs the encoder
// (for encodes and duration probes alike, through the job) and the state
// carried between slots. Its slots turn what the job reports into widget changes.
class Velkoran : public QMainWindow
{
    Q_OBJECT

public:
    Velkoran(QWidget *parent = nullptr);

    // Makes PATH the input file, exactly as if it had been chosen with "Browse Files".
    void chooseInputFile(const QString &path);
    // One path: chooseInputFile; several: they are queued, the first shown.
    void chooseInputFiles(const QStringList &paths);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void on_openFileNameButton_clicked();
    void on_openDirectoryButton_clicked();
    void on_AudioQualityHorizontalSlider_valueChanged(int value);
    void on_VideoQualityHorizontalSlider_valueChanged(int value);
    void on_EncodeToTheorapushButton_clicked();
    void updateProgressbar();
    void enableButton();
    void on_AudiocomboBox_activated(int audioindex);
    void on_VideocomboBox_activated(int videoindex);
    void on_CancelpushButton_clicked();
    void on_getDurationpushButton_clicked();
    void setDuration(int hour, int min, int sec);
    void on_startTimetimeEdit_timeChanged(const QTime &starttime);
    QString generateFFmpeg2theoraCommand();
    QStringList checkMetainfo();
    QStringList getArgs();

private:
    int computeDuration(QString value);
    int toSeconds(QTime encodetime);
    QStringList getAudioQuality();
    QStringList getVideoQuality();

    Ui::Velkoran ui;
    QProcess myprocez;
    int real_duration;
    bool k;
    bool getDuration;
    bool customendtimebool;
    int customendtime;

    EncoderJob job{myprocez};   // the run of the encoder, encode or probe
    bool closing = false;       // the window is closing; no more dialogs
    QString probedLength;       // the probed length in seconds, as the encoder wrote it
    QString proposedDir;        // the output directory and name proposed for the input,
    QString proposedName;       // which a new input may replace
    bool lengthUnknown = false; // the encoder cannot tell the length: a busy bar
    QString busyText;           // what a busy bar says
    Spoken *spoken = nullptr;   // what a screen reader is told of the bar

    QString encoderChoice() const;
    void resetProgress();
    void showTime(const QString &value);
    void showPhrase(const QString &phrase, const QString &line);
    void jobEnded(EncoderJob::Kind kind, EncoderJob::Outcome outcome);
    void encodeEnded(EncoderJob::Outcome outcome);
    void probeEnded(EncoderJob::Outcome outcome);
    void reportFailure(const QString &what);
    void inputEdited(const QString &path);
    void forgetTrimRange();
    void proposeOutput(const QString &input);
    void stopProbe();
    void lengthRead(const QString &input, const QString &time, const QString &seconds);
    void showRunning();
    void showIdle();
    void showFailed();
    void setBarFormat(const QString &format);
    void setBusyText(const QString &text);
    void announceBar();
    void paintBusyBar();
    bool takeDrop(QDropEvent *event);
    void nameControls();
    void fitTexts();
    bool confirmOutputPath(const QString &input, const QString &output);
    bool encodeForm(const QString &output, bool restart = false);
    bool chooseResume(const QString &output, bool *restart);
    bool showKept(const QString &ending);
    QHash<QString, int> keptShares; // the share kept in each chunk directory, as last told

    // Several input files, encoded one after another (see queue.h).
    QStringList queuedInputs; // as chosen; empty for one file
    EncodeQueue queue;        // the queue as it runs
    void setQueue(const QStringList &paths);
    void startQueue();
    void advanceQueue();
    void queueFileEnded(EncoderJob::Kind kind, EncoderJob::Outcome outcome);
    void endQueue();

    friend class VelkoranTestAccess;
};

#endif
