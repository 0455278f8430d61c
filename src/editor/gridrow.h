#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace lexitka {

// The four cells of a word row in the lesson browser, as stored: the word in
// its language's code page, the other three in windows-1250.
struct GridRow {
    QByteArray article;     // "Člen": the article's text, empty when the word has none
    QByteArray word;        // "Slovo"
    QByteArray forms;       // "Množné číslo (minulý čas)": German plural or verb forms
    QByteArray translation; // "Překlad"
    bool operator==(const GridRow &) const = default;
};

// The row of an entry line or a mistakes line (its kind goes with the key).
GridRow gridRow(QByteArrayView line, int languageCode);

} // namespace lexitka
