#include "rtfwriter.h"

#include "data/codepage_tables.h"
#include "data/dictionary.h"
#include "data/savefile.h"

#include <array>
#include <cstdio>
#include <cstdint>

namespace lexitka {
namespace {

// Font numbers of the font table: Tahoma in each character set.
constexpr const char *kFontTable = "{\\fonttbl"
                                   "{\\f0\\fnil\\fcharset238 Tahoma;}"
                                   "{\\f1\\fnil\\fcharset204 Tahoma;}"
                                   "{\\f2\\fnil\\fcharset0 Tahoma;}}";

const char *wordFont(int languageCode)
{
    switch (languageCode) {
    case LangRussian: return "{\\f1\\b ";
    case LangFrench:
    case LangSpanish: return "{\\f2\\b ";
    default: return "{\\f0\\b ";
    }
}

// What each byte becomes in the document, worked out once per code page.
struct EscapeTable {
    std::array<std::array<char, 16>, 256> text{};
    std::array<std::uint8_t, 256> size{};
};

EscapeTable buildEscapes(const char16_t *codePage)
{
    static constexpr char kHex[] = "0123456789abcdef";
    EscapeTable t;
    for (int b = 0; b < 256; ++b) {
        char *out = t.text[b].data();
        int n = 0;
        if (b == '\\' || b == '{' || b == '}') {
            out[n++] = '\\';
            out[n++] = char(b);
        } else if (b >= 0x20 && b < 0x80) {
            out[n++] = char(b);
        } else {
            if (b >= 0x80) {
                // \u takes a signed 16-bit number; the \'hh after it is the
                // one character that \uc1 tells a Unicode reader to skip.
                const int u = std::int16_t(codePage[b]);
                n += std::snprintf(out + n, 10, "\\u%d", u);
            }
            out[n++] = '\\';
            out[n++] = '\'';
            out[n++] = kHex[b >> 4];
            out[n++] = kHex[b & 15];
        }
        t.size[b] = std::uint8_t(n);
    }
    return t;
}

const EscapeTable &escapes(const char16_t *codePage)
{
    static const EscapeTable t1250 = buildEscapes(detail::kCp1250);
    static const EscapeTable t1251 = buildEscapes(detail::kCp1251);
    static const EscapeTable t1252 = buildEscapes(detail::kCp1252);
    if (codePage == detail::kCp1251)
        return t1251;
    if (codePage == detail::kCp1252)
        return t1252;
    return t1250;
}

void appendText(QByteArray &out, QByteArrayView bytes, const EscapeTable &t)
{
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(t.text[b].data(), t.size[b]);
    }
}

const char16_t *wordCodePage(int languageCode)
{
    switch (languageInfo(languageCode).foreignCodePage) {
    case CodePage::Cp1251: return detail::kCp1251;
    case CodePage::Cp1252: return detail::kCp1252;
    case CodePage::Cp1250: break;
    }
    return detail::kCp1250;
}

} // namespace

QByteArray lessonRtf(const QList<GridRow> &rows, int languageCode)
{
    const EscapeTable &czech = escapes(detail::kCp1250);
    const EscapeTable &foreign = escapes(wordCodePage(languageCode));
    const char *boldWord = wordFont(languageCode);

    qsizetype estimate = 256;
    for (const GridRow &r : rows)
        estimate += 64 + 2 * (r.article.size() + r.word.size() + r.forms.size() + r.translation.size());
    QByteArray out;
    out.reserve(estimate);

    out.append("{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1").append(kFontTable).append("\r\n");
    out.append("\\pard\\plain\\f0\\fs20\r\n");
    for (const GridRow &r : rows) {
        if (!r.article.isEmpty()) {
            out.append("{\\f0 ");
            appendText(out, r.article, czech);
            out.append("  }");
        }
        out.append(boldWord);
        appendText(out, r.word, foreign);
        out.append("  }");
        if (!r.forms.isEmpty()) {
            out.append("{\\f0 (");
            appendText(out, r.forms, czech);
            out.append(")  }");
        }
        if (!r.translation.isEmpty()) {
            out.append("{\\f0 ");
            appendText(out, r.translation, czech);
            out.append('}');
        }
        out.append("\\par\r\n");
    }
    out.append("}\r\n");
    return out;
}

bool exportLessonRtf(const QString &path, const QList<GridRow> &rows, int languageCode)
{
    return saveWholeFile(path, lessonRtf(rows, languageCode));
}

} // namespace lexitka
