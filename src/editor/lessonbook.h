#pragma once

#include "data/dictionary.h"
#include "data/linestore.h"
#include "data/savefile.h"
#include "editor/lessonsort.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace lexitka {

// The value a line is saved with: after its first "=", or the whole line.
QByteArrayView lineValue(QByteArrayView line);

struct Lesson {
    QByteArray name;
    LineStore lines;
    // The section of the file the lesson was read from, -1 for a new one:
    // a save that finds the file changed by another window merges by it.
    qsizetype origin = -1;
};

enum class LessonNameProblem { None, Empty, BadCharacter, Taken };

// The lesson editor's copy of a dictionary: every lesson with its lines as
// raw bytes, in file order, and as the last entry the mistakes ("Chyby").
//
// Lesson i is section i of the file, so two sections of the same name stay
// two lessons and are saved as two; nothing is merged or lost.
//
// The lines of every lesson stay where they lie in the file's bytes, read
// once (LineStore), so a dictionary of a million words loads, sorts and
// saves without a heap block per word.
class LessonBook {
public:
    LessonBook();

    // The editor's reading: lines trimmed, blanks around the first "=" gone,
    // empty and ";" lines and lines before the first section dropped, lines
    // without "=" kept. The mistakes file is taken line by line as it is.
    void load(QByteArray dictionary, QByteArray mistakes);
    // Only the mistakes entry, empty.
    void clear();

    qsizetype count() const { return m_lessons.size(); }
    qsizetype mistakesIndex() const { return m_lessons.size() - 1; }
    bool isMistakes(qsizetype index) const { return index == mistakesIndex(); }
    const QByteArray &name(qsizetype index) const { return m_lessons.at(index).name; }
    const LineStore &lines(qsizetype index) const { return m_lessons.at(index).lines; }
    qsizetype origin(qsizetype index) const { return m_lessons.at(index).origin; }
    qsizetype lineCount() const;

    // Lessons go before the mistakes entry, which always stays last.
    void insertLesson(qsizetype at, Lesson lesson);
    Lesson takeLesson(qsizetype at);
    void insertLine(qsizetype lesson, qsizetype at, const QByteArray &line);
    QByteArray takeLine(qsizetype lesson, qsizetype at);
    // Returns what was there before.
    QByteArray replaceLine(qsizetype lesson, qsizetype at, const QByteArray &line);
    LineStore replaceLines(qsizetype lesson, LineStore lines);

    // A name for a new lesson, blanks around it ignored as the reader does.
    // Refused: empty, "]" or a line break (the header would break), or equal
    // to an entry's name without regard to case (two lessons would read as one).
    LessonNameProblem checkNewName(QByteArrayView name) const;

    // The dictionary as it is saved: lessons in order, keys renumbered from
    // 0, CR LF, an empty line after each lesson, empty lessons left out.
    QByteArray dictionaryBytes() const;
    // The same bytes handed to a sink piece by piece, straight from the
    // lines; false when the sink refused them.
    bool writeDictionary(ByteSink &sink) const;
    // The mistakes file: each line as it stands, CR LF.
    QByteArray mistakesBytes() const;

    static const QByteArray &mistakesName();

private:
    QList<Lesson> m_lessons;
};

} // namespace lexitka
