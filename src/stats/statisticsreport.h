#pragma once

#include "stats/statistics.h"

#include "data/linestore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>
#include <vector>

namespace lexitka {

struct StatisticsChart {
    QList<qsizetype> rows; // indexes of the passing records, in file order
    int average = 0;
};

// The rows that pass a filter, in file order: their indexes, kept only when
// some row does not pass, so that a chart over every record costs nothing
// per record.
class ChartRows {
public:
    qsizetype size() const { return m_all ? m_count : qsizetype(m_rows.size()); }
    bool isEmpty() const { return size() == 0; }
    qsizetype operator[](qsizetype i) const { return m_all ? i : m_rows[std::size_t(i)]; }

private:
    friend class StatisticsReport;
    std::vector<qsizetype> m_rows;
    qsizetype m_count = 0;
    bool m_all = false;
};

struct ChartSelection {
    ChartRows rows;
    int average = 0;
};

// The lines of a statistics file, each where it lies in the file's bytes,
// and their successes.
class StatisticsReport {
public:
    StatisticsReport() = default;
    explicit StatisticsReport(const QList<QByteArray> &lines);
    // The lines of the file's bytes, as splitLines() finds them.
    static StatisticsReport fromText(QByteArray text);

    qsizetype size() const { return qsizetype(m_value.size()); }
    bool isEmpty() const { return m_value.empty(); }
    // Valid while the report lives.
    StatisticsRow row(qsizetype i) const;
    std::optional<int> value(qsizetype i) const;
    // Every row at once, valid while the report lives.
    std::vector<StatisticsRow> rows() const;
    // Over every well-formed record; 0 when there is none.
    int overallAverage() const;
    StatisticsChart chart(QByteArrayView filter) const;
    ChartSelection select(QByteArrayView filter) const;

private:
    LineStore m_lines;
    std::vector<qint8> m_value; // -1: no record
    // Over the records alone.
    qint64 m_sum = 0;
    qsizetype m_records = 0;
};

} // namespace lexitka
