#include "utest.h"

#include "data/rounding.h"
#include "data/displaytext.h"
#include "data/savefile.h"
#include "data/fileread.h"
#include "data/nativefile.h"
#include "platform/busyretry.h"
#include "platform/messenger.h"
#include "platform/services.h"

#include <QFileInfo>

namespace lexitka {

UTest::UTest(QString programFolder, RandomSource &random, Messenger &messenger)
    : m_programFolder(std::move(programFolder)), m_random(random), m_messenger(messenger)
{ }

QString UTest::LangExt(int code)
{
    if (!isLanguageCode(code))
        return {};
    return QString::fromLatin1(languageInfo(code).extension);
}

QString UTest::MistakesFilePath(int languageCode) const { return mistakesFilePath(m_programFolder, languageCode); }

QString UTest::MistakesFilePath() const { return MistakesFilePath(LanguageCode); }

void UTest::ResetLists()
{
    WordPool.clear();
    ErrorList.clear();
}

void UTest::setUp(TestPool pool, bool saveErrors)
{
    const bool ready = pool.mayStart();
    WordPool = ready ? std::move(pool.words) : LineStore();
    TestKinds = ready ? pool.kinds : decltype(TestKinds){};
    ErrorsMode = ready && pool.mode == TestMode::Mistakes;
    ReviewsMode = ready && pool.mode == TestMode::Reviews;
    SaveErrors = saveErrors;
}

void UTest::loadErrorList()
{
    ErrorList.clear();
    m_newMistakes.clear();
    m_errorFileUnreadable = false;
    const QString path = MistakesFilePath();
    if (!QFileInfo::exists(path))
        return;
    bool ok = false;
    const QByteArray bytes = readWholeFile(path, &ok);
    if (!ok) {
        m_errorFileUnreadable = true;
        m_messenger.error(nullptr, QStringLiteral("Soubor chyb %1 nelze přečíst. Chyby z tohoto zkoušení se do něj "
                                                  "neuloží.")
                                       .arg(shownPath(path)));
        return;
    }
    ErrorList = LineStore::fromText(bytes);
}

void UTest::saveErrorList()
{
    // A file we could not read is left alone rather than replaced by a
    // list that lacks its lines.
    if (m_errorFileUnreadable)
        return;
    // Only this test's mistakes are added, to the file as it is now: a test
    // in another window of the program may have added its own meanwhile.
    const QString path = MistakesFilePath();
    const auto save = [&] {
        // A count goes back to none whether or not the option is on, so that
        // switching it on again cannot take out a word just missed.
        return countsMayExist() ? appendMistakesResettingCounts(path, m_newMistakes)
                                : appendLinesToFile(path, m_newMistakes);
    };
    switch (retryWhileBusy(m_messenger, nullptr, path, save)) {
    case UpdateResult::Done: break;
    case UpdateResult::Busy:
        m_messenger.error(nullptr, QStringLiteral("Soubor chyb %1 používá jiné okno programu. Chyby z tohoto "
                                                  "zkoušení se do něj neuložily.")
                                       .arg(shownPath(path)));
        break;
    case UpdateResult::Unreadable:
        m_messenger.error(nullptr, QStringLiteral("Soubor chyb %1 nelze přečíst. Chyby z tohoto zkoušení se do něj "
                                                  "neuložily.")
                                       .arg(shownPath(path)));
        break;
    case UpdateResult::Unwritable:
        m_messenger.error(
            nullptr,
            QStringLiteral("Soubor chyb %1 nelze uložit. Původní soubor zůstal beze změny.").arg(shownPath(path)));
        break;
    }
}

namespace {

// The kind number before the first backslash of a mistakes line; nothing
// for a line that has none (after edits by hand).
std::optional<int> mistakeKind(QByteArrayView entry)
{
    const qsizetype bs = entry.indexOf('\\');
    if (bs < 0)
        return std::nullopt;
    bool ok = false;
    const int kind = entry.first(bs).toInt(&ok, 10);
    return ok ? std::optional<int>(kind) : std::nullopt;
}

} // namespace

void UTest::StartTest(int code)
{
    m_random.seedFromClock();
    // Lines that cannot be asked would be skipped anyway; counted, they
    // would make "Zbývá" promise questions that never come.
    if (kindPerLine())
        WordPool.removeIf([](QByteArrayView entry) { return !mistakeKind(entry); });
    m_round.clear();
    m_masteryFailed = false;
    m_reviews.clear();
    const bool drawn = NextWord();
    GoodCount = 0;
    RemainCount = qint32(WordPool.size());
    BadCount = 0;
    loadErrorList();
    // Only a mistakes file whose every line lacks its kind leaves nothing
    // to ask; a window over a stale word would make no sense.
    if (!drawn)
        m_messenger.information(nullptr, QStringLiteral("Nemáte žádné chyby !"));
    else if (m_ui)
        m_ui->runTestWindow(code);
    saveErrorList();
    saveReviews();
    ErrorsMode = false; // the test is over: the next one is set up afresh
    ReviewsMode = false;
}

bool UTest::NextWord()
{
    while (!WordPool.isEmpty()) {
        const qsizetype i = qsizetype(m_random.bounded(quint32(WordPool.size())));
        // Swap with the last entry so a draw costs the same on any pool size.
        if (i != WordPool.size() - 1)
            WordPool.swapItemsAt(i, WordPool.size() - 1);
        QByteArray entry = WordPool.last().toByteArray();
        WordPool.removeLast();
        if (kindPerLine()) {
            const std::optional<int> kind = mistakeKind(entry);
            if (!kind)
                continue; // a hand-edited line without a kind: drop it, go on
            SetTestKind(*kind);
            if (ErrorsMode) {
                m_drawnRepeat = m_round.takeRepeat(entry);
                m_drawnMistake = entry;
            }
            entry.remove(0, entry.indexOf('\\') + 1);
        }
        m_revealed = false;
        CurrentWord = ParseWord(entry, LanguageCode);
        CurrentLine = std::move(entry);
        RemainCount = qint32(WordPool.size());
        return true;
    }
    return false;
}

int UTest::MistakeCharset(int kind, int language)
{
    // Only the foreign word is in the language's code page; a mistake of
    // any other kind shows Czech text, plurals or verb forms.
    return kind == KindToForeign ? charsetOf(languageInfo(language).foreignCodePage) : CharsetCentralEuropean;
}

Verdict UTest::Answer(int languageCode, const TypedAnswer &answer)
{
    const Judgement j = judgeAnswer(languageCode, AskedKind, CurrentWord, answer);
    if (ScheduleReviews && m_clock) {
        const qsizetype eq = CurrentLine.indexOf('=');
        const QByteArray value = CurrentLine.sliced(eq + 1).trimmed();
        m_reviews.append(
            {AskedKind, value, j.right && !m_revealed ? fsrs::Grade::Good : fsrs::Grade::Again, m_clock->today()});
    }
    // A wrong answer resets the count with the option off too (a counts
    // file that is not there is not made for it).
    if (ErrorsMode && (RemoveMastered || (!j.right && countsMayExist())))
        recordMastery(j.right);
    Verdict v;
    v.right = j.right;
    if (j.right) {
        ++GoodCount;
    } else {
        v.expected = j.expected;
        v.typed = j.typed;
        v.charset = MistakeCharset(j.kind, languageCode);
        AddError(j.expected, j.typed, j.kind, languageCode);
    }
    v.exhausted = !NextWord();
    return v;
}

bool UTest::countsMayExist() const
{
    // Off, counts are only ever lowered: without a file there is nothing to lower.
    return RemoveMastered || pathExists(masteryFilePath(MistakesFilePath()));
}

QString UTest::ReviewFilePath() const { return reviewFilePath(m_programFolder, LanguageCode); }

void UTest::saveReviews()
{
    if (m_reviews.isEmpty())
        return;
    const QString path = ReviewFilePath();
    const UpdateResult result =
        retryWhileBusy(m_messenger, nullptr, path, [&] { return recordReviews(path, m_reviews); });
    m_reviews.clear();
    if (result != UpdateResult::Done)
        m_messenger.error(nullptr, QStringLiteral("Soubor opakování %1 nelze uložit. Odpovědi z tohoto zkoušení se do "
                                                  "něj nezapsaly.")
                                       .arg(shownPath(path)));
}

void UTest::recordMastery(bool right)
{
    if (m_drawnRepeat || m_masteryFailed)
        return;
    const std::optional<MasteryAnswer> answer = m_round.answer(m_drawnMistake, right);
    if (!answer)
        return;
    const QString path = MistakesFilePath();
    const int threshold = MasteredAfter > 0 ? MasteredAfter : 2;
    const UpdateResult result = retryWhileBusy(
        m_messenger, nullptr, path, [&] { return recordMasteryAnswer(path, m_drawnMistake, *answer, threshold); });
    if (result == UpdateResult::Done)
        return;
    // Once is enough: the rest of the test goes on as without the option.
    m_masteryFailed = true;
    m_messenger.error(nullptr, QStringLiteral("Počty správných odpovědí u chyb (%1) nelze uložit. Zvládnuté chyby "
                                              "zůstávají v souboru chyb.")
                                   .arg(shownPath(masteryFilePath(path))));
}

void UTest::AddError(const QByteArray &expected, const QByteArray &typed, int kind, int language)
{
    ++BadCount;
    const QByteArray prefixed = QByteArray::number(kind) + '\\' + CurrentLine;
    if (!ErrorsMode && SaveErrors) {
        ErrorList.append(prefixed);
        m_newMistakes.append(prefixed);
    }
    WordPool.append(kindPerLine() ? QByteArrayView(prefixed) : QByteArrayView(CurrentLine));
    if (ErrorsMode)
        m_round.noteRepeat(prefixed);
    MistakeKind = kind;
    MistakeLanguage = language;
    if (m_ui)
        m_ui->showMistake(expected, typed, MistakeCharset(kind, language));
}

void UTest::SetTestKind(int n)
{
    TestKinds.fill(false);
    if (n >= 0 && n < kTestKindCount)
        TestKinds[size_t(n)] = true;
}

void UTest::ChooseKind()
{
    if (TestKinds[KindToCzech] && TestKinds[KindToForeign])
        AskedKind = int(m_random.bounded(2));
    else if (TestKinds[KindToForeign])
        AskedKind = KindToForeign;
    else if (TestKinds[KindToCzech])
        AskedKind = KindToCzech;
}

void UTest::ChooseKindOfTwo()
{
    ChooseKind();
    if (AskedKind != KindToCzech && AskedKind != KindToForeign)
        AskedKind = KindToCzech;
}

void UTest::ChooseKindGerman()
{
    if (TestKinds[KindPlural])
        AskedKind = KindPlural;
    else if (TestKinds[KindVerbForms])
        AskedKind = KindVerbForms;
    else
        ChooseKind();
}

QString UTest::ScoreText(int which, int number)
{
    switch (which) {
    case 1: return QStringLiteral("Dobře : %1").arg(number);
    case 2: return QStringLiteral("Špatně : %1").arg(number);
    case 3: return QStringLiteral("Zbývá : %1").arg(number);
    // "Úspešnost" with a plain e on purpose: the score has always read so,
    // while the label's caption before the first word is "Úspěšnost".
    case 4: return QStringLiteral("Úspešnost : %1 %").arg(number);
    default: return {};
    }
}

int UTest::SuccessPercent() const { return successPercent(GoodCount, BadCount); }

} // namespace lexitka
