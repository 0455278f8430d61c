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

QString decode(const QByteArray &bytes, CodePage cp)
{
    const char16_t *t = table(cp);
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(t[static_cast<unsigned char>(bytes[i])]);
    return out;
}

QByteArray encode(const QString &text, CodePage cp)
{
    const auto &rev = reverse(cp).upper;
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        auto it = std::lower_bound(rev.begin(), rev.end(), std::pair<char16_t, unsigned char>{u, 0});
        out.append(it != rev.end() && it->first == u ? static_cast<char>(it->second) : '?');
    }
    return out;
}

} // namespace lexitka
