#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace lexitka {

// Reads a whole file; a missing, unreadable or non-regular file gives empty.
QByteArray readWholeFile(const QString &path, bool *ok = nullptr);

// Hands the file to f in pieces of whole lines (the last piece may lack its
// line end), so that memory does not grow with the file. False when the
// file is missing, not a regular file, or cannot be read; what was handed
// over until a read error stays handed over. Tests read in tiny pieces to
// put the piece edges everywhere.
bool forEachFileChunk(const QString &path, const std::function<void(const char *, qsizetype)> &f,
                      qsizetype readSize = qsizetype(1) << 20);

} // namespace lexitka
