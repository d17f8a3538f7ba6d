#include "commandline.h"

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
    return program + " " + quoteWord(input) + " -o " + quoteWord(output);
}

QString firstTime(const QString &text)
{
    static const QRegularExpression rx(QStringLiteral("[0-9]+:[0-9][0-9]:[0-9][0-9]"));
    return rx.match(text).captured(0);
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

QString errorBoxText(const QString &phrase)
{
    return QStringLiteral("An error occurred. Please ") +
           QStringLiteral("check this message and try to correct your configuration:\n\n") + u'"' +
           phrase + u'"';
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

bool sameExistingFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    if (::stat(a.toLocal8Bit().constData(), &sa) != 0 ||
        ::stat(b.toLocal8Bit().constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
