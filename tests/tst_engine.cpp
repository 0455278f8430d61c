#include "data/savefile.h"
#include "exam/mastery.h"
#include "exam/duereviews.h"
#include "exam/reviews.h"
#include "exam/testpool.h"
#include "support/logicfakes.h"
#include "exam/utest.h"

#include <QDir>
#include <QTest>

#include <functional>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

// Plays the part of a test window: asks and hands the answer to the engine
// the way every window does, answering through `answer`.
class FakeUi final : public TestUi {
public:
    struct Mistake {
        QByteArray expected, typed;
        int charset;
        qint32 remain;
    };
    struct Question {
        QByteArray line;
        int kind;
    };

    explicit FakeUi(UTest &test) : m_test(test) { }

    // Given the expected answer, what the user types; default: right.
    std::function<QByteArray(const QByteArray &expected)> answer = [](const QByteArray &e) { return e; };
    // Called instead of another answer: the user leaves the window.
    std::function<bool()> leaveNow = [] { return false; };
    int language = 0;
    QList<int> windowsRun;
    QList<Question> asked;
    QList<Mistake> mistakes;

    void runTestWindow(int languageCode) override
    {
        windowsRun.append(languageCode);
        language = languageCode;
        for (int guard = 0; guard < 10000; ++guard) {
            if (languageCode == LangGerman)
                m_test.ChooseKindGerman();
            else
                m_test.ChooseKind();
            asked.append({m_test.CurrentLine, m_test.AskedKind});
            if (leaveNow())
                return;
            const WordRecord &word = m_test.CurrentWord;
            TypedAnswer typed;
            switch (m_test.AskedKind) {
            case KindToForeign: typed.text = answer(word.Slovo); break;
            case KindPlural: typed.text = answer(word.Mn); break;
            case KindVerbForms: {
                // The word and its three forms, typed as "present,preterite,perfect".
                const QList<QByteArray> forms = answer(word.Mn).split(',');
                typed.text = word.Slovo;
                typed.forms = {true, forms.value(0), forms.value(1), forms.value(2)};
                break;
            }
            default: typed.text = answer(word.Preklad);
            }
            if (m_test.Answer(languageCode, typed).exhausted)
                return;
        }
        QFAIL("the test never ended");
    }
    void showMistake(const QByteArray &expected, const QByteArray &typed, int charset) override
    {
        mistakes.append({expected, typed, charset, m_test.RemainCount});
    }

private:
    UTest &m_test;
};

struct Engine {
    QTemporaryDir dir;
    RecordingMessenger messenger;
    StdRandomSource random{777, false};
    UTest test{dir.path(), random, messenger};
    FakeUi ui{test};
    Engine() { test.setUi(&ui); }
    QString errorsFile(const char *ext = "en") const { return dir.filePath(QStringLiteral("errors.%1e").arg(ext)); }
};

QList<QByteArray> sorted(QList<QByteArray> l)
{
    std::sort(l.begin(), l.end());
    return l;
}

} // namespace

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void compareWord_data();
    void compareWord();
    void removeBrackets_data();
    void removeBrackets();
    void removeBracketsEndsOnAnyInput();
    void scoreTextsAndSuccessRate();
    void mistakesFileNames();
    void testKindsAndTheirChoice();
    void nextWordDrawsEveryEntryOnce();
    void nextWordInMistakesMode();
    void testWithoutMistakesAsksEachWordOnce();
    void wrongWordComesBackAndIsRecorded();
    void oneWordAnsweredWrongTwice();
    void mistakesTestLeavesFileAsItWas();
    void unticksSaveErrorsRecordsNothing();
    void mistakeLabelsCodePage();
    void answerJudgesByTheLanguagesRules();
    void leavingEarlySavesMistakesSoFar();
    void unreadableMistakesFileIsKept();
    void unwritableMistakesFileIsReported();
    void mistakesOfAnotherWindowSurvive();
    void mistakesFileWithoutKindsStartsNoWindow();
    void masteredMistakesLeaveTheFile();
    void masteryCountsAcrossTheSwitch();
    void everyAnswerIsAReview();
    void reviewTestAsksTheDueCards();
};

void TestEngine::compareWord_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("right");

    QTest::newRow("equal") << QByteArray("pes") << QByteArray("pes") << true;
    QTest::newRow("case counts") << QByteArray("pes") << QByteArray("Pes") << false;
    QTest::newRow("first alternative") << QByteArray("pes") << QByteArray("pes,čokl") << true;
    QTest::newRow("last alternative") << cz("čokl") << cz("pes,čokl") << true;
    QTest::newRow("whole list") << cz("pes,čokl") << cz("pes,čokl") << true;
    QTest::newRow("list reversed") << cz("čokl,pes") << cz("pes,čokl") << false;
    QTest::newRow("blanks around an alternative do not count") << cz("čokl") << cz("pes, čokl") << true;
    QTest::newRow("alternative with its blank") << cz(" čokl") << cz("pes, čokl") << true;
    QTest::newRow("blank inside an alternative counts") << cz("pesčokl") << cz("pes čokl, x") << false;
    QTest::newRow("typed is not split") << QByteArray("pes,xxx") << QByteArray("pes") << false;
    QTest::newRow("trailing blank counts") << QByteArray("pes ") << QByteArray("pes") << false;
    QTest::newRow("empty against empty") << QByteArray() << QByteArray() << true;
    QTest::newRow("empty against word") << QByteArray() << QByteArray("pes") << false;
    QTest::newRow("empty alternative accepts nothing") << QByteArray() << QByteArray("pes,,kocka") << false;
    QTest::newRow("stray final comma accepts nothing") << QByteArray() << QByteArray("pes,") << false;
    QTest::newRow("blank alternative accepts nothing") << QByteArray(" ") << QByteArray("pes, ") << false;
    QTest::newRow("remark typed otherwise") << cz("jít (kamkoli)") << cz("jít (pěšky)") << true;
    QTest::newRow("remark left out") << cz("jít") << cz("jít (pěšky)") << true;
    QTest::newRow("remark in alternative") << QByteArray("smat") << QByteArray("bavit,(se) smat") << true;
    QTest::newRow("remark inside, words apart") << cz("mít rád") << cz("mít (někoho) rád") << true;
    QTest::newRow("remark inside, words joined") << cz("mítrád") << cz("mít (někoho) rád") << true;
    QTest::newRow("remark inside, two blanks") << cz("mít  rád") << cz("mít (někoho) rád") << false;
    QTest::newRow("remark inside an alternative") << cz("mít rád") << cz("milovat, mít (někoho) rád") << true;
    QTest::newRow("accents not folded") << QByteArray("jit") << cz("jít") << false;
}

