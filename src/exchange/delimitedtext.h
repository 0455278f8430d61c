#pragma once

#include "data/codepage.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace lexitka {

// A word list's bytes as text: UTF-8 when it starts with a byte-order mark
// or is well-formed UTF-8, otherwise the code page given (the dictionary's).
QString decodeWordList(QByteArrayView bytes, CodePage otherwise);

// Over the first ten lines: tab when at least half of them have a tab,
// semicolon when more of them have one than a comma (a spreadsheet's CSV in
// a Czech locale), otherwise comma.
QChar guessSeparator(const QString &text);

// Rows of cells as RFC 4180 reads them, for any separator: a field in
// double quotes may hold separators, line breaks and doubled quotes; CR LF,
// LF and a lone CR end a row; a last empty line is no row.
QList<QStringList> parseDelimited(const QString &text, QChar separator);

// One row of tab-separated text, cells that need it quoted as RFC 4180
// does, so that a spreadsheet reads them back; no line end.
QString tsvRow(const QStringList &cells);

} // namespace lexitka
