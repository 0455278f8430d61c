// Reading the lines of a statistics file for the window.
#include "statistics.h"

#include "data/bytemarks.h"
#include "data/rounding.h"

#include <algorithm>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lexitka {

namespace {

// Line positions beyond this take eight bytes each.
constexpr qsizetype kNarrowLimit = std::numeric_limits<quint32>::max();

// Whole number 0..100 in plain decimal digits.
int successValue(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 3)
        return -1;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    return v <= 100 ? v : -1;
}

int successValue(const char *begin, const char *end) { return successValue(QByteArrayView(begin, end)); }

// The LF bytes of [p, end), sixteen at a time where the processor can.
std::size_t countLineFeeds(const char *p, const char *end)
{
    std::size_t n = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        // Byte counters, summed before any of them can pass 255.
        __m128i counts = _mm_setzero_si128();
        const char *stop = p + 16 * std::min<qsizetype>(255, (end - p) / 16);
        for (; p < stop; p += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(v, lf));
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        n += std::size_t(_mm_cvtsi128_si32(sums)) + std::size_t(_mm_extract_epi16(sums, 4));
    }
#endif
    for (; p < end; ++p)
        n += *p == '\n';
    return n;
}

// Bit i set where data[i] is "/", CR or LF, for up to 64 bytes.
quint64 markSlashesAndBreaks(const char *data, qsizetype size)
{
    if (size < 64) {
        char block[64] = {};
        std::memcpy(block, data, std::size_t(size));
        return markSlashesAndBreaks(block, 64);
    }
    return bytesMarked(data, '/', '\r', '\n');
}

// onLine(begin, value) for every line of the text, as forEachLine() splits
// it, with the success of the record it holds (-1 for none). Only the "/",
// CR and LF bytes are visited one by one; the rest is passed 64 at a time.
template <class OnLine>
void scanRecords(const char *data, qsizetype size, OnLine &&onLine)
{
    qsizetype begin = 0;
    qsizetype slashes = 0;
    qsizetype first = 0;
    qsizetype second = 0;
    const auto value = [&] { return slashes >= 3 ? successValue(data + first + 1, data + second) : -1; };
    for (qsizetype block = 0; block < size; block += 64) {
        quint64 marks = markSlashesAndBreaks(data + block, std::min<qsizetype>(64, size - block));
        while (marks != 0) {
            const qsizetype at = block + __builtin_ctzll(marks);
            marks &= marks - 1;
            if (at < begin)
                continue; // the LF of a CR LF
            if (data[at] == '/') {
                if (slashes == 0)
                    first = at;
                else if (slashes == 1)
                    second = at;
                ++slashes;
                continue;
            }
            onLine(begin, value());
            begin = data[at] == '\r' && at + 1 < size && data[at + 1] == '\n' ? at + 2 : at + 1;
            slashes = 0;
        }
    }
    if (begin < size)
        onLine(begin, value()); // the last line, without a line end
}

} // namespace

int StatisticsRow::findSlashes(QByteArrayView line, qsizetype slash[4])
{
    qsizetype from = 0;
    int found = 0;
    for (; found < 3; ++found) {
        const qsizetype at = line.indexOf('/', from);
        if (at < 0)
            break;
        slash[found] = at;
        from = at + 1;
    }
    // The kinds follow the last "/": their captions never hold one, while a
    // lesson name may, and then belongs with the lessons.
    if (found == 3)
        slash[2] = line.lastIndexOf('/');
    // The line read as if one "/" were appended: the last field runs to its end.
    for (int i = found; i < 4; ++i)
        slash[i] = line.size();
    slash[3] = line.size();
    return found;
}

int StatisticsRow::valueOf(QByteArrayView line)
{
    // Only the first two "/" matter: a third anywhere after them makes four fields.
    const qsizetype first = line.indexOf('/');
    if (first < 0)
        return -1;
    const qsizetype second = line.indexOf('/', first + 1);
    if (second < 0 || line.indexOf('/', second + 1) < 0)
        return -1;
    return successValue(line.sliced(first + 1, second - first - 1));
}

StatisticsRow::StatisticsRow(QByteArray line) : m_own(std::move(line)), m_line(m_own)
{
    if (findSlashes(m_line, m_slash) >= 3)
        m_value = successValue(field(1));
}

StatisticsRow StatisticsRow::view(QByteArrayView line)
{
    StatisticsRow row;
    row.m_line = line;
    if (findSlashes(line, row.m_slash) >= 3)
        row.m_value = successValue(row.field(1));
    return row;
}

QByteArrayView StatisticsRow::field(int n) const
{
    if (n < 0 || n > 3)
        return {};
    const qsizetype begin = n == 0 ? 0 : m_slash[n - 1] + 1;
    if (begin > m_line.size())
        return {};
    return m_line.sliced(begin, m_slash[n] - begin);
}

QByteArrayView StatisticsRow::subject() const
{
    const qsizetype begin = m_slash[1] + 1;
    if (begin > m_line.size())
        return {};
    return m_line.sliced(begin);
}

