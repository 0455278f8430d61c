#include "sectionnames.h"

#include "bytemarks.h"
#include "inifile.h"
#include "nativepath.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <sys/mman.h>
#include <sys/stat.h>

namespace lexitka {
namespace {

// A block of memory that is written once, front to back. A large one is
// mapped and advised to be made of huge pages: filling it then takes a
// fault per 2 MiB instead of per 4 KiB, and the pages past what is written
// are never given memory, so it may be sized for the most it could hold.
template <class T>
std::shared_ptr<T> block(qsizetype count)
{
    constexpr qsizetype kLarge = qsizetype(1) << 20;
    const size_t bytes = size_t(std::max<qsizetype>(count, 1)) * sizeof(T);
    if (bytes >= size_t(kLarge)) {
        void *p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED) {
            // Past the first 2 MiB only: the names of a small dictionary
            // stay in small pages instead of taking a huge one.
            constexpr uintptr_t kHuge = uintptr_t(2) << 20;
            const uintptr_t from = (uintptr_t(p) + 2 * kHuge - 1) & ~(kHuge - 1);
            if (from < uintptr_t(p) + bytes)
                madvise(reinterpret_cast<void *>(from), uintptr_t(p) + bytes - from, MADV_HUGEPAGE);
            return std::shared_ptr<T>(static_cast<T *>(p), [bytes](T *q) { munmap(q, bytes); });
        }
    }
    return std::shared_ptr<T>(new T[bytes / sizeof(T)], std::default_delete<T[]>());
}

inline bool blank(char c) { return c == ' ' || c == '\t'; }

// Where in 64 bytes the "[", the "]" and the line ends (CR, LF) are: one
// bit a byte.
struct Marks {
    quint64 open = 0;
    quint64 close = 0;
    quint64 end = 0;
};

struct PlainMarks {
    Q_ALWAYS_INLINE Marks operator()(const char *p) const
    {
        const Bytes64 bytes(p);
        return {bytes.marked('['), bytes.marked(']'), bytes.marked('\r', '\n')};
    }
};

#if defined(__x86_64__) && defined(__GNUC__)
#define LEXITKA_NAMES_AVX2 1
// Half the loads and compares of the SSE2 marker, where the processor has it.
struct Avx2Marks {
    [[gnu::target("avx2")]] static quint64 hits(__m256i lo, __m256i hi, __m256i c)
    {
        const quint64 l = unsigned(_mm256_movemask_epi8(_mm256_cmpeq_epi8(lo, c)));
        return l | quint64(unsigned(_mm256_movemask_epi8(_mm256_cmpeq_epi8(hi, c)))) << 32;
    }
    [[gnu::target("avx2")]] Marks operator()(const char *p) const
    {
        const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p));
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 32));
        return {hits(lo, hi, _mm256_set1_epi8('[')), hits(lo, hi, _mm256_set1_epi8(']')),
                hits(lo, hi, _mm256_set1_epi8('\r')) | hits(lo, hi, _mm256_set1_epi8('\n'))};
    }
};
#endif

inline quint64 closeOrEndOf(const char *p) { return bytesMarked(p, ']', '\r', '\n'); }