void TestEngine::compareWord()
{
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, expected);
    QFETCH(bool, right);
    QCOMPARE(CompareWord(typed, expected), right);
}

void TestEngine::removeBrackets_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("remark after") << cz("jít (pěšky)") << cz("jít");
    QTest::newRow("remark before") << QByteArray("(se) smat") << QByteArray("smat");
    QTest::newRow("neighbours join") << QByteArray("a (b) c") << QByteArray("ac");
    QTest::newRow("nested") << QByteArray("a(b(c)d)e") << QByteArray("ad)e");
    QTest::newRow("run of blanks") << QByteArray("a   (b)   c") << QByteArray("ac");
    QTest::newRow("two remarks") << QByteArray("x (1) y (2) z") << QByteArray("xyz");
    QTest::newRow("no brackets") << QByteArray("a b") << QByteArray("a b");
    QTest::newRow("blank after lone close") << QByteArray("a) b") << QByteArray("a)b");
    QTest::newRow("unmatched open stays") << QByteArray("jit (pes") << QByteArray("jit(pes");
    QTest::newRow("open at the end") << QByteArray("jit (") << QByteArray("jit(");
    QTest::newRow("close before open") << QByteArray("a)b(c") << QByteArray("a)b(c");
    QTest::newRow("pair then unmatched") << QByteArray("a(b)c(d") << QByteArray("ac(d");
    QTest::newRow("close before a pair") << QByteArray("x)y(z)w") << QByteArray("x)yw");
}

void TestEngine::removeBrackets()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, result);
    QCOMPARE(RemoveBrackets(text), result);
}

void TestEngine::removeBracketsEndsOnAnyInput()
{
    // Every string of up to six characters over the alphabet that matters.
    const char alphabet[] = {'(', ')', ' ', 'a'};
    for (int len = 0; len <= 6; ++len) {
        int total = 1;
        for (int i = 0; i < len; ++i)
            total *= 4;
        for (int n = 0; n < total; ++n) {
            QByteArray s;
            for (int i = 0, v = n; i < len; ++i, v /= 4)
                s.append(alphabet[v % 4]);
            const QByteArray r = RemoveBrackets(s);
            QVERIFY2(r.size() <= s.size(), s.constData());
            // Whatever is left has no "(" with a ")" after it.
            const qsizetype open = r.indexOf('(');
            QVERIFY2(open < 0 || r.indexOf(')', open) < 0, s.constData());
        }
    }
}

void TestEngine::scoreTextsAndSuccessRate()
{
    QCOMPARE(UTest::ScoreText(1, 3), QStringLiteral("Dobře : 3"));
    QCOMPARE(UTest::ScoreText(2, 0), QStringLiteral("Špatně : 0"));
    QCOMPARE(UTest::ScoreText(3, 120), QStringLiteral("Zbývá : 120"));
    QCOMPARE(UTest::ScoreText(4, 7), QStringLiteral("Úspešnost : 7 %"));
    QVERIFY(UTest::ScoreText(5, 1).isEmpty());
    QVERIFY(UTest::ScoreText(0, 1).isEmpty());

    Engine e;
    QCOMPARE(e.test.SuccessPercent(), 0); // before the first answer, not 100
    const struct {
        int good, bad, percent;
    } rates[] = {{1, 7, 12},
                 {3, 5, 38},
                 {5, 3, 62},
                 {1, 1, 50},
                 {2, 1, 67},
                 {1, 2, 33},
                 {4, 0, 100},
                 {0, 3, 0},
                 // Exact halves that a floating-point quotient misses.
                 {23, 17, 58},
                 {109, 91, 54},
                 {1, 199, 0}};
    for (const auto &r : rates) {
        e.test.GoodCount = r.good;
        e.test.BadCount = r.bad;
        QCOMPARE(e.test.SuccessPercent(), r.percent);
    }
}

void TestEngine::mistakesFileNames()
{
    Engine e;
    const QStringList exts = {"en", "de", "fr", "ru", "es", "lt"};
    for (int code = 20; code <= 25; ++code) {
        QCOMPARE(UTest::LangExt(code), exts[code - 20]);
        QCOMPARE(QFileInfo(e.test.MistakesFilePath(code)).fileName(), "errors." + exts[code - 20] + "e");
        QCOMPARE(QFileInfo(e.test.MistakesFilePath(code)).absolutePath(), QDir(e.dir.path()).absolutePath());
    }
    QVERIFY(UTest::LangExt(19).isEmpty());
    QVERIFY(UTest::LangExt(26).isEmpty());
    QCOMPARE(QFileInfo(e.test.MistakesFilePath(0)).fileName(), QStringLiteral("errors.e"));
    e.test.LanguageCode = LangRussian;
    QCOMPARE(QFileInfo(e.test.MistakesFilePath()).fileName(), QStringLiteral("errors.rue"));
}

void TestEngine::testKindsAndTheirChoice()
{
    Engine e;
    for (int n = 0; n < 4; ++n) {
        e.test.TestKinds = {true, true, true, true};
        e.test.SetTestKind(n);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(e.test.TestKinds[size_t(k)], k == n);
    }
    for (int n : {-1, 4, 9}) {
        e.test.TestKinds = {true, true, false, false};
        e.test.SetTestKind(n);
        QCOMPARE(e.test.TestKinds, (std::array<bool, 4>{}));
    }

    // Both directions ticked: both are asked, about equally often.
    e.test.TestKinds = {true, true, false, false};
    int ones = 0;
    for (int i = 0; i < 1000; ++i) {
        e.test.ChooseKind();
        QVERIFY(e.test.AskedKind == 0 || e.test.AskedKind == 1);
        ones += e.test.AskedKind;
    }
    QVERIFY2(ones > 400 && ones < 600, qPrintable(QString::number(ones)));

    e.test.TestKinds = {false, true, false, false};
    e.test.AskedKind = 0;
    e.test.ChooseKind();
    QCOMPARE(e.test.AskedKind, 1);
    e.test.TestKinds = {true, false, false, false};
    e.test.ChooseKind();
    QCOMPARE(e.test.AskedKind, 0);
    // Nothing ticked (a mistake of an unknown kind): the kind before stays.
    e.test.AskedKind = 1;
    e.test.TestKinds = {};
    e.test.ChooseKind();
    QCOMPARE(e.test.AskedKind, 1);

    e.test.TestKinds = {true, true, true, true};
    e.test.ChooseKindGerman();
    QCOMPARE(e.test.AskedKind, 2);
    e.test.TestKinds = {true, false, false, true};
    e.test.ChooseKindGerman();
    QCOMPARE(e.test.AskedKind, 3);
    e.test.TestKinds = {false, true, false, false};
    e.test.ChooseKindGerman();
    QCOMPARE(e.test.AskedKind, 1);
}

