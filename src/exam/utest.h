#pragma once

#include "data/dictionary.h"
#include "data/linestore.h"
#include "data/opendictionary.h"
#include "exam/judging.h"
#include "exam/mastery.h"
#include "exam/reviews.h"
#include "exam/testpool.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

namespace lexitka {

class Clock;
class Messenger;
class RandomSource;

// What the engine needs from the windows: the test window of a language and
// the mistake dialog. The program wires in the real windows; unit tests a fake.
class TestUi {
public:
    virtual ~TestUi() = default;
    // Shows the language's test window modally; returns when it has closed.
    virtual void runTestWindow(int languageCode) = 0;
    // The mistake dialog, its answer labels shown in the given character set.
    virtual void showMistake(const QByteArray &expected, const QByteArray &typed, int charset) = 0;
};

// What became of an answer: shown by the test window.
struct Verdict {
    bool right = false;
    QByteArray expected; // as the mistake dialog showed them
    QByteArray typed;
    int charset = CharsetCentralEuropean; // of expected and typed
    // No word is left to ask: the window says so and closes.
    bool exhausted = false;
};

// The state a running test shares, and the operations on it.
class UTest {
public:
    UTest(QString programFolder, RandomSource &random, Messenger &messenger);

    void setUi(TestUi *ui) { m_ui = ui; }

    QString DictionaryPath;
    int LanguageCode = LangEnglish;
    bool ErrorsMode = false;
    // A test of the cards due: each line in its own kind, as an ordinary test otherwise.
    bool ReviewsMode = false;
    // "Ukládat chyby": while false an ordinary test records no mistakes.
    bool SaveErrors = true;
    // "Odebírat zvládnuté chyby": a mistakes test takes a mistake out of the
    // file once it was answered right in MasteredAfter mistakes tests in a row.
    bool RemoveMastered = false;
    int MasteredAfter = 2;
    // "Plánovat opakování": every judged answer is a review of its card,
    // saved to the review file when the test ends. Needs the clock.
    bool ScheduleReviews = false;
    void setClock(const Clock *clock) { m_clock = clock; }
    QString ReviewFilePath() const;
    // Insert filled in the expected answer: whatever is answered now counts
    // as not known.
    void revealAnswer() { m_revealed = true; }
    LineStore WordPool;
    LineStore ErrorList;
    WordRecord CurrentWord;
    QByteArray CurrentLine;
    std::array<bool, kTestKindCount> TestKinds{};
    int AskedKind = KindToCzech; // a TestKind
    qint32 GoodCount = 0;
    qint32 BadCount = 0;
    qint32 RemainCount = 0;
    // The kind and window language of the mistake being shown.
    int MistakeKind = KindToCzech;
    int MistakeLanguage = LangEnglish;

    // A test set up in one step: the pool's words, kinds and mode, and
    // whether an ordinary test's mistakes go to the mistakes file. A pool
    // that may not start leaves no test: no words, no kind, no mistakes mode.
    void setUp(TestPool pool, bool saveErrors);
    // Draws the first word, loads the mistakes, runs the window, saves the mistakes.
    void StartTest(int code);
    bool NextWord();
    // The one step of a test: judges the answer to the word on screen by
    // the rules of the language's window, counts it, records and shows a
    // mistake, and draws the next word.
    Verdict Answer(int languageCode, const TypedAnswer &answer);
    void AddError(const QByteArray &expected, const QByteArray &typed, int kind, int language);
    void SetTestKind(int n);
    static QString LangExt(int code);

    // Kinds 0 and 1: both ticked → at random; else the ticked one; else unchanged.
    void ChooseKind();
    // The same for windows that ask kinds 0 and 1 only: a kind 2 or 3 left
    // over from a German test would show no question at all, so it is 0.
    void ChooseKindOfTwo();
    // German: plurals, then verbs, then as ChooseKind.
    void ChooseKindGerman();

    // "Dobře : 3" and the like; an empty string for an unknown `which`.
    static QString ScoreText(int which, int number);
    int SuccessPercent() const;

    // The open dictionary as the editor and the statistics read it.
    OpenDictionary dictionary() const { return openDictionary(m_programFolder, DictionaryPath, LanguageCode); }
    QString MistakesFilePath() const;
    QString MistakesFilePath(int languageCode) const;
    const QString &programFolder() const { return m_programFolder; }

    // Every command that changes the open dictionary starts with empty lists.
    void ResetLists();

    // The charset of the mistake dialog's answer labels for a mistake.
    static int MistakeCharset(int kind, int language);

private:
    void loadErrorList();
    void saveErrorList();
    // Counts a mistakes test's answer at once, so a test cut short keeps it.
    void recordMastery(bool right);
    // Whether a mistake's count may have to change: the option is on, or a
    // counts file is there.
    bool countsMayExist() const;
    void saveReviews();

    QString m_programFolder;
    RandomSource &m_random;
    Messenger &m_messenger;
    TestUi *m_ui = nullptr;
    // The mistakes file existed but could not be read: never overwrite it.
    // Every line of the pool starts with its kind: a mistakes or a review test.
    bool kindPerLine() const { return ErrorsMode || ReviewsMode; }
    bool m_errorFileUnreadable = false;
    // The lines this test adds to the mistakes file.
    QList<QByteArray> m_newMistakes;
    // A mistakes test's line on screen as the file holds it, and whether it
    // is only a wrong answer's repeat.
    QByteArray m_drawnMistake;
    bool m_drawnRepeat = false;
    MasteryRound m_round;
    bool m_masteryFailed = false; // reported once a test
    const Clock *m_clock = nullptr;
    bool m_revealed = false; // for the word on screen
    QList<Review> m_reviews; // this test's, in the order answered
};

} // namespace lexitka
