#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

namespace lexitka {

// What a word list says of itself in "#key:value" lines before its rows, as
// Anki's "Notes in Plain Text" export writes them: "#separator:tab",
// "#html:true", "#columns:…", "#deck column:2", "#tags column:3",
// "#notetype column:1", "#guid column:1". The other keys such a file may
// have ("#deck:", "#tags:", "#if matches:") are passed over; a line with any
// other key is the first row.
struct TextHeaders {
    qsizetype bodyStart = 0; // bytes before the first row, a byte-order mark included
    bool bom = false;        // the file starts with one
    std::optional<QChar> separator;
    bool html = false;
    // Titles the lines give columns, by their place; empty where none. A
    // deck column is titled "Lekce", so that its decks become lessons.
    QStringList titles;
};
TextHeaders readTextHeaders(QByteArrayView bytes);

// Titles of the columns that hold no word: an Anki export's tags, note type
// and note id.
bool isBookkeepingColumn(const QString &title);

// A cell written as HTML as plain text in UTF-8: tags dropped (a line break
// or a paragraph becomes a blank), character references decoded, blanks
// (a non-breaking space too) run together.
QByteArray plainFromHtml(QByteArrayView utf8);

// An Anki deck path ("Němčina::Lekce 1") as a lesson's name ("Němčina /
// Lekce 1"), the way nested KVTML lessons are named.
QByteArray deckAsLesson(QByteArrayView deck);

} // namespace lexitka
