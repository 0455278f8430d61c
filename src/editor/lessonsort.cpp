// Sorting a lesson by its words.
#include "lessonbook.h"

#include "data/dictionary.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

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

using Slot = LineStore::OrderSlot;

// Where a line's word (sortWord) starts, and where the line ends. Keys are
// short: a loop finds the fields sooner than calls would.
inline const char *wordStart(QByteArrayView line, bool articleFirst)
{
    const char *const begin = line.data();
    const char *const end = begin + line.size();
    const char *v = begin;
    while (v != end && *v != '=')
        ++v;
    v = v == end ? begin : v + 1;
    if (articleFirst) {
        const char *bs = v;
        while (bs != end && *bs != '\\')
            ++bs;
        if (bs != end)
            v = bs + 1; // with fewer fields, the last one stands for the rest
    }
    return v;
}

// The size of the word at v (up to a "\\" or `end`), counted up to `cap`.
inline qsizetype wordSize(const char *v, const char *end, qsizetype cap)
{
    const char *const limit = end - v > cap ? v + cap : end;
    const char *w = v;
    while (w != limit && *w != '\\')
        ++w;
    return w - v;
}

// Eight bytes of a word of `size` bytes from `from` on, "a" to "z" as
// capitals, zeros past its end, in one number that orders as the bytes do.
quint64 chunkOf(const char *word, qsizetype size, qsizetype from)
{
    char bytes[8] = {};
    if (size > from)
        std::memcpy(bytes, word + from, size_t(std::min<qsizetype>(size - from, 8)));
    const quint64 h = qFromBigEndian<quint64>(bytes);
    // Every byte at once: the high bit of `lower` marks "a" to "z".
    constexpr quint64 kOnes = 0x0101010101010101u;
    const quint64 low7 = h & (0x7F * kOnes);
    const quint64 lower = (low7 + (0x80 - 'a') * kOnes) & ~(low7 + (0x80 - 'z' - 1) * kOnes) & ~h & (0x80 * kOnes);
    return h - (lower >> 2);
}

inline unsigned byteOf(const Slot &s, int byte) { return unsigned(s.key >> (8 * (7 - byte))) & 0xFF; }

// Sorts the keys of lines by their words: byte by byte into buckets (most
// words part within a few bytes), eight bytes of the word in a key at a
// time, and small buckets by comparing whole words. Every word of a bucket
// is alike up to the key's bytes, so keys that differ order their lines;
// equal words keep their order by the lines' indexes.
class SlotSorter {
public:
    SlotSorter(const LineStore &lines, bool articleFirst) : m_lines(lines), m_articleFirst(articleFirst) { }

    void sort(Slot *keys, qsizetype n)
    {
        // The bytes that every word shares at its start are skipped while
        // the lines are still in order (taken later, bucket by bucket, each
        // line is a look at another place in memory): guessed from the first
        // lines, and checked on every line as its key is made.
        qsizetype from = n > 1 ? sharedGuess(std::min<qsizetype>(n, 64)) : 0;
        bool check = from > 0;
        for (;;) {
            const quint64 mask = ~quint64(0) << (64 - 8 * from) % 64;
            quint64 differ = 0, wrong = 0, first = 0;
            bool longer = false;
            for (qsizetype i = 0; i < n; ++i) {
                const QByteArrayView line = m_lines[i];
                const char *const v = wordStart(line, m_articleFirst);
                const qsizetype size = wordSize(v, line.data() + line.size(), from + 8);
                if (check) {
                    const quint64 head = chunkOf(v, size, 0);
                    first = i == 0 ? head : first;
                    wrong |= (head ^ first) & mask;
                }
                keys[i] = Slot{chunkOf(v, size, from), quint32(i)};
                longer = longer || size > from;
                differ |= keys[i].key ^ keys[0].key;
            }
            if (wrong != 0) { // a line that the first ones did not tell of
                from = 0;
                check = false;
                continue;
            }
            check = false;
            if (!longer || n <= kSmall) { // every word ended, or too few for buckets
                compareSort(keys, n);
                return;
            }
            if (differ != 0) {
                const std::unique_ptr<Slot[]> spare(new Slot[size_t(n)]);
                sortRange(keys, spare.get(), n, from, qCountLeadingZeroBits(differ) / 8, false, 0);
                return;
            }
            from += 8;
        }
    }

private:
    static constexpr qsizetype kSmall = 64; // fewer lines are sorted by comparing them

