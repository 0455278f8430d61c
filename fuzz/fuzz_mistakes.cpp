// The mistakes file through the engine: a fuzzed mistakes file is practised
// in a mistakes test, then an ordinary test runs over a fuzzed word pool,
// both answered from the input through a fake test window, with a fixed
// random source.
//
// Input: two bytes of settings, then the mistakes file, the pool's lines
// and the answers, cut at NUL bytes. First byte: language (bits 0-2, the
// order en, de, fr, ru, es, lt repeating), "Ukládat chyby" (bit 3), no
// mistakes file before the ordinary test (bit 4). Second byte: the test
// kinds ticked for the mistakes test (low four bits) and for the ordinary
// test (high four bits). Answer bytes: 0xFF leaves the window, an even
// byte answers right, an odd byte b types the next (b >> 1) % 8 answer
// bytes; when they run out, every answer is right.
//
// Asserts: nothing crashes or is reported, the pool drains, every word is
// asked once plus once per mistake, a mistakes test leaves the file byte for
// byte, and after an ordinary test the file holds the old lines and then
// exactly the new mistakes.
#include "fuzzsupport.h"

#include "exam/wordcollection.h"
#include "data/savefile.h"
#include "platform/services.h"
#include "support/recordingmessenger.h"
#include "exam/utest.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <array>

using namespace lexitka;
using namespace lexitka::fuzz;

namespace {

class ScriptedUi final : public TestUi {
public:
    ScriptedUi(UTest &test, QByteArrayView answers, qsizetype maxQuestions)
        : m_test(test), m_answers(answers), m_maxQuestions(maxQuestions)
    { }

    QList<QByteArray> asked;    // CurrentLine of every question
    QList<QByteArray> mistakes; // "kind\entry" of every wrong answer
    int windows = 0;
    int answers = 0;
    bool left = false;

    void runTestWindow(int languageCode) override
    {
        ++windows;
        for (;;) {
            FUZZ_CHECK(asked.size() < m_maxQuestions, QStringLiteral("the test never ends"));
            if (languageCode == LangGerman)
                m_test.ChooseKindGerman();
            else
                m_test.ChooseKind();
            asked.append(m_test.CurrentLine);
            const int kind = m_test.AskedKind;
            const QByteArray line = m_test.CurrentLine;
            const WordRecord &w = m_test.CurrentWord;
            // Right unless the input says otherwise: the word, its article
            // and, for a verb, its forms as they stand in the dictionary.
            TypedAnswer answer;
            answer.text = kind == KindToForeign   ? w.Slovo
                          : kind == KindPlural    ? w.Mn
                          : kind == KindVerbForms ? RemoveBrackets(w.Slovo)
                                                  : w.Preklad;
            answer.article = articleCode(languageCode, w.Clen);
            answer.forms.presentAsked = true;
            const QList<QByteArray> forms = w.Mn.split(',');
            answer.forms.present = forms.value(0);
            answer.forms.preterite = forms.value(1);
            answer.forms.perfect = w.Mn.mid(
                std::min<qsizetype>(w.Mn.size(), answer.forms.present.size() + answer.forms.preterite.size() + 2));
            bool typedOwn = false;
            if (m_next < m_answers.size()) {
                const quint8 b = quint8(m_answers[m_next++]);
                if (b == 0xFF) {
                    left = true;
                    return;
                }
                if (b & 1) {
                    const qsizetype n = std::min<qsizetype>((b >> 1) % 8, m_answers.size() - m_next);
                    answer.text = m_answers.sliced(m_next, n).toByteArray();
                    m_next += n;
                    typedOwn = true;
                }
            }
            // Verb forms are typed into three boxes: forms with fewer than
            // three parts can never be answered right, only left.
            if (!typedOwn && kind == KindVerbForms && forms.size() < 3) {
                left = true;
                return;
            }
            ++answers;
            const Verdict verdict = m_test.Answer(languageCode, answer);
            if (!verdict.right)
                mistakes.append(QByteArray::number(kind) + '\\' + line);
            if (verdict.exhausted)
                return;
        }
    }
    void showMistake(const QByteArray &, const QByteArray &, int charset) override
    {
        FUZZ_CHECK(charset == CharsetCentralEuropean || charset == CharsetWestern || charset == CharsetCyrillic,
                   QString::number(charset));
    }

