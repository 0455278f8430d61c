#pragma once

#include "data/dictionary.h"

#include <QByteArray>
#include <QByteArrayView>

namespace lexitka {

// What a question asks. The numbers are stored before each line of the
// mistakes file, so they never change.
enum TestKind : int {
    KindToCzech = 0,   // the foreign word shown, its translation asked
    KindToForeign = 1, // the translation shown, the foreign word asked
    KindPlural = 2,    // German: the plural of the word shown
    KindVerbForms = 3, // German: the verb and its principal forms
};
constexpr int kTestKindCount = 4;

// The answer is right when it matches the expected text, or any one of its
// alternatives (separated by commas), once remarks in brackets are removed
// from both by either of two rules (see judging.cpp).
bool CompareWord(QByteArrayView typed, QByteArrayView expected);
// Every "(" through the next ")" removed, with the blanks next to it.
QByteArray RemoveBrackets(QByteArrayView text);

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
    int kind = KindToCzech; // the kind a mistake is recorded under
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

// Everything a test window reads from its controls for one question.
struct TypedAnswer {
    QByteArray text;        // the answer box, in its code page
    int article = -1;       // the index chosen in the article box; -1 where there is none
    bool verbForms = false; // German, Czech to German: "Nepravidelné sloveso" ticked
    VerbFormsTyped forms;   // German: the boxes of the verb forms
};

// Judges the answer to a question of the given kind about the word, by the
// rules of the language's test window.
Judgement judgeAnswer(int languageCode, int kind, const WordRecord &word, const TypedAnswer &answer);

} // namespace lexitka
