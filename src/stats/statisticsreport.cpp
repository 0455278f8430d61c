// Reading the lines of a statistics file for the window.
#include "statisticsreport.h"

#include "data/rounding.h"

namespace lexitka {

StatisticsReport::StatisticsReport(const QList<QByteArray> &lines) : m_lines(lines)
{
    m_value.reserve(size_t(lines.size()));
    for (const QByteArray &line : lines) {
        const int value = StatisticsRow::valueOf(line);
        m_value.push_back(qint8(value));
        if (value >= 0) {
            m_sum += value;
            ++m_records;
        }
    }
}

StatisticsReport StatisticsReport::fromText(QByteArray text)
{
    StatisticsReport report;
    report.m_lines = LineStore::fromText(std::move(text));
    report.m_value.reserve(size_t(report.m_lines.size()));
    for (QByteArrayView line : report.m_lines) {
        const int value = StatisticsRow::valueOf(line);
        report.m_value.push_back(qint8(value));
        if (value >= 0) {
            report.m_sum += value;
            ++report.m_records;
        }
    }
    return report;
}

StatisticsRow StatisticsReport::row(qsizetype i) const { return StatisticsRow::view(m_lines.at(i)); }

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
