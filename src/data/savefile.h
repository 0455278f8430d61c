#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace lexitka {

// Writes a whole file through a temporary file and an atomic rename, so a
// failed write leaves the old file as it was. Returns false on failure.
bool saveWholeFile(const QString &path, const QByteArray &bytes);

// Lines each ended by CR LF, the form of the mistakes and statistics files.
QByteArray joinCrLf(const QList<QByteArray> &lines);

// Splits text into lines at CR LF, LF or CR; a final line end adds no line.
QList<QByteArray> splitLines(const QByteArray &text);

} // namespace lexitka
