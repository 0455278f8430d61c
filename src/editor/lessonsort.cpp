// Sorting a lesson by its words.
#include "lessonsort.h"

#include "data/dictionary.h"
#include "data/linebreaks.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace lexitka {
namespace {

inline unsigned char sortByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 32) : u;
}

int compareWords(QByteArrayView x, QByteArrayView y)
{
    const qsizetype n = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char a = sortByte(x[i]);
        const unsigned char b = sortByte(y[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

} // namespace

int CompareBySlovo(QByteArrayView a, QByteArrayView b, int languageCode)
{
    return compareWords(wordFields(a, languageCode).Slovo, wordFields(b, languageCode).Slovo);
}

namespace {

// The word of a line as wordFields() finds it (Slovo), without looking for
// the fields it does not need: the first field of the value, or the second
// where an article comes first.
QByteArrayView sortWord(QByteArrayView line, bool articleFirst)
{
    const char *const end = line.data() + line.size();
    const char *v = findByte(line.data(), end, '=');
    v = v == end ? line.data() : v + 1;
    if (articleFirst) {
        const char *bs = findByte(v, end, '\\');
        if (bs != end)
            v = bs + 1; // with fewer fields, the last one stands for the rest
    }
    return QByteArrayView(v, findByte(v, end, '\\') - v);
}

} // namespace

void sortBySlovo(LineStore &lines, int languageCode)
{
    // Each word is folded once ("a" to "z" as "A" to "Z") into one block,
    // so that a comparison is a plain comparison of bytes.
    const bool articleFirst = languageCode == LangGerman || languageCode == LangFrench || languageCode == LangSpanish;
    const qsizetype n = lines.size();
    std::vector<qsizetype> ends;
    ends.reserve(size_t(n));
    QByteArray folded;
    for (QByteArrayView line : lines) {
        for (const char c : sortWord(line, articleFirst))
            folded.append(char(sortByte(c)));
        ends.push_back(folded.size());
    }
    std::vector<std::pair<QByteArrayView, qsizetype>> words;
    words.reserve(size_t(n));
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype begin = i == 0 ? 0 : ends[size_t(i) - 1];
        words.emplace_back(QByteArrayView(folded.constData() + begin, ends[size_t(i)] - begin), i);
    }
    // Views compare their bytes unsigned, a prefix first, as compareWords does.
    std::stable_sort(words.begin(), words.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    lines.permuteBy(n, [&words](qsizetype k) { return words[size_t(k)].second; });
}

} // namespace lexitka
