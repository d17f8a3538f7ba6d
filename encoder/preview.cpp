// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview.h"

#include "forecast.h"
#include "media.h"
#include "plan.h"
#include "process.h"
#include "report.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

QString previewError(const Options &o)
{
    const bool pictures = !o.preview.isEmpty() || !o.previewSource.isEmpty();
    if (pictures && !o.previewAt)
        return QStringLiteral("--preview and --preview-source need --preview-at TIME");
    if (o.previewAt && !pictures)
        return QStringLiteral("--preview-at needs --preview PNG or --preview-source PNG");
    if (o.previewAt && o.forecast)
        return QStringLiteral("--forecast and --preview-at are asked for one at a time");
    return QString();
}

namespace
{

// The picture is shown with square pixels, at its display aspect.
const QString squarePixels = QStringLiteral("scale=iw*sar:ih,setsar=1");

// A picture file as ffmpeg writes it: one image, replaced, never numbered.
QStringList pictureOutput(const QString &path)
{
    return {QStringLiteral("-update"),
            QStringLiteral("1"),
            QStringLiteral("-c:v"),
            QStringLiteral("png"),
            QStringLiteral("-f"),
            QStringLiteral("image2"),
            QStringLiteral("file:") + QFileInfo(path).absoluteFilePath()};
}

// Runs ffmpeg with ARGS; the exit status, with the reason said on failure.
int run(const QString &ffmpeg, const QStringList &args, std::optional<int> nice)
{
    QByteArray errors;
    ChildCommand c;
    c.argv = QStringList{ffmpeg} + args;
    c.nice = nice;
    c.onProgress = [](const QByteArray &) {};
    c.onStderr = [&errors](const QByteArray &bytes) { errors += bytes.left(65536); };
    const ChildResult result = runChild(c);
    if (result.stopped || stopSignal())
        return stoppedExit();
    return reportFailure(ffmpeg, result, errors);
}

} // namespace

int preview(const Options &o, const QString &ffprobe, const QString &ffmpeg)
{
    if (readOnce(o)) {
        complain(QStringLiteral("no preview: the input can be read only once"));
        return 1;
    }
    const ProbeResult probe = probeInput(o, ffprobe);
    if (probe.child.stopped || stopSignal())
        return stoppedExit();
    if (!probe.opened) {
        complain(QStringLiteral("Unable to open file %1: %2")
                     .arg(o.input, probe.child.startError.isEmpty() ? probe.reason
                                                                    : probe.child.startError));
        return 1;
    }
    const MediaInfo &m = probe.info;
    Plan plan = makePlan(o, m);
    plan.audio = false;
    plan.audioStream = -1;
    if (plan.error.isEmpty() && !plan.video)
        plan.error = o.noVideo ? QStringLiteral("--novideo leaves no pictures to preview")
                               : QStringLiteral("the input has no pictures to preview");
    const double at = *o.previewAt;
    const double end = std::min(m.duration.value_or(qInf()), o.endTime.value_or(qInf()));
    if (plan.error.isEmpty() && (at < plan.start || at >= end))
        plan.error = QStringLiteral("--preview-at %1 is not within the range encoded (%2 to %3)")
                         .arg(at)
                         .arg(formatTime(plan.start))
                         .arg(std::isfinite(end) ? formatTime(end) : QStringLiteral("N/A"));
    if (!plan.error.isEmpty()) {
        complain(plan.error);
        return 1;
    }
    const double fps = placesPerSecond(plan);
    const qint64 place = qint64(std::floor((at - plan.start) * fps + 1e-6));
    const QString absent;

    if (!o.previewSource.isEmpty()) {
        const SpanEncode e = spanEncode(plan, m, nullptr, Span{place, 1}, absent);
        QStringList args = ffmpegCommand(e.plan, e.slice);
        args.erase(args.end() - 3, args.end()); // -f null -
        const qsizetype vf = args.indexOf(QStringLiteral("-vf"));
        if (vf >= 0)
            args[vf + 1] += QLatin1Char(',') + squarePixels;
        else
            args << QStringLiteral("-vf") << squarePixels;
        if (const int status = run(ffmpeg, args + pictureOutput(o.previewSource), o.nice))
            return status;
    }
    if (!o.preview.isEmpty()) {
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/ffmpeg2theora-preview-XXXXXX"));
        if (!dir.isValid()) {
            complain(
                QStringLiteral("cannot make a temporary directory: %1").arg(dir.errorString()));
            return 1;
        }
        // From where the encode puts the key frame before the picture (at
        // most ten seconds before it), to the picture.
        const qint64 key = std::max(place / o.keyint * o.keyint, place - qint64(10 * fps));
        const QString sample = dir.filePath(QStringLiteral("sample.ogg"));
        const SpanEncode e = spanEncode(plan, m, nullptr, Span{key, place - key + 1},
                                        QStringLiteral("file:") + sample);
        if (const int status = run(ffmpeg, ffmpegCommand(e.plan, e.slice), o.nice))
            return status;
        // Every picture decoded replaces the one before: the last stays.
        const QStringList decode = {QStringLiteral("-hide_banner"),
                                    QStringLiteral("-nostdin"),
                                    QStringLiteral("-loglevel"),
                                    QStringLiteral("error"),
                                    QStringLiteral("-y"),
                                    QStringLiteral("-i"),
                                    QStringLiteral("file:") + sample,
                                    QStringLiteral("-vf"),
                                    squarePixels};
        if (const int status = run(ffmpeg, decode + pictureOutput(o.preview), o.nice))
            return status;
    }
    return 0;
}
