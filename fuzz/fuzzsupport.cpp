#include "fuzzsupport.h"

#include "data/fileread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <sanitizer/common_interface_defs.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace lexitka::fuzz {

QList<QByteArray> splitInput(QByteArrayView input, int count)
{
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (int i = 0; i + 1 < count; ++i) {
        const qsizetype nul = input.indexOf('\0', from);
        if (nul < 0)
            break;
        parts.append(input.sliced(from, nul - from).toByteArray());
        from = nul + 1;
    }
    parts.append(input.sliced(std::min(from, input.size())).toByteArray());
    while (parts.size() < count)
        parts.append(QByteArray());
    return parts;
}

namespace {

QTemporaryDir &scratchFolder()
{
    // Thousands of files a second: on a disk they would set the pace.
    static const QString memory = QStringLiteral("/dev/shm");
    static QTemporaryDir dir((QFileInfo(memory).isWritable() ? memory : QDir::tempPath())
                             + QStringLiteral("/lexitka-fuzz-XXXXXX"));
    return dir;
}

// A crash skips the destructors; the folder goes all the same.
void removeScratch() { scratchFolder().remove(); }

} // namespace

void fail(const char *file, int line, const QString &what)
{
    std::fprintf(stderr, "\n%s:%d: %s\n", file, line, qUtf8Printable(what));
    std::fflush(stderr);
    removeScratch();
    std::abort();
}

QString scratchPath(const QString &name)
{
    static const bool once = [] {
        __sanitizer_set_death_callback(removeScratch);
        return true;
    }();
    QTemporaryDir &dir = scratchFolder();
    if (!once || !dir.isValid())
        fail(__FILE__, __LINE__, QStringLiteral("no temporary folder: ") + dir.errorString());
    return dir.filePath(name);
}

void writeScratch(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        fail(__FILE__, __LINE__, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

QByteArray readScratch(const QString &path)
{
    bool ok = false;
    QByteArray bytes = readWholeFile(path, &ok);
    if (!ok)
        fail(__FILE__, __LINE__, QStringLiteral("cannot read %1").arg(path));
    return bytes;
}

bool scratchExists(const QString &path) { return QFileInfo::exists(path); }

QString shown(QByteArrayView bytes)
{
    constexpr qsizetype kMax = 300;
    QString text =
        QString::fromLatin1(bytes.first(std::min(bytes.size(), kMax)).toByteArray().toPercentEncoding(" =[];,/\\()"));
    if (bytes.size() > kMax)
        text += QStringLiteral("…(%1 bytes)").arg(bytes.size());
    return u'"' + text + u'"';
}

QString shown(const QList<QByteArray> &lines)
{
    QStringList out;
    for (const QByteArray &l : lines)
        out.append(shown(l));
    return u'[' + out.join(u", ") + u']';
}

quint32 hashOf(QByteArrayView bytes)
{
    quint32 h = 2166136261u; // FNV-1a
    for (char c : bytes) {
        h ^= quint8(c);
        h *= 16777619u;
    }
    return h;
}

} // namespace lexitka::fuzz
