#include "journal.h"

#include "data/filelock.h"
#include "data/inifile.h"
#include "data/nativefile.h"
#include "data/nativepath.h"
#include "fileread.h"

#include <QCryptographicHash>
#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lexitka {
namespace {

// A journal is this header, then the old bytes:
//   LEXITKA-JOURNAL 1\n <path, hex of its native bytes>\n <old size>\n
//   <new size>\n <SHA-1 of the new bytes, hex>\n
const QByteArray kMagic = "LEXITKA-JOURNAL 1";

QByteArray sha1(QByteArrayView bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1); }

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(std::min<qsizetype>(size, qsizetype(1) << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// A rename or an unlink is durable only once its folder is synced.
void syncFolder(const QString &folder)
{
    const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool overwriteInPlace(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok =
        writeAll(fd, bytes.constData(), bytes.size()) && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

QString journalFolder() { return userStateFolder() + QStringLiteral("/journal"); }

bool InPlaceJournal::begin(const QString &folder, const QString &path, const QByteArray &oldBytes,
                           const QByteArray &newBytes)
{
    if (!QDir().mkpath(folder))
        return false;
    const QByteArray native = nativePath(absolutePath(path));
    const QString name = QString::fromLatin1(sha1(native).toHex());
    m_journalPath = folder + u'/' + name + QStringLiteral(".journal");
    const QString temporary = folder + u'/' + name + QStringLiteral(".new");
    const QByteArray tempNative = nativePath(temporary);
    ::unlink(tempNative.constData());
    const int fd = ::open(tempNative.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // Held for as long as the save runs: a start of the program meanwhile
    // sees a living writer and leaves the journal alone.
    QByteArray header = kMagic + '\n' + native.toHex() + '\n' + QByteArray::number(oldBytes.size()) + '\n'
                        + QByteArray::number(newBytes.size()) + '\n' + sha1(newBytes).toHex() + '\n';
    const bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && writeAll(fd, header.constData(), header.size())
                    && writeAll(fd, oldBytes.constData(), oldBytes.size()) && ::fsync(fd) == 0
                    && ::rename(tempNative.constData(), nativePath(m_journalPath).constData()) == 0;
    if (!ok) {
        ::unlink(tempNative.constData());
        ::close(fd);
        m_journalPath.clear();
        return false;
    }
    syncFolder(folder);
    m_fd = fd;
    return true;
}

void InPlaceJournal::finish()
{
    if (m_fd < 0)
        return;
    ::unlink(nativePath(m_journalPath).constData());
    ::close(m_fd);
    m_fd = -1;
}

InPlaceJournal::~InPlaceJournal()
{
    // Never removed unless finished: a failed save puts the old bytes back
    // itself, and only a finished one may drop them.
    if (m_fd >= 0)
        ::close(m_fd);
}

QList<JournalRecovery> recoverInterruptedSaves(const QString &folder)
{
    QList<JournalRecovery> found;
    const QDir dir(folder);
    if (!dir.exists())
        return found;
    // A journal cut off while it was being written: its file was not touched yet.
    for (const QString &name : dir.entryList({QStringLiteral("*.new")}, QDir::Files)) {
        const QByteArray native = nativePath(dir.filePath(name));
        const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(native.constData());
        if (fd >= 0)
            ::close(fd);
    }
    for (const QString &name : dir.entryList({QStringLiteral("*.journal")}, QDir::Files, QDir::Name)) {
        const QString journalPath = dir.filePath(name);
        const QByteArray nativeJournal = nativePath(journalPath);
        const int fd = ::open(nativeJournal.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !pathExists(journalPath)) {
            ::close(fd); // a living save, or one that finished meanwhile
            continue;
        }
        bool read = false;
        const QByteArray journal = readWholeFile(journalPath, &read);
        // Header lines, then the old bytes.
        QList<QByteArray> fields;
        qsizetype pos = 0;
        for (int i = 0; i < 5 && read; ++i) {
            const qsizetype nl = journal.indexOf('\n', pos);
            if (nl < 0)
                break;
            fields.append(journal.sliced(pos, nl - pos));
            pos = nl + 1;
        }
        bool sizesOk = false, newOk = false;
        const qsizetype oldSize = fields.size() == 5 ? fields[2].toLongLong(&sizesOk) : -1;
        const qsizetype newSize = fields.size() == 5 ? fields[3].toLongLong(&newOk) : -1;
        if (fields.size() != 5 || fields[0] != kMagic || !sizesOk || !newOk || journal.size() - pos != oldSize) {
            // Not one of ours, or cut short before it was synced and
            // renamed into place, which cannot be: the file was not touched.
            ::close(fd);
            continue;
        }
        const QString path = pathFromNative(QByteArray::fromHex(fields[1]));
        const QByteArray oldBytes = journal.sliced(pos);
        bool currentOk = false;
        const QByteArray current = readWholeFile(path, &currentOk);
        JournalRecovery r{path, JournalRecovery::Outcome::Failed};
        if (!pathExists(path)) {
            r.outcome = JournalRecovery::Outcome::Gone;
        } else if (currentOk && current.size() == newSize && sha1(current).toHex() == fields[4]) {
            r.outcome = JournalRecovery::Outcome::Completed;
        } else if (currentOk && current == oldBytes) {
            r.outcome = JournalRecovery::Outcome::Restored; // cut off before its first byte
        } else if (overwriteInPlace(path, oldBytes)) {
            r.outcome = JournalRecovery::Outcome::Restored;
        }
        if (r.outcome != JournalRecovery::Outcome::Failed) {
            ::unlink(nativeJournal.constData());
            syncFolder(folder);
        }
        ::close(fd);
        found.append(r);
    }
    return found;
}

} // namespace lexitka
