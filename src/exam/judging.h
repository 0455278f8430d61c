#pragma once

#include "data/dictionary.h"

#include <QByteArray>
#include <QByteArrayView>

namespace lexitka {

// The article a word's Clen stands for, as an index of the language's article
// box. Anything the box cannot show (not a number, or a number past the
// list) counts as "no article", so such a word can still be answered right.
int articleCode(int languageCode, QByteArrayView clen);

// Plain article for the mistake dialog ("der", "le", "není"), no elision.
QByteArray GetClen(int languageCode, QByteArrayView clen);
QByteArray GetClen(int languageCode, int index);

// Article put before the word of a question, blank included ("le ", "los ");
// French elides le/la before a vowel or h ("l'"). Empty for no article.
QByteArray GetClen2(int languageCode, int index, QByteArrayView word);

struct Judgement {
    bool right = false;
    QByteArray expected; // as the mistake dialog shows them
    QByteArray typed;
};

// Czech to foreign with an article: word and article must both match.
Judgement judgeArticleAnswer(int languageCode, const WordRecord &word, const QByteArray &typed, int chosenIndex);

// The German verb forms typed into the three boxes.
struct VerbFormsTyped {
    bool presentAsked = false;
    QByteArray present;
    QByteArray preterite;
    QByteArray perfect;
};

// The word and its principal forms, compared exactly (no alternatives).
Judgement judgeVerbForms(const WordRecord &word, const QByteArray &typedWord, const VerbFormsTyped &forms);

} // namespace lexitka
