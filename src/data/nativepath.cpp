#include "nativepath.h"

#include "data/codepage.h"

#include <QDir>

#include <cstdlib>
#include <unistd.h>

namespace lexitka {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscape(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

bool isContinuation(uchar b) { return (b & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at p, or 0.
int sequenceAt(const uchar *p, qsizetype left)
{
    const uchar b = p[0];
    if (b < 0x80)
        return 1;
    int len = 0;
    uchar low = 0x80, high = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0)
            low = 0xA0; // overlong
        else if (b == 0xED)
            high = 0x9F; // a surrogate
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0)
            low = 0x90; // overlong
        else if (b == 0xF4)
            high = 0x8F; // beyond U+10FFFF
    } else {
        return 0;
    }
    if (left < len || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < len; ++i) {
        if (!isContinuation(p[i]))
            return 0;
    }
    return len;
}

} // namespace

QString pathFromNative(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const int len = sequenceAt(p + i, n - i);
        if (len == 0) {
            out.append(QChar(char16_t(kEscapeBase + p[i])));
            ++i;
            continue;
        }
        // Decoded here: QString::fromUtf8 would drop a byte-order mark.
        char32_t c = len == 1 ? p[i] : p[i] & (0x7F >> len);
        for (int k = 1; k < len; ++k)
            c = (c << 6) | (p[i + k] & 0x3F);
        if (QChar::requiresSurrogates(c)) {
            out.append(QChar(QChar::highSurrogate(c)));
            out.append(QChar(QChar::lowSurrogate(c)));
        } else {
            out.append(QChar(char16_t(c)));
        }
        i += len;
    }
    return out;
}

QByteArray nativePath(const QString &path)
{
    QByteArray out;
    out.reserve(path.size());
    const qsizetype n = path.size();
    qsizetype runStart = 0; // text that UTF-8 encodes as usual
    auto flush = [&](qsizetype end) { out.append(QStringView(path).sliced(runStart, end - runStart).toUtf8()); };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = path.at(i);
        if (c.isHighSurrogate() && i + 1 < n && path.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!c.isSurrogate())
            continue;
        flush(i);
        // A lone surrogate that no name gave is no byte: Qt's replacement.
        out.append(isEscape(c.unicode()) ? QByteArray(1, char(c.unicode() - kEscapeBase)) : QByteArray("\xEF\xBF\xBD"));
        runStart = i + 1;
    }
    flush(n);
    return out;
}

QString readablePath(const QString &path)
{
    QString out = path;
    for (QChar &c : out) {
        if (isEscape(c.unicode()))
            c = decode(QByteArray(1, char(c.unicode() - kEscapeBase)), CodePage::Cp1250).at(0);
    }
    return out;
}

QString currentFolder()
{
    char *cwd = ::getcwd(nullptr, 0);
    if (!cwd)
        return QDir::currentPath();
    const QString folder = pathFromNative(cwd);
    std::free(cwd);
    return folder;
}

QString absolutePath(const QString &path)
{
    if (path.isEmpty())
        return path;
    return QDir::cleanPath(path.startsWith(u'/') ? path : currentFolder() + u'/' + path);
}

} // namespace lexitka