void TestEngine::nextWordDrawsEveryEntryOnce()
{
    Engine e;
    e.test.CurrentLine = "keep";
    e.test.RemainCount = 42;
    QVERIFY(!e.test.NextWord());
    QCOMPARE(e.test.CurrentLine, QByteArray("keep"));
    QCOMPARE(e.test.RemainCount, 42);

    QList<QByteArray> pool;
    for (int i = 0; i < 50; ++i)
        pool.append(QByteArray::number(i) + "=w" + QByteArray::number(i) + "\\p" + QByteArray::number(i));
    pool.append("7=dup\\dup"); // the same line twice is two questions
    pool.append("7=dup\\dup");
    e.test.WordPool = pool;
    QList<QByteArray> drawn;
    QList<QByteArray> order;
    while (e.test.NextWord()) {
        drawn.append(e.test.CurrentLine);
        QCOMPARE(e.test.RemainCount, qint32(pool.size() - drawn.size()));
        QCOMPARE(e.test.CurrentWord, ParseWord(e.test.CurrentLine, LangEnglish));
    }
    QCOMPARE(sorted(drawn), sorted(pool));
    QVERIFY(drawn != pool); // drawn at random, not in line order
}

void TestEngine::nextWordInMistakesMode()
{
    Engine e;
    e.test.ErrorsMode = true;
    e.test.LanguageCode = LangGerman;
    e.test.WordPool = {"2\\4=0\\Hund\\Hunde\\pes"};
    QVERIFY(e.test.NextWord());
    QCOMPARE(e.test.TestKinds, (std::array<bool, 4>{false, false, true, false}));
    QCOMPARE(e.test.CurrentLine, QByteArray("4=0\\Hund\\Hunde\\pes"));
    QCOMPARE(e.test.CurrentWord.Mn, QByteArray("Hunde"));

    // A kind out of range asks nothing new; lines without a number are dropped.
    e.test.WordPool = {"x\\1=a\\b", "\\2=c\\d", "no backslash", "", "7\\3=e\\f"};
    QVERIFY(e.test.NextWord());
    QCOMPARE(e.test.CurrentLine, QByteArray("3=e\\f"));
    QCOMPARE(e.test.TestKinds, (std::array<bool, 4>{}));
    // Whatever is left has no kind: dropped, and the pool ends.
    QVERIFY(!e.test.NextWord());
    QVERIFY(e.test.WordPool.isEmpty());
    QCOMPARE(e.test.CurrentLine, QByteArray("3=e\\f"));
}

void TestEngine::testWithoutMistakesAsksEachWordOnce()
{
    Engine e;
    e.test.TestKinds = {true, true, false, false};
    const QList<QByteArray> pool = {"0=dog\\pes", "1=cat\\kocka", "2=cow\\krava", "3=pig\\prase"};
    e.test.WordPool = pool;
    e.test.GoodCount = 9;
    e.test.BadCount = 9;
    e.test.StartTest(LangEnglish);
    QCOMPARE(e.ui.windowsRun, QList<int>{LangEnglish});
    QCOMPARE(e.ui.asked.size(), pool.size());
    QCOMPARE(e.test.GoodCount, 4);
    QCOMPARE(e.test.BadCount, 0);
    QVERIFY(e.ui.mistakes.isEmpty());
    QVERIFY(e.test.WordPool.isEmpty());
    // The file is there afterwards, empty.
    QVERIFY(QFileInfo::exists(e.errorsFile()));
    QCOMPARE(readFile(e.errorsFile()), QByteArray());
    QVERIFY(e.messenger.messages.isEmpty());
}

void TestEngine::wrongWordComesBackAndIsRecorded()
{
    Engine e;
    writeFile(e.errorsFile(), "1\\9=old\\stary\r\n");
    e.test.TestKinds = {true, false, false, false};
    e.test.WordPool = {"0=dog\\pes", "1=cat\\kocka", "2=cow\\krava"};
    bool wrongOnce = false;
    e.ui.answer = [&](const QByteArray &expected) {
        if (expected == "kocka" && !wrongOnce) {
            wrongOnce = true;
            return QByteArray("kocour");
        }
        return expected;
    };
    e.test.StartTest(LangEnglish);
    QCOMPARE(e.ui.asked.size(), 4); // one more question for the mistake
    int catAsked = 0;
    for (const auto &q : e.ui.asked)
        catAsked += q.line == "1=cat\\kocka";
    QCOMPARE(catAsked, 2);
    QCOMPARE(e.test.GoodCount, 3);
    QCOMPARE(e.test.BadCount, 1);
    QCOMPARE(e.ui.mistakes.size(), 1);
    QCOMPARE(e.ui.mistakes[0].expected, QByteArray("kocka"));
    QCOMPARE(e.ui.mistakes[0].typed, QByteArray("kocour"));
    QCOMPARE(e.ui.mistakes[0].charset, int(CharsetCentralEuropean));
    QCOMPARE(readFile(e.errorsFile()), QByteArray("1\\9=old\\stary\r\n0\\1=cat\\kocka\r\n"));
}

void TestEngine::oneWordAnsweredWrongTwice()
{
    Engine e;
    e.test.TestKinds = {false, true, false, false};
    e.test.WordPool = {"5=dog\\pes"};
    int answers = 0;
    e.ui.answer = [&](const QByteArray &expected) { return ++answers <= 2 ? QByteArray("cat") : expected; };
    e.test.StartTest(LangEnglish);
    QCOMPARE(e.ui.asked.size(), 3);
    for (const auto &m : e.ui.mistakes)
        QCOMPARE(m.remain, 0); // the word is back in the pool, the count not yet
    QCOMPARE(e.test.RemainCount, 0);
    QCOMPARE(e.test.BadCount, 2);
    QCOMPARE(e.test.GoodCount, 1);
    QCOMPARE(readFile(e.errorsFile()), QByteArray("1\\5=dog\\pes\r\n1\\5=dog\\pes\r\n"));
}

