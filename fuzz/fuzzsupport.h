#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace lexitka::fuzz {

// Ends the run as a crash, so that libFuzzer keeps the input and reports it.
[[noreturn]] void fail(const char *file, int line, const QString &what);

#define FUZZ_CHECK(cond, what)                                                                                         \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            ::lexitka::fuzz::fail(__FILE__, __LINE__, QLatin1String(#cond) + QLatin1String(": ") + (what));            \
    } while (false)

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The input cut at NUL bytes into `count` parts: the last part keeps the
// rest, NULs included, and parts the input lacks are empty. Seeds stay
// readable: "section\0key\0value\0file".
QList<QByteArray> splitInput(QByteArrayView input, int count);

// A path in a folder of this process's own, removed when it ends normally.
QString scratchPath(const QString &name);
void writeScratch(const QString &path, const QByteArray &bytes);
QByteArray readScratch(const QString &path);
bool scratchExists(const QString &path);

// Bytes made printable for a failure message.
QString shown(QByteArrayView bytes);
QString shown(const QList<QByteArray> &lines);

// The same number for the same input on every run, so that a crash replays.
quint32 hashOf(QByteArrayView bytes);

} // namespace lexitka::fuzz
