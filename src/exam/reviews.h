#pragma once

#include "data/savefile.h"
#include "exam/fsrs.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace lexitka {

// A word remembered for one kind of question: a card, known by the kind and
// the entry's value (the text after the first "="), so that renumbered
// keys, a moved lesson or a second dictionary with the same word keep it.
struct ReviewCard {
    int kind = 0;
    QDate due;
    QDate last;
    fsrs::Memory memory;
    int reviews = 0;
    int lapses = 0; // reviews graded Again
    QByteArray value;
};

// The review file of a language, beside its mistakes file: "review.enr" for
// "errors.ene".
QString reviewFilePath(const QString &folder, int languageCode);

// One line of the file (without its line end): kind, due, last review,
// stability and difficulty with four decimals, reviews, lapses and the value
// last, tab between them, so that any bytes of the value are kept.
QByteArray reviewLine(const ReviewCard &card);
// Nothing for a line that is damaged (not seven fields that make sense).
std::optional<ReviewCard> parseReviewLine(QByteArrayView line);
// The same with the value left in the line: a whole file is read without a
// copy of every value. The card's own value stays empty.
std::optional<ReviewCard> parseReviewFields(QByteArrayView line, QByteArrayView &value);
// The cards of a file's bytes, damaged lines skipped.
QList<ReviewCard> parseReviewFile(const QByteArray &bytes);

// One judged answer, on a day.
struct Review {
    int kind = 0;
    QByteArray value;
    fsrs::Grade grade = fsrs::Grade::Good;
    QDate day;
};

// The card after a review: a new card (none before), or a later review
// whose elapsed days are the calendar days since the last (none when the
// clock went back). Stored values are what the next review starts from.
ReviewCard reviewed(const std::optional<ReviewCard> &card, const Review &review);

// The file's bytes with the reviews applied in order: a card's line changes
// where it stands, a new card's line is added at the end, and every other
// line (a damaged one too) stays byte for byte. A review of an empty value
// (an entry "5=") is passed over: its line could never be read back.
QByteArray withReviews(const QByteArray &bytes, const QList<Review> &reviews);

// Applies the reviews to the file as it is on disk now, under its lock, so
// that two windows testing at once lose no review.
UpdateResult recordReviews(const QString &path, const QList<Review> &reviews, int lockWaitMs = -1);

} // namespace lexitka
