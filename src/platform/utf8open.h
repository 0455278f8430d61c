#pragma once

#include <QString>

class QWidget;

namespace lexitka {

class Messenger;

enum class Utf8Offer {
    NotUtf8,   // nothing to do
    Declined,  // the user said No: the file is opened as it is
    Converted, // the original kept beside it, the dictionary rewritten
    Failed,    // reported; the file is as it was
};

// A dictionary about to be opened in languageCode that is in UTF-8: asks
// whether to convert it, and on Yes keeps the original as "<name>.utf8" (or
// a numbered name) and rewrites the dictionary in the program's code pages.
// Every failure is reported and leaves the dictionary as it was.
Utf8Offer offerUtf8Conversion(const QString &path, int languageCode, Messenger &messenger, QWidget *parent);

} // namespace lexitka
