#include "savefile.h"

#include "data/filelock.h"
#include "data/inifile.h"
#include "data/journal.h"
#include "data/nativefile.h"
#include "fileread.h"

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

// Pieces gathered whole: for the in-place overwrite, whose journal needs them.
class GatheringSink final : public ByteSink {
public:
    QByteArray bytes;
    bool write(QByteArrayView piece) override
    {
        bytes.append(piece);
        return true;
    }
};

class SaveFileSink final : public ByteSink {
public:
    explicit SaveFileSink(ReplacingFile &file) : m_file(file) { }
    bool write(QByteArrayView piece) override
    {
        m_ok = m_ok && m_file.write(piece.data(), piece.size()) == piece.size();
        return m_ok;
    }
    bool ok() const { return m_ok; }

private:
    ReplacingFile &m_file;
    bool m_ok = true;
};

// Through a temporary file and a rename; `whole` spares the in-place
// overwrite gathering bytes that are already whole.
bool saveThrough(const QString &path, const ByteSource &source, const QByteArray *whole)
{
    ReplacingFile file(path);
    if (!file.open()) {
        if (!isWritableFile(path))
            return false;
        if (whole)
            return saveInPlace(path, *whole);
        GatheringSink gathered;
        return source(gathered) && saveInPlace(path, gathered.bytes);
    }
    // Every step is checked before the rename may replace the old file.
    SaveFileSink sink(file);
    if (!source(sink) || !sink.ok() || !file.flush() || !syncToDisk(file.handle())
        || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

bool saveWholeFile(const QString &path, const QByteArray &bytes)
{
    return saveThrough(
        path, [&bytes](ByteSink &sink) { return sink.write(bytes); }, &bytes);
}

bool saveFileInPieces(const QString &path, const ByteSource &source) { return saveThrough(path, source, nullptr); }

QByteArray gatherBytes(const ByteSource &source, qsizetype reserve)
{
    GatheringSink gathered;
    gathered.bytes.reserve(reserve);
    source(gathered);
    return std::move(gathered.bytes);
}

ChunkedWriter::ChunkedWriter(ByteSink &sink, qsizetype chunk)
    : m_sink(sink), m_buffer(new char[size_t(chunk)]), m_chunk(chunk)
{ }

void ChunkedWriter::flush()
{
    if (m_used > 0)
        m_ok = m_ok && m_sink.write(QByteArrayView(m_buffer.get(), m_used));
    m_used = 0;
}

void ChunkedWriter::appendLong(QByteArrayView piece)
{
    flush();
    if (piece.size() >= m_chunk) {
        m_ok = m_ok && m_sink.write(piece); // no copy of a big piece
        return;
    }
    std::memcpy(m_buffer.get(), piece.data(), size_t(piece.size()));
    m_used = piece.size();
}

bool ChunkedWriter::finish()
{
    flush();
    return m_ok;
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