    QByteArrayView word(quint32 line) const { return sortWord(m_lines[line], m_articleFirst); }

    // The bytes (up to 8) that the words of the first `lines` lines share.
    qsizetype sharedGuess(qsizetype lines) const
    {
        quint64 differ = 0, first = 0;
        for (qsizetype i = 0; i < lines; ++i) {
            const QByteArrayView line = m_lines[i];
            const char *const v = wordStart(line, m_articleFirst);
            const quint64 head = chunkOf(v, wordSize(v, line.data() + line.size(), 8), 0);
            first = i == 0 ? head : first;
            differ |= head ^ first;
        }
        return differ == 0 ? 8 : qCountLeadingZeroBits(differ) / 8;
    }

    bool less(const Slot &a, const Slot &b) const
    {
        if (a.key != b.key)
            return a.key < b.key;
        const int c = compareWords(word(a.index), word(b.index));
        return c != 0 ? c < 0 : a.index < b.index;
    }

    void compareSort(Slot *keys, qsizetype n) const
    {
        std::sort(keys, keys + n, [this](const Slot &a, const Slot &b) { return less(a, b); });
    }

    // Sorts keys[0, n), whose keys hold the words' bytes from `from` on,
    // alike up to `byte`, into keys or, with toOther, into other (whose room
    // is spare meanwhile).
    void sortRange(Slot *keys, Slot *other, qsizetype n, qsizetype from, int byte, bool toOther, int depth)
    {
        bool fresh = false;          // keys loaded anew, yet to be looked at
        constexpr int kDeepest = 64; // words alike that far: no more stack
        while (n > kSmall && depth < kDeepest) {
            if (byte == 8) {
                // The key's bytes are used up: the next eight.
                from += 8;
                bool longer = false;
                for (qsizetype i = 0; i < n; ++i) {
                    const QByteArrayView line = m_lines[keys[i].index];
                    const char *const v = wordStart(line, m_articleFirst);
                    const qsizetype size = wordSize(v, line.data() + line.size(), from + 8);
                    keys[i].key = chunkOf(v, size, from);
                    longer = longer || size > from;
                }
                if (!longer)
                    break; // every word ended: they are equal but for what compareWords sees
                byte = 0;
                fresh = true;
            }
            if (fresh) {
                // The bytes every word here shares need no look.
                fresh = false;
                quint64 differ = 0;
                for (qsizetype i = 1; i < n; ++i)
                    differ |= keys[i].key ^ keys[0].key;
                byte = differ == 0 ? 8 : qCountLeadingZeroBits(differ) / 8;
                if (byte == 8)
                    continue;
            }
            qsizetype count[256] = {};
            unsigned low = 255, high = 0; // the buckets in use lie between
            for (qsizetype i = 0; i < n; ++i) {
                const unsigned b = byteOf(keys[i], byte);
                ++count[b];
                low = std::min(low, b);
                high = std::max(high, b);
            }
            if (low == high) {
                ++byte;
                continue;
            }
            qsizetype next[256];
            for (qsizetype sum = 0, b = low; b <= high; ++b) {
                next[b] = sum;
                sum += count[b];
            }
            for (qsizetype i = 0; i < n; ++i)
                other[next[byteOf(keys[i], byte)]++] = keys[i];
            for (qsizetype at = 0, b = low; b <= high; at += count[b], ++b) {
                if (count[b] > 1)
                    sortRange(other + at, keys + at, count[b], from, byte + 1, !toOther, depth + 1);
                else if (count[b] == 1 && !toOther)
                    keys[at] = other[at];
            }
            return;
        }
        compareSort(keys, n);
        if (toOther)
            std::copy(keys, keys + n, other);
    }

    const LineStore &m_lines;
    const bool m_articleFirst;
};

} // namespace

void sortBySlovo(LineStore &lines, int languageCode)
{
    // Each line is parsed once as a rule (twice where the words share their
    // start), not at every comparison; the keys are 12 bytes and lie in the
    // room of the new list of lines, with a spare room as large beside.
    const bool articleFirst = languageCode == LangGerman || languageCode == LangFrench || languageCode == LangSpanish;
    if (quint64(lines.size()) > std::numeric_limits<quint32>::max())
        throw std::bad_alloc(); // some 50 GB of lines: no room to sort them anyway
    const LineStore &source = lines;
    lines.reorder([&source, articleFirst](Slot *keys, qsizetype n) { SlotSorter(source, articleFirst).sort(keys, n); });
}

} // namespace lexitka
