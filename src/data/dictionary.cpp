#include "dictionary.h"

#include "data/profile.h"

#include <QFileInfo>

namespace lexitka {
namespace {

const QList<LanguageInfo> &languages()
{
    // One language a row, as the table reads.
    // clang-format off
    static const QList<LanguageInfo> list = {
        {LangEnglish, "en", QStringLiteral("Anglické"), QStringLiteral("Lexitka - Anglické ["),
         {QStringLiteral("Anglicko - česky"), QStringLiteral("Česko - anglicky")}, CodePage::Cp1250},
        {LangGerman, "de", QStringLiteral("Německé"), QStringLiteral("Lexitka - Německé ["),
         {QStringLiteral("Nemecko - česky"), QStringLiteral("Česko - německy"), QStringLiteral("Množná čísla"),
          QStringLiteral("Slovesa")},
         CodePage::Cp1250},
        {LangFrench, "fr", QStringLiteral("Francouzské"), QStringLiteral("Lexitka - Francouzské ["),
         {QStringLiteral("Franc. - česky"), QStringLiteral("Česko - franc.")}, CodePage::Cp1252},
        {LangRussian, "ru", QStringLiteral("Ruské"), QStringLiteral("Lexitka - Ruské ["),
         {QStringLiteral("Rusko - česky"), QStringLiteral("Česko - rusky")}, CodePage::Cp1251},
        {LangSpanish, "es", QStringLiteral("Španělské"), QStringLiteral("Lexitka - Španělské ["),
         {QStringLiteral("Španělsko - česky"), QStringLiteral("Česko - španělsky")}, CodePage::Cp1252},
        {LangLatin, "lt", QStringLiteral("Latinské"), QStringLiteral("Lexitka - Latinské ["),
         {QStringLiteral("Latinsko - česky"), QStringLiteral("Česko - latinsky")}, CodePage::Cp1250},
    };
    // clang-format on
    return list;
}

} // namespace

bool isLanguageCode(int code) { return code >= LangEnglish && code <= LangLatin; }

const LanguageInfo &languageInfo(int code) { return languages().at(isLanguageCode(code) ? code - LangEnglish : 0); }

const QList<int> &allLanguageCodes()
{
    static const QList<int> codes = {LangEnglish, LangGerman, LangFrench, LangRussian, LangSpanish, LangLatin};
    return codes;
}

std::optional<int> languageForExtension(const QString &extension)
{
    QString ext = extension.toLower();
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    for (const LanguageInfo &l : languages()) {
        if (ext == QLatin1String(l.extension))
            return l.code;
    }
    return std::nullopt;
}

QByteArray extensionSection(const QString &path, int languageCode)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty())
        return "en";
    const QByteArray section = suffix.toUtf8();
    // Written as it is, it would read back as another section, and a new
    // one would be appended at every exit.
    if (!canNameSection(section))
        return languageInfo(languageCode).extension;
    return section;
}

QByteArrayView GetField(QByteArrayView value, int n)
{
    for (int i = 1; i < n; ++i) {
        const qsizetype bs = value.indexOf('\\');
        if (bs < 0)
            break; // fewer fields: the last one repeats
        value = value.sliced(bs + 1);
    }
    const qsizetype bs = value.indexOf('\\');
    return bs < 0 ? value : value.first(bs);
}

WordFields wordFields(QByteArrayView line, int languageCode)
{
    const qsizetype eq = line.indexOf('=');
    const QByteArrayView value = eq < 0 ? line : line.sliced(eq + 1);
    switch (languageCode) {
    case LangGerman: return {GetField(value, 1), GetField(value, 2), GetField(value, 3), GetField(value, 4)};
    case LangFrench:
    case LangSpanish: return {GetField(value, 1), GetField(value, 2), {}, GetField(value, 3)};
    default: // English, Russian, Latin
        return {{}, GetField(value, 1), {}, GetField(value, 2)};
    }
}

WordRecord ParseWord(QByteArrayView line, int languageCode)
{
    const WordFields f = wordFields(line, languageCode);
    return {f.Clen.toByteArray(), f.Slovo.toByteArray(), f.Mn.toByteArray(), f.Preklad.toByteArray()};
}

QByteArray ComposeEntry(QByteArrayView key, const WordRecord &word, int languageCode)
{
    QByteArray out = key.toByteArray();
    out.append('=');
    switch (languageCode) {
    case LangGerman:
        out.append(word.Clen)
            .append('\\')
            .append(word.Slovo)
            .append('\\')
            .append(word.Mn)
            .append('\\')
            .append(word.Preklad);
        break;
    case LangFrench:
    case LangSpanish: out.append(word.Clen).append('\\').append(word.Slovo).append('\\').append(word.Preklad); break;
    default: out.append(word.Slovo).append('\\').append(word.Preklad); break;
    }
    return out;
}

const QStringList &articles(int languageCode)
{
    static const QStringList none;
    static const QStringList german = {QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das"),
                                       QStringLiteral("není")};
    static const QStringList french = {QStringLiteral("le"), QStringLiteral("la"), QStringLiteral("les"),
                                       QStringLiteral("není")};
    // "las" comes after "není" on purpose: the codes are stored in the
    // dictionaries, and it was added after them.
    static const QStringList spanish = {QStringLiteral("el"), QStringLiteral("la"), QStringLiteral("los"),
                                        QStringLiteral("není"), QStringLiteral("las")};
    switch (languageCode) {
    case LangGerman: return german;
    case LangFrench: return french;
    case LangSpanish: return spanish;
    default: return none;
    }
}

QString articleText(int languageCode, int index)
{
    const QStringList &list = articles(languageCode);
    if (index < 0 || index >= list.size())
        return QStringLiteral("není");
    return list.at(index);
}

int articleIndex(QByteArrayView clen)
{
    bool ok = false;
    const int n = QByteArrayView(clen).toInt(&ok, 10);
    return ok ? n : kNoArticle;
}

QString articleCell(int languageCode, QByteArrayView clen)
{
    if (articles(languageCode).isEmpty() || clen == "3")
        return {};
    return articleText(languageCode, articleIndex(clen));
}

} // namespace lexitka
