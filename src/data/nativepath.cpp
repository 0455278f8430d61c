#include "nativepath.h"

#include "data/codepage.h"
#include "data/utf8char.h"

#include <QDir>

#include <cstdlib>
#include <unistd.h>

namespace lexitka {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscape(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

} // namespace

QString pathFromNative(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // Decoded here: QString::fromUtf8 would drop a byte-order mark.
        char32_t c = 0;
        const int len = utf8CharAt(p + i, n - i, c);
        if (len <= 0) {
            out.append(QChar(char16_t(kEscapeBase + p[i])));
            ++i;
            continue;
        }
        appendCodePoint(out, c);
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