void TestEngine::mistakesTestLeavesFileAsItWas()
{
    Engine e;
    // Odd but legal content: a line of an unknown kind, an empty line, no final line end.
    const QByteArray original = "1\\0=dog\\pes\r\n0\\1=cat\\kocka\r\n\r\nx\\2=cow\\krava\r\n9\\3=pig\\prase";
    writeFile(e.errorsFile(), original);
    e.test.ErrorsMode = true;
    e.test.WordPool = splitLines(original);
    e.test.TestKinds = {true, true, false, false};
    bool wrongOnce = false;
    QList<qint32> remaining;
    e.ui.answer = [&](const QByteArray &expected) {
        remaining.append(e.test.RemainCount);
        if (expected == "dog" && !wrongOnce) {
            wrongOnce = true;
            return QByteArray("hound");
        }
        return expected;
    };
    e.test.StartTest(LangEnglish);
    QVERIFY(wrongOnce);
    QCOMPARE(e.test.BadCount, 1);
    // The dog came back in its own kind, 1.
    QList<int> dogKinds;
    for (const auto &q : e.ui.asked)
        if (q.line == "0=dog\\pes")
            dogKinds.append(q.kind);
    QCOMPARE(dogKinds, (QList<int>{1, 1}));
    QCOMPARE(readFile(e.errorsFile()), original);
    QCOMPARE(e.ui.asked.size(), 4); // dog twice, cat, pig; the cow had no kind
    // "Zbývá" never counted the cow, which cannot be asked.
    QCOMPARE(remaining.constFirst(), 2);
}

void TestEngine::unticksSaveErrorsRecordsNothing()
{
    Engine e;
    writeFile(e.errorsFile(), "0\\1=a\\b\r\n");
    e.test.SaveErrors = false;
    e.test.TestKinds = {true, false, false, false};
    e.test.WordPool = {"0=dog\\pes"};
    int answers = 0;
    e.ui.answer = [&](const QByteArray &expected) { return ++answers == 1 ? QByteArray() : expected; };
    e.test.StartTest(LangEnglish);
    QCOMPARE(e.ui.asked.size(), 2); // still asked again within the test
    QCOMPARE(e.test.BadCount, 1);
    QCOMPARE(readFile(e.errorsFile()), QByteArray("0\\1=a\\b\r\n"));
}

void TestEngine::answerJudgesByTheLanguagesRules()
{
    Engine e;
    auto answerWith = [](const QByteArray &text, int article) {
        TypedAnswer a;
        a.text = text;
        a.article = article;
        return a;
    };

    // French, Czech to French: the word with the wrong article is wrong, and
    // the mistake shows both with their articles, in windows-1252.
    e.test.LanguageCode = LangFrench;
    e.test.WordPool = {"1=0\\chat\\kocka"};
    QVERIFY(e.test.NextWord());
    e.test.AskedKind = KindToForeign;
    Verdict v = e.test.Answer(LangFrench, answerWith("chat", 1));
    QVERIFY(!v.right);
    QCOMPARE(v.expected, QByteArray("le chat"));
    QCOMPARE(v.typed, QByteArray("la chat"));
    QCOMPARE(v.charset, int(CharsetWestern));
    QVERIFY(!v.exhausted); // the word comes back
    QCOMPARE(e.test.BadCount, 1);
    QCOMPARE(e.ui.mistakes.size(), 1);
    QCOMPARE(e.ui.mistakes[0].expected, v.expected);
    QCOMPARE(e.test.ErrorList.last().toByteArray(), QByteArray("1\\1=0\\chat\\kocka"));
    v = e.test.Answer(LangFrench, answerWith("chat", 0));
    QVERIFY(v.right && v.expected.isEmpty());
    QVERIFY(v.exhausted);
    QCOMPARE(e.test.GoodCount, 1);
    QCOMPARE(e.ui.mistakes.size(), 1);

    // German, Czech to German with "Nepravidelné sloveso": right word and
    // article, wrong forms, recorded as a verb question.
    e.test.LanguageCode = LangGerman;
    e.test.WordPool = {"4=3\\gehen\\geht,ging,i gegangen\\jit"};
    QVERIFY(e.test.NextWord());
    e.test.AskedKind = KindToForeign;
    TypedAnswer verb = answerWith("gehen", kNoArticle);
    verb.verbForms = true;
    verb.forms.preterite = "ging";
    verb.forms.perfect = "h gegangen";
    v = e.test.Answer(LangGerman, verb);
    QVERIFY(!v.right);
    QCOMPARE(v.expected, QByteArray("gehen (ging,i gegangen)"));
    QCOMPARE(v.typed, QByteArray("gehen (ging,h gegangen)"));
    QCOMPARE(v.charset, int(CharsetCentralEuropean));
    QCOMPARE(e.test.ErrorList.last().toByteArray(), QByteArray("3\\4=3\\gehen\\geht,ging,i gegangen\\jit"));
    // The plural is compared with its alternatives, as any answer.
    e.test.AskedKind = KindPlural;
    e.test.CurrentWord.Mn = "Hunden, Hunde";
    QVERIFY(e.test.Answer(LangGerman, answerWith("Hunde", -1)).right);
}

void TestEngine::mistakeLabelsCodePage()
{
    QCOMPARE(UTest::MistakeCharset(1, LangFrench), int(CharsetWestern));
    QCOMPARE(UTest::MistakeCharset(1, LangSpanish), int(CharsetWestern));
    QCOMPARE(UTest::MistakeCharset(1, LangRussian), int(CharsetCyrillic));
    for (int lang : {LangEnglish, LangGerman, LangLatin})
        QCOMPARE(UTest::MistakeCharset(1, lang), int(CharsetCentralEuropean));
    for (int kind : {0, 2, 3})
        for (int lang = 20; lang <= 25; ++lang)
            QCOMPARE(UTest::MistakeCharset(kind, lang), int(CharsetCentralEuropean));

    // The charset goes with the language the window passes in.
    Engine e;
    e.test.TestKinds = {false, true, false, false};
    e.test.LanguageCode = LangRussian;
    e.test.WordPool = {"0=\xF1\xEE\xE1\xE0\xEA\xE0\\pes"};
    int answers = 0;
    e.ui.answer = [&](const QByteArray &expected) { return ++answers == 1 ? QByteArray("x") : expected; };
    e.test.StartTest(LangRussian);
    QCOMPARE(e.ui.mistakes.size(), 1);
    QCOMPARE(e.ui.mistakes[0].charset, int(CharsetCyrillic));
    QCOMPARE(e.ui.mistakes[0].expected, QByteArray("\xF1\xEE\xE1\xE0\xEA\xE0"));
    QCOMPARE(readFile(e.errorsFile("ru")), QByteArray("1\\0=\xF1\xEE\xE1\xE0\xEA\xE0\\pes\r\n"));
}

