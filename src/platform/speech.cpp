#include "speech.h"

#include "data/codepage.h"
#include "exam/judging.h"

namespace lexitka {
namespace {

// Remarks such as "(se)" or "(ging, i gegangen)" are notes for the reader,
// not words to pronounce.
QString withoutRemarks(const QString &text)
{
    QString out;
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'(')
            ++depth;
        else if (c == u')' && depth > 0)
            --depth;
        else if (depth == 0)
            out.append(c);
    }
    return out.simplified();
}

// "pro angličtinu": the language as the tooltip names it.
QString languageForTooltip(int languageCode)
{
    switch (languageCode) {
    case LangGerman: return QStringLiteral("němčinu");
    case LangFrench: return QStringLiteral("francouzštinu");
    case LangRussian: return QStringLiteral("ruštinu");
    case LangSpanish: return QStringLiteral("španělštinu");
    case LangLatin: return QStringLiteral("latinu");
    default: return QStringLiteral("angličtinu");
    }
}

} // namespace

QString speechLanguage(int languageCode)
{
    switch (languageCode) {
    case LangEnglish: return QStringLiteral("en");
    case LangGerman: return QStringLiteral("de");
    case LangFrench: return QStringLiteral("fr");
    case LangRussian: return QStringLiteral("ru");
    case LangSpanish: return QStringLiteral("es");
    case LangLatin: return QStringLiteral("la");
    default: return {};
    }
}

QString spokenWord(const WordRecord &word, int languageCode)
{
    const QString text = withoutRemarks(decode(word.Slovo, languageInfo(languageCode).foreignCodePage));
    QString article = articleCell(languageCode, word.Clen);
    // "není" says the code has no article; it is Czech, never read.
    if (article.isEmpty() || article == QStringLiteral("není") || text.isEmpty())
        return text;
    return article.endsWith(u'\'') ? article + text : article + u' ' + text;
}

QString spokenInTest(int askedKind, const WordRecord &current, const std::optional<WordRecord> &answeredLast,
                     int languageCode)
{
    if (askedKind == KindToCzech || askedKind == KindPlural)
        return spokenWord(current, languageCode);
    return answeredLast ? spokenWord(*answeredLast, languageCode) : QString();
}

QString spokenAnswer(const QByteArray &expected, int kind, int languageCode)
{
    if (kind == KindToCzech)
        return {};
    const CodePage cp = kind == KindToForeign ? languageInfo(languageCode).foreignCodePage : CodePage::Cp1250;
    return withoutRemarks(decode(expected, cp));
}

SpeechControl speechControl(const Speaker &speaker, int languageCode, const QString &text, const QString &nothingToRead)
{
    const QString language = speechLanguage(languageCode);
    switch (language.isEmpty() ? VoiceState::NoVoice : speaker.voiceFor(language)) {
    case VoiceState::NoEngine:
        return {false, QStringLiteral("Předčítání není k dispozici: chybí řečový modul. Nainstalujte balíčky "
                                      "qt6-speech-speechd-plugin, speech-dispatcher-espeak-ng a espeak-ng "
                                      "(pro angličtinu stačí qt6-speech-flite-plugin).")};
    case VoiceState::NoVoice:
        return {false, QStringLiteral("Pro %1 není nainstalovaný žádný hlas. Nainstalujte balíčky "
                                      "speech-dispatcher-espeak-ng a espeak-ng.")
                           .arg(languageForTooltip(languageCode))};
    case VoiceState::Starting: return {false, QStringLiteral("Hlasy se teprve připravují…")};
    case VoiceState::Ready: break;
    }
    if (text.isEmpty())
        return {false, nothingToRead};
    return {true, QStringLiteral("Přečíst cizí slovo nahlas (F5)")};
}

bool speak(Speaker &speaker, int languageCode, const QString &text)
{
    if (!speechControl(speaker, languageCode, text, {}).enabled)
        return false;
    speaker.say(text, speechLanguage(languageCode));
    return true;
}

} // namespace lexitka
