#pragma once

#include <QByteArrayView>

#include <optional>

namespace lexitka {

class LessonBook;

// Where the next search starts: an entry of the lesson list (the mistakes
// entry included) and a grid row, where row 1 is the first word.
struct FindPosition {
    qsizetype lesson = 0;
    qsizetype row = 1;
    bool operator==(const FindPosition &) const = default;
};

struct FindHit {
    qsizetype lesson;
    qsizetype row; // grid row, from 1
};

// The next row, from pos on, whose word, plural or translation holds text
// byte for byte; at most one hit per row. A hit moves pos to the row after
// it; no hit moves it back to the start. A search that starts in the
// mistakes entry starts over at the first lesson. An empty text finds
// nothing and leaves pos alone.
std::optional<FindHit> findNext(const LessonBook &book, int languageCode, QByteArrayView text, FindPosition &pos);

} // namespace lexitka
