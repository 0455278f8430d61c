#pragma once

// The keys that lessons are sorted by: a line's word found and read eight
// bytes at a time, and the places the sort keeps and orders them in.

#include <QByteArrayView>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace lexitka::sortkeys {

constexpr quint64 kOnes = 0x0101010101010101u;

// The first `c` in [p, limit), eight bytes at a time where the line (up to
// `end`) has them: keys and articles are short, words not much longer.
Q_ALWAYS_INLINE const char *findIn(const char *p, const char *limit, const char *end, char c)
{
    const quint64 pattern = kOnes * static_cast<unsigned char>(c);
    while (p < limit) {
        if (end - p < 8) {
            while (p < limit && *p != c)
                ++p;
            return p;
        }
        const quint64 y = qFromLittleEndian<quint64>(p) ^ pattern;
        // The lowest mark is exact (those above it may not be).
        quint64 marks = (y - kOnes) & ~y & (0x80 * kOnes);
        if (limit - p < 8)
            marks &= (quint64(1) << (8 * (limit - p))) - 1;
        if (marks != 0)
            return p + qCountTrailingZeroBits(marks) / 8;
        p += 8;
    }
    return limit;
}

// "a" to "z" as capitals in every byte of a number at once.
inline quint64 folded(quint64 h)
{
    // The high bit of `lower` marks "a" to "z".
    const quint64 low7 = h & (0x7F * kOnes);
    const quint64 lower = (low7 + (0x80 - 'a') * kOnes) & ~(low7 + (0x80 - 'z' - 1) * kOnes) & ~h & (0x80 * kOnes);
    return h - (lower >> 2);
}

// A line's word as wordFields() finds it (Slovo), as far as a key needs it:
// where it starts, its size counted up to `cap`, and where the line ends.
struct Head {
    const char *word;
    qsizetype size;
    const char *end;

    Q_ALWAYS_INLINE Head(QByteArrayView line, bool articleFirst, qsizetype cap)
    {
        const char *const begin = line.data();
        end = begin + line.size();
        const char *v = nullptr;
        if (end - begin >= 8) {
            // As a rule the key, "=" and the article lie in the first bytes.
            const quint64 x = qFromLittleEndian<quint64>(begin);
            const quint64 eq = x ^ (kOnes * '='), bs = x ^ (kOnes * '\\');
            const quint64 eqMarks = (eq - kOnes) & ~eq & (0x80 * kOnes);
            if (eqMarks != 0) {
                const int e = qCountTrailingZeroBits(eqMarks) / 8;
                if (!articleFirst) {
                    v = begin + e + 1;
                } else {
                    // The bytes up to the "=" made unequal to "\\" first.
                    const quint64 upTo = e == 7 ? ~quint64(0) : (quint64(1) << (8 * (e + 1))) - 1;
                    const quint64 after = bs | (kOnes & upTo);
                    const quint64 bsMarks = (after - kOnes) & ~after & (0x80 * kOnes);
                    if (bsMarks != 0)
                        v = begin + qCountTrailingZeroBits(bsMarks) / 8 + 1;
                }
            }
        }
        if (!v) {
            v = findIn(begin, end, end, '=');
            v = v == end ? begin : v + 1;
            if (articleFirst) {
                const char *bs = findIn(v, end, end, '\\');
                if (bs != end)
                    v = bs + 1; // with fewer fields, the last one stands for the rest
            }
        }
        word = v;
        size = cap < 0 ? -1 : findIn(v, end - v > cap ? v + cap : end, end, '\\') - v;
    }

    // With the size unknown (cap -1): the chunks at byte 0 and at byte `from`
    // (at most 8) read in two loads, and the size found in them, counted up
    // to from + 8. False where the line ends too soon for the loads.
    Q_ALWAYS_INLINE bool pair(qsizetype from, quint64 &atStart, quint64 &atFrom)
    {
        if (end - word < from + 8)
            return false;
        const quint64 a = qFromLittleEndian<quint64>(word), b = qFromLittleEndian<quint64>(word + from);
        const quint64 ya = a ^ (kOnes * '\\'), yb = b ^ (kOnes * '\\');
        const quint64 ma = (ya - kOnes) & ~ya & (0x80 * kOnes);
        const quint64 mb = (yb - kOnes) & ~yb & (0x80 * kOnes);
        // The first "\\" lies in the first eight bytes, or else past them
        // in the second load, which starts within them.
        size = ma != 0 ? qCountTrailingZeroBits(ma) / 8 : (mb != 0 ? from + qCountTrailingZeroBits(mb) / 8 : from + 8);
        const auto upTo = [](quint64 bigEndian, qsizetype n) {
            return n <= 0 ? 0 : (n >= 8 ? bigEndian : bigEndian & ~quint64(0) << (8 * (8 - n)));
        };
        atStart = folded(upTo(qFromBigEndian(a), size));
        atFrom = folded(upTo(qFromBigEndian(b), size - from));
        return true;
    }

