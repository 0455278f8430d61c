#include "judging.h"

#include "data/inifile.h"

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
    case 'a':
    case 'e':
    case 'h':
    case 'i':
    case 'o':
    case 'u':
    case 'y':
    // à â è é ê î ô û ü in windows-1252; the capitals are not folded
    case 224:
    case 226:
    case 232:
    case 233:
    case 234:
    case 238:
    case 244:
    case 251:
    case 252: return true;
    default: return false;
    }
}

QByteArray withArticle(const QByteArray &article, const QByteArray &text, bool hasArticle)
{
    return hasArticle ? article + ' ' + text : text;
}

} // namespace

// The first bracket rule: every remark in brackets goes with the blanks
// around it, so "mít (někoho) rád" becomes "mítrád". Odd, but an answer
// typed that way has always been taken; removeRemarks below is the second
// rule, which keeps one blank between the words.
QByteArray RemoveBrackets(QByteArrayView text)
{
    // Blanks right before "(" and right after ")" go first.
    QByteArray s;
    s.reserve(text.size());
    for (char c : text) {
        if (c == '(') {
            while (!s.isEmpty() && s.back() == ' ')
                s.chop(1);
        }
        s.append(c);
    }
    QByteArray t;
    t.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == ' ' && !t.isEmpty() && t.back() == ')')
            continue;
        t.append(s[i]);
    }
    // Then each "(" through the next ")"; an unmatched "(" stays with its tail.
    qsizetype from = 0;
    for (;;) {
        const qsizetype open = t.indexOf('(', from);
        if (open < 0)
            break;
        const qsizetype close = t.indexOf(')', open + 1);
        if (close < 0)
            break;
        t.remove(open, close - open + 1);
        from = open;
    }
    return t;
}

namespace {

// Each "(" through the next ")" removed so that the words around it keep one
// blank between them, as a reader would say it: "mít (někoho) rád" is "mít
// rád". At the start or the end of the text the blanks next to it go too.
// A text without remarks stays exactly as it was, blanks included.
QByteArray removeRemarks(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    qsizetype pos = 0;
    bool removed = false;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf('(', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(')', open + 1);
        if (close < 0) {
            out.append(text.sliced(pos));
            break;
        }
        out.append(text.sliced(pos, open - pos));
        while (!out.isEmpty() && out.back() == ' ')
            out.chop(1);
        pos = close + 1;
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (!out.isEmpty() && pos < text.size() && text[pos] != '(')
            out.append(' ');
        removed = true;
    }
    return removed ? out : text.toByteArray();
}

bool matchesExpected(const QByteArray &typed, const QByteArray &expected)
{
    if (typed == expected)
        return true;
    // Any one alternative; blanks around it do not count, and an empty one
    // (a stray comma) accepts nothing.
    qsizetype start = 0;
    for (;;) {
        const qsizetype comma = expected.indexOf(',', start);
        const QByteArrayView piece =
            QByteArrayView(expected).sliced(start, (comma < 0 ? expected.size() : comma) - start);
        const QByteArrayView bare = trimmedBlanks(piece);
        if (!bare.isEmpty() && (bare == QByteArrayView(typed) || piece == QByteArrayView(typed)))
            return true;
        if (comma < 0)
            return false;
        start = comma + 1;
    }
}

} // namespace

// Either bracket rule may make the answer right: the old one that drops the
// blanks with a remark, and the one that reads it as a person would.
bool CompareWord(QByteArrayView typed, QByteArrayView expected)
{
    return matchesExpected(RemoveBrackets(typed), RemoveBrackets(expected))
           || matchesExpected(removeRemarks(typed), removeRemarks(expected));
}

int articleCode(int languageCode, QByteArrayView clen)
{
    const int n = articleIndex(clen);
    return n >= 0 && n < articles(languageCode).size() ? n : kNoArticle;
}

QByteArray GetClen(int languageCode, int index)
{
    return encode(articleText(languageCode, index), languageInfo(languageCode).foreignCodePage);
}

QByteArray GetClen(int languageCode, QByteArrayView clen)
{
    return GetClen(languageCode, articleCode(languageCode, clen));
}

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
    j.kind = KindToForeign;
    j.right = CompareWord(typed, word.Slovo) && chosenIndex == expectedIndex;
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
    j.kind = KindVerbForms;
    j.right = typedForms == expectedForms && typedWord == RemoveBrackets(word.Slovo);
    if (!j.right) {
        j.expected = word.Slovo + " (" + expectedForms + ')';
        j.typed = typedWord + " (" + typedForms + ')';
    }
    return j;
}

namespace {

Judgement plainAnswer(const QByteArray &typed, const QByteArray &expected, int kind)
{
    Judgement j;
    j.kind = kind;
    j.right = CompareWord(typed, expected);
    if (!j.right) {
        j.expected = expected;
        j.typed = typed;
    }
    return j;
}

} // namespace

Judgement judgeAnswer(int languageCode, int kind, const WordRecord &word, const TypedAnswer &answer)
{
    const bool withArticle = !articles(languageCode).isEmpty();
    switch (kind) {
    case KindToForeign: {
        if (!withArticle)
            return plainAnswer(answer.text, word.Slovo, kind);
        const Judgement j = judgeArticleAnswer(languageCode, word, answer.text, answer.article);
        // A verb named with its forms is counted, and recorded, as a verb question.
        if (j.right && languageCode == LangGerman && answer.verbForms)
            return judgeVerbForms(word, answer.text, answer.forms);
        return j;
    }
    case KindPlural: return plainAnswer(answer.text, word.Mn, kind);
    case KindVerbForms: return judgeVerbForms(word, answer.text, answer.forms);
    default: return plainAnswer(answer.text, word.Preklad, KindToCzech);
    }
}

} // namespace lexitka
