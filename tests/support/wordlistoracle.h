#pragma once

#include "exchange/wordimport.h"
#include "exchange/wordtable.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace lexitka::testing {

// A text word list read the slow way, cell by cell as Unicode texts, the
// way the one-pass import must agree with: the rows after the file's header
// lines, split by the separator the head chose, HTML as plain text and a
// deck as a lesson's name when the head says so.
QList<QStringList> rowsTheSlowWay(const QByteArray &bytes, const DelimitedHead &head);

} // namespace lexitka::testing
