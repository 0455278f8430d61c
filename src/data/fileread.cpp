#include "fileread.h"

#include "nativefile.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace lexitka {

QByteArray readWholeFile(const QString &path, bool *ok)
{
    if (ok)
        *ok = false;
    if (!isFile(path))
        return {};
    QFile file;
    if (!openToRead(file, path))
        return {};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    if (ok)
        *ok = true;
    return bytes;
}

bool forEachFileChunk(const QString &path, const std::function<void(const char *, qsizetype)> &f, qsizetype readSize)
{
    if (!isFile(path))
        return false; // a folder or a device would never end
    QFile file;
    if (!openToRead(file, path, QIODevice::Unbuffered))
        return false;
    // A small file gets a buffer of its size, not a whole piece.
    const qsizetype piece = std::max<qsizetype>(1, std::min<qint64>(readSize, file.size() + 1));
    QByteArray buffer;
    qsizetype carry = 0; // the unfinished last line of the previous piece
    for (;;) {
        buffer.resize(carry + piece);
        const qint64 got = file.read(buffer.data() + carry, piece);
        if (got < 0)
            return false;
        if (got == 0) {
            if (carry > 0)
                f(buffer.constData(), carry);
            return true;
        }
        const qsizetype size = carry + qsizetype(got);
        const char *data = buffer.constData();
        // Cut after the last line end, but not after a final CR: its LF may
        // come with the next piece. Only new bytes are searched, so a very
        // long line costs linear time.
        qsizetype cut = 0;
        if (data[size - 1] == '\n') {
            cut = size;
        } else {
            for (qsizetype i = size - 2; i >= std::max<qsizetype>(0, carry - 1); --i) {
                if (data[i] == '\n' || data[i] == '\r') {
                    cut = i + 1;
                    break;
                }
            }
        }
        if (cut > 0) {
            f(data, cut);
            std::memmove(buffer.data(), buffer.constData() + cut, size_t(size - cut));
        }
        carry = size - cut;
    }
}

} // namespace lexitka
