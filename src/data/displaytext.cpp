#include "displaytext.h"

#include "data/nativepath.h"

#include <QDir>
#include <QFileInfo>

namespace lexitka {

namespace {
constexpr char16_t kEllipsis = u'\u2026';
}

QString displayText(QByteArrayView bytes, CodePage cp, qsizetype maxChars)
{
    // One byte is one character in the 8-bit code pages.
    if (bytes.size() <= maxChars)
        return decode(bytes.toByteArray(), cp);
    return decode(bytes.first(maxChars).toByteArray(), cp) + QChar(kEllipsis);
}

QString displayText(const QString &text, qsizetype maxChars)
{
    if (text.size() <= maxChars)
        return text;
    qsizetype cut = maxChars;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut; // never split a character in two
    return text.left(cut) + QChar(kEllipsis);
}

QString shownPath(const QString &path) { return displayText(readablePath(QDir::toNativeSeparators(path))); }

QString shownFileName(const QString &path) { return displayText(readablePath(QFileInfo(path).fileName())); }

} // namespace lexitka
