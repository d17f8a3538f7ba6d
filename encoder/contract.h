// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FFMPEG2THEORA_CONTRACT_H
#define FFMPEG2THEORA_CONTRACT_H

// What ffmpeg2theora and the window agree on, in one place that both
// include: where the chunks of an encode are kept, the lines that say so on
// standard error, and the exit statuses.

#include <QByteArray>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>

namespace contract
{

// The chunks of an encode into OUTPUT that did not complete are kept in
// ".NAME.chunks" beside it, with a file "manifest" in it.
inline QString chunkDirFor(const QString &output)
{
    const QFileInfo info(output);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".chunks");
}
inline constexpr char manifestName[] = "manifest";

// Chunk folders nobody resumed for this many days are removed by the next
// encode in their folder.
inline constexpr int staleChunkDays = 30;

// "ffmpeg2theora: [stopped; ]N of M chunks (P %) kept in DIR; the same
// command resumes": the line an encode that did not complete ends with when
// it keeps chunks. Arguments: "stopped; " or nothing, N, M, P, DIR.
inline QString keptLine()
{
    return QStringLiteral("%1%2 of %3 chunks (%4 %) kept in %5; the same command resumes");
}
// The same, as a pattern: the share in the first group, DIR in the second.
inline constexpr char keptPattern[] = "ffmpeg2theora: (?:stopped; )?[0-9]+ of [0-9]+ chunks "
                                      "\\(([0-9]+) %\\) kept in ([^\r\n]+); the same command "
                                      "resumes";

// "ffmpeg2theora: resuming: N of M chunks already encoded (P %)": an encode
// goes on from kept chunks. Arguments: N, M, P.
inline QString resumingLine()
{
    return QStringLiteral("resuming: %1 of %2 chunks already encoded (%3 %)");
}
// The share in the first group.
inline constexpr char resumingPattern[] =
    "ffmpeg2theora: resuming: [0-9]+ of [0-9]+ chunks already encoded \\(([0-9]+) %\\)";

// "ffmpeg2theora INPUT -o OUTPUT [options] --resume-check": whether the
// command would resume from chunks kept beside OUTPUT. It encodes and writes
// nothing and prints one line on standard output, with exit status 0:
// "resume share=P" (the kept chunks fit: P % of the range is kept), "resume
// none" (nothing is kept), "resume changed reason=WHY" (chunks are kept, but
// by other settings, from another input or by another ffmpeg: the command
// starts afresh), or "resume running" (an encode holds the chunks now). A
// failure is exit status 1 and the reason on standard error.
inline constexpr char resumeCheckOption[] = "--resume-check";
inline QString resumeShareLine()
{
    return QStringLiteral("resume share=%1");
}
inline constexpr char resumeNoneLine[] = "resume none";
inline QString resumeChangedLine()
{
    return QStringLiteral("resume changed reason=%1");
}
inline constexpr char resumeRunningLine[] = "resume running";

// The line of a resume check, read.
struct ResumeAnswer {
    enum class Kind { Unknown, Share, None, Changed, Running };
    Kind kind = Kind::Unknown;
    int share = -1;
    QString reason;
};
inline ResumeAnswer readResumeAnswer(const QByteArray &output)
{
    static const QRegularExpression line(
        QStringLiteral("^resume (?:share=([0-9]{1,3})|(none)|(running)|changed reason=(.*))$"));
    const QRegularExpressionMatch m = line.match(QString::fromUtf8(output).trimmed());
    ResumeAnswer a;
    if (!m.hasMatch())
        return a;
    if (m.capturedLength(1)) {
        a.kind = ResumeAnswer::Kind::Share;
        a.share = m.captured(1).toInt();
    } else if (m.capturedLength(2)) {
        a.kind = ResumeAnswer::Kind::None;
    } else if (m.capturedLength(3)) {
        a.kind = ResumeAnswer::Kind::Running;
    } else {
        a.kind = ResumeAnswer::Kind::Changed;
        a.reason = m.captured(4);
    }
    return a;
}

// "ffmpeg2theora: warning: the input ended early, at H:MM:SS.ss of
// H:MM:SS.ss": the encode succeeded, but what the input holds ends before
// the range it says it has (a file cut short). Arguments: where it ended and
// the range's length, both from the range's start.
inline QString endedEarlyLine()
{
    return QStringLiteral("warning: the input ended early, at %1 of %2");
}
// The two times in the first and second group.
inline constexpr char endedEarlyPattern[] =
    "ffmpeg2theora: warning: the input ended early, at ([0-9]+:[0-9]{2}:[0-9]{2}(?:\\.[0-9]+)?) "
    "of ([0-9]+:[0-9]{2}:[0-9]{2}(?:\\.[0-9]+)?)";
// "ffmpeg2theora: finishing: joining and checking N MB, about S s": the last
// picture is encoded; what follows until the end (the chunks joined, the
// result checked) takes about S seconds on this machine at rest. Arguments:
// N, S (with one decimal).
inline QString finishingLine()
{
    return QStringLiteral("finishing: joining and checking %1 MB, about %2 s");
}
// S in the first group.
inline constexpr char finishingPattern[] =
    "ffmpeg2theora: finishing: [^\r\n]*about ([0-9]+(?:\\.[0-9]+)?) s";

// Exit statuses: success (the output is in place and checked), a failure
// (said on standard error; an existing output is left as it was), and a
// stop by signal N: stoppedBase + N.
inline constexpr int exitSuccess = 0;
inline constexpr int exitFailure = 1;
inline constexpr int stoppedBase = 128;

} // namespace contract

#endif
