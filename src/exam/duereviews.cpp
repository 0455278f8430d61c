#include "duereviews.h"

#include "data/dictionarylines.h"
#include "data/inifile.h"
#include "exam/reviews.h"
#include "exam/wordcollection.h"

#include <QHash>

#include <algorithm>

namespace lexitka {
namespace {

// The due days of a word's cards by kind, as Julian days (0: no card),
// small so that a table of 100,000 words stays in the cache.
struct WordCards {
    std::array<qint32, kTestKindCount> due{};
    quint8 counted = 0; // a bit per kind
};

bool askable(int kind, int offeredKinds, QByteArrayView key, QByteArrayView value)
{
    if (kind >= offeredKinds)
        return false;
    if (kind != KindPlural && kind != KindVerbForms)
        return true;
    // The German filters look at the whole line.
    const QByteArray entry = key.toByteArray() + '=' + value.toByteArray();
    return kind == KindPlural ? !isPluralExcluded(entry) : isVerbEntry(entry);
}

} // namespace

ReviewOverview reviewOverview(const QByteArray &dictionary, const QByteArray &reviews, int languageCode,
                              const QDate &today, DueCards detail)
{
    ReviewOverview o;
    QHash<QByteArrayView, WordCards> cards;
    cards.reserve(reviews.size() / 48);
    forEachLine(reviews.constData(), reviews.size(), [&](qsizetype begin, qsizetype end, qsizetype) {
        QByteArrayView value;
        const std::optional<ReviewCard> c =
            parseReviewFields(QByteArrayView(reviews.constData() + begin, end - begin), value);
        if (!c)
            return;
        qint32 &due = cards[value].due[size_t(c->kind)];
        if (due == 0) // a card met twice counts its first line
            due = qint32(c->due.toJulianDay());
    });

    const int offered = int(languageInfo(languageCode).testKinds.size());
    scanDictionaryLines(
        dictionary.constData(), dictionary.size(), [&](QByteArrayView) { o.lessons.append(LessonProgress{}); },
        [&](QByteArrayView key, QByteArrayView rawValue) {
            if (o.lessons.isEmpty()) // lines before the first lesson belong to none
                return;
            LessonProgress &lesson = o.lessons.last();
            ++lesson.words;
            const QByteArrayView value = rawValue.trimmed();
            const auto it = cards.find(value);
            if (it == cards.end())
                return;
            ++lesson.asked;
            bool wordDue = false;
            for (int kind = 0; kind < kTestKindCount; ++kind) {
                if (it->due[size_t(kind)] == 0 || !askable(kind, offered, key, value))
                    continue;
                const QDate due = QDate::fromJulianDay(it->due[size_t(kind)]);
                const bool isDue = due <= today;
                wordDue = wordDue || isDue;
                // A word in two lessons is still one card.
                if (it->counted & (1u << kind))
                    continue;
                it->counted |= quint8(1u << kind);
                const qint64 days = std::max<qint64>(0, today.daysTo(due));
                if (days < kForecastDays)
                    ++o.forecast[size_t(days)];
                if (isDue) {
                    ++o.dueCount;
                    if (detail == DueCards::Count)
                        continue;
                    o.due.append(QByteArray::number(kind) + '\\' + key.toByteArray() + '=' + value.toByteArray());
                    o.kinds[size_t(kind)] = true;
                    o.dueValues.insert(value.toByteArray());
                } else if (!o.nextDue || due < *o.nextDue) {
                    o.nextDue = due;
                }
            }
            lesson.due += wordDue ? 1 : 0;
        });
    return o;
}

} // namespace lexitka
