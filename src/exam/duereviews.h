#pragma once

#include "data/dictionary.h"
#include "data/linestore.h"
#include "exam/judging.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QSet>
#include <QString>

#include <array>
#include <optional>

namespace lexitka {

// How far a lesson has come: its words, those asked at least once (a card
// of any kind) and those with a card due today.
struct LessonProgress {
    int words = 0;
    int asked = 0;
    int due = 0;
};

// Days of the forecast: today (overdue cards included) and the 13 after.
constexpr int kForecastDays = 14;

// What the review file says of a dictionary on a day.
struct ReviewOverview {
    // The cards due whose words the dictionary holds and can ask in their
    // kind, each card once.
    int dueCount = 0;
    // Listed only when asked for: "kind\key=value" of each, in dictionary
    // order, the kinds and the words among them.
    LineStore due;
    std::array<bool, kTestKindCount> kinds{};
    QSet<QByteArray> dueValues;
    QList<LessonProgress> lessons; // per section of the file
    std::optional<QDate> nextDue;  // the first later day with such a card due
    std::array<int, kForecastDays> forecast{};
};

// One pass over each file's bytes; damaged card lines are passed over.
// Counting alone is what the main window does after every test.
enum class DueCards { Count, List };
ReviewOverview reviewOverview(const QByteArray &dictionary, const QByteArray &reviews, int languageCode,
                              const QDate &today, DueCards detail = DueCards::List);
// The same over a dictionary file read piece by piece: a dictionary of a
// million lessons is never in memory whole.
ReviewOverview reviewOverviewOfFile(const QString &dictionaryPath, const QByteArray &reviews, int languageCode,
                                    const QDate &today, DueCards detail = DueCards::List);

} // namespace lexitka
