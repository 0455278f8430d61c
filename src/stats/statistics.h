#pragma once

#include "data/opendictionary.h"
#include "data/sectionnames.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace lexitka {

// ---- Recording ----

// "6.12.": day and month without leading zeros, no year.
QByteArray statisticsDay(const QDate &date);

// Lessons and test kinds of a record, "Lekce 1,Lekce 2/Anglicko - česky".
// A ticked kind in the third or fourth place (German plurals, verbs) stands
// alone: it replaces the kinds before it and ends the walk.
QByteArray makeLekceTypZK(const SectionNames &lessons, const QList<bool> &lessonTicks, const QList<QByteArray> &kinds,
                          const QList<bool> &kindTicks);
QByteArray makeLekceTypZK(const QList<QByteArray> &lessons, const QList<bool> &lessonTicks,
                          const QList<QByteArray> &kinds, const QList<bool> &kindTicks);

// The record of a finished test, or nothing when recording is off or no
// answer was given.
std::optional<QByteArray> statisticsRecord(bool recording, int good, int bad, const QDate &date,
                                           const QByteArray &lekceTypZK);

struct StatisticsFile {
    enum class State { Missing, Read, Unreadable };
    State state = State::Missing;
    QByteArray bytes;
};

StatisticsFile loadStatisticsFile(const QString &path);

// ---- Reading, for the statistics window ----

// One line of the file: the day and the success up to the first two "/",
// the lessons up to the last "/", the kinds after it; the subject (lessons
// "/" kinds) is everything after the second "/".
class StatisticsRow {
public:
    explicit StatisticsRow(QByteArray line);
    // A line that lies in bytes someone else keeps.
    static StatisticsRow view(QByteArrayView line);

    QByteArrayView line() const { return m_line; }
    // Field 0..3; empty when the line has fewer fields.
    QByteArrayView field(int n) const;
    QByteArrayView subject() const;
    // The success of a well-formed record; nullopt for a line that is not one
    // (fewer than four fields, or a success that is not a whole number 0..100).
    std::optional<int> value() const { return m_value < 0 ? std::nullopt : std::optional<int>(m_value); }
    // The same, from the line alone; -1 for a line that is no record.
    static int valueOf(QByteArrayView line);

private:
    StatisticsRow() = default;
    // Where fields 0..3 end: the first two "/", the last "/", the line's end
    // (the line's length for fields it lacks). Three when the line has four fields.
    static int findSlashes(QByteArrayView line, qsizetype slash[4]);

    QByteArray m_own; // the line, unless it lies elsewhere
    QByteArrayView m_line;
    qsizetype m_slash[4] = {};
    int m_value = -1;
};

// A filter piece matches when it occurs in the subject as it was typed,
// blanks and case included; pieces are separated by ","; an empty piece
// never matches; an empty filter lets every record pass.
bool passesFilter(QByteArrayView subject, QByteArrayView filter);

} // namespace lexitka
