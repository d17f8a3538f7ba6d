// SPDX-License-Identifier: GPL-3.0-or-later
#include "output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QString reason(int error)
{
    return QString::fromLocal8Bit(strerror(error));
}

QByteArray local(const QString &path)
{
    return QFile::encodeName(path);
}

QString refuse(const QString &output, int error)
{
    return QStringLiteral("cannot write %1: %2").arg(output, reason(error));
}

// The mode a new file gets: what the umask leaves of 0666.
uint newFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A directory we may make files in, or the reason we may not.
int directoryError(const QString &dir)
{
    struct stat st;
    if (stat(local(dir).constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    if (access(local(dir).constData(), W_OK | X_OK) != 0)
        return errno;
    return 0;
}

} // namespace

bool isStandardOutput(const QString &output)
{
    static const QStringList names = {
        QStringLiteral("-"),         QStringLiteral("pipe:"),
        QStringLiteral("pipe:1"),    QStringLiteral("/dev/stdout"),
        QStringLiteral("/dev/fd/1"), QStringLiteral("/proc/self/fd/1"),
    };
    return names.contains(output);
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return !a.isEmpty() && !b.isEmpty() && stat(local(a).constData(), &sa) == 0 &&
           stat(local(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

OutputTarget examineOutput(const QString &output)
{
    OutputTarget t;
    if (isStandardOutput(output)) {
        t.kind = OutputTarget::Kind::StandardOutput;
        t.path = output;
        return t;
    }
    QString path = output;
    if (path.startsWith(QLatin1String("file:")) && !path.startsWith(QLatin1String("file://")))
        path = path.mid(5);
    if (path.isEmpty()) {
        t.error = QStringLiteral("no output file given (-o OUTPUT)");
        return t;
    }
    if (local(QFileInfo(path).fileName()).size() > NAME_MAX || local(path).size() >= PATH_MAX) {
        t.error = refuse(output, ENAMETOOLONG);
        return t;
    }

    struct stat st;
    if (stat(local(path).constData(), &st) != 0) {
        const int error = errno;
        struct stat link;
        if (error != ENOENT) {
            t.error = refuse(output, error);
            return t;
        }
        // A new name, or a link to one: the file is made where it points.
        if (lstat(local(path).constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
            const QString target = QFileInfo(path).symLinkTarget();
            if (target.isEmpty()) {
                t.error = refuse(output, ELOOP);
                return t;
            }
            path = target;
        }
        if (const int error = directoryError(QFileInfo(path).absolutePath())) {
            t.error = refuse(output, error);
            return t;
        }
        t.path = QFileInfo(path).absoluteFilePath();
        t.permissions = newFileMode();
        return t;
    }

    if (S_ISDIR(st.st_mode)) {
        t.error = refuse(output, EISDIR);
        return t;
    }
    if (access(local(path).constData(), W_OK) != 0) {
        t.error = refuse(output, errno);
        return t;
    }
    if (!S_ISREG(st.st_mode)) {
        t.kind = OutputTarget::Kind::Direct;
        t.path = path;
        return t;
    }
    // The administrator may write anything; a file nobody may write is still
    // not ours to replace.
    if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) {
        t.error = refuse(output, EACCES);
        return t;
    }
    const QString real = QFileInfo(path).canonicalFilePath();
    if (const int error = directoryError(QFileInfo(real).absolutePath())) {
        t.error = QStringLiteral("cannot replace %1: its directory %2: %3")
                      .arg(output, QFileInfo(real).absolutePath(), reason(error));
        return t;
    }
    t.path = real;
    t.exists = true;
    t.owner = st.st_uid;
    t.group = st.st_gid;
    t.permissions = st.st_mode & 07777;
    return t;
}

QString temporaryFolder()
{
    const QString set = QString::fromLocal8Bit(qgetenv("TMPDIR"));
    if (!set.isEmpty() && directoryError(set) == 0)
        return QDir::cleanPath(set);
    return QStringLiteral("/tmp");
}

void removeKilledTemporaries(const QString &output)
{
    const QDir beside(QFileInfo(output).absolutePath());
    const QString prefix = QStringLiteral(".ffmpeg2theora-");
    for (const QString &name : beside.entryList({prefix + QLatin1Char('*')},
                                                QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (name.size() != prefix.size() + 6)
            continue;
        const QByteArray path = local(beside.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        struct stat st;
        if (fd < 0)
            continue;
        // A running encode holds its file; a killed one held it no longer.
        if (fstat(fd, &st) == 0 && st.st_uid == geteuid() && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlink(path.constData());
        ::close(fd);
    }
}

OutputFile::~OutputFile()
{
    if (!temporary.isEmpty() && !committed)
        unlink(local(temporary).constData());
    if (held >= 0)
        ::close(held);
}

QString OutputFile::open()
{
    if (target.kind != OutputTarget::Kind::File)
        return QString();
    const QFileInfo info(target.path);
    QByteArray name;
    int fd = -1;
    // Held while the encode runs, so that the next run in this folder
    // removes it only after a kill; one that took it for a kill's between
    // its making and its hold has removed it: another name then.
    for (int tries = 0; fd < 0; ++tries) {
        name = local(info.absolutePath() + QStringLiteral("/.ffmpeg2theora-XXXXXX"));
        fd = mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0)
            return refuse(target.path, errno);
        struct stat st;
        if ((flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &st) == 0 && st.st_nlink > 0) ||
            tries > 8)
            break;
        ::close(fd);
        fd = -1;
    }
    temporary = QFile::decodeName(name);
    // As the file it replaces, or as a new file would be.
    fchmod(fd, target.permissions);
    if (target.exists && geteuid() == 0 && fchown(fd, target.owner, target.group) != 0) {
        // The administrator's own file then; nothing else is lost.
    }
    held = fd;
    return QString();
}

QString OutputFile::url() const
{
    if (target.kind == OutputTarget::Kind::StandardOutput)
        return QStringLiteral("pipe:1");
    return QStringLiteral("file:") + path();
}

QString OutputFile::path() const
{
    switch (target.kind) {
    case OutputTarget::Kind::StandardOutput:
        return QStringLiteral("/dev/stdout");
    case OutputTarget::Kind::Direct:
        return target.path;
    case OutputTarget::Kind::File:
        break;
    }
    return temporary;
}

QString OutputFile::followable() const
{
    return target.kind == OutputTarget::Kind::File ? temporary : QString();
}

QString OutputFile::commit()
{
    if (target.kind != OutputTarget::Kind::File || committed)
        return QString();
    if (rename(local(temporary).constData(), local(target.path).constData()) != 0)
        return refuse(target.path, errno);
    committed = true;
    return QString();
}