// The first "]", CR or LF in [p, end), or end.
inline const char *findCloseOrEnd(const char *p, const char *end)
{
    while (end - p >= 64) {
        if (const quint64 hit = closeOrEndOf(p))
            return p + __builtin_ctzll(hit);
        p += 64;
    }
    while (p < end && *p != ']' && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

// Whether only blanks stand between the start of data's line and at.
inline bool afterBlanksAtLineStart(const char *data, qsizetype at)
{
    qsizetype q = at - 1;
    while (q >= 0 && blank(data[q]))
        --q;
    return q < 0 || data[q] == '\n' || data[q] == '\r';
}

// Where the names go while the bytes are scanned.
struct NamesOut {
    char *bytes; // with room for kSlack bytes past the last name
    qsizetype *ends;
    qsizetype used;
    qsizetype count;
};

// A name is copied 32 bytes at a time where it can be, past its end.
constexpr qsizetype kSlack = 32;

// The header lines of the INI form, as classifyIniLine reads them: a line
// whose first non-blank is "[" and that has a "]" names the text between
// them, blanks trimmed. The bytes are marked 64 at a time and only a "["
// at the start of a line is followed, so a line costs no branch of its own.
template <class MarksOf>
[[gnu::always_inline]] inline void scanNames(const char *data, qsizetype size, NamesOut &o, MarksOf marksOf)
{
    const char *const end = data + size;
    char *const out = o.bytes;
    qsizetype *const ends = o.ends;
    qsizetype used = o.used;
    qsizetype count = o.count;
    quint64 lineStart = 1; // data starts a line
    // The name of the header whose "[" is at `at` and whose "]" should be at close.
    const auto name = [&](qsizetype at, const char *close) {
        if (close == end || *close != ']')
            return;
        const char *b = data + at + 1;
        const char *e = close;
        while (b < e && blank(*b))
            ++b;
        while (e > b && blank(e[-1]))
            --e;
        if (e - b <= kSlack && end - b >= kSlack)
            std::memcpy(out + used, b, size_t(kSlack));
        else
            std::memcpy(out + used, b, size_t(e - b));
        used += e - b;
        ends[count++] = used;
    };
    // A header whose "]" or line end lies past its block waits for the
    // next block's marks instead of marking the bytes again.
    qsizetype pending = -1;
    const auto headersIn = [&](const Marks &m, qsizetype block) {
        const quint64 stops = m.close | m.end;
        if (pending >= 0) {
            name(pending, stops ? data + block + __builtin_ctzll(stops)
                                : findCloseOrEnd(data + std::min(block + 64, size), end));
            pending = -1;
        }
        const quint64 starts = (m.end << 1) | lineStart;
        lineStart = m.end >> 63;
        for (quint64 opens = m.open; opens; opens &= opens - 1) {
            const int bit = __builtin_ctzll(opens);
            const qsizetype at = block + bit;
            if (!((starts >> bit) & 1) && !(blank(data[at - 1]) && afterBlanksAtLineStart(data, at)))
                continue;
            // For bit 63, 2 << 63 is 0 and nothing in this block follows.
            if (const quint64 after = stops & ~((quint64(2) << bit) - 1))
                name(at, data + block + __builtin_ctzll(after));
            else
                pending = at;
        }
    };
    qsizetype block = 0;
    for (; size - block >= 64; block += 64)
        headersIn(marksOf(data + block), block);
    if (block < size) {
        char last[64] = {}; // no mark in the padding
        std::memcpy(last, data + block, size_t(size - block));
        headersIn(PlainMarks()(last), block);
    }
    o.used = used;
    o.count = count;
}

void scanNamesPlain(const char *data, qsizetype size, NamesOut &o) { scanNames(data, size, o, PlainMarks()); }

#if defined(LEXITKA_NAMES_AVX2)
// Flattened, so that the marker is inlined where AVX2 may be used.
[[gnu::target("avx2"), gnu::flatten]] void scanNamesAvx2(const char *data, qsizetype size, NamesOut &o)
{
    scanNames(data, size, o, Avx2Marks());
}
#endif

} // namespace

void SectionNames::reserve(qsizetype bytes, qsizetype names)
{
    if (bytes > m_byteCapacity - m_used) {
        const qsizetype capacity = std::max(m_used + bytes, 2 * m_byteCapacity);
        std::shared_ptr<char> grown = block<char>(capacity);
        if (m_used > 0)
            std::memcpy(grown.get(), m_bytes.get(), size_t(m_used));
        m_bytes = std::move(grown);
        m_byteCapacity = capacity;
    }
    if (names > m_nameCapacity - m_count) {
        const qsizetype capacity = std::max(m_count + names, 2 * m_nameCapacity);
        std::shared_ptr<qsizetype> grown = block<qsizetype>(capacity);
        if (m_count > 0)
            std::memcpy(grown.get(), m_ends.get(), size_t(m_count) * sizeof(qsizetype));
        m_ends = std::move(grown);
        m_nameCapacity = capacity;
    }
}

void SectionNames::append(QByteArrayView name)
{
    reserve(name.size(), 1);
    if (!name.isEmpty())
        std::memcpy(m_bytes.get() + m_used, name.data(), size_t(name.size()));
    m_used += name.size();
    m_ends.get()[m_count++] = m_used;
}

SectionNames SectionNames::fromList(const QList<QByteArray> &names)
{
    SectionNames result;
    qsizetype bytes = 0;
    for (const QByteArray &n : names)
        bytes += n.size();
    result.reserve(bytes, names.size());
    for (const QByteArray &n : names)
        result.append(n);
    return result;
}

SectionNames SectionNames::fromFile(const QString &path)
{
    SectionNames result;
    // Room for every name the file can hold, so that nothing is moved while
    // the list grows; what is not filled is never given memory.
    struct stat st { };
    const qint64 fileBytes = ::stat(nativePath(path).constData(), &st) == 0 ? qint64(st.st_size) : 0;
    if (fileBytes > 0 && fileBytes < std::numeric_limits<qsizetype>::max() / 16)
        result.reserve(qsizetype(fileBytes) + kSlack, qsizetype(fileBytes) / 3 + 1);
    forEachFileChunk(path, [&result](const char *data, qsizetype size) { result.addFrom(data, size); });
    return result;
}

SectionNames SectionNames::fromBytes(QByteArrayView bytes)
{
    SectionNames result;
    result.reserve(bytes.size() + kSlack, bytes.size() / 3 + 1);
    result.addFrom(bytes.data(), bytes.size());
    return result;
}

SectionNames SectionNames::fromBytesPortable(QByteArrayView bytes)
{
    SectionNames result;
    result.reserve(bytes.size() + kSlack, bytes.size() / 3 + 1);
    result.addFrom(bytes.data(), bytes.size(), false);
    return result;
}

// Room for every name the bytes can hold is made first: a header takes
// "[]" and a line end, but the last line needs no end.
void SectionNames::addFrom(const char *data, qsizetype size, [[maybe_unused]] bool wide)
{
    reserve(size + kSlack, size / 3 + 1);
    NamesOut o{m_bytes.get(), m_ends.get(), m_used, m_count};
#if defined(LEXITKA_NAMES_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (wide && avx2)
        scanNamesAvx2(data, size, o);
    else
#endif
        scanNamesPlain(data, size, o);
    m_used = o.used;
    m_count = o.count;
}

QList<QByteArray> SectionNames::toList() const
{
    QList<QByteArray> names;
    names.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        names.append(at(i).toByteArray());
    return names;
}

bool SectionNames::operator==(const SectionNames &other) const
{
    if (m_count != other.m_count || m_used != other.m_used)
        return false;
    if (m_count == 0)
        return true;
    return std::equal(m_ends.get(), m_ends.get() + m_count, other.m_ends.get())
           && std::memcmp(m_bytes.get(), other.m_bytes.get(), size_t(m_used)) == 0;
}

} // namespace lexitka
