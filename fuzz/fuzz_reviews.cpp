// The review file and the due count: a fuzzed review file is read, reviews
// from the input are applied to it, and the cards due of a fuzzed
// dictionary are counted and listed.
//
// Input: one byte of settings, then the review file, the dictionary and the
// reviews, cut at NUL bytes. Settings: language (bits 0-2, the order en, de,
// fr, ru, es, lt repeating), the day of the reviews and of the count (bits
// 3-7: days after 2026-12-01). Reviews: one a line, "kind grade value" with
// a kind digit, a grade byte (even: Good, odd: Again) and the value.
//
// Asserts: a card read writes back as the same line; applying reviews keeps
// every line it does not review byte for byte, adds one line per new card
// and reads back every reviewed card with its count raised; counting agrees
// with listing, and the counts are consistent.
#include "fuzzsupport.h"

#include "data/dictionary.h"
#include "data/inifile.h"
#include "exam/duereviews.h"
#include "exam/reviews.h"

#include <QHash>
#include <QSet>

#include <numeric>

using namespace lexitka;
using namespace lexitka::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int language = allLanguageCodes().at((data[0] & 7) % 6);
    const QDate day = QDate(2026, 12, 1).addDays(data[0] >> 3);
    const QList<QByteArray> parts = splitInput(QByteArrayView(data + 1, qsizetype(size) - 1), 3);
    const QByteArray &file = parts[0];
    const QByteArray &dictionary = parts[1];

    // Reading: every card read writes back as its own line.
    const QList<QByteArray> lines = splitLines(file);
    QHash<std::pair<int, QByteArray>, int> reviewsBefore; // of each card's first line
    QHash<std::pair<int, QByteArray>, qsizetype> firstLine;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<ReviewCard> c = parseReviewLine(lines[i]);
        if (!c)
            continue;
        const std::optional<ReviewCard> back = parseReviewLine(reviewLine(*c));
        FUZZ_CHECK(back && reviewLine(*back) == reviewLine(*c), shown(lines[i]));
        if (!firstLine.contains({c->kind, c->value})) {
            firstLine.insert({c->kind, c->value}, i);
            reviewsBefore.insert({c->kind, c->value}, c->reviews);
        }
    }

    // Reviewing: the reviewed cards' first lines change, new cards come at
    // the end, every other line stays.
    QList<Review> reviews;
    QHash<std::pair<int, QByteArray>, int> reviewed;
    for (const QByteArray &line : splitLines(parts[2])) {
        if (line.size() < 2 || line[0] < '0' || line[0] > '3')
            continue;
        const Review r{line[0] - '0', line.mid(2), line[1] % 2 ? fsrs::Grade::Again : fsrs::Grade::Good, day};
        reviews.append(r);
        if (!r.value.isEmpty())
            ++reviewed[{r.kind, r.value}];
    }
    const QList<QByteArray> after = splitLines(withReviews(file, reviews));
    qsizetype newCards = 0;
    for (auto it = reviewed.cbegin(); it != reviewed.cend(); ++it)
        newCards += firstLine.contains(it.key()) ? 0 : 1;
    FUZZ_CHECK(after.size() == lines.size() + newCards, shown(after));
    QSet<qsizetype> changed;
    for (auto it = reviewed.cbegin(); it != reviewed.cend(); ++it)
        if (firstLine.contains(it.key()))
            changed.insert(firstLine[it.key()]);
    for (qsizetype i = 0; i < lines.size(); ++i)
        FUZZ_CHECK(changed.contains(i) || after[i] == lines[i], shown(after[i]));
    QHash<std::pair<int, QByteArray>, int> reviewsAfter;
    for (const QByteArray &line : after)
        if (const std::optional<ReviewCard> c = parseReviewLine(line); c && !reviewsAfter.contains({c->kind, c->value}))
            reviewsAfter.insert({c->kind, c->value}, c->reviews);
    for (auto it = reviewed.cbegin(); it != reviewed.cend(); ++it)
        FUZZ_CHECK(reviewsAfter.value(it.key()) == reviewsBefore.value(it.key()) + it.value(), shown(it.key().second));

    // Counting: the same as listing, and consistent with itself.
    const ReviewOverview listed = reviewOverview(dictionary, file, language, day, DueCards::List);
    const ReviewOverview counted = reviewOverview(dictionary, file, language, day, DueCards::Count);
    FUZZ_CHECK(listed.dueCount == listed.due.size() && counted.dueCount == listed.dueCount, shown(dictionary));
    FUZZ_CHECK(counted.forecast == listed.forecast && counted.nextDue == listed.nextDue, shown(dictionary));
    FUZZ_CHECK(std::accumulate(listed.forecast.begin(), listed.forecast.end(), 0) >= listed.dueCount, shown(file));
    FUZZ_CHECK(listed.forecast[0] == listed.dueCount, shown(file));
    FUZZ_CHECK(!listed.nextDue || *listed.nextDue > day, shown(file));
    FUZZ_CHECK(listed.lessons.size() == counted.lessons.size(), shown(dictionary));
    for (qsizetype i = 0; i < listed.lessons.size(); ++i) {
        const LessonProgress &p = listed.lessons[i];
        FUZZ_CHECK(p.due <= p.asked && p.asked <= p.words, shown(dictionary));
        FUZZ_CHECK(p.words == counted.lessons[i].words && p.due == counted.lessons[i].due, shown(dictionary));
    }
    for (qsizetype i = 0; i < listed.due.size(); ++i) {
        const QByteArrayView line = listed.due[i];
        FUZZ_CHECK(line.size() > 2 && line[0] >= '0' && line[0] <= '3' && line[1] == '\\', shown(line));
        FUZZ_CHECK(listed.kinds[size_t(line[0] - '0')], shown(line));
    }
    return 0;
}
