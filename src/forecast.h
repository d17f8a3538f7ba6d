// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FORECAST_H
#define FORECAST_H

#include <QByteArray>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <functional>

// What the encoder's --forecast line says: the output's size in bytes and
// the encode's time in seconds; known false for "forecast unknown" or no
// line at all.
struct ForecastFigures {
    bool known = false;
    qint64 bytes = 0;
    double seconds = 0;
};
ForecastFigures readForecast(const QByteArray &standardOutput);

// Stops a forecast or preview run of the encoder and waits until it is gone.
void stopAndWait(QProcess *process);

// The forecast as the window shows it: "about 142 MB · about 3 min 10 s".
QString forecastText(qint64 bytes, double seconds);

// The forecast of a queue of FILES inputs, UNKNOWN of which could not be
// forecast, the others together BYTES and SECONDS: "3 files: about 1.2 GB ·
// about 25 min (1 of 3 unknown)"; empty when none could be.
QString queueForecastText(int files, int unknown, qint64 bytes, double seconds);

// The forecast of the encode the form describes, shown in LABEL: it is made
// anew a second after the last change of a watched control, by the encoder
// with --forecast on its own process; a forecast still running is stopped
// when a new one starts. Nothing is shown while ALLOWED says no (no input of
// known length, an encode running).
class EncodeForecast : public QObject
{
    Q_OBJECT

public:
    EncodeForecast(QLabel *label, QObject *parent = nullptr);
    ~EncodeForecast() override;

    // The encoder's command for the form, without the output; --forecast
    // is added to it.
    void setCommand(std::function<QString()> command) { makeCommand = std::move(command); }
    void setAllowed(std::function<bool()> allowed) { isAllowed = std::move(allowed); }
    // Several inputs queued (INPUTS gives two or more): the forecast is of
    // the whole queue, made for each input in turn with COMMAND (its command
    // as setCommand's) and summed, shown when all are in.
    void setQueue(std::function<QStringList()> inputs,
                  std::function<QString(const QString &)> command)
    {
        queueInputs = std::move(inputs);
        queueCommand = std::move(command);
    }
    // Changes of these controls (sliders, boxes, fields, time editors)
    // make a new forecast.
    void watch(const QList<QWidget *> &controls);

    // A new forecast after the wait; the one shown is cleared at once, and
    // what the one running finds is not shown.
    void schedule();
    // No forecast: a running one is stopped, the label emptied.
    void stop();

    void setDelay(int ms) { wait.setInterval(ms); }
    // The forecast process running, if any.
    QProcess *running() const { return process; }

signals:
    // A forecast process was started.
    void started();

private:
    void start();
    // Runs the encoder's COMMAND with --forecast; DONE gets what it said.
    void run(const QString &command, std::function<void(const ForecastFigures &)> done);
    // The forecast of the next input of the queue, or the sum when all are in.
    void nextOfQueue();
    void show(const QString &text, bool announce = true);

    QLabel *label;
    QTimer wait;
    QPointer<QProcess> process;
    std::function<QString()> makeCommand;
    std::function<bool()> isAllowed;
    std::function<QStringList()> queueInputs;
    std::function<QString(const QString &)> queueCommand;

    // The queue's forecast under way: its inputs, the next one, the sum so far.
    QStringList queued;
    int queueAt = 0;
    int queueUnknown = 0;
    qint64 queueBytes = 0;
    double queueSeconds = 0;
};

#endif
