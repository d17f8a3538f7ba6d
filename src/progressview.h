// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef PROGRESSVIEW_H
#define PROGRESSVIEW_H

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <functional>

class QProgressBar;
class Spoken;

// The progress bar: what it shows at each step of a job, a busy bar that
// still has words, and what a screen reader hears of it.
class ProgressView : public QObject
{
    Q_OBJECT

public:
    explicit ProgressView(QProgressBar *bar);

    // An empty bar, nothing of the last job's length or words.
    void reset();
    void setFormat(const QString &format);
    // A bar that cannot tell how far the job got, saying TEXT instead.
    void showBusy(const QString &text);
    void setBusyText(const QString &text);
    QString busyText() const { return busy; }
    bool busyBar() const;
    // The encoder cannot tell the length: the bar tells the time encoded.
    bool lengthUnknown = false;

    // A resumed encode's bar starts at PERCENT, the share kept, before the
    // encoder says a word; once the bar counts seconds of the input, the
    // share is kept in proportion (keepStartShare).
    void startAt(int percent);
    void keepStartShare();

    // The bar at the share kept, after ENDING, saying Encode resumes it.
    void showKept(const QString &ending, int percent);
    // A failed job keeps the bar where it got to; WHY in a few words, when known.
    void showFailed(const QString &why = QString());
    void showDone(const QString &name, const QString &note = QString());
    void showCancelled(bool partialFileLeft);

    // TEXT as a bar format that shows it as it is ("%p" stays "%p").
    static QString literal(const QString &text);
    // NAME shortened in its middle to fit the bar's width beside the other words.
    QString fitted(const QString &name, const QString &around) const;

    // What the bar shows goes to a screen reader too, through SPOKEN; RUNNING
    // tells whether a job runs (between jobs an empty bar says nothing).
    void setSpoken(Spoken *spoken, std::function<bool()> running);
    void announce();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintBusy();

    QProgressBar *bar;
    QString busy; // what a busy bar says
    int startShare = -1;
    Spoken *spoken = nullptr;
    std::function<bool()> jobRunning;
};

#endif
