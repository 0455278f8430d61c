#include "lessonbook.h"

#include "data/dictionary.h"
#include "data/inifile.h"
#include "data/savefile.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
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

// The keys 0, 1, 2, … as text, counted up in place.
class DecimalCounter {
public:
    DecimalCounter() { m_digits[kSize - 1] = '0'; }
    QByteArrayView text() const { return QByteArrayView(m_digits + m_first, kSize - m_first); }
    void next()
    {
        qsizetype i = kSize - 1;
        while (i >= m_first && m_digits[i] == '9')
            m_digits[i--] = '0';
        if (i < m_first) { // 9 gives 10, 99 gives 100
            m_first = i;
            m_digits[i] = '1';
        } else {
            ++m_digits[i];
        }
    }

private:
    static constexpr qsizetype kSize = 24;
    char m_digits[kSize] = {};
    qsizetype m_first = kSize - 1;
};

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

// A line to be sorted: the first 16 bytes of its word, as sortByte() has
// them, in two numbers that order as the bytes do, and where it stood.
#pragma pack(push, 4)
struct SortKey {
    quint64 head[2];
    quint32 index;
};
#pragma pack(pop)

inline unsigned keyByte(const SortKey &k, int byte)
{
    return unsigned(k.head[byte / 8] >> (8 * (7 - byte % 8))) & 0xFF;
}

// Sorts src[0, n), whose first `byte` bytes are alike, into src or, with
// toOther, into other (the other's room is spare meanwhile): byte by byte
// into buckets (most words part within a few bytes); small buckets and
// words alike in all 16 bytes by `less`, which looks at the whole word.
template <class Less>
void sortKeys(SortKey *src, SortKey *other, qsizetype n, int byte, bool toOther, const Less &less)
{
    constexpr qsizetype kSmall = 48;
    while (n > kSmall && byte < 16) {
        qsizetype count[256] = {};
        for (qsizetype i = 0; i < n; ++i)
            ++count[keyByte(src[i], byte)];
        if (count[keyByte(src[0], byte)] == n) {
            ++byte; // all alike here: on to the next byte
            continue;
        }
        qsizetype start[256];
        for (qsizetype sum = 0, b = 0; b < 256; ++b) {
            start[b] = sum;
            sum += count[b];
        }
        for (qsizetype i = 0; i < n; ++i)
            other[start[keyByte(src[i], byte)]++] = src[i];
        for (qsizetype from = 0, b = 0; b < 256; from += count[b], ++b) {
            if (count[b] > 0)
                sortKeys(other + from, src + from, count[b], byte + 1, !toOther, less);
        }
        return;
    }
    std::sort(src, src + n, less);
    if (toOther)
        std::copy(src, src + n, other);
}

// The key of a word: its first 16 bytes, "a" to "z" as capitals, zeros after.
SortKey keyOf(QByteArrayView word, quint32 index)
{
    char bytes[16] = {};
    if (!word.isEmpty())
        std::memcpy(bytes, word.data(), size_t(std::min<qsizetype>(word.size(), 16)));
    quint64 head[2] = {qFromBigEndian<quint64>(bytes), qFromBigEndian<quint64>(bytes + 8)};
    for (quint64 &h : head) {
        // Every byte at once: the high bit of `lower` marks "a" to "z".
        constexpr quint64 kOnes = 0x0101010101010101u;
        const quint64 low7 = h & (0x7F * kOnes);
        const quint64 lower = (low7 + (0x80 - 'a') * kOnes) & ~(low7 + (0x80 - 'z' - 1) * kOnes) & ~h & (0x80 * kOnes);
        h -= lower >> 2;
    }
    return SortKey{{head[0], head[1]}, index};
}

} // namespace

void sortBySlovo(LineStore &lines, int languageCode)
{
    // Each line is parsed once, not at every comparison; the key holds the
    // start of its word, and only words alike in 16 bytes are looked at
    // again. Equal words keep their order by their index, so the order is
    // the stable one whatever sorts them.
    const bool articleFirst = languageCode == LangGerman || languageCode == LangFrench || languageCode == LangSpanish;
    const qsizetype n = lines.size();
    if (quint64(n) > std::numeric_limits<quint32>::max())
        throw std::bad_alloc(); // some 50 GB of lines: no room to sort them anyway
    // Left uninitialised: every key is written before it is read.
    const std::unique_ptr<SortKey[]> keys(new SortKey[size_t(n)]);
    quint64 differ[2] = {0, 0};
    for (qsizetype i = 0; i < n; ++i) {
        const SortKey k = keyOf(sortWord(lines[i], articleFirst), quint32(i));
        keys[size_t(i)] = k;
        differ[0] |= k.head[0] ^ keys[0].head[0];
        differ[1] |= k.head[1] ^ keys[0].head[1];
    }
    // The bytes that every word shares at its start need no look.
    const int alike = differ[0] != 0 ? qCountLeadingZeroBits(differ[0]) / 8
                                     : (differ[1] != 0 ? 8 + qCountLeadingZeroBits(differ[1]) / 8 : 16);
    const auto less = [&](const SortKey &a, const SortKey &b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1];
        // A zero byte, a longer word, or equal.
        const int c = compareWords(sortWord(lines[a.index], articleFirst), sortWord(lines[b.index], articleFirst));
        return c != 0 ? c < 0 : a.index < b.index;
    };
    {
        const std::unique_ptr<SortKey[]> spare(new SortKey[size_t(n)]);
        sortKeys(keys.get(), spare.get(), n, alike, false, less);
    }
    lines.permuteBy(n, [&keys](qsizetype k) { return qsizetype(keys[size_t(k)].index); });
}

