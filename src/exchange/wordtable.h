#pragma once

#include "data/dictionary.h"
#include "data/linestore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lexitka {

// A word list read from a file, before it becomes lines of a dictionary:
// columns (of a text file, or the languages of a KVTML file) and rows of
// Unicode texts.
struct WordTable {
    struct Cell {
        QString text;
        QString article; // the article's own text ("der"), if the file gives one
        QString forms;   // plural, or verb forms joined by ","
    };
    struct Row {
        QList<Cell> cells;  // one per column
        QString lesson;     // the file's lesson, empty for none
        qsizetype line = 0; // where it stands in the file, from 1
    };
    QStringList columns; // headers or language names
    QStringList locales; // per column, KVTML only ("de", "cs")
    QList<Row> rows;
};

// The four word columns ("Člen", "Slovo", "Množné číslo (minulý čas)",
// "Překlad") as the grid, the clipboard and the exported text name them.
const QStringList &wordColumnTitles();
// The lesson column of a whole dictionary exported as text.
QString lessonColumnTitle();

// A text file's table; a first row of the grid's titles, or any row the
// caller says is a header, names the columns; `titles` (the file's own
// "#columns:" and the like) name those it leaves unnamed. The "Lekce" column
// of an exported dictionary becomes each row's lesson. The table is at least
// width columns wide (the file's widest row when rows are only its first).
WordTable tableFromDelimited(const QList<QStringList> &rows, bool header, qsizetype width = 0,
                             const QStringList &titles = {});
// Whether the first row looks like a header: it holds a word-column title.
bool looksLikeHeader(const QStringList &firstRow);

// Which column gives which field of a word; -1 for none. The article and
// the forms of the foreign word come from its own cell (KVTML) unless a
// column is chosen for them.
struct ColumnChoice {
    int slovo = -1;
    int preklad = -1;
    int clen = -1;
    int mn = -1;
};
// Guessed from the titles and locales: the grid's titles, the dictionary's
// language and Czech.
ColumnChoice guessColumns(const WordTable &table, int languageCode);

struct RefusedRow {
    qsizetype line = 0;
    QString text;  // the row as the file gives it
    QString field; // "Slovo", "Překlad", …, or "Lekce"
    char32_t character = 0;
    QString entry; // the word that names a KVTML entry, which has no line
    // A sentence in Czech that names the character and the field.
    QString reason() const;
};

// The entry lines of an import, in one block of bytes that the browser's
// undo step then shares rather than copies; a list of lines where one is
// wanted.
class ImportedLines : public LineStore {
public:
    ImportedLines() = default;
    explicit ImportedLines(LineStore lines) : LineStore(std::move(lines)) { }
    operator QList<QByteArray>() const { return toList(); } // NOLINT: reads as the list it is
    friend bool operator==(const ImportedLines &a, const QList<QByteArray> &b) { return a.toList() == b; }
};

struct ImportedLesson {
    QString name; // empty: the target lesson
    ImportedLines lines;
};

struct ImportResult {
    QList<ImportedLesson> lessons; // in the order met
    QList<RefusedRow> refused;
};

// The rows as entry lines of the dictionary's language (keys are
// renumbered on saving: 0 here). With byLesson, one lesson per lesson of the
// file (rows without one go to the target); otherwise all into one, the
// target. A row with a character its field's code page has no place for, or
// a "\" or a line break, which would split the entry, is refused and listed.
ImportResult importRows(const WordTable &table, const ColumnChoice &choice, int languageCode, bool byLesson);

// The code of an article text in the language's list, 3 for none.
int articleCode(int languageCode, const QString &article);

// The first character of text that has no place in cp, if any.
std::optional<char32_t> unencodable(const QString &text, CodePage cp);
// A field's text in its code page, or the character that has no place.
struct Encoded {
    QByteArray bytes;
    std::optional<char32_t> missing;
};
Encoded encodeField(const QString &text, CodePage cp);
// The text with each character cp has no place for written as its letter
// without the mark ("español" → "espanol" in windows-1250), or "_".
QString encodableLookalike(const QString &text, CodePage cp);
// "„ñ“ (U+00F1)" as messages name a character.
QString characterName(char32_t c);
// The refusal of a typed text that cp cannot hold, naming the character and
// the field; empty when it fits.
QString unencodableMessage(const QString &text, CodePage cp, const QString &field);

} // namespace lexitka
