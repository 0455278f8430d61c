#pragma once

#include <cstring>
#include <type_traits>

namespace lexitka {

template <class F>
void forEachLine(const char *data, qsizetype size, F &&f)
{
    // A callback that returns bool stops the pass by returning false.
    if constexpr (std::is_same_v<std::invoke_result_t<F &, qsizetype, qsizetype, qsizetype>, bool>) {
        bool go = true;
        forEachLine(
            data, size, [&](qsizetype begin, qsizetype end, qsizetype next) -> void { go = f(begin, end, next); }, &go);
    } else {
        forEachLine(data, size, f, static_cast<const bool *>(nullptr));
    }
}

template <class F>
void forEachLine(const char *data, qsizetype size, F &&f, const bool *go)
{
    qsizetype pos = 0;
    qsizetype nextLf = -1; // cached, so files broken by lone CRs stay linear
    while (pos < size && (!go || *go)) {
        if (nextLf < pos) {
            const void *lf = std::memchr(data + pos, '\n', size_t(size - pos));
            nextLf = lf ? static_cast<const char *>(lf) - data : size;
        }
        const void *crp = std::memchr(data + pos, '\r', size_t(nextLf - pos));
        if (crp) {
            const qsizetype cr = static_cast<const char *>(crp) - data;
            if (cr + 1 < nextLf || nextLf == size) {
                // A lone CR ends the line (or a CR right before the end of data).
                const qsizetype next = (cr + 1 < size && data[cr + 1] == '\n') ? cr + 2 : cr + 1;
                f(pos, cr, next);
                pos = next;
                continue;
            }
            f(pos, cr, nextLf + 1); // CR LF
            pos = nextLf + 1;
            continue;
        }
        f(pos, nextLf, nextLf < size ? nextLf + 1 : size);
        pos = nextLf + 1;
    }
}

template <class OnSection, class OnEntry, class OnPlain>
void scanIniLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry, OnPlain &&onPlain)
{
    forEachLine(data, size, [&](qsizetype begin, qsizetype end, qsizetype) {
        const IniLine line = classifyIniLine(data + begin, end - begin);
        if (line.kind == IniLine::Section)
            onSection(line.name);
        else if (line.kind == IniLine::Entry)
            onEntry(line.name, line.value);
        else if (line.kind == IniLine::Plain)
            onPlain(line.value);
    });
}

template <class OnSection, class OnEntry>
void scanIniLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry)
{
    scanIniLines(data, size, onSection, onEntry, [](QByteArrayView) {});
}

template <class OnSection, class OnEntry>
bool scanIniFile(const QString &path, OnSection &&onSection, OnEntry &&onEntry)
{
    return forEachFileChunk(path,
                            [&](const char *data, qsizetype size) { scanIniLines(data, size, onSection, onEntry); });
}

} // namespace lexitka
