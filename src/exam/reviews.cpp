#include "reviews.h"

#include "data/dictionary.h"
#include "data/inifile.h"
#include "exam/judging.h"

#include <QHash>

#include <array>

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
    return QDate(digits(0, 4), digits(5, 2), digits(8, 2)); // invalid for a -1
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
    bool ok[6] = {};
    c.kind = fields[0].toInt(&ok[0]);
    c.due = isoDay(fields[1]);
    c.last = isoDay(fields[2]);
    c.memory.stability = fields[3].toDouble(&ok[1]);
    c.memory.difficulty = fields[4].toDouble(&ok[2]);
    c.reviews = fields[5].toInt(&ok[3]);
    c.lapses = fields[6].toInt(&ok[4]);
    value = line.sliced(from);
    ok[5] = c.kind >= 0 && c.kind < kTestKindCount && c.due.isValid() && c.last.isValid() && c.memory.stability > 0
            && c.memory.difficulty >= 1 && c.memory.difficulty <= 10 && c.reviews > 0 && c.lapses >= 0
            && c.lapses <= c.reviews && !value.isEmpty();
    for (const bool b : ok)
        if (!b)
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