QByteArrayView lineValue(QByteArrayView line)
{
    // The key is short as a rule: a loop finds the "=" sooner than a call.
    const char *p = line.data();
    for (qsizetype i = 0, n = line.size(); i < n; ++i) {
        if (p[i] == '=')
            return QByteArrayView(p + i + 1, n - i - 1);
    }
    return line;
}

const QByteArray &LessonBook::mistakesName()
{
    static const QByteArray name = "Chyby";
    return name;
}

LessonBook::LessonBook() { clear(); }

void LessonBook::clear() { m_lessons = {Lesson{mistakesName(), {}}}; }

void LessonBook::load(TextBuffer dictionary, TextBuffer mistakes)
{
    // Every line of the file goes into one store; each lesson then holds its
    // own run of it, sharing the bytes.
    LineStoreBuilder builder(std::move(dictionary));
    struct Section {
        QByteArray name;
        qsizetype first;
    };
    QList<Section> sections;
    scanIniLines(
        builder.constData(), builder.bufferSize(),
        [&](QByteArrayView name) {
            sections.append({name.toByteArray(), builder.lineCount()});
        },
        [&](QByteArrayView key, QByteArrayView value) {
            if (!sections.isEmpty())
                builder.markEntry(key, value);
        },
        [&](QByteArrayView text) {
            if (!sections.isEmpty())
                builder.mark(text.data() - builder.constData(), text.size());
        });
    const LineStore all = builder.take();
    m_lessons.clear();
    m_lessons.reserve(sections.size() + 1);
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const qsizetype end = i + 1 < sections.size() ? sections[i + 1].first : all.size();
        m_lessons.append(Lesson{sections[i].name, all.mid(sections[i].first, end - sections[i].first), i});
    }
    m_lessons.append(Lesson{mistakesName(), LineStore::fromText(std::move(mistakes))});
}

qsizetype LessonBook::lineCount() const
{
    qsizetype n = 0;
    for (const Lesson &l : m_lessons)
        n += l.lines.size();
    return n;
}

void LessonBook::insertLesson(qsizetype at, Lesson lesson)
{
    Q_ASSERT(at >= 0 && at <= mistakesIndex());
    m_lessons.insert(at, std::move(lesson));
}

Lesson LessonBook::takeLesson(qsizetype at)
{
    Q_ASSERT(at >= 0 && at < mistakesIndex());
    return m_lessons.takeAt(at);
}

void LessonBook::insertLine(qsizetype lesson, qsizetype at, const QByteArray &line)
{
    m_lessons[lesson].lines.insert(at, line);
}

QByteArray LessonBook::takeLine(qsizetype lesson, qsizetype at)
{
    LineStore &lines = m_lessons[lesson].lines;
    QByteArray line = lines.at(at).toByteArray();
    lines.removeAt(at);
    return line;
}

QByteArray LessonBook::replaceLine(qsizetype lesson, qsizetype at, const QByteArray &line)
{
    LineStore &lines = m_lessons[lesson].lines;
    QByteArray old = lines.at(at).toByteArray();
    lines.replace(at, line);
    return old;
}

LineStore LessonBook::replaceLines(qsizetype lesson, LineStore lines)
{
    std::swap(m_lessons[lesson].lines, lines);
    return lines;
}

LessonNameProblem LessonBook::checkNewName(QByteArrayView name) const
{
    name = trimmedBlanks(name);
    if (name.isEmpty())
        return LessonNameProblem::Empty;
    if (name.contains(']') || name.contains('\n') || name.contains('\r'))
        return LessonNameProblem::BadCharacter;
    for (const Lesson &l : m_lessons) {
        if (equalsIgnoringCase(l.name, name))
            return LessonNameProblem::Taken;
    }
    return LessonNameProblem::None;
}

QByteArray LessonBook::dictionaryBytes() const
{
    qsizetype total = 0;
    for (qsizetype i = 0; i < mistakesIndex(); ++i) {
        const Lesson &l = m_lessons[i];
        total += l.name.size() + 6;
        for (QByteArrayView line : l.lines)
            total += line.size() + 12;
    }
    return gatherBytes([this](ByteSink &sink) { return writeDictionary(sink); }, total);
}

bool LessonBook::writeDictionary(ByteSink &sink) const
{
    ChunkedWriter out(sink);
    constexpr qsizetype kShort = 4096; // a line that fits the writer's buffer at once
    for (qsizetype i = 0; i < mistakesIndex(); ++i) {
        const Lesson &l = m_lessons[i];
        if (l.lines.isEmpty())
            continue;
        out.append('[');
        out.append(l.name);
        out.append("]\r\n");
        DecimalCounter key;
        for (QByteArrayView line : l.lines) {
            const QByteArrayView value = lineValue(line);
            const QByteArrayView number = key.text();
            if (value.size() <= kShort) {
                char *start = out.room(number.size() + value.size() + 3);
                char *p = start;
                std::memcpy(p, number.data(), size_t(number.size()));
                p += number.size();
                *p++ = '=';
                std::memcpy(p, value.data(), size_t(value.size()));
                p += value.size();
                *p++ = '\r';
                *p++ = '\n';
                out.advance(p - start);
            } else {
                out.append(number);
                out.append('=');
                out.append(value);
                out.append("\r\n");
            }
            key.next();
        }
        out.append("\r\n");
    }
    return out.finish();
}

QByteArray LessonBook::mistakesBytes() const { return m_lessons.back().lines.joinedCrLf(); }

} // namespace lexitka
