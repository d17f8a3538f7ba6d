#ifndef VELKORAN_H
#define VELKORAN_H

#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTime>

#include <memory>

#include "ui_velkoran.h"

// The one main window: holds the form, the child process that runs the encoder
// (for encodes and duration probes alike) and the state carried between slots.
class Velkoran : public QMainWindow
{
    Q_OBJECT

public:
    Velkoran(QWidget *parent = nullptr);

    // Makes PATH the input file, exactly as if it had been chosen with "Browse Files".
    void chooseInputFile(const QString &path);

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

    // What the child process is doing now, and how its run went so far.
    enum class Job { None, Encode, Probe };
    Job job = Job::None;
    bool errorShownForJob = false;           // a known error phrase was shown for this job
    bool stopRequested = false;              // the user cancelled, or a probe found its time
    bool closing = false;                    // the window is closing; no more dialogs
    int errorBoxesOpen = 0;                  // known-error boxes waiting for the user
    bool probeEndPending = false;            // the probe ended while such a box was open
    QByteArray errorTail;                    // the end of the child's error output, for reports
    std::unique_ptr<QTemporaryDir> probeDir; // where a probe writes its throw-away output
    QElapsedTimer encodeClock;               // since the encode's first position
    int clockFirstValue = -1;                // that first position, -1 before it

    void showTimeLeft(int position);
    void resetProgressText();

    QString encoderChoice() const;
    void startJob(Job kind, const QString &command);
    void processFinished(int exitCode, QProcess::ExitStatus status);
    void finishProbe();
    void finishEncode(int exitCode, QProcess::ExitStatus status);
    void reportFailure(const QString &what);
    void showTime(const QString &value);
    void processFailedToStart(QProcess::ProcessError error);
    bool confirmOutputPath(const QString &input, const QString &output);

    friend class VelkoranTestAccess;
};

#endif