    // Answers left over from one test go to the next.
    qsizetype next() const { return m_next; }

private:
    UTest &m_test;
    QByteArrayView m_answers;
    qsizetype m_maxQuestions;
    qsizetype m_next = 0;
};

std::array<bool, 4> kindsFrom(int bits) { return {bool(bits & 1), bool(bits & 2), bool(bits & 4), bool(bits & 8)}; }

// As the main window does before a test.
void prepare(UTest &test, TestMode mode, const QList<QByteArray> &lines, int kindBits, bool saveErrors)
{
    TestPool pool;
    pool.mode = mode;
    pool.kinds = kindsFrom(kindBits);
    if (test.LanguageCode != LangGerman)
        pool.kinds[2] = pool.kinds[3] = false;
    pool.words = lines;
    filterByTestKinds(pool.words, pool.kinds[2], pool.kinds[3]);
    test.setUp(pool, saveErrors);
}

QString errorsOf(const testing::RecordingMessenger &messenger)
{
    QStringList errors;
    for (const auto &m : messenger.messages) {
        if (m.kind == QLatin1String("error"))
            errors.append(m.text);
    }
    return errors.join(u'\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const quint8 settings = data[0], kinds = data[1];
    const QList<QByteArray> parts = splitInput(QByteArrayView(data + 2, qsizetype(size) - 2), 3);
    const QByteArray &mistakesFile = parts[0];
    const QList<QByteArray> pool = splitLines(parts[1]);
    const QByteArrayView answers = parts[2];

    static const QString folder = scratchPath(QStringLiteral("folder"));
    static const bool made = QDir().mkpath(folder);
    FUZZ_CHECK(made, folder);

    testing::RecordingMessenger messenger;
    StdRandomSource random{20240101, false};
    UTest test(folder, random, messenger);
    test.LanguageCode = allLanguageCodes().at((settings & 7) % 6);
    const bool saveErrors = settings & 8;
    const QString path = test.MistakesFilePath();
    const qsizetype maxQuestions = 4 * qsizetype(size) + 64;

    // The mistakes test.
    writeScratch(path, mistakesFile);
    ScriptedUi practice(test, answers, maxQuestions);
    test.setUi(&practice);
    const QList<QByteArray> lines = splitLines(mistakesFile);
    prepare(test, TestMode::Mistakes, lines, kinds & 15, saveErrors);
    const QList<QByteArray> practised = test.WordPool.toList();
    test.StartTest(test.LanguageCode);
    FUZZ_CHECK(errorsOf(messenger).isEmpty(), errorsOf(messenger));
    FUZZ_CHECK(readScratch(path) == mistakesFile, QStringLiteral("a mistakes test changed the file"));
    FUZZ_CHECK(practice.left || test.WordPool.isEmpty(), shown(test.WordPool.toList()));
    FUZZ_CHECK(test.GoodCount + test.BadCount == practice.answers && test.BadCount == practice.mistakes.size(),
               QStringLiteral("%1 right, %2 wrong").arg(test.GoodCount).arg(test.BadCount));
    for (const QByteArray &line : practice.asked) {
        // Each question is a line of the file without its kind.
        const bool fromFile = std::any_of(practised.begin(), practised.end(), [&](const QByteArray &l) {
            const qsizetype bs = l.indexOf('\\');
            return bs >= 0 && QByteArrayView(l).sliced(bs + 1) == line;
        });
        FUZZ_CHECK(fromFile, shown(line));
    }

    // The ordinary test.
    if (settings & 16)
        QFile::remove(path);
    const QList<QByteArray> old = scratchExists(path) ? splitLines(readScratch(path)) : QList<QByteArray>();
    ScriptedUi exam(test, answers.sliced(practice.next()), maxQuestions);
    test.setUi(&exam);
    prepare(test, TestMode::Lessons, pool, kinds >> 4, saveErrors);
    const QList<QByteArray> drawn = test.WordPool.toList();
    test.StartTest(test.LanguageCode);
    FUZZ_CHECK(errorsOf(messenger).isEmpty(), errorsOf(messenger));
    FUZZ_CHECK(exam.left || test.WordPool.isEmpty(), shown(test.WordPool.toList()));
    FUZZ_CHECK(test.RemainCount == test.WordPool.size(), QString::number(test.RemainCount));
    FUZZ_CHECK(test.GoodCount + test.BadCount == exam.answers && test.BadCount == exam.mistakes.size(),
               QStringLiteral("%1 right, %2 wrong").arg(test.GoodCount).arg(test.BadCount));
    if (!exam.left) {
        // Every word once, and once more after each mistake.
        QList<QByteArray> expected = drawn;
        for (const QByteArray &m : exam.mistakes)
            expected.append(m.sliced(m.indexOf('\\') + 1));
        QList<QByteArray> asked = exam.asked;
        std::sort(expected.begin(), expected.end());
        std::sort(asked.begin(), asked.end());
        FUZZ_CHECK(asked == expected, shown(asked) + QStringLiteral(" asked of ") + shown(expected));
    }
    const QList<QByteArray> now = scratchExists(path) ? splitLines(readScratch(path)) : QList<QByteArray>();
    const QList<QByteArray> wanted = saveErrors ? old + exam.mistakes : old;
    FUZZ_CHECK(now == wanted, shown(now) + QStringLiteral(" instead of ") + shown(wanted));
    return 0;
}
