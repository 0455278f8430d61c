#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>

namespace lexitka {

// Writes a whole file through a temporary file and an atomic rename, so a
// failed write leaves the old file as it was. Every write, the flush and the
// sync are checked before the rename. A writable file in a folder that takes
// no new files is overwritten in place instead, behind a journal of its old
// bytes (journal.h), and put back on failure. Returns false on failure; the
// caller reports it.
bool saveWholeFile(const QString &path, const QByteArray &bytes);

// Takes a file's bytes piece by piece, in order; false once a write failed
// (the pieces after it are dropped).
class ByteSink {
public:
    virtual bool write(QByteArrayView piece) = 0;

protected:
    ~ByteSink() = default;
};

// Hands a file's pieces to the sink in order; false when the sink refused one.
using ByteSource = std::function<bool(ByteSink &sink)>;

// saveWholeFile for bytes made piece by piece: they go through a small
// buffer straight to the file, so a big file is never gathered in memory
// (only the in-place overwrite, which journals the bytes, gathers them).
bool saveFileInPieces(const QString &path, const ByteSource &source);

// Gathers small pieces into chunks for a sink, so that the sink is called
// once per chunk, not once per piece.
class ChunkedWriter {
public:
    explicit ChunkedWriter(ByteSink &sink, qsizetype chunk = qsizetype(1) << 18);
    ChunkedWriter(const ChunkedWriter &) = delete;
    ChunkedWriter &operator=(const ChunkedWriter &) = delete;

    void append(QByteArrayView piece)
    {
        if (piece.size() <= m_chunk - m_used) {
            std::memcpy(m_buffer.get() + m_used, piece.data(), size_t(piece.size()));
            m_used += piece.size();
        } else {
            appendLong(piece);
        }
    }
    void append(char c)
    {
        if (m_used == m_chunk)
            flush();
        m_buffer[size_t(m_used++)] = c;
    }
    // Room for n bytes (at most the chunk's size) to be written at once and
    // then taken with advance(n).
    char *room(qsizetype n)
    {
        if (n > m_chunk - m_used)
            flush();
        return m_buffer.get() + m_used;
    }
    void advance(qsizetype n) { m_used += n; }
    // Hands the rest to the sink; false when any write failed.
    bool finish();

private:
    void flush();
    void appendLong(QByteArrayView piece);

    ByteSink &m_sink;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_chunk;
    qsizetype m_used = 0;
    bool m_ok = true;
};

// The pieces of a source gathered into one array (`reserve` bytes at first).
QByteArray gatherBytes(const ByteSource &source, qsizetype reserve = 0);

// Lines each ended by CR LF, the form of the mistakes and statistics files.
QByteArray joinCrLf(const QList<QByteArray> &lines);

// A change of a file that other windows of the program may change too.
// Busy: another window held the file's lock for the whole wait; nothing
// was read or written, and the change can be tried again.
enum class UpdateResult { Done, Busy, Unreadable, Unwritable };

// The file as it is on disk under the lock: its bytes, and whether it exists.
struct DiskFile {
    QByteArray bytes;
    bool exists = false;
};
// Makes the new bytes from the file on disk; nothing means nothing to write.
using FileChange = std::function<std::optional<QByteArray>(const DiskFile &)>;

// Takes the file's lock (filelock.h), reads the file as it is on disk now,
// applies change to those bytes and saves the result through saveWholeFile
// before letting go, so no window's change overwrites another's. A file that
// exists but cannot be read is never rewritten.
UpdateResult updateFile(const QString &path, const FileChange &change, int lockWaitMs = -1);

// Appends lines, each ended by CR LF, to the file as it is on disk at this
// moment, under its lock, so that what another window of the program wrote
// meanwhile stays. The old bytes are kept as they are (a last line without
// its end gets one). A missing file is created, even with no lines; an
// existing file is not rewritten when there is nothing to add.
UpdateResult appendLinesToFile(const QString &path, const QList<QByteArray> &lines, int lockWaitMs = -1);

// Deletes the file under its lock, so that no window appends to the old
// file at the same moment and brings its lines back. Done when the file is
// gone (or was not there), Unwritable when it is still there.
UpdateResult removeFileLocked(const QString &path, int lockWaitMs = -1);

// Splits text into lines at CR LF, LF or CR; a final line end adds no line.
QList<QByteArray> splitLines(const QByteArray &text);

} // namespace lexitka