bool passesFilter(QByteArrayView subject, QByteArrayView filter)
{
    if (filter.isEmpty())
        return true;
    qsizetype from = 0;
    while (from <= filter.size()) {
        qsizetype comma = filter.indexOf(',', from);
        if (comma < 0)
            comma = filter.size();
        const QByteArrayView piece = filter.sliced(from, comma - from);
        if (!piece.isEmpty() && subject.contains(piece))
            return true;
        from = comma + 1;
    }
    return false;
}

StatisticsReport::StatisticsReport(const QList<QByteArray> &lines)
{
    qsizetype bytes = 0;
    for (const QByteArray &line : lines)
        bytes += line.size();
    m_text.reserve(bytes);
    const std::size_t count = std::size_t(lines.size());
    if (bytes <= kNarrowLimit)
        m_begin.reserve(count + 1);
    m_value.reserve(count);
    for (const QByteArray &line : lines) {
        addBegin(m_text.size());
        m_value.push_back(qint8(StatisticsRow::valueOf(line)));
        m_text.append(line);
    }
    addBegin(m_text.size());
}

StatisticsReport StatisticsReport::fromText(QByteArray text)
{
    StatisticsReport report;
    report.m_text = std::move(text);
    report.m_ended = true;
    const char *data = report.m_text.constData();
    const qsizetype size = report.m_text.size();
    // Counted first, so that the index is made once at its size (lines
    // ended by a lone CR, rare, may still make it grow).
    const std::size_t lines = countLineFeeds(data, data + size) + 1;
    if (size <= kNarrowLimit)
        report.m_begin.reserve(lines + 1);
    report.m_value.reserve(lines);
    if (size <= kNarrowLimit) {
        std::vector<quint32> &begins = report.m_begin;
        scanRecords(data, size, [&](qsizetype begin, int value) {
            begins.push_back(quint32(begin));
            report.m_value.push_back(qint8(value));
        });
    } else {
        scanRecords(data, size, [&](qsizetype begin, int value) {
            report.addBegin(begin);
            report.m_value.push_back(qint8(value));
        });
    }
    report.addBegin(size);
    return report;
}

void StatisticsReport::addBegin(qsizetype begin)
{
    if (m_wideBegin.empty() && begin <= kNarrowLimit) {
        m_begin.push_back(quint32(begin));
    } else {
        if (m_wideBegin.empty()) {
            m_wideBegin.assign(m_begin.begin(), m_begin.end());
            m_begin = {};
        }
        m_wideBegin.push_back(begin);
    }
}

qsizetype StatisticsReport::lineBegin(qsizetype i) const
{
    return m_wideBegin.empty() ? qsizetype(m_begin[std::size_t(i)]) : m_wideBegin[std::size_t(i)];
}

QByteArrayView StatisticsReport::lineAt(qsizetype i) const
{
    const char *data = m_text.constData();
    const qsizetype begin = lineBegin(i);
    qsizetype end = lineBegin(i + 1);
    // A line holds no CR or LF of its own: what ends it is its line end.
    if (m_ended && end > begin && data[end - 1] == '\n')
        --end;
    if (m_ended && end > begin && data[end - 1] == '\r')
        --end;
    return QByteArrayView(data + begin, end - begin);
}

StatisticsRow StatisticsReport::row(qsizetype i) const { return StatisticsRow::view(lineAt(i)); }

std::vector<StatisticsRow> StatisticsReport::rows() const
{
    std::vector<StatisticsRow> all;
    all.reserve(m_value.size());
    for (qsizetype i = 0; i < size(); ++i)
        all.push_back(row(i));
    return all;
}

std::optional<int> StatisticsReport::value(qsizetype i) const
{
    const int v = m_value[std::size_t(i)];
    return v < 0 ? std::nullopt : std::optional<int>(v);
}

int StatisticsReport::overallAverage() const
{
    qint64 sum = 0;
    qint64 count = 0;
    for (const qint8 v : m_value) {
        if (v >= 0) {
            sum += v;
            ++count;
        }
    }
    return count == 0 ? 0 : int(roundedQuotient(sum, count));
}

ChartSelection StatisticsReport::select(QByteArrayView filter) const
{
    ChartSelection out;
    ChartRows &rows = out.rows;
    std::vector<bool> passed(m_value.size());
    qint64 sum = 0;
    for (qsizetype i = 0; i < size(); ++i) {
        const int v = m_value[std::size_t(i)];
        if (v < 0 || (!filter.isEmpty() && !passesFilter(row(i).subject(), filter)))
            continue;
        passed[std::size_t(i)] = true;
        ++rows.m_count;
        sum += v;
    }
    rows.m_all = rows.m_count == size();
    if (!rows.m_all) {
        rows.m_rows.reserve(std::size_t(rows.m_count));
        for (qsizetype i = 0; i < size(); ++i) {
            if (passed[std::size_t(i)])
                rows.m_rows.push_back(i);
        }
    }
    if (rows.m_count > 0)
        out.average = int(roundedQuotient(sum, rows.m_count));
    return out;
}

StatisticsChart StatisticsReport::chart(QByteArrayView filter) const
{
    const ChartSelection selected = select(filter);
    StatisticsChart out;
    out.rows.reserve(selected.rows.size());
    for (qsizetype i = 0; i < selected.rows.size(); ++i)
        out.rows.append(selected.rows[i]);
    out.average = selected.average;
    return out;
}

} // namespace lexitka
