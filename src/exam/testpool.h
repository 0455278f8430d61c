#pragma once

#include "data/dictionary.h"
#include "data/linestore.h"
#include "data/sectionnames.h"
#include "exam/judging.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>

namespace lexitka {

// Which words a test asks.
enum class TestMode {
    Lessons,  // the ticked lessons' words
    Mistakes, // the lines of the mistakes file, each in its own kind
    Reviews,  // the cards due today, each in its own kind, as an ordinary test
};

// What the main window asks for when a test is to start.
struct TestRequest {
    TestMode mode = TestMode::Lessons;
    int languageCode = LangEnglish;
    QString dictionaryPath;
    SectionNames lessons;
    QList<bool> lessonTicks;
    QString mistakesPath;
    bool removeMastered = false; // "Odebírat zvládnuté chyby"
    QList<bool> kindTicks;       // as ticked in chbChoice
    QString reviewsPath;         // and the day, for the cards due
    QDate today;
};

// A message a test is refused with.
struct TestRefusal {
    enum class Box { Information, Error };
    Box box = Box::Information;
    QString text;
};

// The words and kinds of a test, or why it cannot start (every reason, in
// the order they are shown).
struct TestPool {
    TestMode mode = TestMode::Lessons;
    LineStore words;
    std::array<bool, kTestKindCount> kinds{};
    QList<TestRefusal> refusals;
    bool mayStart() const { return refusals.isEmpty(); }
};

// The words of the request's mode, the kinds the language offers of those
// ticked, the German plural and verb filters applied. A review test asks
// every card in its own kind; the ticks do not count.
TestPool collectTestPool(const TestRequest &request);

} // namespace lexitka
