// SPDX-License-Identifier: GPL-3.0-or-later
#include "forecast.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QSpinBox>

#include <cmath>

ForecastFigures readForecast(const QByteArray &standardOutput)
{
    static const QRegularExpression line(
        QStringLiteral("^forecast size=(\\d+) seconds=(\\d+(?:\\.\\d+)?) workers=\\d+$"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(QString::fromLatin1(standardOutput));
    ForecastFigures f;
    if (m.hasMatch()) {
        f.known = true;
        f.bytes = m.captured(1).toLongLong();
        f.seconds = m.captured(2).toDouble();
    }
    return f;
}

QString forecastText(qint64 bytes, double seconds)
{
    const QLocale locale;
    QString size;
    if (bytes >= 1000'000'000)
        size = EncodeForecast::tr("about %1 GB").arg(locale.toString(bytes / 1e9, 'f', 1));
    else if (bytes >= 1000'000)
        size = EncodeForecast::tr("about %1 MB").arg(std::llround(bytes / 1e6));
    else
        size =
            EncodeForecast::tr("about %1 kB").arg(std::max<qint64>(1, std::llround(bytes / 1e3)));
    // Less exact the longer it is: a forecast is no stopwatch.
    qint64 s = std::llround(seconds);
    QString time;
    if (s < 60) {
        time = EncodeForecast::tr("about %1 s").arg(std::max<qint64>(1, s));
    } else if (s < 600) {
        s = (s + 5) / 10 * 10;
        time = s % 60 ? EncodeForecast::tr("about %1 min %2 s").arg(s / 60).arg(s % 60)
                      : EncodeForecast::tr("about %1 min").arg(s / 60);
    } else {
        const qint64 minutes = (s + 30) / 60;
        time = minutes < 60
                   ? EncodeForecast::tr("about %1 min").arg(minutes)
                   : EncodeForecast::tr("about %1 h %2 min").arg(minutes / 60).arg(minutes % 60);
    }
    return size + QStringLiteral(" \u00b7 ") + time;
}

QString queueForecastText(int files, int unknown, qint64 bytes, double seconds)
{
    if (unknown >= files)
        return QString();
    const QString sum = forecastText(bytes, seconds);
    if (unknown == 0)
        return EncodeForecast::tr("%1 files: %2").arg(files).arg(sum);
    return EncodeForecast::tr("%1 files: %2 (%3 of %1 unknown)").arg(files).arg(sum).arg(unknown);
}

EncodeForecast::EncodeForecast(QLabel *label, QObject *parent) : QObject(parent), label(label)
{
    wait.setSingleShot(true);
    wait.setInterval(1000);
    connect(&wait, &QTimer::timeout, this, &EncodeForecast::start);
    label->setAccessibleName(tr("Forecast of the encoded file's size and the encoding time"));
}

void stopAndWait(QProcess *process)
{
    // Asked to stop, the encoder removes its samples; it is forced only if
    // it does not.
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(1000);
    }
}

EncodeForecast::~EncodeForecast()
{
    if (process) {
        process->disconnect(this);
        stopAndWait(process);
    }
}

void EncodeForecast::watch(const QList<QWidget *> &controls)
{
    for (QWidget *w : controls) {
        if (auto *slider = qobject_cast<QAbstractSlider *>(w))
            connect(slider, &QAbstractSlider::valueChanged, this, &EncodeForecast::schedule);
        else if (auto *box = qobject_cast<QComboBox *>(w))
            connect(box, &QComboBox::currentIndexChanged, this, &EncodeForecast::schedule);
        else if (auto *field = qobject_cast<QLineEdit *>(w))
            connect(field, &QLineEdit::textChanged, this, &EncodeForecast::schedule);
        else if (auto *time = qobject_cast<QDateTimeEdit *>(w))
            connect(time, &QDateTimeEdit::dateTimeChanged, this, &EncodeForecast::schedule);
        else if (auto *spin = qobject_cast<QSpinBox *>(w))
            connect(spin, &QSpinBox::valueChanged, this, &EncodeForecast::schedule);
    }
}

void EncodeForecast::schedule()
{
    show(QString());
    wait.start();
}

void EncodeForecast::stop()
{
    wait.stop();
    queued.clear();
    if (process) {
        // Asked to stop, the encoder stops its samples and removes them; it
        // is forced only if it does not.
        QProcess *old = process;
        old->disconnect(this);
        connect(old, &QProcess::finished, old, &QObject::deleteLater);
        QTimer::singleShot(5000, old, [old] { old->kill(); });
        old->terminate();
        process.clear();
    }
    show(QString());
}

void EncodeForecast::start()
{
    stop();
    if (isAllowed && !isAllowed())
        return;
    const QStringList inputs = queueInputs ? queueInputs() : QStringList();
    if (inputs.size() > 1 && queueCommand) {
        queued = inputs;
        queueAt = queueUnknown = 0;
        queueBytes = 0;
        queueSeconds = 0;
        nextOfQueue();
        return;
    }
    if (!makeCommand)
        return;
    run(makeCommand(), [this](const ForecastFigures &f) {
        if (f.known)
            show(forecastText(f.bytes, f.seconds));
    });
}

// One input at a time: the encoder's forecast uses every core, as the
// encode would.
void EncodeForecast::nextOfQueue()
{
    if (queued.isEmpty())
        return;
    if (queueAt == queued.size()) {
        show(queueForecastText(queued.size(), queueUnknown, queueBytes, queueSeconds));
        queued.clear();
        return;
    }
    if (isAllowed && !isAllowed()) {
        stop();
        return;
    }
    show(tr("Forecast of the queue: %1 of %2 files…").arg(queueAt + 1).arg(queued.size()), false);
    run(queueCommand(queued.at(queueAt)), [this](const ForecastFigures &f) {
        if (f.known) {
            queueBytes += f.bytes;
            queueSeconds += f.seconds;
        } else {
            ++queueUnknown;
        }
        ++queueAt;
        nextOfQueue();
    });
}

void EncodeForecast::run(const QString &command, std::function<void(const ForecastFigures &)> done)
{
    process = new QProcess(this);
    QProcess *p = process;
    connect(p, &QProcess::finished, this,
            [this, p, done](int exitCode, QProcess::ExitStatus status) {
                ForecastFigures f = readForecast(p->readAllStandardOutput());
                p->deleteLater();
                process.clear();
                // Asked with settings changed since: a new forecast follows.
                if (wait.isActive())
                    return;
                f.known = f.known && status == QProcess::NormalExit && exitCode == 0;
                done(f);
            });
    connect(p, &QProcess::errorOccurred, this, [this, p, done](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            p->deleteLater();
            process.clear();
            if (!wait.isActive())
                done(ForecastFigures());
        }
    });
    p->setStandardInputFile(QProcess::nullDevice());
    p->startCommand(command + QStringLiteral(" --forecast"));
    emit started();
}

void EncodeForecast::show(const QString &text, bool announce)
{
    if (label->text() == text)
        return;
    label->setText(text);
    label->setAccessibleDescription(text);
    if (announce && !text.isEmpty() && label->isVisible()) {
        QAccessibleEvent event(label, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}
