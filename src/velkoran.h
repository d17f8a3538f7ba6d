// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef VELKORAN_H
#define VELKORAN_H

#include <QMainWindow>
#include <QProcess>
#include <QStringList>
#include <QTime>

#include <memory>

#include "encodepreflight.h"
#include "encoderjob.h"
#include "encodesettings.h"
#include "inputfields.h"
#include "presets.h"
#include "progressview.h"
#include "queue.h"
#include "queuerunner.h"
#include "ui_velkoran.h"

class EncodeForecast;
class JobStory;
class TrimRange;
class WindowSettings;
class Spoken;

// The one main window: holds the form, the child process that runs the encoder
// (for encodes and duration probes alike, through the job) and the state
// carried between slots. Its slots turn what the job reports into widget changes.
class Velkoran : public QMainWindow
{
    Q_OBJECT

public:
    Velkoran(QWidget *parent = nullptr);
    ~Velkoran() override;

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

    EncoderJob job{myprocez}; // the run of the encoder, encode or probe
    bool closing = false;     // the window is closing; no more dialogs
    QStringList runningWords; // the words of the encode that runs

    EncodeSettings settings{this};          // the form's options, through the form table
    InputFields fields{ui};                 // the input and output fields
    ProgressView *bar = nullptr;            // the progress bar and what it says
    EncodePreflight preflight{this};        // the questions before an encode
    QueueRunner *runner = nullptr;          // several input files, one after another
    PresetBar *presets = nullptr;           // named sets of the settings
    Spoken *spoken = nullptr;               // what a screen reader is told of the bar
    std::unique_ptr<JobStory> story;        // how a job's end is told
    std::unique_ptr<TrimRange> trim;        // the trim editors
    QString probedLength;                   // the probed length in seconds, as the encoder wrote it
    std::unique_ptr<WindowSettings> stored; // what is kept between runs

    QString encoderChoice() const;
    QString outputOfForm() const;
    void setInputText(const QString &path);
    QStringList commandWords(const QString &output) const;
    void resetProgress();
    void showTime(const QString &value);
    void showPhrase(const QString &phrase, const QString &line);
    void jobEnded(EncoderJob::Kind kind, EncoderJob::Outcome outcome);
    void encodeEnded(EncoderJob::Outcome outcome);
    void probeEnded(EncoderJob::Outcome outcome);
    void reportFailure(const QString &what);
    void forgetTrimRange();
    void stopProbe();
    void lengthRead(const QString &input, const QString &time, const QString &seconds);
    void showRunning();
    void showIdle();
    bool takeDrop(QDropEvent *event);
    void nameControls();
    void fitTexts();
    bool encodeForm(const QString &output, bool restart = false);

    // The forecast beside the Encode button and the Preview (forecastroom.cpp).
    EncodeForecast *forecast = nullptr;
    void setupForecast();
    QString formCommandWithoutOutput(const QString &input = QString());

    // The queue runner's wiring (queueroom.cpp).
    void setupQueue();
    void lockOutput(bool locked);

    // Kept between runs: the settings file, read at the start and written
    // when an encode starts and when the window closes.
public:
    static QString settingsFile();
    void saveSettings();
    void loadSettings();
    void resetToDefaults();

private:
    friend class VelkoranTestAccess;
};

#endif
