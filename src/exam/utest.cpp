#include "utest.h"

#include "data/rounding.h"
#include "data/displaytext.h"
#include "data/savefile.h"
#include "data/inifile.h"
#include "platform/messenger.h"
#include "platform/services.h"

#include <QFileInfo>

namespace lexitka {

UTest::UTest(QString programFolder, RandomSource &random, Messenger &messenger)
    : m_programFolder(std::move(programFolder)), m_random(random), m_messenger(messenger)
{
}

QString UTest::LangExt(int code)
{
    if (!isLanguageCode(code))
        return {};
    return QString::fromLatin1(languageInfo(code).extension);
}

QString UTest::MistakesFilePath(int languageCode) const
{
    return mistakesFilePath(m_programFolder, languageCode);
}

QString UTest::MistakesFilePath() const { return MistakesFilePath(LanguageCode); }

void UTest::ResetLists()
{
    WordPool.clear();
    ErrorList.clear();
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
    switch (appendLinesToFile(path, m_newMistakes)) {
    case AppendResult::Done:
        break;
    case AppendResult::Unreadable:
        m_messenger.error(nullptr, QStringLiteral("Soubor chyb %1 nelze přečíst. Chyby z tohoto zkoušení se do něj "
                                                  "neuložily.")
                                       .arg(shownPath(path)));
        break;
    case AppendResult::Unwritable:
        m_messenger.error(nullptr, QStringLiteral("Soubor chyb %1 nelze uložit. Původní soubor zůstal beze změny.")
                                       .arg(shownPath(path)));
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
    if (ErrorsMode)
        WordPool.removeIf([](QByteArrayView entry) { return !mistakeKind(entry); });
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
        if (ErrorsMode) {
            const std::optional<int> kind = mistakeKind(entry);
            if (!kind)
                continue; // a hand-edited line without a kind: drop it, go on
            SetTestKind(*kind);
            entry.remove(0, entry.indexOf('\\') + 1);
        }
        CurrentWord = ParseWord(entry, LanguageCode);
        CurrentLine = std::move(entry);
        RemainCount = qint32(WordPool.size());
        return true;
    }
    return false;
}

QByteArray UTest::RemoveBrackets(QByteArrayView text)
{
    // Blanks right before "(" and right after ")" go first.
    QByteArray s;
    s.reserve(text.size());
    for (char c : text) {
        if (c == '(') {
            while (!s.isEmpty() && s.back() == ' ')
                s.chop(1);
        }
        s.append(c);
    }
    QByteArray t;
    t.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == ' ' && !t.isEmpty() && t.back() == ')')
            continue;
        t.append(s[i]);
    }
    // Then each "(" through the next ")"; an unmatched "(" stays with its tail.
    qsizetype from = 0;
    for (;;) {
        const qsizetype open = t.indexOf('(', from);
        if (open < 0)
            break;
        const qsizetype close = t.indexOf(')', open + 1);
        if (close < 0)
            break;
        t.remove(open, close - open + 1);
        from = open;
    }
    return t;
}

namespace {

// Each "(" through the next ")" removed so that the words around it keep one
// blank between them, as a reader would say it: "mít (někoho) rád" is "mít
// rád". At the start or the end of the text the blanks next to it go too.
// A text without remarks stays exactly as it was, blanks included.
QByteArray removeRemarks(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    qsizetype pos = 0;
    bool removed = false;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf('(', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(')', open + 1);
        if (close < 0) {
            out.append(text.sliced(pos));
            break;
        }
        out.append(text.sliced(pos, open - pos));
        while (!out.isEmpty() && out.back() == ' ')
            out.chop(1);
        pos = close + 1;
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (!out.isEmpty() && pos < text.size() && text[pos] != '(')
            out.append(' ');
        removed = true;
    }
    return removed ? out : text.toByteArray();
}

bool matchesExpected(const QByteArray &typed, const QByteArray &expected)
{
    if (typed == expected)
        return true;
    // Any one alternative; blanks around it do not count, and an empty one
    // (a stray comma) accepts nothing.
    qsizetype start = 0;
    for (;;) {
        const qsizetype comma = expected.indexOf(',', start);
        const QByteArrayView piece =
            QByteArrayView(expected).sliced(start, (comma < 0 ? expected.size() : comma) - start);
        const QByteArrayView bare = trimmedBlanks(piece);
        if (!bare.isEmpty() && (bare == QByteArrayView(typed) || piece == QByteArrayView(typed)))
            return true;
        if (comma < 0)
            return false;
        start = comma + 1;
    }
}

} // namespace

bool UTest::CompareWord(QByteArrayView typed, QByteArrayView expected)
{
    return matchesExpected(RemoveBrackets(typed), RemoveBrackets(expected))
        || matchesExpected(removeRemarks(typed), removeRemarks(expected));
}

int UTest::MistakeCharset(int kind, int language)
{
    if (kind == 1) {
        if (language == LangFrench || language == LangSpanish)
            return CharsetWestern;
        if (language == LangRussian)
            return CharsetCyrillic;
    }
    return CharsetCentralEuropean;
}

void UTest::AddError(const QByteArray &expected, const QByteArray &typed, int kind, int language)
{
    ++BadCount;
    const QByteArray prefixed = QByteArray::number(kind) + '\\' + CurrentLine;
    if (!ErrorsMode && SaveErrors) {
        ErrorList.append(prefixed);
        m_newMistakes.append(prefixed);
    }
    WordPool.append(ErrorsMode ? QByteArrayView(prefixed) : QByteArrayView(CurrentLine));
    if (m_ui)
        m_ui->showMistake(expected, typed, MistakeCharset(kind, language));
}

void UTest::SetTestKind(int n)
{
    TestKinds.fill(false);
    if (n >= 0 && n <= 3)
        TestKinds[size_t(n)] = true;
}

void UTest::ChooseKind()
{
    if (TestKinds[0] && TestKinds[1])
        AskedKind = int(m_random.bounded(2));
    else if (TestKinds[1])
        AskedKind = 1;
    else if (TestKinds[0])
        AskedKind = 0;
}

void UTest::ChooseKindOfTwo()
{
    ChooseKind();
    if (AskedKind != 0 && AskedKind != 1)
        AskedKind = 0;
}

void UTest::ChooseKindGerman()
{
    if (TestKinds[2])
        AskedKind = 2;
    else if (TestKinds[3])
        AskedKind = 3;
    else
        ChooseKind();
}

QString UTest::ScoreText(int which, int number)
{
    switch (which) {
    case 1: return QStringLiteral("Dobře : %1").arg(number);
    case 2: return QStringLiteral("Špatně : %1").arg(number);
    case 3: return QStringLiteral("Zbývá : %1").arg(number);
    case 4: return QStringLiteral("Úspešnost : %1 %").arg(number);
    default: return {};
    }
}

int UTest::SuccessPercent() const { return successPercent(GoodCount, BadCount); }

} // namespace lexitka