    // Eight bytes of the word from `from` on, "a" to "z" as capitals, zeros
    // past its end, in one number that orders as the bytes do.
    Q_ALWAYS_INLINE quint64 chunk(qsizetype from) const
    {
        if (size <= from)
            return 0;
        const char *const p = word + from;
        const qsizetype n = size - from;
        quint64 h;
        if (end - p >= 8) {
            h = qFromBigEndian<quint64>(p);
            if (n < 8)
                h &= ~quint64(0) << (8 * (8 - n));
        } else {
            char bytes[8] = {};
            std::memcpy(bytes, p, size_t(std::min<qsizetype>(n, 8)));
            h = qFromBigEndian<quint64>(bytes);
        }
        return folded(h);
    }
    // The word's bits from bit `at` on, as the top bits of a number.
    Q_ALWAYS_INLINE quint64 bitsAt(qint64 at) const { return chunk(at / 8) << (at % 8); }
};

// Places of six or eight bytes in a row: a line's index in the low bits,
// above them as many bits of its word as fit (kept little-endian, so that
// a place reads as one number on any machine).
template <int Bytes>
class Places {
public:
    static constexpr qsizetype kBytes = Bytes;
    explicit Places(void *room) : m_room(static_cast<char *>(room)) { }
    // One load, the room having bytes to spare past its last place.
    quint64 get(qsizetype i) const { return qFromLittleEndian<quint64>(m_room + i * kBytes) & kMask; }
    void set(qsizetype i, quint64 v)
    {
        char *const p = m_room + i * kBytes;
        if constexpr (Bytes == 8) {
            qToLittleEndian(v, p);
        } else {
            static_assert(Bytes == 6);
            qToLittleEndian(quint32(v), p);
            qToLittleEndian(quint16(v >> 32), p + 4);
        }
    }
    Places operator+(qsizetype i) const { return Places(m_room + i * kBytes); }

private:
    static constexpr quint64 kMask = Bytes == 8 ? ~quint64(0) : (quint64(1) << (8 * Bytes)) - 1;
    char *m_room;
};

// Orders places[0, n) in place by their bits from `top` down to the
// index's, which are the low `indexBits` (few places by the whole number,
// so by key and index).
template <class Places>
void radixSort(Places places, qsizetype n, int top, int indexBits)
{
    constexpr qsizetype kFew = 24; // sorted by inserting one after the other
    while (top >= indexBits) {
        if (n <= kFew) {
            quint64 few[kFew];
            for (qsizetype i = 0; i < n; ++i) {
                const quint64 v = places.get(i);
                qsizetype j = i;
                for (; j > 0 && few[j - 1] > v; --j)
                    few[j] = few[j - 1];
                few[j] = v;
            }
            for (qsizetype i = 0; i < n; ++i)
                places.set(i, few[i]);
            return;
        }
        // About as many buckets as places, at most 2048.
        const int width = std::min({11, 64 - int(qCountLeadingZeroBits(quint64(n))), top + 1 - indexBits});
        const int shift = top + 1 - width;
        const unsigned mask = (1u << width) - 1;
        quint32 count[2048]; // fewer than 2^32 lines
        std::fill_n(count, mask + 1, 0u);
        unsigned low = mask, high = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const unsigned d = unsigned(places.get(i) >> shift) & mask;
            ++count[d];
            low = std::min(low, d);
            high = std::max(high, d);
        }
        top = shift - 1;
        if (low == high)
            continue;
        quint32 next[2048], end[2048];
        quint32 sum = 0;
        for (unsigned d = low; d <= high; ++d) {
            next[d] = sum;
            sum += count[d];
            end[d] = sum;
        }
        // Each place taken from where it lies straight to its bucket.
        for (unsigned d = low; d <= high; ++d) {
            while (next[d] < end[d]) {
                quint64 v = places.get(next[d]);
                unsigned vd = unsigned(v >> shift) & mask;
                while (vd != d) {
                    const quint64 there = places.get(next[vd]);
                    places.set(next[vd]++, v);
                    v = there;
                    vd = unsigned(v >> shift) & mask;
                }
                places.set(next[d]++, v);
            }
        }
        if (top >= indexBits) {
            for (qsizetype at = 0, d = low; d <= high; at += count[d], ++d) {
                if (count[d] > 1)
                    radixSort(places + at, count[d], top, indexBits);
            }
        }
        return;
    }
}

} // namespace lexitka::sortkeys
