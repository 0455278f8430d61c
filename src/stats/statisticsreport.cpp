// Reading the lines of a statistics file for the window.
#include "statistics.h"

#include "data/bytemarks.h"
#include "data/rounding.h"

#include <algorithm>
#include <cstring>
#include <limits>

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

// The same between two pointers, once a line of the file.
int successValue(const char *begin, const char *end)
{
    const qsizetype n = end - begin;
    if (n < 1 || n > 3)
        return -1;
    unsigned v = unsigned(begin[0]) - '0';
    if (v > 9)
        return -1;
    for (qsizetype i = 1; i < n; ++i) {
        const unsigned d = unsigned(begin[i]) - '0';
        if (d > 9)
            return -1;
        v = v * 10 + d;
    }
    return v <= 100 ? int(v) : -1;
}

// Where 64 bytes hold "/" and where CR or LF, bit i for byte i.
struct WindowMarks {
    quint64 slash = 0;
    quint64 breaks = 0;
};

inline __attribute__((always_inline)) WindowMarks marksOf64(const char *p)
{
    const Bytes64 bytes(p);
    return {bytes.marked('/'), bytes.marked('\n', '\r')};
}

inline __attribute__((always_inline)) WindowMarks marksOf(const char *p, qsizetype size)
{
    if (size < 64) [[unlikely]] {
        char window[64] = {};
        std::memcpy(window, p, std::size_t(size));
        return marksOf64(window);
    }
    return marksOf64(p);
}

// onLine(begin, value) for every line of the text, as forEachLine() splits
// it, with the success of the record it holds (-1 for none). Each line is
// read from its first byte 64 bytes at a time: most lines end within the
// first 64, and only their first three "/" matter.
template <class OnLine>
void scanRecords(const char *data, qsizetype size, OnLine &&onLine)
{
    qsizetype begin = 0;
    while (begin < size) {
        int slashes = 0;
        qsizetype first = 0;
        qsizetype second = 0;
        const auto take = [&](qsizetype at, quint64 marks) {
            for (; marks != 0 && slashes < 3; marks &= marks - 1, ++slashes) {
                const qsizetype i = at + __builtin_ctzll(marks);
                if (slashes == 0)
                    first = i;
                else if (slashes == 1)
                    second = i;
            }
        };
        qsizetype pos = begin;
        qsizetype next = size; // where the next line begins
        for (; pos < size; pos += 64) {
            const WindowMarks m = marksOf(data + pos, std::min<qsizetype>(64, size - pos));
            if (m.breaks == 0) {
                take(pos, m.slash);
                continue;
            }
            const int at = __builtin_ctzll(m.breaks);
            quint64 mine = m.slash & ((quint64(1) << at) - 1);
            const quint64 afterFirst = mine & (mine - 1);
            if (slashes == 0 && (afterFirst & (afterFirst - 1)) != 0) {
                first = pos + __builtin_ctzll(mine);
                second = pos + __builtin_ctzll(afterFirst);
                slashes = 3;
            } else {
                take(pos, mine);
            }
            const qsizetype end = pos + at;
            next = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? end + 2 : end + 1;
            break;
        }
        onLine(begin, slashes >= 3 ? successValue(data + first + 1, data + second) : -1);
        begin = next;
    }
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
        const int value = StatisticsRow::valueOf(line);
        m_value.push_back(qint8(value));
        if (value >= 0) {
            m_sum += value;
            ++m_records;
        }
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
    // Room for lines of eight bytes, shorter than any record with its line
    // end: the index is made in place, and what it does not use is never
    // touched (lines shorter still make it grow).
    const std::size_t room = std::size_t(size / 8) + 2;
    report.m_value.reserve(room);
    qint64 sum = 0;
    qsizetype records = 0;
    const auto count = [&](int value) {
        report.m_value.push_back(qint8(value));
        if (value >= 0) {
            sum += value;
            ++records;
        }
    };
    if (size <= kNarrowLimit) {
        std::vector<quint32> &begins = report.m_begin;
        begins.reserve(room);
        scanRecords(data, size, [&](qsizetype begin, int value) {
            begins.push_back(quint32(begin));
            count(value);
        });
    } else {
        scanRecords(data, size, [&](qsizetype begin, int value) {
            report.addBegin(begin);
            count(value);
        });
    }
    report.addBegin(size);
    report.m_sum = sum;
    report.m_records = records;
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

int StatisticsReport::overallAverage() const { return m_records == 0 ? 0 : int(roundedQuotient(m_sum, m_records)); }

ChartSelection StatisticsReport::select(QByteArrayView filter) const
{
    ChartSelection out;
    ChartRows &rows = out.rows;
    // Every record passes an empty filter: when every line is one, the
    // selection is the whole report and its average the overall one.
    if (filter.isEmpty() && m_records == size()) {
        rows.m_all = true;
        rows.m_count = m_records;
        out.average = overallAverage();
        return out;
    }
    qint64 sum = 0;
    for (qsizetype i = 0; i < size(); ++i) {
        const int v = m_value[std::size_t(i)];
        if (v < 0 || (!filter.isEmpty() && !passesFilter(row(i).subject(), filter)))
            continue;
        rows.m_rows.push_back(i);
        sum += v;
    }
    rows.m_count = qsizetype(rows.m_rows.size());
    rows.m_all = rows.m_count == size();
    if (rows.m_all)
        rows.m_rows = {};
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