void TestEngine::leavingEarlySavesMistakesSoFar()
{
    Engine e;
    e.test.TestKinds = {true, false, false, false};
    e.test.WordPool = {"0=dog\\pes", "1=cat\\kocka", "2=cow\\krava"};
    e.ui.answer = [](const QByteArray &) { return QByteArray("?"); };
    e.ui.leaveNow = [&] { return e.ui.asked.size() == 3; };
    e.test.StartTest(LangEnglish);
    QCOMPARE(e.test.BadCount, 2);
    const QList<QByteArray> lines = splitLines(readFile(e.errorsFile()));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], "0\\" + e.ui.asked[0].line);
    QCOMPARE(lines[1], "0\\" + e.ui.asked[1].line);
}

void TestEngine::unreadableMistakesFileIsKept()
{
    Engine e;
    // Something that exists but cannot be read as a file.
    QVERIFY(QDir(e.dir.path()).mkdir(QStringLiteral("errors.ene")));
    writeFile(e.errorsFile() + "/inside", "keep");
    e.test.TestKinds = {true, false, false, false};
    e.test.WordPool = {"0=dog\\pes"};
    e.ui.answer = [](const QByteArray &) { return QByteArray("?"); };
    int answers = 0;
    e.ui.answer = [&](const QByteArray &expected) { return ++answers == 1 ? QByteArray("?") : expected; };
    e.test.StartTest(LangEnglish);
    QCOMPARE(e.test.BadCount, 1);
    QVERIFY(QFileInfo(e.errorsFile()).isDir());
    QCOMPARE(readFile(e.errorsFile() + "/inside"), QByteArray("keep"));
    QCOMPARE(e.messenger.messages.size(), 1);
    QCOMPARE(e.messenger.messages[0].kind, QStringLiteral("error"));
    QVERIFY(e.messenger.messages[0].text.contains(QDir::toNativeSeparators(e.errorsFile())));
}

void TestEngine::unwritableMistakesFileIsReported()
{
    RecordingMessenger messenger;
    StdRandomSource random{1, false};
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath(QStringLiteral("gone"));
    UTest test(missingFolder, random, messenger);
    FakeUi ui(test);
    test.setUi(&ui);
    test.TestKinds = {true, false, false, false};
    test.WordPool = {"0=dog\\pes"};
    int answers = 0;
    ui.answer = [&](const QByteArray &expected) { return ++answers == 1 ? QByteArray("?") : expected; };
    test.StartTest(LangEnglish);
    QCOMPARE(ui.asked.size(), 2); // the test itself ran to its end
    QCOMPARE(messenger.messages.size(), 1);
    QCOMPARE(messenger.messages[0].kind, QStringLiteral("error"));
    QVERIFY(messenger.messages[0].text.contains(QStringLiteral("errors.ene")));
    QVERIFY(messenger.messages[0].text.contains(QStringLiteral("nelze uložit")));
}

void TestEngine::mistakesOfAnotherWindowSurvive()
{
    Engine e;
    writeFile(e.errorsFile(), "0\\1=old\\stary\n");
    e.test.TestKinds = {true, false, false, false};
    e.test.WordPool = {"0=dog\\pes"};
    int answers = 0;
    e.ui.answer = [&](const QByteArray &expected) {
        if (++answers > 1)
            return expected;
        // Meanwhile a test in another window of the program ends with its mistakes.
        writeFile(e.errorsFile(), "0\\1=old\\stary\n1\\7=cat\\kocka\r\n");
        return QByteArray("?");
    };
    e.test.StartTest(LangEnglish);
    QCOMPARE(readFile(e.errorsFile()), QByteArray("0\\1=old\\stary\n1\\7=cat\\kocka\r\n0\\0=dog\\pes\r\n"));

    // A mistakes test adds nothing, so the other window's lines stay byte for byte.
    e.test.ErrorsMode = true;
    e.test.WordPool = {"1\\7=cat\\kocka"};
    e.ui.answer = [&](const QByteArray &expected) {
        writeFile(e.errorsFile(), "2\\5=x\\y");
        return expected;
    };
    e.test.StartTest(LangEnglish);
    QCOMPARE(readFile(e.errorsFile()), QByteArray("2\\5=x\\y"));
    QVERIFY(e.messenger.messages.isEmpty());
}

void TestEngine::mistakesFileWithoutKindsStartsNoWindow()
{
    Engine e;
    writeFile(e.errorsFile(), "dog\\pes\r\n");
    e.test.ErrorsMode = true;
    e.test.WordPool = {"dog\\pes"};
    e.test.TestKinds = {true, false, false, false};
    e.test.StartTest(LangEnglish);
    QVERIFY(e.ui.windowsRun.isEmpty());
    QCOMPARE(e.messenger.texts(), QStringList{QStringLiteral("Nemáte žádné chyby !")});
    QCOMPARE(readFile(e.errorsFile()), QByteArray("dog\\pes\r\n"));
}

