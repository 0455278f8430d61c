#pragma once

#include "data/savefile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

namespace lexitka {

// How many mistakes tests in a row answered a mistake right; the mistakes
// file itself keeps its form, so the counts live in a file of their own
// beside it: `errors.ene` has `errors.ene.mastery`.
QString masteryFilePath(const QString &mistakesPath);

// The counts file: one distinct mistakes line per line, as its count in
// decimal, a tab and the line's bytes exactly; a missing line counts 0.
class MasteryCounts {
public:
    static MasteryCounts parse(const QByteArray &bytes);
    QByteArray bytes() const;

    int count(QByteArrayView line) const;
    // A count of 0 or less takes the line out.
    void set(const QByteArray &line, int count);
    // Drops the counts of lines that are not among lines.
    void keepOnly(const QList<QByteArray> &lines);
    bool isEmpty() const { return m_lines.isEmpty(); }

private:
    QList<QByteArray> m_lines; // in the order they were first counted
    QHash<QByteArray, int> m_counts;
};

// The file's bytes less the first line that equals line; the other bytes,
// line ends included, stay as they are. Nothing when no line equals it.
std::optional<QByteArray> withoutFirstLine(const QByteArray &bytes, QByteArrayView line);

// What one answer in a mistakes test does to its line.
enum class MasteryAnswer {
    Right,      // the first right answer to the line in this test: one more
    RightAgain, // another occurrence of a line already counted in this test
    Wrong,      // back to none
};

// Applies one answer, under the mistakes file's lock and then the counts
// file's, to both files as they are on disk now: a line whose count reaches
// `threshold` loses one occurrence from the mistakes file (lines other
// windows added meanwhile stay), and the counts of lines no longer in it go.
// The counts are saved before the mistakes file, so a kill between the two
// leaves the mistake in its file, never a mistake gone without its count.
UpdateResult recordMasteryAnswer(const QString &mistakesPath, const QByteArray &line, MasteryAnswer answer,
                                 int threshold, int lockWaitMs = -1);

// An ordinary test's new mistakes: appended as appendLinesToFile does, and
// their counts start again from none.
UpdateResult appendMistakesResettingCounts(const QString &mistakesPath, const QList<QByteArray> &lines,
                                           int lockWaitMs = -1);

// The answers of one mistakes test: which lines were answered already, and
// which questions are a wrong answer's repeats, which do not count.
class MasteryRound {
public:
    void clear();
    // A wrong answer put line back into the pool.
    void noteRepeat(const QByteArray &line) { ++m_repeats[line]; }
    // line was drawn: true when it is such a repeat.
    bool takeRepeat(const QByteArray &line);
    // The effect of an answer to a line that is no repeat; nothing when the
    // line was answered wrong earlier in this test.
    std::optional<MasteryAnswer> answer(const QByteArray &line, bool right);

private:
    QHash<QByteArray, int> m_repeats;
    QSet<QByteArray> m_counted;
    QSet<QByteArray> m_failed;
};

} // namespace lexitka
