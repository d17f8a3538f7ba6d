// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "../encoder/contract.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <sys/stat.h>

QString quoteWord(const QString &value)
{
    bool needsQuotes = false;
    for (const QChar c : value) {
        if (c.isSpace() || c == u'"') {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes)
        return value;
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\"\""));
    return u'"' + quoted + u'"';
}

QString baseCommand(const QString &program, const QString &input, const QString &output)
{
    const QString path = input.startsWith(u'-') ? QStringLiteral("./") + input : input;
    return program + " " + quoteWord(path) + " -o " + quoteWord(output);
}

QString outputPath(const QString &dir, const QString &name)
{
    return dir.endsWith(u'/') ? dir + name : dir + u'/' + name;
}

namespace
{
// A time in the encoder's error output: hours, two-digit minutes, two-digit
// seconds, and perhaps a fraction of a second.
QRegularExpressionMatch matchTime(const QString &text)
{
    static const QRegularExpression rx(
        QStringLiteral("([0-9]+):([0-9][0-9]):([0-9][0-9])(?:\\.([0-9]+))?"));
    return rx.match(text);
}
} // namespace

QString firstTime(const QString &text)
{
    const QRegularExpressionMatch m = matchTime(text);
    if (!m.hasMatch())
        return QString();
    return text.mid(m.capturedStart(1), m.capturedEnd(3) - m.capturedStart(1));
}

QString firstTimeSeconds(const QString &text)
{
    const QRegularExpressionMatch m = matchTime(text);
    if (!m.hasMatch())
        return QString();
    const qint64 whole =
        m.captured(1).toLongLong() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
    QString fraction = m.captured(4);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    return QString::number(whole) + (fraction.isEmpty() ? QString() : u'.' + fraction);
}

int timeTextSeconds(const QString &time, int *hour, int *min, int *sec)
{
    const QStringList splittime = time.split(u':', Qt::KeepEmptyParts, Qt::CaseSensitive);
    const int int_hour = splittime.value(0).toInt();
    const int int_min = splittime.value(1).toInt();
    const int int_sec = splittime.value(2).toInt();
    if (hour)
        *hour = int_hour;
    if (min)
        *min = int_min;
    if (sec)
        *sec = int_sec;
    return int_hour * 3600 + int_min * 60 + int_sec;
}

QString firstErrorPhrase(const QString &text)
{
    static const QRegularExpression unable(
        QStringLiteral("Unable to open file|Floating point exception|output size must be a "
                       "multiple of 16 for now|option requires an argument"));
    return unable.match(text).captured(0);
}

QString lineHolding(const QString &text, const QString &part)
{
    const qsizetype at = text.indexOf(part);
    if (at < 0)
        return QString();
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    const qsizetype start = text.lastIndexOf(lineEnd, at) + 1;
    qsizetype end = text.indexOf(lineEnd, at);
    if (end < 0)
        end = text.size();
    return text.mid(start, end - start).trimmed();
}

QString errorBoxText(const QString &phrase, const QString &line)
{
    QString text = QCoreApplication::translate(
                       "Velkoran", "An error occurred. Please check this message and try to "
                                   "correct your configuration:") +
                   QStringLiteral("\n\n\"") + phrase + u'"';
    if (!line.isEmpty() && line != phrase)
        text += QStringLiteral("\n\n") + line;
    return text;
}

QString errorOutputText(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf('\0');
    return QString::fromLatin1(end < 0 ? bytes : bytes.left(end));
}

QString lastLines(const QByteArray &output, int lines)
{
    QStringList kept;
    const QStringList all = QString::fromLocal8Bit(output).split(QRegularExpression("[\r\n]"));
    for (auto it = all.crbegin(); it != all.crend() && kept.size() < lines; ++it) {
        const QString line = it->trimmed();
        if (!line.isEmpty())
            kept.prepend(line);
    }
    return kept.join(u'\n');
}

KeptChunks keptChunks(const QString &text)
{
    static const QRegularExpression keptLine(QString::fromLatin1(contract::keptPattern));
    static const QRegularExpression resumingLine(QString::fromLatin1(contract::resumingPattern));
    KeptChunks chunks;
    const QRegularExpressionMatch kept = keptLine.match(text);
    if (kept.hasMatch()) {
        chunks.kept = kept.captured(1).toInt();
        chunks.dir = kept.captured(2);
    }
    const QRegularExpressionMatch resuming = resumingLine.match(text);
    if (resuming.hasMatch())
        chunks.resumed = resuming.captured(1).toInt();
    return chunks;
}

QString keptChunksDir(const QString &output)
{
    return contract::chunkDirFor(output);
}

bool sameExistingFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    if (::stat(a.toLocal8Bit().constData(), &sa) != 0 ||
        ::stat(b.toLocal8Bit().constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
