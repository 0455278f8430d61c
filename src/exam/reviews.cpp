#include "reviews.h"

#include "data/dictionary.h"
#include "data/inifile.h"
#include "exam/judging.h"

#include <QHash>

#include <array>
#include <charconv>
#include <cmath>

namespace lexitka {

QString reviewFilePath(const QString &folder, int languageCode)
{
    return folder + QStringLiteral("/review.") + QString::fromLatin1(languageInfo(languageCode).extension) + u'r';
}

QByteArray reviewLine(const ReviewCard &c)
{
    QByteArray line;
    line.append(QByteArray::number(c.kind)).append('\t');
    line.append(c.due.toString(Qt::ISODate).toLatin1()).append('\t');
    line.append(c.last.toString(Qt::ISODate).toLatin1()).append('\t');
    line.append(QByteArray::number(c.memory.stability, 'f', 4)).append('\t');
    line.append(QByteArray::number(c.memory.difficulty, 'f', 4)).append('\t');
    line.append(QByteArray::number(c.reviews)).append('\t');
    line.append(QByteArray::number(c.lapses)).append('\t');
    line.append(c.value);
    return line;
}

namespace {

// "YYYY-MM-DD" and nothing else.
QDate isoDay(QByteArrayView text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return {};
    const auto digits = [&](qsizetype from, qsizetype count) {
        int n = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            n = n * 10 + (text[i] - '0');
        }
        return n;
    };
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    // A year of -1 would be a valid day before Christ.
    return year > 0 && month > 0 && day > 0 ? QDate(year, month, day) : QDate();
}

} // namespace

std::optional<ReviewCard> parseReviewFields(QByteArrayView line, QByteArrayView &value)
{
    // The value is last and may hold tabs of its own.
    std::array<QByteArrayView, 7> fields;
    qsizetype from = 0;
    for (QByteArrayView &field : fields) {
        const qsizetype tab = line.indexOf('\t', from);
        if (tab < 0)
            return std::nullopt;
        field = line.sliced(from, tab - from);
        from = tab + 1;
    }
    ReviewCard c;
    // from_chars: no locale, and cheap enough for a file of 100,000 cards.
    const auto number = [](QByteArrayView field, auto &out) {
        const char *end = field.data() + field.size();
        const auto [at, error] = std::from_chars(field.data(), end, out);
        return !field.isEmpty() && error == std::errc() && at == end;
    };
    const bool read = number(fields[0], c.kind) && number(fields[3], c.memory.stability)
                      && number(fields[4], c.memory.difficulty) && number(fields[5], c.reviews)
                      && number(fields[6], c.lapses);
    c.due = isoDay(fields[1]);
    c.last = isoDay(fields[2]);
    value = line.sliced(from);
    if (!read || c.kind < 0 || c.kind >= kTestKindCount || !c.due.isValid() || !c.last.isValid()
        || !std::isfinite(c.memory.stability) || !(c.memory.stability > 0)
        || !(c.memory.difficulty >= 1 && c.memory.difficulty <= 10) || c.reviews <= 0 || c.lapses < 0
        || c.lapses > c.reviews || value.isEmpty())
        return std::nullopt;
    return c;
}

std::optional<ReviewCard> parseReviewLine(QByteArrayView line)
{
    QByteArrayView value;
    std::optional<ReviewCard> c = parseReviewFields(line, value);
    if (c)
        c->value = value.toByteArray();
    return c;
}

QList<ReviewCard> parseReviewFile(const QByteArray &bytes)
{
    QList<ReviewCard> cards;
    for (const QByteArray &line : splitLines(bytes))
        if (std::optional<ReviewCard> c = parseReviewLine(line))
            cards.append(*c);
    return cards;
}

ReviewCard reviewed(const std::optional<ReviewCard> &card, const Review &review)
{
    ReviewCard c;
    if (card) {
        c = *card;
        const int elapsed = int(std::max<qint64>(0, card->last.daysTo(review.day)));
        c.memory = fsrs::nextReview(card->memory, elapsed, review.grade);
    } else {
        c.kind = review.kind;
        c.value = review.value;
        c.memory = fsrs::firstReview(review.grade);
    }
    // What is stored is what the next review starts from.
    c.memory.stability = QByteArray::number(c.memory.stability, 'f', 4).toDouble();
    c.memory.difficulty = QByteArray::number(c.memory.difficulty, 'f', 4).toDouble();
    c.last = review.day;
    c.due = review.day.addDays(fsrs::intervalDays(c.memory.stability));
    ++c.reviews;
    if (review.grade == fsrs::Grade::Again)
        ++c.lapses;
    return c;
}

QByteArray withReviews(const QByteArray &bytes, const QList<Review> &reviews)
{
    QList<QByteArray> lines = splitLines(bytes);
    // Where each card's line is; a card met twice counts its first line.
    QHash<std::pair<int, QByteArray>, qsizetype> at;
    QList<std::optional<ReviewCard>> cards;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        cards.append(parseReviewLine(lines[i]));
        if (cards.last() && !at.contains({cards.last()->kind, cards.last()->value}))
            at.insert({cards.last()->kind, cards.last()->value}, i);
    }
    for (const Review &r : reviews) {
        // A word without a value, or one a line cannot hold, has no card to keep.
        if (r.value.isEmpty() || r.value.contains('\r') || r.value.contains('\n') || r.kind < 0
            || r.kind >= kTestKindCount)
            continue;
        const auto key = std::pair(r.kind, r.value);
        const auto it = at.constFind(key);
        if (it == at.cend()) {
            at.insert(key, lines.size());
            cards.append(reviewed(std::nullopt, r));
            lines.append(reviewLine(*cards.last()));
        } else {
            cards[*it] = reviewed(cards[*it], r);
            lines[*it] = reviewLine(*cards[*it]);
        }
    }
    return joinCrLf(lines);
}

UpdateResult recordReviews(const QString &path, const QList<Review> &reviews, int lockWaitMs)
{
    if (reviews.isEmpty())
        return UpdateResult::Done;
    return updateFile(
        path, [&](const DiskFile &disk) -> std::optional<QByteArray> { return withReviews(disk.bytes, reviews); },
        lockWaitMs);
}

} // namespace lexitka