void TestEngine::masteredMistakesLeaveTheFile()
{
    Engine e;
    const QByteArray dog = "0\\1=dog\\pes", cat = "1\\2=cat\\kocka", cow = "0\\3=cow\\krava", pig = "0\\4=pig\\prase";
    const QByteArray original = dog + "\r\n" + cat + "\n" + dog + "\r\n" + cow; // odd line ends on purpose
    writeFile(e.errorsFile(), original);
    const QString countsFile = masteryFilePath(e.errorsFile());
    auto counts = [&] { return MasteryCounts::parse(readFile(countsFile)); };
    // One mistakes test; the user answers wrong, once, the words in `wrong`.
    auto mistakesTest = [&](QList<QByteArray> wrong, const std::function<void()> &meanwhile = {}) {
        e.test.ErrorsMode = true;
        e.test.WordPool = splitLines(readFile(e.errorsFile()));
        e.test.TestKinds = {true, true, false, false};
        e.ui.answer = [&](const QByteArray &expected) {
            if (meanwhile && e.ui.asked.size() == 1)
                meanwhile();
            return wrong.removeOne(expected) ? QByteArray("?") : expected;
        };
        e.ui.asked.clear();
        e.test.StartTest(LangEnglish);
        e.test.ErrorsMode = false;
        QVERIFY(wrong.isEmpty());
    };

    // Off: every byte as before, and no counts file.
    mistakesTest({"pes"});
    QCOMPARE(readFile(e.errorsFile()), original);
    QVERIFY(!QFile::exists(countsFile));

    // On: right answers count, a wrong one (its repeat answered right) none.
    e.test.RemoveMastered = true;
    mistakesTest({"krava"});
    QCOMPARE(readFile(e.errorsFile()), original);
    QCOMPARE(counts().count(dog), 1); // asked twice, counted once a test
    QCOMPARE(counts().count(cat), 1);
    QCOMPARE(counts().count(cow), 0);

    // The dog's second test in a row takes both its lines out; the cat's
    // wrong answer starts it again; another window's new line stays.
    mistakesTest({"cat"}, [&] { QCOMPARE(appendLinesToFile(e.errorsFile(), {pig}), UpdateResult::Done); });
    QCOMPARE(readFile(e.errorsFile()), cat + "\n" + cow + "\r\n" + pig + "\r\n");
    QCOMPARE(counts().count(cat), 0);
    QCOMPARE(counts().count(cow), 1);
    QCOMPARE(counts().bytes(), "1\t" + cow + "\r\n"); // the dog's count went with its lines

    // An ordinary test's new mistake of a counted word counts from none again.
    mistakesTest({});
    QCOMPARE(readFile(e.errorsFile()), cat + "\n" + pig + "\r\n");
    QCOMPARE(counts().count(pig), 1);
    e.test.TestKinds = {true, false, false, false};
    e.test.WordPool = {"4=pig\\prase"};
    int pigAnswers = 0;
    e.ui.answer = [&](const QByteArray &expected) { return ++pigAnswers == 1 ? QByteArray("?") : expected; };
    e.test.StartTest(LangEnglish);
    QCOMPARE(readFile(e.errorsFile()), cat + "\n" + pig + "\r\n" + pig + "\r\n");
    QCOMPARE(counts().count(pig), 0);
    QCOMPARE(counts().count(cat), 1);

    // A threshold of 1: the first right answer is enough.
    e.test.MasteredAfter = 1;
    mistakesTest({"cat"});
    QCOMPARE(readFile(e.errorsFile()), cat + "\n");
    QVERIFY(counts().isEmpty());
    QVERIFY(e.messenger.messages.isEmpty());
}

void TestEngine::masteryCountsAcrossTheSwitch()
{
    Engine e;
    const QByteArray dog = "0\\1=dog\\pes", cat = "0\\2=cat\\kocka";
    writeFile(e.errorsFile(), dog + "\r\n" + cat + "\r\n");
    const QString countsFile = masteryFilePath(e.errorsFile());
    auto counts = [&] { return MasteryCounts::parse(readFile(countsFile)); };
    auto mistakesTest = [&](QList<QByteArray> wrong) {
        e.test.ErrorsMode = true;
        e.test.WordPool = splitLines(readFile(e.errorsFile()));
        e.test.TestKinds = {true, false, false, false};
        e.ui.answer = [&](const QByteArray &expected) {
            return wrong.removeOne(expected) ? QByteArray("?") : expected;
        };
        e.test.StartTest(LangEnglish);
        e.test.ErrorsMode = false;
    };

    // Off, and no counts yet: a wrong answer makes no counts file.
    mistakesTest({"pes"});
    QVERIFY(!QFile::exists(countsFile));

    // On: one right test counts the dog once. Off again: missed, and its
    // count goes; on again: one right test does not take out the word
    // just missed.
    e.test.RemoveMastered = true;
    mistakesTest({});
    QCOMPARE(counts().count(dog), 1);
    e.test.RemoveMastered = false;
    mistakesTest({"pes"});
    QCOMPARE(counts().count(dog), 0);
    QCOMPARE(counts().count(cat), 1); // answered right with the option off: as it was
    e.test.RemoveMastered = true;
    mistakesTest({"kocka"});
    QVERIFY(readFile(e.errorsFile()).contains(dog));
    QCOMPARE(counts().count(dog), 1);

    // The same for a word missed in an ordinary test with the option off.
    e.test.RemoveMastered = false;
    e.test.WordPool = {"1=dog\\pes"};
    int asked = 0;
    e.ui.answer = [&](const QByteArray &expected) { return ++asked == 1 ? QByteArray("?") : expected; };
    e.test.StartTest(LangEnglish);
    QCOMPARE(counts().count(dog), 0);

    // Every mistake mastered: an empty mistakes file, no counts file, and
    // the mistakes test says so.
    e.test.RemoveMastered = true;
    e.test.MasteredAfter = 1;
    mistakesTest({});
    QCOMPARE(readFile(e.errorsFile()), QByteArray());
    QVERIFY(QFile::exists(e.errorsFile()));
    QVERIFY(!QFile::exists(countsFile));
    TestRequest request;
    request.mode = TestMode::Mistakes;
    request.languageCode = LangEnglish;
    request.mistakesPath = e.errorsFile();
    request.kindTicks = {true, false};
    request.removeMastered = true;
    QCOMPARE(collectTestPool(request).refusals.value(0).text, QStringLiteral("Všechny chyby máte zvládnuté."));
    request.removeMastered = false;
    QCOMPARE(collectTestPool(request).refusals.value(0).text, QStringLiteral("Musíte vybrat lekce kde jsou lexitka !"));
    QVERIFY(e.messenger.messages.isEmpty());
}

