#include "codepage.h"

#include "codepage_tables.h"

#include <algorithm>
#include <array>

namespace lexitka {
namespace {

const char16_t *table(CodePage cp)
{
    switch (cp) {
    case CodePage::Cp1251: return detail::kCp1251;
    case CodePage::Cp1252: return detail::kCp1252;
    case CodePage::Cp1250: break;
    }
    return detail::kCp1250;
}

// Reverse tables are small (only 0x80..0xFF differ from identity); a sorted
// lookup keeps encoding independent of Qt's optional codecs.
struct Reverse {
    std::array<std::pair<char16_t, unsigned char>, 128> upper{};
};

Reverse buildReverse(const char16_t *t)
{
    Reverse r;
    for (int b = 0; b < 128; ++b)
        r.upper[b] = {t[b + 128], static_cast<unsigned char>(b + 128)};
    std::sort(r.upper.begin(), r.upper.end());
    return r;
}

const Reverse &reverse(CodePage cp)
{
    static const Reverse r1250 = buildReverse(detail::kCp1250);
    static const Reverse r1251 = buildReverse(detail::kCp1251);
    static const Reverse r1252 = buildReverse(detail::kCp1252);
    switch (cp) {
    case CodePage::Cp1251: return r1251;
    case CodePage::Cp1252: return r1252;
    case CodePage::Cp1250: break;
    }
    return r1250;
}

} // namespace

CodePage codePageForCharset(int charset)
{
    switch (charset) {
    case CharsetWestern: return CodePage::Cp1252;
    case CharsetCyrillic: return CodePage::Cp1251;
    default: return CodePage::Cp1250;
    }
}

Charset charsetOf(CodePage cp)
{
    switch (cp) {
    case CodePage::Cp1252: return CharsetWestern;
    case CodePage::Cp1251: return CharsetCyrillic;
    case CodePage::Cp1250: break;
    }
    return CharsetCentralEuropean;
}

QString decode(const QByteArray &bytes, CodePage cp)
{
    const char16_t *t = table(cp);
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(t[static_cast<unsigned char>(bytes[i])]);
    return out;
}

std::optional<char> encodeChar(char32_t c, CodePage cp)
{
    if (c < 0x80)
        return static_cast<char>(c);
    if (c > 0xFFFF)
        return std::nullopt;
    const auto &rev = reverse(cp).upper;
    const auto it = std::lower_bound(rev.begin(), rev.end(), std::pair<char16_t, unsigned char>{char16_t(c), 0});
    if (it == rev.end() || it->first != c)
        return std::nullopt;
    return static_cast<char>(it->second);
}

QByteArray encode(const QString &text, CodePage cp)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text)
        out.append(encodeChar(ch.unicode(), cp).value_or('?'));
    return out;
}

} // namespace lexitka
