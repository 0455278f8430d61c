#pragma once

#include "data/codepage.h"

#include <QByteArrayView>
#include <QString>

namespace lexitka {

// How much of a text a title, label, list item or cell shows. A lesson name
// or a field may be megabytes long; laying that out at every paint freezes
// the window, and nobody reads past a screen's width anyway.
constexpr qsizetype kDisplayChars = 256;

// The first maxChars characters of bytes in code page cp, and "…" after a
// cut. Only the shown part is decoded.
QString displayText(QByteArrayView bytes, CodePage cp, qsizetype maxChars = kDisplayChars);
QString displayText(const QString &text, qsizetype maxChars = kDisplayChars);

// A file's path as a message names it: native separators, shortened, and
// bytes of the name that are no UTF-8 read as windows-1250 (nativepath.h).
QString shownPath(const QString &path);
// The last part of a path, shown alike.
QString shownFileName(const QString &path);

} // namespace lexitka
