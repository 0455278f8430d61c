#include "savefile.h"

#include "data/filelock.h"
#include "data/inifile.h"
#include "data/journal.h"
#include "data/nativefile.h"

#include <unistd.h>

namespace lexitka {
namespace {

// The data must be on the disk, not only in the kernel's cache: a full disk
// can surface only here.
bool syncToDisk(int fd) { return fd < 0 || ::fsync(fd) == 0; }

// A writable file in a folder where no temporary file can be made: the file
// is overwritten in place. The old bytes go to a synced journal first, so a
// kill part way leaves something the next start can put right; should the
// write fail, the old bytes are put back at once.
bool saveInPlace(const QString &path, const QByteArray &bytes)
{
    bool readOk = false;
    const QByteArray old = readWholeFile(path, &readOk);
    if (!readOk)
        return false;
    if (old == bytes)
        return true;
    InPlaceJournal journal;
    if (!journal.begin(journalFolder(), path, old, bytes))
        return false; // without the journal a kill could leave a torn file
    if (overwriteInPlace(path, bytes)) {
        journal.finish();
        return true;
    }
    if (overwriteInPlace(path, old))
        journal.finish();
    return false;
}

} // namespace

bool saveWholeFile(const QString &path, const QByteArray &bytes)
{
    ReplacingFile file(path);
    if (!file.open()) {
        if (isWritableFile(path))
            return saveInPlace(path, bytes);
        return false;
    }
    // Every step is checked before the rename may replace the old file.
    if (file.write(bytes) != bytes.size() || !file.flush() || !syncToDisk(file.handle())
        || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QByteArray joinCrLf(const QList<QByteArray> &lines)
{
    qsizetype total = 0;
    for (const QByteArray &l : lines)
        total += l.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const QByteArray &l : lines)
        out.append(l).append("\r\n");
    return out;
}

UpdateResult updateFile(const QString &path, const FileChange &change, int lockWaitMs)
{
    FileLock lock(path);
    // Where no lock can be made at all, nobody else can lock the file
    // either: the change goes ahead as it would without locks.
    if (lock.lock(lockWaitMs < 0 ? kLockWaitMs : lockWaitMs) == FileLock::Result::Busy)
        return UpdateResult::Busy;
    DiskFile disk;
    disk.exists = pathExists(path);
    if (disk.exists) {
        bool ok = false;
        disk.bytes = readWholeFile(path, &ok);
        if (!ok)
            return UpdateResult::Unreadable;
    }
    const std::optional<QByteArray> updated = change(disk);
    if (!updated)
        return UpdateResult::Done;
    return saveWholeFile(path, *updated) ? UpdateResult::Done : UpdateResult::Unwritable;
}

UpdateResult appendLinesToFile(const QString &path, const QList<QByteArray> &lines, int lockWaitMs)
{
    return updateFile(
        path,
        [&lines](const DiskFile &disk) -> std::optional<QByteArray> {
            if (disk.exists && lines.isEmpty())
                return std::nullopt;
            QByteArray bytes = disk.bytes;
            if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
                bytes.append("\r\n");
            bytes.append(joinCrLf(lines));
            return bytes;
        },
        lockWaitMs);
}

UpdateResult removeFileLocked(const QString &path, int lockWaitMs)
{
    FileLock lock(path);
    if (lock.lock(lockWaitMs < 0 ? kLockWaitMs : lockWaitMs) == FileLock::Result::Busy)
        return UpdateResult::Busy;
    return removeFile(path) || !pathExists(path) ? UpdateResult::Done : UpdateResult::Unwritable;
}

QList<QByteArray> splitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    forEachLine(text.constData(), text.size(),
                [&](qsizetype begin, qsizetype end, qsizetype) { lines.append(text.sliced(begin, end - begin)); });
    return lines;
}

} // namespace lexitka
