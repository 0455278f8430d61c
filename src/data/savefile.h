#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace lexitka {

// Writes a whole file through a temporary file and an atomic rename, so a
// failed write leaves the old file as it was. Every write, the flush and the
// sync are checked before the rename. A writable file in a folder that takes
// no new files is overwritten in place instead, and put back on failure.
// Returns false on failure; the caller reports it.
bool saveWholeFile(const QString &path, const QByteArray &bytes);

// Lines each ended by CR LF, the form of the mistakes and statistics files.
QByteArray joinCrLf(const QList<QByteArray> &lines);

// Appends lines, each ended by CR LF, to the file as it is on disk at this
// moment, so that what another window of the program wrote meanwhile stays.
// The old bytes are kept as they are (a last line without its end gets one).
// A missing file is created, even with no lines; an existing file is not
// rewritten when there is nothing to add.
enum class AppendResult { Done, Unreadable, Unwritable };
AppendResult appendLinesToFile(const QString &path, const QList<QByteArray> &lines);

// Splits text into lines at CR LF, LF or CR; a final line end adds no line.
QList<QByteArray> splitLines(const QByteArray &text);

} // namespace lexitka
