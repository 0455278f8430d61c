#include "judging.h"

#include "exam/utest.h"

namespace lexitka {
namespace {

bool elides(QByteArrayView word)
{
    if (word.isEmpty())
        return false;
    unsigned char c = static_cast<unsigned char>(word.front());
    if (c >= 'A' && c <= 'Z')
        c = static_cast<unsigned char>(c - 'A' + 'a');
    switch (c) {
    case 'a': case 'e': case 'h': case 'i': case 'o': case 'u': case 'y':
    // à â è é ê î ô û ü in windows-1252; the capitals are not folded
    case 224: case 226: case 232: case 233: case 234: case 238: case 244: case 251: case 252:
        return true;
    default:
        return false;
    }
}

QByteArray withArticle(const QByteArray &article, const QByteArray &text, bool hasArticle)
{
    return hasArticle ? article + ' ' + text : text;
}

} // namespace

int articleCode(int languageCode, QByteArrayView clen)
{
    const int n = articleIndex(clen);
    return n >= 0 && n < articles(languageCode).size() ? n : kNoArticle;
}

QByteArray GetClen(int languageCode, int index)
{
    return encode(articleText(languageCode, index), languageInfo(languageCode).foreignCodePage);
}

QByteArray GetClen(int languageCode, QByteArrayView clen) { return GetClen(languageCode, articleCode(languageCode, clen)); }

QByteArray GetClen2(int languageCode, int index, QByteArrayView word)
{
    if (index < 0 || index >= articles(languageCode).size() || index == kNoArticle)
        return {};
    if (languageCode == LangFrench && (index == 0 || index == 1) && elides(word))
        return "l'";
    return GetClen(languageCode, index) + ' ';
}

Judgement judgeArticleAnswer(int languageCode, const WordRecord &word, const QByteArray &typed, int chosenIndex)
{
    const int expectedIndex = articleCode(languageCode, word.Clen);
    Judgement j;
    j.right = UTest::CompareWord(typed, word.Slovo) && chosenIndex == expectedIndex;
    if (!j.right) {
        j.expected = withArticle(GetClen(languageCode, expectedIndex), word.Slovo, expectedIndex != kNoArticle);
        j.typed = withArticle(GetClen(languageCode, chosenIndex), typed, chosenIndex != kNoArticle);
    }
    return j;
}

Judgement judgeVerbForms(const WordRecord &word, const QByteArray &typedWord, const VerbFormsTyped &forms)
{
    QByteArray expectedForms = word.Mn;
    QByteArray typedForms;
    if (forms.presentAsked) {
        typedForms = forms.present + ',' + forms.preterite + ',' + forms.perfect;
    } else {
        typedForms = forms.preterite + ',' + forms.perfect;
        const qsizetype comma = expectedForms.indexOf(',');
        if (comma >= 0)
            expectedForms.remove(0, comma + 1);
    }
    Judgement j;
    j.right = typedForms == expectedForms && typedWord == UTest::RemoveBrackets(word.Slovo);
    if (!j.right) {
        j.expected = word.Slovo + " (" + expectedForms + ')';
        j.typed = typedWord + " (" + typedForms + ')';
    }
    return j;
}

} // namespace lexitka
