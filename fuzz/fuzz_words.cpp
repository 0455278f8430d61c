// Entry lines and word records: GetField and ParseWord on any bytes, and
// ComposeEntry followed by ParseWord (and by a trip through a dictionary
// file) giving the fields back.
#include "fuzzsupport.h"

#include "exam/wordcollection.h"
#include "data/dictionary.h"
#include "data/inifile.h"
#include "support/inireadings.h"

using namespace lexitka;
using namespace lexitka::fuzz;

namespace {

// Unknown codes read as English.
constexpr int kCodes[] = {LangEnglish, LangGerman, LangFrench, LangRussian, LangSpanish, LangLatin, 0, 26};

// The fields a language stores, the others left empty.
WordRecord storedFields(const WordRecord &w, int code)
{
    WordRecord out;
    out.Slovo = w.Slovo;
    out.Preklad = w.Preklad;
    if (code == LangGerman || code == LangFrench || code == LangSpanish)
        out.Clen = w.Clen;
    if (code == LangGerman)
        out.Mn = w.Mn;
    return out;
}

void checkFields(QByteArrayView value)
{
    const QList<QByteArray> fields = value.toByteArray().split('\\');
    // Field n of a value with fewer fields is its last; n below 1 is the first.
    for (int n = -1; n <= fields.size() + 2; ++n) {
        const QByteArrayView f = GetField(value, n);
        const qsizetype index = std::clamp<qsizetype>(n, 1, fields.size()) - 1;
        FUZZ_CHECK(f == fields[index], QStringLiteral("field %1 of %2 is %3").arg(n).arg(shown(value), shown(f)));
        FUZZ_CHECK(f.isEmpty() || (f.data() >= value.data() && f.data() + f.size() <= value.data() + value.size()),
                   QStringLiteral("field %1 lies outside the value").arg(n));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = bytesOf(data, size);

    // The input as one entry line.
    const qsizetype eq = input.indexOf('=');
    const QByteArrayView value = eq < 0 ? QByteArrayView(input) : QByteArrayView(input).sliced(eq + 1);
    checkFields(value);
    for (int code : kCodes) {
        const WordRecord w = ParseWord(input, code);
        const QList<QByteArray> fields = value.toByteArray().split('\\');
        for (const QByteArray *f : {&w.Clen, &w.Slovo, &w.Mn, &w.Preklad})
            FUZZ_CHECK(f->isEmpty() || fields.contains(*f), shown(*f));
        FUZZ_CHECK(w == storedFields(w, code), QStringLiteral("a field the language does not store"));
        const int article = articleIndex(w.Clen);
        FUZZ_CHECK(!articleText(code, article).isEmpty(), QString::number(article));
    }
    isVerbEntry(input);
    isPluralExcluded(input);

    // The input as key, Clen, Slovo, Mn and Preklad.
    const QList<QByteArray> parts = splitInput(input, 5);
    const QByteArray &key = parts[0];
    for (int code : kCodes) {
        const WordRecord w = storedFields({parts[1], parts[2], parts[3], parts[4]}, code);
        const QByteArray line = ComposeEntry(key, w, code);
        FUZZ_CHECK(line.startsWith(key + '='), shown(line));
        const int fieldCount = code == LangGerman ? 4 : (code == LangFrench || code == LangSpanish) ? 3 : 2;
        const QByteArrayView composed = QByteArrayView(line).sliced(key.size() + 1);
        qsizetype inFields = 0;
        for (const QByteArray *f : {&w.Clen, &w.Slovo, &w.Mn, &w.Preklad})
            inFields += f->count('\\');
        FUZZ_CHECK(composed.count('\\') == fieldCount - 1 + inFields, shown(line));
        checkFields(composed);

        // Holds when no field has a "\" and the key has no "=".
        if (inFields > 0 || key.contains('='))
            continue;
        FUZZ_CHECK(ParseWord(line, code) == w, shown(line));

        // The line stored in a lesson and read back, when it is one line,
        // not a header or comment, and has no blanks to be trimmed.
        const bool oneEntryLine = !line.contains('\r') && !line.contains('\n') && trimmedBlanks(key) == key
                                  && trimmedBlanks(composed) == composed && !key.startsWith('[')
                                  && !key.startsWith(';');
        if (!oneEntryLine)
            continue;
        const IniDocument doc = IniDocument::fromBytes("[Lekce]\r\n" + line + "\r\n");
        FUZZ_CHECK(doc.sectionCount() == 1 && doc.entryLines(0) == QList<QByteArray>{line}, shown(line));
        FUZZ_CHECK(ParseWord(testing::collectLessonEntries(doc, {"Lekce"}, {true}).value(0), code) == w, shown(line));
    }
    return 0;
}
