// SPDX-License-Identifier: GPL-3.0-or-later
#include "manifest.h"

#include "contract.h"
#include "ogg.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr qint64 mebibyte = 1024 * 1024;
using contract::manifestName;
const char formatName[] = "ffmpeg2theora chunks";

QByteArray local(const QString &path)
{
    return QFile::encodeName(path);
}

QByteArray hashOf(QFile &f, qint64 from, qint64 length)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!f.seek(from))
        return {};
    hash.addData(f.read(length));
    return hash.result().toHex();
}

// The files of ours a chunk directory may hold.
bool isOurs(const QString &name)
{
    static const QRegularExpression ours(QStringLiteral(
        "^(part[0-9]+\\.(ogg|decoded)|audio\\.ogg|joined\\.ogg|manifest(\\.new)?)$"));
    return ours.match(name).hasMatch();
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

// Holds DIR against every other encode (an advisory lock on the directory,
// gone with the process); the descriptor, or -1 when another holds it or it
// is no directory of ours.
int holdDirectory(const QString &dir)
{
    const int fd = ::open(local(dir).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_uid != geteuid() || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QJsonObject fileJson(const KeptFile &f)
{
    return {{QStringLiteral("index"), f.index},
            {QStringLiteral("pictures"), f.pictures},
            {QStringLiteral("held"), f.held},
            {QStringLiteral("bytes"), f.bytes},
            {QStringLiteral("checksum"), QString::fromLatin1(f.checksum)},
            {QStringLiteral("damage"), f.damage},
            {QStringLiteral("source"), QString::fromLatin1(f.source)}};
}

KeptFile fileFrom(const QJsonObject &o)
{
    KeptFile f;
    f.index = o.value(QLatin1String("index")).toInt(-2);
    f.pictures = o.value(QLatin1String("pictures")).toInteger();
    f.held = o.value(QLatin1String("held")).toInteger();
    f.bytes = o.value(QLatin1String("bytes")).toInteger(-1);
    f.checksum = o.value(QLatin1String("checksum")).toString().toLatin1();
    f.damage = o.value(QLatin1String("damage")).toInt();
    f.source = o.value(QLatin1String("source")).toString().toLatin1();
    return f;
}

// A kept file still as it was listed: its bytes, and for a chunk its
// pictures and a key frame first.
bool intact(const QString &dir, const KeptFile &f)
{
    const QString path = QDir(dir).filePath(keptFileName(f.index));
    if (QFileInfo(path).size() != f.bytes || fileChecksum(path) != f.checksum)
        return false;
    if (f.index < 0)
        return true;
    const TheoraFile t = readTheoraFile(path);
    return t.ok && t.startsWithKeyFrame && t.frames == f.held;
}

} // namespace

InputIdentity identifyInput(const QString &path)
{
    InputIdentity id;
    const QFileInfo info(path);
    id.path = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    struct stat st;
    QFile f(path);
    if (stat(local(path).constData(), &st) != 0 || !f.open(QIODevice::ReadOnly))
        return id;
    id.size = st.st_size;
    id.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.head = hashOf(f, 0, mebibyte);
    id.tail = hashOf(f, std::max<qint64>(0, id.size - mebibyte), mebibyte);
    return id;
}

QString keptFileName(int index)
{
    return index < 0 ? QStringLiteral("audio.ogg") : QStringLiteral("part%1.ogg").arg(index);
}

QString decodedLogName(int index)
{
    return QStringLiteral("part%1.decoded").arg(index);
}

QByteArray fileChecksum(const QString &path)
{
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!f.open(QIODevice::ReadOnly) || !hash.addData(&f))
        return {};
    return hash.result().toHex();
}

int Manifest::percentKept() const
{
    qint64 pictures = 0;
    for (const KeptFile &f : chunks)
        pictures += f.pictures;
    return frames > 0 ? int(std::min<qint64>(100, pictures * 100 / frames)) : 0;
}

QByteArray manifestBytes(const Manifest &m)
{
    QJsonArray cuts, chunks;
    for (const qint64 cut : m.cuts)
        cuts << cut;
    for (const KeptFile &f : m.chunks)
        chunks << fileJson(f);
    QJsonObject o{{QStringLiteral("format"), QString::fromLatin1(formatName)},
                  {QStringLiteral("version"), m.version},
                  {QStringLiteral("input"),
                   QJsonObject{{QStringLiteral("path"), m.input.path},
                               {QStringLiteral("size"), m.input.size},
                               {QStringLiteral("modified"), QString::number(m.input.modified)},
                               {QStringLiteral("head"), QString::fromLatin1(m.input.head)},
                               {QStringLiteral("tail"), QString::fromLatin1(m.input.tail)}}},
                  {QStringLiteral("arguments"), QJsonArray::fromStringList(m.arguments)},
                  {QStringLiteral("ffmpeg"), QString::fromLatin1(m.ffmpeg)},
                  {QStringLiteral("keyint"), m.keyint},
                  {QStringLiteral("frames"), m.frames},
                  {QStringLiteral("cuts"), cuts},
                  {QStringLiteral("chunks"), chunks}};
    if (m.sound)
        o.insert(QStringLiteral("sound"), fileJson(*m.sound));
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<Manifest> parseManifest(const QByteArray &text)
{
    const QJsonObject o = QJsonDocument::fromJson(text).object();
    if (o.value(QLatin1String("format")).toString() != QLatin1String(formatName) ||
        o.value(QLatin1String("version")).toInt() != Manifest::currentVersion)
        return std::nullopt;
    Manifest m;
    const QJsonObject input = o.value(QLatin1String("input")).toObject();
    m.input.path = input.value(QLatin1String("path")).toString();
    m.input.size = input.value(QLatin1String("size")).toInteger(-1);
    m.input.modified = input.value(QLatin1String("modified")).toString().toLongLong();
    m.input.head = input.value(QLatin1String("head")).toString().toLatin1();
    m.input.tail = input.value(QLatin1String("tail")).toString().toLatin1();
    for (const QJsonValue &v : o.value(QLatin1String("arguments")).toArray())
        m.arguments << v.toString();
    m.ffmpeg = o.value(QLatin1String("ffmpeg")).toString().toLatin1();
    m.keyint = o.value(QLatin1String("keyint")).toInt();
    m.frames = o.value(QLatin1String("frames")).toInteger();
    for (const QJsonValue &v : o.value(QLatin1String("cuts")).toArray())
        m.cuts << v.toInteger(-1);
    for (const QJsonValue &v : o.value(QLatin1String("chunks")).toArray()) {
        const KeptFile f = fileFrom(v.toObject());
        // A chunk outside the cuts, or listed twice, is no chunk of these.
        if (f.index < 0 || f.index >= m.cuts.size())
            return std::nullopt;
        for (const KeptFile &other : m.chunks)
            if (other.index == f.index)
                return std::nullopt;
        m.chunks << f;
    }
    if (o.contains(QLatin1String("sound")))
        m.sound = fileFrom(o.value(QLatin1String("sound")).toObject());
    return m;
}

QString manifestProblem(const QByteArray &text)
{
    const QJsonObject o = QJsonDocument::fromJson(text).object();
    return o.value(QLatin1String("format")).toString() == QLatin1String(formatName) &&
                   o.value(QLatin1String("version")).toInt() != Manifest::currentVersion
               ? QStringLiteral("made by another version")
               : QStringLiteral("its manifest is damaged");
}

QString mismatch(const Manifest &kept, const Manifest &now)
{
    if (kept.arguments != now.arguments || kept.keyint != now.keyint)
        return QStringLiteral("other options");
    if (kept.ffmpeg != now.ffmpeg)
        return QStringLiteral("another ffmpeg");
    // The chunks of one range, each a whole number of key frame intervals.
    bool fit = kept.frames == now.frames && kept.cuts.size() > 1 && kept.cuts.first() == 0 &&
               kept.keyint > 0;
    for (int i = 1; fit && i < kept.cuts.size(); ++i)
        fit = kept.cuts.at(i) > kept.cuts.at(i - 1) && kept.cuts.at(i) < kept.frames &&
              kept.cuts.at(i) % kept.keyint == 0;
    return fit ? QString() : QStringLiteral("other cut points");
}

QString chunkDirFor(const QString &output)
{
    return contract::chunkDirFor(output);
}

QStringList removeStaleChunkDirs(const QString &output)
{
    const QDir beside(QFileInfo(output).absolutePath());
    const QDateTime limit = QDateTime::currentDateTime().addDays(-contract::staleChunkDays);
    QStringList removed;
    for (const QString &name : beside.entryList({QStringLiteral(".*.chunks")},
                                                QDir::Dirs | QDir::Hidden | QDir::NoSymLinks)) {
        const QString dir = beside.filePath(name);
        const QFileInfo manifest(QDir(dir).filePath(QLatin1String(manifestName)));
        // Written each time a chunk is done: its age is the encode's.
        if (!manifest.isFile() || manifest.lastModified() > limit)
            continue;
        const int fd = holdDirectory(dir);
        if (fd < 0)
            continue;
        const QStringList inside = entries(dir);
        if (std::all_of(inside.begin(), inside.end(), isOurs)) {
            for (const QString &n : inside)
                QFile::remove(QDir(dir).filePath(n));
            if (beside.rmdir(name))
                removed << dir;
        }
        ::close(fd);
    }
    return removed;
}

namespace
{

// Removes the directories PREFIX + 6 characters in FOLDER that hold nothing
// but chunk files (no manifest) and that no running encode holds.
void removeKilledDirs(const QString &folder, const QString &prefix)
{
    const QDir beside(folder);
    for (const QString &name : beside.entryList(QDir::Dirs | QDir::Hidden | QDir::NoSymLinks)) {
        if (!name.startsWith(prefix) || name.size() != prefix.size() + 6)
            continue;
        const QString dir = beside.filePath(name);
        const QStringList inside = entries(dir);
        const int fd = holdDirectory(dir);
        if (fd < 0)
            continue;
        if (std::all_of(inside.begin(), inside.end(), [](const QString &n) {
                return isOurs(n) && !n.startsWith(QLatin1String("manifest"));
            })) {
            for (const QString &n : inside)
                QFile::remove(QDir(dir).filePath(n));
            beside.rmdir(name);
        }
        ::close(fd);
    }
}

} // namespace

void removeLegacyChunkDirs(const QString &output)
{
    const QFileInfo info(output);
    removeKilledDirs(info.absolutePath(),
                     QStringLiteral(".") + info.fileName() + QStringLiteral(".parts-"));
}

void removeKilledPrivateDirs(const QString &folder)
{
    removeKilledDirs(folder, QStringLiteral("ffmpeg2theora.parts-"));
}

ChunkStore::~ChunkStore()
{
    // A stop keeps what is finished; with nothing finished, nothing is kept.
    if (!dir.isEmpty() && !removed && (!named || kept.chunks.isEmpty()))
        remove();
    if (lock >= 0)
        ::close(lock);
}

QString ChunkStore::openPrivate(const QString &pattern)
{
    // Held from the start; a run that took it for a kill's before that has
    // removed it: another name then.
    for (int tries = 0;; ++tries) {
        QByteArray name = local(pattern);
        if (!mkdtemp(name.data()))
            return QString::fromLocal8Bit(strerror(errno));
        dir = QFile::decodeName(name);
        lock = holdDirectory(dir);
        struct stat st;
        if ((lock >= 0 && fstat(lock, &st) == 0 && st.st_nlink > 0) || tries > 8)
            return QString();
        if (lock >= 0)
            ::close(lock);
        lock = -1;
    }
}

bool ChunkStore::open(const QString &path, const Manifest &now, bool restart)
{
    const bool made = mkdir(local(path).constData(), 0700) == 0;
    if (!made && errno != EEXIST)
        return false;
    lock = holdDirectory(path);
    if (lock < 0)
        return false;
    QFile file(QDir(path).filePath(QLatin1String(manifestName)));
    const QStringList inside = entries(path);
    // A directory of someone else's is left as it is.
    if (!inside.isEmpty() && !file.exists()) {
        ::close(lock);
        lock = -1;
        return false;
    }
    dir = path;
    named = true;
    kept = now;
    kept.chunks.clear();
    kept.sound.reset();
    kept.cuts.clear();
    if (file.exists()) {
        const QByteArray text = file.open(QIODevice::ReadOnly) ? file.read(mebibyte) : QByteArray();
        const std::optional<Manifest> found = parseManifest(text);
        file.close();
        const QString wrong = !found    ? manifestProblem(text)
                              : restart ? QStringLiteral("--restart")
                                        : mismatch(*found, now);
        if (wrong.isEmpty()) {
            kept.cuts = found->cuts;
            for (const KeptFile &f : found->chunks)
                if (intact(dir, f))
                    kept.chunks << f;
            if (found->sound && found->input.sameBytes(now.input) && intact(dir, *found->sound))
                kept.sound = found->sound;
        } else if (!found || !found->chunks.isEmpty()) {
            why = wrong;
        }
    }
    clear();
    // From now on the directory is known for ours; a directory whose
    // manifest cannot be written would keep chunks nobody lists.
    failed = save();
    if (!failed.isEmpty()) {
        kept = Manifest();
        if (made) {
            remove();
        } else {
            named = false;
            dir.clear();
        }
        ::close(lock);
        lock = -1;
        return false;
    }
    return true;
}

QList<int> ChunkStore::dropChanged(const QList<QByteArray> &sources)
{
    QList<int> dropped;
    for (qsizetype i = kept.chunks.size() - 1; i >= 0; --i) {
        const KeptFile &f = kept.chunks.at(i);
        if (f.index < sources.size() && !f.source.isEmpty() && f.source == sources.at(f.index))
            continue;
        dropped.prepend(f.index + 1);
        kept.chunks.removeAt(i);
    }
    if (!dropped.isEmpty()) {
        save();
        clear();
    }
    return dropped;
}

void ChunkStore::dropSound()
{
    if (!kept.sound)
        return;
    kept.sound.reset();
    save();
    clear();
}

const KeptFile *ChunkStore::chunk(int index) const
{
    for (const KeptFile &f : kept.chunks)
        if (f.index == index)
            return &f;
    return nullptr;
}

QString ChunkStore::setCuts(const QList<qint64> &cuts)
{
    kept.cuts = cuts;
    kept.chunks.clear();
    return save();
}

QString ChunkStore::record(const KeptFile &file)
{
    const Manifest before = kept;
    if (file.index < 0)
        kept.sound = file;
    else
        kept.chunks << file;
    const QString error = save();
    // What is said to be kept is what the manifest on disk lists.
    if (!error.isEmpty())
        kept = before;
    return error;
}

QString ChunkStore::save()
{
    if (!named)
        return QString();
    const QString path = QDir(dir).filePath(QLatin1String(manifestName));
    const QString fresh = path + QStringLiteral(".new");
    const QByteArray bytes = manifestBytes(kept);
    const int fd = ::open(local(fresh).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return QString::fromLocal8Bit(strerror(errno));
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    const int error = done < bytes.size() ? (errno ? errno : ENOSPC) : fsync(fd) ? errno : 0;
    ::close(fd);
    if (error || rename(local(fresh).constData(), local(path).constData()) != 0) {
        const int why = error ? error : errno;
        QFile::remove(fresh);
        return QString::fromLocal8Bit(strerror(why));
    }
    // The new name itself lasts a power cut.
    fsync(lock);
    return QString();
}

void ChunkStore::clear()
{
    QStringList keep;
    for (const KeptFile &f : kept.chunks)
        keep << keptFileName(f.index);
    if (kept.sound)
        keep << keptFileName(-1);
    keep << QLatin1String(manifestName);
    for (const QString &name : entries(dir))
        if (isOurs(name) && !keep.contains(name))
            QFile::remove(QDir(dir).filePath(name));
}

void ChunkStore::remove()
{
    if (dir.isEmpty())
        return;
    kept = Manifest();
    named = false; // nothing listed is kept
    for (const QString &name : entries(dir))
        if (isOurs(name))
            QFile::remove(QDir(dir).filePath(name));
    QDir().rmdir(dir);
    removed = true;
}
