#pragma once

#include "data/dictionary.h"
#include "data/linestore.h"
#include "exam/judging.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QSet>

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
    // "kind\key=value" for every due card whose word the dictionary holds
    // and can be asked in that kind, each card once, in dictionary order.
    LineStore due;
    std::array<bool, kTestKindCount> kinds{}; // the kinds among them
    QSet<QByteArray> dueValues;               // the words among them
    QList<LessonProgress> lessons;            // per section of the file
    std::optional<QDate> nextDue;             // the first later day with such a card due
    std::array<int, kForecastDays> forecast{};
};

// One pass over each file's bytes; damaged card lines are passed over.
ReviewOverview reviewOverview(const QByteArray &dictionary, const QByteArray &reviews, int languageCode,
                              const QDate &today);

} // namespace lexitka
