// Sorting a lesson by its words.
#include "lessonbook.h"

#include "data/dictionary.h"
#include "editor/lessonsortkeys.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <memory>
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

// The word of a line as wordFields() finds it (Slovo): the first field of
// the value, or the second where an article comes first; one pass, no calls.
QByteArrayView sortWord(QByteArrayView line, bool articleFirst)
{
    const char *const begin = line.data();
    const char *const end = begin + line.size();
    const auto find = [end](const char *from, char c) {
        const void *hit = from == end ? nullptr : std::memchr(from, c, size_t(end - from));
        return hit ? static_cast<const char *>(hit) : end;
    };
    const char *v = find(begin, '=');
    v = v == end ? begin : v + 1;
    if (articleFirst) {
        const char *bs = find(v, '\\');
        if (bs != end)
            v = bs + 1; // with fewer fields, the last one stands for the rest
    }
    return QByteArrayView(v, find(v, '\\') - v);
}

} // namespace

namespace {

using sortkeys::Head;
using sortkeys::radixSort;

// Sorts lines by their words in six or eight bytes a line: a place holds a line's
// index and, above it, as many bits of its word as fit, from the first bit
// on which the words of the run differ; of a large run only the bits that
// differ in some of its lines, closed up. Places are ordered by those
// bits in place; runs alike in them go on by the next bits, and small runs
// by whole words. Equal words keep their order by the lines' indexes.
template <class Places>
class PlaceSorter {
public:
    static constexpr qsizetype kRoom = Places::kBytes; // bytes a line while sorting

    PlaceSorter(const LineStore &lines, bool articleFirst) : m_lines(lines), m_articleFirst(articleFirst)
    {
        const qsizetype n = lines.size();
        m_indexBits = n > 1 ? 64 - qCountLeadingZeroBits(quint64(n - 1)) : 1;
        m_keyBits = 8 * int(Places::kBytes) - m_indexBits;
        m_indexMask = (quint64(1) << m_indexBits) - 1;
    }

    // Leaves the new order in the room's first n four-byte numbers.
    void sort(void *room, qsizetype n)
    {
        Places places(room);
        if (m_keyBits < 8) // some 2^40 lines: no bits left for a key
            compareSort(places, n);
        else
            sortRun(places, n, 0, 0);
        // Four bytes a place from here on, from the front: none is
        // written before it has been read.
        auto *out = static_cast<char *>(room);
        for (qsizetype k = 0; k < n; ++k) {
            const quint32 line = quint32(places.get(k) & m_indexMask);
            std::memcpy(out + k * 4, &line, sizeof line);
        }
    }

private:
    static constexpr qsizetype kSmall = 32;  // fewer lines are sorted by whole words
    static constexpr int kDeepest = 64;      // words alike that far: no more stack
    static constexpr qsizetype kGuess = 256; // lines that guess the bits a large run shares
    static constexpr qsizetype kPack = 4096; // more lines have their keys closed up

    Q_ALWAYS_INLINE Head head(quint64 line, qsizetype cap) const
    {
        return Head(m_lines[qsizetype(line)], m_articleFirst, cap);
    }
    static void prefetch(const char *p)
    {
#if defined(__GNUC__)
        __builtin_prefetch(p);
#else
        Q_UNUSED(p);
#endif
    }

    // Until the first pass has written them, place i is line i.
    quint64 lineOf(const Places &places, qsizetype i) const
    {
        return m_fresh ? quint64(i) : places.get(i) & m_indexMask;
    }

    QByteArrayView word(quint64 line) const { return sortWord(m_lines[qsizetype(line)], m_articleFirst); }
    bool wordLess(quint64 a, quint64 b) const
    {
        const int c = compareWords(word(a), word(b));
        return c != 0 ? c < 0 : a < b;
    }

