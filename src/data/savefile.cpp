#include "savefile.h"

#include "inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace lexitka {
namespace {

// The data must be on the disk, not only in the kernel's cache: a full disk
// can surface only here.
bool syncToDisk(int fd) { return fd < 0 || ::fsync(fd) == 0; }

// A writable file in a folder where no temporary file can be made: the file
// is overwritten in place. Should that fail part way, the old bytes are put
// back, which fits where they stood before.
bool overwriteInPlace(const QString &path, const QByteArray &bytes)
{
    bool readOk = false;
    const QByteArray old = readWholeFile(path, &readOk);
    if (!readOk)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    auto writeAll = [&file](const QByteArray &b) {
        return file.seek(0) && file.write(b) == b.size() && file.resize(b.size()) && syncToDisk(file.handle());
    };
    if (writeAll(bytes))
        return true;
    writeAll(old);
    return false;
}

} // namespace

bool saveWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const QFileInfo info(path);
        if (info.isFile() && info.isWritable())
            return overwriteInPlace(path, bytes);
        return false;
    }
    // QSaveFile::commit() renames even when the final flush of its buffer
    // failed, so every step is checked before it may replace the old file.
    if (file.write(bytes) != bytes.size() || !file.flush() || !syncToDisk(file.handle())
        || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QByteArray joinCrLf(const QList<QByteArray> &lines)
{
    qsizetype total = 0;
    for (const QByteArray &l : lines)
        total += l.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const QByteArray &l : lines)
        out.append(l).append("\r\n");
    return out;
}

AppendResult appendLinesToFile(const QString &path, const QList<QByteArray> &lines)
{
    QByteArray bytes;
    if (QFileInfo::exists(path)) {
        if (lines.isEmpty())
            return AppendResult::Done;
        bool ok = false;
        bytes = readWholeFile(path, &ok);
        if (!ok)
            return AppendResult::Unreadable;
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes.append("\r\n");
    }
    bytes.append(joinCrLf(lines));
    return saveWholeFile(path, bytes) ? AppendResult::Done : AppendResult::Unwritable;
}

QList<QByteArray> splitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    forEachLine(text.constData(), text.size(), [&](qsizetype begin, qsizetype end, qsizetype) {
        lines.append(text.sliced(begin, end - begin));
    });
    return lines;
}

} // namespace lexitka