void TestEngine::everyAnswerIsAReview()
{
    Engine e;
    FixedClock clock;
    clock.date = QDate(2026, 12, 6);
    e.test.setClock(&clock);
    const QString reviews = e.test.ReviewFilePath();
    QCOMPARE(QFileInfo(reviews).fileName(), QStringLiteral("review.enr"));
    auto englishTest = [&](QList<QByteArray> wrong,
                           QList<QByteArray> pool = {"1=dog\\pes", "2 = cat\\kocka", "3=cow\\krava"}) {
        e.test.WordPool = LineStore(pool);
        e.test.TestKinds = {true, false, false, false};
        e.ui.answer = [&](const QByteArray &expected) {
            return wrong.removeOne(expected) ? QByteArray("?") : expected;
        };
        e.test.StartTest(LangEnglish);
    };

    // Off: no review file.
    englishTest({"kocka"});
    QVERIFY(!QFile::exists(reviews));

    // On: the cat missed and then known the same day, the others known,
    // each card by its kind and its value (blanks around it are not the word's).
    e.test.ScheduleReviews = true;
    englishTest({"kocka"});
    QByteArray file = readFile(reviews);
    QCOMPARE(parseReviewFile(file).size(), 3);
    QVERIFY(file.contains("0\t2026-12-08\t2026-12-06\t2.3065\t2.1181\t1\t0\tdog\\pes\r\n"));
    QVERIFY(file.contains("0\t2026-12-07\t2026-12-06\t0.2467\t6.4021\t2\t1\tcat\\kocka\r\n"));

    // Two days later the dog, due, is known again; a word answered after
    // Insert filled it in counts as not known.
    clock.date = QDate(2026, 12, 8);
    englishTest({}, {"1=dog\\pes"});
    QVERIFY(readFile(reviews).contains("0\t2026-12-19\t2026-12-08\t10.9643\t2.1112\t2\t0\tdog\\pes\r\n"));
    e.test.WordPool = {"3=cow\\krava"};
    e.ui.answer = [&](const QByteArray &expected) {
        e.test.revealAnswer();
        return expected;
    };
    e.test.StartTest(LangEnglish);
    const QList<ReviewCard> cards = parseReviewFile(readFile(reviews));
    QCOMPARE(cards.size(), 3);
    const auto cow =
        std::find_if(cards.begin(), cards.end(), [](const ReviewCard &c) { return c.value == "cow\\krava"; });
    QVERIFY(cow != cards.end());
    QCOMPARE(cow->reviews, 2);
    QCOMPARE(cow->lapses, 1);
    QCOMPARE(e.ui.mistakes.size(), 2); // the cat's, twice: Insert is no mistake of the dialog

    // A mistakes test reviews its words in their own kinds.
    writeFile(e.errorsFile(), "1\\4=pig\\prase\r\n");
    e.test.ErrorsMode = true;
    e.test.WordPool = {"1\\4=pig\\prase"};
    e.test.TestKinds = {true, true, false, false};
    e.ui.answer = [](const QByteArray &expected) { return expected; };
    e.test.StartTest(LangEnglish);
    QVERIFY(readFile(reviews).endsWith("1\t2026-12-10\t2026-12-08\t2.3065\t2.1181\t1\t0\tpig\\prase\r\n"));
    QVERIFY(e.messenger.messages.isEmpty());

    // German plurals: cards of kind 2 in the German file, the plural known
    // for the dog, not for the cat.
    e.test.LanguageCode = LangGerman;
    e.test.ErrorsMode = false;
    e.test.WordPool = {"0=0\\Hund\\Hunde\\pes", "1=1\\Katze\\Katzen\\kocka"};
    e.test.TestKinds = {false, false, true, false};
    e.test.AskedKind = KindPlural;
    e.ui.answer = [&](const QByteArray &) {
        return e.test.CurrentWord.Slovo == "Hund" ? e.test.CurrentWord.Mn : QByteArray("Katze");
    };
    int katze = 0;
    e.ui.leaveNow = [&] { return e.test.CurrentWord.Slovo == "Katze" && ++katze > 1; };
    e.test.StartTest(LangGerman);
    const QByteArray german = readFile(e.test.ReviewFilePath());
    QCOMPARE(QFileInfo(e.test.ReviewFilePath()).fileName(), QStringLiteral("review.der"));
    QVERIFY(german.contains("2\t2026-12-10\t2026-12-08\t2.3065\t2.1181\t1\t0\t0\\Hund\\Hunde\\pes\r\n"));
    QVERIFY(german.contains("2\t2026-12-09\t2026-12-08\t0.2120\t6.4133\t1\t1\t1\\Katze\\Katzen\\kocka\r\n"));
}

