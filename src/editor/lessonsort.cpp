// Sorting a lesson by its words.
#include "lessonsort.h"

#include "data/dictionary.h"

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

void sortBySlovo(LineStore &lines, int languageCode)
{
    // Each line is parsed once, not at every comparison.
    std::vector<std::pair<QByteArrayView, qsizetype>> words;
    words.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        words.emplace_back(wordFields(lines[i], languageCode).Slovo, i);
    std::stable_sort(words.begin(), words.end(),
                     [](const auto &a, const auto &b) { return compareWords(a.first, b.first) < 0; });
    lines.permuteBy(lines.size(), [&words](qsizetype k) { return words[size_t(k)].second; });
}

} // namespace lexitka
