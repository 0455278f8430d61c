#include "duereviews.h"

#include "data/dictionarylines.h"
#include "data/fileread.h"
#include "data/inifile.h"
#include "exam/reviews.h"
#include "exam/wordcollection.h"

#include <QHash>

#include <algorithm>

namespace lexitka {
namespace {

// The due days of a word's cards by kind, as Julian days (0: no card):
// small, so that a table of 100,000 words takes less of the cache.
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

using Cards = QHash<QByteArrayView, WordCards>;

// The cards of the review file's bytes, which must outlive them.
Cards readCards(const QByteArray &reviews)
{
    Cards cards;
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
    return cards;
}

// Counts the dictionary's lines into o, piece by piece of whole lines.
class DictionaryCount {
public:
    DictionaryCount(Cards &cards, ReviewOverview &o, int languageCode, const QDate &today, DueCards detail)
        : m_cards(cards), m_o(o), m_offered(int(languageInfo(languageCode).testKinds.size())), m_today(today),
          m_detail(detail)
    { }

    void scan(const char *data, qsizetype size)
    {
        scanDictionaryLines(
            data, size, [&](QByteArrayView) { m_o.lessons.append(LessonProgress{}); },
            [&](QByteArrayView key, QByteArrayView value) { entry(key, value.trimmed()); });
    }

private:
    void entry(QByteArrayView key, QByteArrayView value)
    {
        if (m_o.lessons.isEmpty()) // lines before the first lesson belong to none
            return;
        LessonProgress &lesson = m_o.lessons.last();
        ++lesson.words;
        const auto it = m_cards.find(value);
        if (it == m_cards.end())
            return;
        ++lesson.asked;
        bool wordDue = false;
        for (int kind = 0; kind < kTestKindCount; ++kind) {
            if (it->due[size_t(kind)] == 0 || !askable(kind, m_offered, key, value))
                continue;
            const QDate due = QDate::fromJulianDay(it->due[size_t(kind)]);
            const bool isDue = due <= m_today;
            wordDue = wordDue || isDue;
            // A word in two lessons is still one card.
            if (it->counted & (1u << kind))
                continue;
            it->counted |= quint8(1u << kind);
            const qint64 days = std::max<qint64>(0, m_today.daysTo(due));
            if (days < kForecastDays)
                ++m_o.forecast[size_t(days)];
            if (isDue) {
                ++m_o.dueCount;
                if (m_detail == DueCards::Count)
                    continue;
                m_o.due.append(QByteArray::number(kind) + '\\' + key.toByteArray() + '=' + value.toByteArray());
                m_o.kinds[size_t(kind)] = true;
                m_o.dueValues.insert(value.toByteArray());
            } else if (!m_o.nextDue || due < *m_o.nextDue) {
                m_o.nextDue = due;
            }
        }
        lesson.due += wordDue ? 1 : 0;
    }

    Cards &m_cards;
    ReviewOverview &m_o;
    int m_offered;
    QDate m_today;
    DueCards m_detail;
};

} // namespace

ReviewOverview reviewOverview(const QByteArray &dictionary, const QByteArray &reviews, int languageCode,
                              const QDate &today, DueCards detail)
{
    ReviewOverview o;
    Cards cards = readCards(reviews);
    DictionaryCount(cards, o, languageCode, today, detail).scan(dictionary.constData(), dictionary.size());
    return o;
}

ReviewOverview reviewOverviewOfFile(const QString &dictionaryPath, const QByteArray &reviews, int languageCode,
                                    const QDate &today, DueCards detail)
{
    ReviewOverview o;
    Cards cards = readCards(reviews);
    DictionaryCount count(cards, o, languageCode, today, detail);
    forEachFileChunk(dictionaryPath, [&count](const char *data, qsizetype size) { count.scan(data, size); });
    return o;
}

} // namespace lexitka