void TestEngine::reviewTestAsksTheDueCards()
{
    // A German dictionary tested in three kinds on one day, then reviewed
    // a day later: the review test asks exactly the cards due, each in its
    // kind, and is an ordinary test in all else.
    Engine e;
    FixedClock clock;
    clock.date = QDate(2026, 12, 6);
    e.test.setClock(&clock);
    e.test.ScheduleReviews = true;
    e.test.LanguageCode = LangGerman;
    const QString dictionary = e.dir.filePath(QStringLiteral("lekce.de"));
    const QByteArray hund = "0\\Hund\\Hunde\\pes", katze = "1\\Katze\\Katzen\\kocka",
                     sehen = "3\\sehen\\sieht,sah,h gesehen\\videt";
    writeFile(dictionary, "[Tiere]\r\n0=" + hund + "\r\n1=" + katze + "\r\n[Verben]\r\n0=" + sehen + "\r\n");
    e.test.DictionaryPath = dictionary;
    const QString reviews = e.test.ReviewFilePath();
    auto request = [&](TestMode mode, QList<bool> kinds) {
        TestRequest r;
        r.mode = mode;
        r.languageCode = LangGerman;
        r.dictionaryPath = dictionary;
        r.lessons = SectionNames::fromList({"Tiere", "Verben"});
        r.lessonTicks = {true, true};
        r.kindTicks = kinds;
        r.mistakesPath = e.errorsFile("de");
        r.reviewsPath = reviews;
        r.today = clock.date;
        return collectTestPool(r);
    };
    // Missed once: the value of the word answered wrongly the first time it is asked.
    QList<QByteArray> missOnce;
    e.ui.answer = [&](const QByteArray &expected) {
        const QByteArray line = e.test.CurrentLine;
        return missOnce.removeOne(line.sliced(line.indexOf('=') + 1)) ? QByteArray("falsch") : expected;
    };

    // Plurals: the cat's missed, then known the same day; verbs: known; the
    // first kind: the dog's missed. Every card is new.
    missOnce = {katze};
    e.test.setUp(request(TestMode::Lessons, {false, false, true, false}), true);
    e.test.StartTest(LangGerman);
    missOnce = {sehen};
    e.test.setUp(request(TestMode::Lessons, {false, false, false, true}), true);
    e.test.StartTest(LangGerman);
    missOnce = {hund};
    e.test.setUp(request(TestMode::Lessons, {true, false, false, false}), true);
    e.test.StartTest(LangGerman);
    QCOMPARE(e.ui.asked.size(), 2 + 1 + 1 + 1 + 3 + 1);

    // The file: a card's line where it was first asked, new cards known at
    // once due in two days, those missed and known again in one.
    const QByteArray good = "\t2026-12-08\t2026-12-06\t2.3065\t2.1181\t1\t0\t";
    const QByteArray again = "\t2026-12-07\t2026-12-06\t0.2467\t6.4021\t2\t1\t";
    auto line = [&](int kind, const QByteArray &value, const QByteArray &fields) {
        return QByteArray::number(kind) + fields + value + "\r\n";
    };
    QList<QByteArray> day0;
    for (const FakeUi::Question &q : e.ui.asked) {
        const QByteArray value = q.line.sliced(q.line.indexOf('=') + 1);
        const bool missed = (value == katze && q.kind == KindPlural) || (value == sehen && q.kind == KindVerbForms)
                            || (value == hund && q.kind == KindToCzech);
        const QByteArray l = line(q.kind, value, missed ? again : good);
        if (!day0.contains(l))
            day0.append(l);
    }
    QCOMPARE(day0.size(), 6);
    QCOMPARE(readFile(reviews), day0.join());
    const QByteArray mistakes = readFile(e.errorsFile("de"));
    QCOMPARE(sorted(splitLines(mistakes)), sorted({"2\\1=" + katze, "3\\0=" + sehen, "0\\0=" + hund}));

    // A day later: the three missed cards are due, each in its kind; the
    // rest fall due tomorrow.
    clock.date = QDate(2026, 12, 7);
    const ReviewOverview overview = reviewOverview(readFile(dictionary), readFile(reviews), LangGerman, clock.date);
    QCOMPARE(sorted(overview.due.toList()), sorted({"2\\1=" + katze, "3\\0=" + sehen, "0\\0=" + hund}));
    QCOMPARE(overview.nextDue, QDate(2026, 12, 8));
    QCOMPARE(overview.forecast[0], 3);
    QCOMPARE(overview.forecast[1], 3);
    QCOMPARE(overview.lessons.size(), 2);
    QCOMPARE(overview.lessons[0].words, 2);
    QCOMPARE(overview.lessons[0].asked, 2);
    QCOMPARE(overview.lessons[0].due, 2);

    // The review test: the verb missed again (a mistake, as in any test, and
    // asked again), the others known.
    e.ui.asked.clear();
    e.ui.mistakes.clear();
    missOnce = {sehen};
    TestPool pool = request(TestMode::Reviews, {false, false, false, false});
    QVERIFY(pool.mayStart());
    QCOMPARE(pool.kinds, (std::array<bool, 4>{true, false, true, true}));
    e.test.setUp(std::move(pool), true);
    QVERIFY(e.test.ReviewsMode && !e.test.ErrorsMode);
    e.test.StartTest(LangGerman);
    QList<std::pair<int, QByteArray>> asked;
    for (const FakeUi::Question &q : e.ui.asked)
        asked.append({q.kind, q.line});
    QCOMPARE(asked.size(), 4);
    QVERIFY(asked.contains(std::pair(int(KindPlural), "1=" + katze)));
    QVERIFY(asked.contains(std::pair(int(KindToCzech), "0=" + hund)));
    QCOMPARE(asked.count(std::pair(int(KindVerbForms), "0=" + sehen)), 2);
    QCOMPARE(e.ui.mistakes.size(), 1);
    QCOMPARE(readFile(e.errorsFile("de")), mistakes + "3\\0=" + sehen + "\r\n");
    QCOMPARE(e.test.GoodCount, 3);
    QCOMPARE(e.test.BadCount, 1);
    QVERIFY(!e.test.ReviewsMode);

    // Every other line stays byte for byte; the three reviewed change in place.
    QList<QByteArray> day1 = day0;
    for (QByteArray &l : day1) {
        const std::optional<ReviewCard> before = parseReviewLine(l.chopped(2));
        QVERIFY(before);
        const bool due = before->due <= clock.date;
        if (!due)
            continue;
        ReviewCard after =
            reviewed(before, {before->kind, before->value,
                              before->kind == KindVerbForms ? fsrs::Grade::Again : fsrs::Grade::Good, clock.date});
        if (before->kind == KindVerbForms)
            after = reviewed(after, {after.kind, after.value, fsrs::Grade::Good, clock.date});
        // Known a day after a lapse: the card now waits longer than a day.
        QVERIFY(before->kind == KindVerbForms || after.due > clock.date.addDays(1));
        l = reviewLine(after) + "\r\n";
    }
    QCOMPARE(readFile(reviews), day1.join());
    QVERIFY(e.messenger.messages.isEmpty());

    // Nothing left for today.
    pool = request(TestMode::Reviews, {true, true, true, true});
    QCOMPARE(pool.refusals.size(), 1);
    QCOMPARE(pool.refusals[0].text, QStringLiteral("Dnes nemáte co opakovat."));

    // Switched off, the same tests write the same mistakes and no review file.
    Engine off;
    off.test.setClock(&clock);
    off.test.LanguageCode = LangGerman;
    off.ui.answer = [&](const QByteArray &expected) {
        const QByteArray l = off.test.CurrentLine;
        return missOnce.removeOne(l.sliced(l.indexOf('=') + 1)) ? QByteArray("falsch") : expected;
    };
    for (const auto &[kinds, missed] : QList<std::pair<QList<bool>, QByteArray>>{{{false, false, true, false}, katze},
                                                                                 {{false, false, false, true}, sehen},
                                                                                 {{true, false, false, false}, hund}}) {
        missOnce = {missed};
        TestRequest r;
        r.languageCode = LangGerman;
        r.dictionaryPath = dictionary;
        r.lessons = SectionNames::fromList({"Tiere", "Verben"});
        r.lessonTicks = {true, true};
        r.kindTicks = kinds;
        off.test.setUp(collectTestPool(r), true);
        off.test.StartTest(LangGerman);
    }
    QCOMPARE(readFile(off.errorsFile("de")), mistakes);
    QCOMPARE(QDir(off.dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("errors.dee")});
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