    void compareSort(Places places, qsizetype n) const
    {
        std::vector<quint64> lines(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            lines[size_t(i)] = lineOf(places, i);
        std::sort(lines.begin(), lines.end(), [this](quint64 a, quint64 b) { return wordLess(a, b); });
        for (qsizetype i = 0; i < n; ++i)
            places.set(i, lines[size_t(i)]);
    }

    // A few lines whose words are alike before bit `at`: by the next bits
    // of each word, and by the whole words where those are alike.
    void smallSort(Places places, qsizetype n, qint64 at) const
    {
        struct Local {
            quint64 bits;
            quint64 line;
        } local[kSmall];
        for (qsizetype i = 0; i < n; ++i) {
            const quint64 line = lineOf(places, i);
            local[i] = {head(line, at / 8 + 8).bitsAt(at), line};
        }
        std::sort(local, local + n, [this](const Local &a, const Local &b) {
            return a.bits != b.bits ? a.bits < b.bits : wordLess(a.line, b.line);
        });
        for (qsizetype i = 0; i < n; ++i)
            places.set(i, local[i].line);
    }

    // The bits in which the words of some lines of a run differ, from bit
    // `at` on (zero when they are alike).
    quint64 sampleDiffer(const Places &places, qsizetype n, qint64 at) const
    {
        // Lines from all over the run: a long run is seldom alike throughout.
        const qsizetype count = std::min(n, n >= kPack ? kGuess : kGuess / 16);
        quint64 first = 0, differ = 0;
        for (qsizetype k = 0; k < count; ++k) {
            const qsizetype i = qsizetype(quint64(k) * quint64(n) / quint64(count));
            const quint64 bits = head(lineOf(places, i), at / 8 + 8).bitsAt(at);
            first = i == 0 ? bits : first;
            differ |= bits ^ first;
        }
        return differ;
    }

    // How the key of a run is made from the 64 bits of each word at `from`:
    // the `keep` bits of them (at most the key's number), closed up where
    // `packed`, else the top ones.
    struct Key {
        quint64 keep = 0;
        bool packed = false;
        std::unique_ptr<quint64[][256]> table; // each byte's kept bits, where they go
    };

    void plan(Key &k, quint64 used) const
    {
        // Of the bits used, the top ones that fit a key.
        quint64 keep = used;
        while (int(qPopulationCount(keep)) > m_keyBits)
            keep &= keep - 1;
        k.keep = keep;
        k.packed = keep != 0 && (keep | (keep - 1)) != ~quint64(0) >> qCountLeadingZeroBits(keep);
        if (!k.packed)
            return;
        if (!k.table)
            k.table.reset(new quint64[8][256]);
        for (int b = 0, below = 0; b < 8; ++b) {
            const unsigned mask = unsigned(keep >> (8 * b)) & 0xFF;
            for (unsigned v = 0; v < 256; ++v) {
                quint64 out = 0;
                for (unsigned bit = 0, o = unsigned(below); bit < 8; ++bit) {
                    if (mask & (1u << bit))
                        out |= quint64((v >> bit) & 1u) << o++;
                }
                k.table[b][v] = out;
            }
            below += qPopulationCount(mask);
        }
    }

    quint64 keyOf(const Key &k, quint64 bits) const
    {
        if (!k.packed) // the kept bits are the top ones, in a row
            return k.keep == 0 ? 0 : (bits & k.keep) >> qCountTrailingZeroBits(k.keep);
        const quint64(*t)[256] = k.table.get();
        return t[0][bits & 0xFF] | t[1][(bits >> 8) & 0xFF] | t[2][(bits >> 16) & 0xFF] | t[3][(bits >> 24) & 0xFF]
               | t[4][(bits >> 32) & 0xFF] | t[5][(bits >> 40) & 0xFF] | t[6][(bits >> 48) & 0xFF] | t[7][bits >> 56];
    }

    // Sorts places[0, n), whose words are alike before bit `at`.
    void sortRun(Places places, qsizetype n, qint64 at, int depth)
    {
        Key key;
        bool guess = true;
        quint64 known = 0; // bits found to differ in a pass that had to be done again
        for (;;) {
            if (n <= kSmall) {
                smallSort(places, n, at);
                return;
            }
            if (depth >= kDeepest) {
                compareSort(places, n);
                return;
            }
            // The bits every word here shares need no sorting: guessed from
            // some lines, and checked on every line as its key is made.
            qint64 skip = 0;
            if (guess) {
                const quint64 d = sampleDiffer(places, n, at);
                skip = d != 0 ? qCountLeadingZeroBits(d) : 64 - at % 8;
            }
            const qint64 from = at + skip;
            // Which bits make the key: of a large run those that differ in
            // some of its lines (checked on every line), else the top ones.
            quint64 used = ~quint64(0) << (from % 8);
            if (known != 0)
                used = known;
            else if (guess && n >= kPack)
                used = sampleDiffer(places, n, from);
            plan(key, used);
            const Key &k = key;
            const int low = k.keep != 0 ? qCountTrailingZeroBits(k.keep) : 64;
            // The bits a key stands for: the kept ones and those above them.
            const quint64 covered = k.keep == used ? ~quint64(0) : ~quint64(0) << low;
            quint64 first = 0, differ = 0, firstShared = 0, wrong = 0, keyDiffer = 0, firstKey = 0;
            bool more = false;
            // From a run's first byte, both chunks are read in two loads.
            const bool pairs = at == 0 && from / 8 <= 8;
            for (qsizetype i = 0; i < n; ++i) {
                const quint64 line = lineOf(places, i);
                quint64 bits, start = 0;
                Head h(m_lines[qsizetype(line)], m_articleFirst, pairs ? -1 : from / 8 + 8);
                if (pairs && h.pair(from / 8, start, bits)) {
                    bits <<= from % 8;
                } else {
                    if (h.size < 0)
                        h = head(line, from / 8 + 8);
                    bits = h.bitsAt(from);
                    start = h.bitsAt(at);
                }
                if (skip > 0) {
                    const quint64 shared = start >> (64 - skip);
                    firstShared = i == 0 ? shared : firstShared;
                    wrong |= shared ^ firstShared;
                }
                first = i == 0 ? bits : first;
                differ |= bits ^ first;
                more = more || h.size > from / 8;
                const quint64 kv = keyOf(k, bits);
                firstKey = i == 0 ? kv : firstKey;
                keyDiffer |= kv ^ firstKey;
                places.set(i, kv << m_indexBits | line);
            }
            m_fresh = false;
            if (wrong != 0) { // a line that the sample did not tell of
                guess = false;
                known = 0;
                continue;
            }
            if ((differ & ~used & covered) != 0) { // bits the sample did not show
                guess = false;
                known = differ;
                at = from;
                continue;
            }
            guess = true;
            known = 0;
            at = from;
            if (!more) { // every word ended: they are equal but for what compareWords sees
                compareSort(places, n);
                return;
            }
            // Equal keys: the words are alike down to the key's last bit.
            const qint64 next = from + (covered == ~quint64(0) ? 64 - from % 8 : 64 - low);
            if (keyDiffer == 0) {
                if (differ == 0)
                    at = from + 64 - from % 8;
                else if (!k.packed && (differ & covered) == 0)
                    at = from + qCountLeadingZeroBits(differ);
                else
                    at = next;
                continue;
            }
            key.table.reset();
            radixSort(places, n, m_indexBits + 63 - qCountLeadingZeroBits(keyDiffer), m_indexBits);
            // Runs alike in their keys go on by the next bits. Their lines lie
            // all over the text: those a few places on are fetched meanwhile.
            constexpr qsizetype kAhead = 16;
            qsizetype ahead = 0;
            quint64 aheadKey = places.get(0) >> m_indexBits;
            for (qsizetype i = 0; i < n;) {
                for (; ahead + 1 < std::min(n, i + kAhead); ++ahead) {
                    const quint64 nextKey = places.get(ahead + 1) >> m_indexBits;
                    if (nextKey == aheadKey) {
                        prefetch(m_lines[qsizetype(lineOf(places, ahead))].data());
                        prefetch(m_lines[qsizetype(lineOf(places, ahead + 1))].data());
                    }
                    aheadKey = nextKey;
                }
                const quint64 kv = places.get(i) >> m_indexBits;
                qsizetype j = i + 1;
                while (j < n && places.get(j) >> m_indexBits == kv)
                    ++j;
                if (j - i > 1)
                    sortRun(places + i, j - i, next, depth + 1);
                else
                    places.set(i, lineOf(places, i));
                i = j;
            }
            return;
        }
    }

    const LineStore &m_lines;
    const bool m_articleFirst;
    bool m_fresh = true;
    int m_indexBits = 1;
    int m_keyBits = 47;
    quint64 m_indexMask = 1;
};

// Whether six bytes a line hold the bits that tell a large lesson's words
// apart, as a sample of them shows: digits, or words that share a start,
// fit; words of many letters sort faster in eight.
bool keysFitSix(const LineStore &lines, bool articleFirst)
{
    constexpr qsizetype kLarge = 4096; // smaller lessons take little room either way
    constexpr qsizetype kSample = 256;
    const qsizetype n = lines.size();
    if (n < kLarge)
        return false;
    const auto differ = [&](qint64 at) {
        quint64 first = 0, d = 0;
        for (qsizetype k = 0; k < kSample; ++k) {
            const quint64 bits = Head(lines[k * n / kSample], articleFirst, at / 8 + 8).bitsAt(at);
            first = k == 0 ? bits : first;
            d |= bits ^ first;
        }
        return d;
    };
    const quint64 atStart = differ(0);
    const qint64 shared = atStart != 0 ? qCountLeadingZeroBits(atStart) : 64;
    const int indexBits = 64 - qCountLeadingZeroBits(quint64(n - 1));
    return int(qPopulationCount(differ(shared))) <= 48 - indexBits;
}

} // namespace

void sortBySlovo(LineStore &lines, int languageCode)
{
    // Each line is parsed once as a rule (again where its word is alike
    // with others' in its first letters, or a sample misled), never at every
    // comparison.
    const bool articleFirst = languageCode == LangGerman || languageCode == LangFrench || languageCode == LangSpanish;
    const LineStore &source = lines; // unchanged until the order is made
    if (keysFitSix(source, articleFirst)) {
        using Sorter = PlaceSorter<sortkeys::Places<6>>;
        lines.reorder(Sorter::kRoom, [&](void *room, qsizetype n) { Sorter(source, articleFirst).sort(room, n); });
    } else {
        using Sorter = PlaceSorter<sortkeys::Places<8>>;
        lines.reorder(Sorter::kRoom, [&](void *room, qsizetype n) { Sorter(source, articleFirst).sort(room, n); });
    }
}

} // namespace lexitka
