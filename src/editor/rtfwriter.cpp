#include "rtfwriter.h"

#include "data/codepage.h"
#include "data/codepage_tables.h"
#include "data/dictionary.h"
#include "data/savefile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

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

// What each byte becomes in the document, worked out once per code page:
// at most kMaxEscape bytes, and most bytes stand for themselves.
constexpr qsizetype kMaxEscape = 16;
struct EscapeTable {
    std::array<std::array<char, kMaxEscape>, 256> text{};
    std::array<std::uint8_t, 256> size{};
    std::array<bool, 256> plain{};
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
            t.plain[b] = true;
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

void appendText(ChunkedWriter &out, QByteArrayView bytes, const EscapeTable &t)
{
    // Slices whose every byte may take kMaxEscape bytes fit the writer's buffer.
    constexpr qsizetype kSlice = 4096;
    for (qsizetype at = 0; at < bytes.size(); at += kSlice) {
        const QByteArrayView slice = bytes.sliced(at, std::min(kSlice, bytes.size() - at));
        char *const start = out.room(slice.size() * kMaxEscape);
        char *p = start;
        for (char c : slice) {
            const auto b = static_cast<unsigned char>(c);
            if (t.plain[b]) {
                *p++ = c;
            } else {
                std::memcpy(p, t.text[b].data(), kMaxEscape);
                p += t.size[b];
            }
        }
        out.advance(p - start);
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

// The document, row by row, into a writer.
class RtfWriter {
public:
    RtfWriter(ChunkedWriter &out, int languageCode)
        : m_out(out), m_czech(escapes(detail::kCp1250)), m_foreign(escapes(wordCodePage(languageCode))),
          m_boldWord(wordFont(languageCode))
    {
        m_out.append("{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1");
        m_out.append(kFontTable);
        m_out.append("\r\n\\pard\\plain\\f0\\fs20\r\n");
    }

    void row(QByteArrayView article, QByteArrayView word, QByteArrayView forms, QByteArrayView translation)
    {
        if (!article.isEmpty()) {
            m_out.append("{\\f0 ");
            appendText(m_out, article, m_czech);
            m_out.append("  }");
        }
        m_out.append(m_boldWord);
        appendText(m_out, word, m_foreign);
        m_out.append("  }");
        if (!forms.isEmpty()) {
            m_out.append("{\\f0 (");
            appendText(m_out, forms, m_czech);
            m_out.append(")  }");
        }
        if (!translation.isEmpty()) {
            m_out.append("{\\f0 ");
            appendText(m_out, translation, m_czech);
            m_out.append('}');
        }
        m_out.append("\\par\r\n");
    }

    bool finish()
    {
        m_out.append("}\r\n");
        return m_out.finish();
    }

private:
    ChunkedWriter &m_out;
    const EscapeTable &m_czech;
    const EscapeTable &m_foreign;
    const char *m_boldWord;
};

bool writeRows(ByteSink &sink, const QList<GridRow> &rows, int languageCode)
{
    ChunkedWriter out(sink);
    RtfWriter rtf(out, languageCode);
    for (const GridRow &r : rows)
        rtf.row(r.article, r.word, r.forms, r.translation);
    return rtf.finish();
}

// The article cells of the lines, each code's text worked out once.
class ArticleCells {
public:
    explicit ArticleCells(int languageCode) : m_language(languageCode) { }
    QByteArrayView operator()(QByteArrayView clen)
    {
        for (const auto &[code, text] : m_known) {
            if (code == clen)
                return text;
        }
        if (m_known.size() >= 32)
            m_known.clear(); // codes that are not codes: keep the list short
        m_known.emplace_back(clen.toByteArray(), toCp1250(articleCell(m_language, clen)));
        return m_known.back().second;
    }

private:
    int m_language;
    std::vector<std::pair<QByteArray, QByteArray>> m_known;
};

bool writeLines(ByteSink &sink, const LineStore &lines, int languageCode)
{
    ChunkedWriter out(sink);
    RtfWriter rtf(out, languageCode);
    ArticleCells articleOf(languageCode);
    for (QByteArrayView line : lines) {
        const WordFields w = wordFields(line, languageCode);
        rtf.row(articleOf(w.Clen), w.Slovo, w.Mn, w.Preklad);
    }
    return rtf.finish();
}

qsizetype estimate(qsizetype count, qsizetype bytes) { return 256 + 64 * count + 2 * bytes; }

} // namespace

QByteArray lessonRtf(const QList<GridRow> &rows, int languageCode)
{
    qsizetype bytes = 0;
    for (const GridRow &r : rows)
        bytes += r.article.size() + r.word.size() + r.forms.size() + r.translation.size();
    return gatherBytes([&](ByteSink &sink) { return writeRows(sink, rows, languageCode); },
                       estimate(rows.size(), bytes));
}

QByteArray lessonLinesRtf(const LineStore &lines, int languageCode)
{
    return gatherBytes([&](ByteSink &sink) { return writeLines(sink, lines, languageCode); });
}

bool exportLessonRtf(const QString &path, const QList<GridRow> &rows, int languageCode)
{
    return saveFileInPieces(path, [&](ByteSink &sink) { return writeRows(sink, rows, languageCode); });
}

bool exportLessonLinesRtf(const QString &path, const LineStore &lines, int languageCode)
{
    return saveFileInPieces(path, [&](ByteSink &sink) { return writeLines(sink, lines, languageCode); });
}

} // namespace lexitka
