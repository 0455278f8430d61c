#include "profile.h"

#include "inifile.h"
#include "savefile.h"
#include "settings.h"
#include "fileread.h"

#include <algorithm>
#include <limits>

namespace lexitka {

std::optional<int> parseProfileInt(QByteArrayView text)
{
    const QByteArrayView t = trimmedBlanks(text);
    bool ok = false;
    qlonglong v = 0;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
        v = t.sliced(2).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(v);
}

bool canStoreValue(QByteArrayView value)
{
    return !value.contains('\r') && !value.contains('\n') && trimmedBlanks(value).size() == value.size();
}

bool canNameSection(QByteArrayView name) { return !name.isEmpty() && canStoreValue(name) && !name.contains(']'); }

QByteArray ProfileFile::readString(QByteArrayView section, QByteArrayView key, const QByteArray &defaultValue) const
{
    return Settings::lookUp(readWholeFile(m_path), section, key).value_or(defaultValue);
}

int ProfileFile::readInt(QByteArrayView section, QByteArrayView key, int defaultValue) const
{
    const auto text = Settings::lookUp(readWholeFile(m_path), section, key);
    if (!text)
        return defaultValue;
    return parseProfileInt(*text).value_or(defaultValue);
}

bool ProfileFile::readBool(QByteArrayView section, QByteArrayView key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

QByteArray ProfileFile::withValue(const QByteArray &file, QByteArrayView section, QByteArrayView key,
                                  QByteArrayView value)
{
    return withValues(file, section, {{key, value}});
}

QByteArray ProfileFile::withValues(const QByteArray &file, QByteArrayView sectionName, const QList<KeyValue> &values)
{
    // Matched as the reader matches them: a name with blanks around it
    // would otherwise never be found again and be appended at every write.
    const QByteArrayView section = trimmedBlanks(sectionName);
    // One line per key, the last value given for it, in the order of first mention.
    QList<KeyValue> wanted;
    for (const KeyValue &kv : values) {
        const QByteArrayView key = trimmedBlanks(kv.key);
        auto same = [key](const KeyValue &w) { return equalsIgnoringCase(w.key, key); };
        if (auto it = std::find_if(wanted.begin(), wanted.end(), same); it != wanted.end())
            it->value = kv.value;
        else
            wanted.append({key, kv.value});
    }
    const char *data = file.constData();
    const IniSectionSpan span = findIniSection(file, section);
    const bool sectionFound = span.header >= 0;
    qsizetype insertAt = span.body;                      // after the section's last line worth keeping
    bool insertNeedsBreak = span.body == span.headerEnd; // that line had no terminator
    QList<std::pair<qsizetype, qsizetype>> replace(wanted.size(), {-1, -1});
    qsizetype left = wanted.size();

    if (sectionFound) {
        forEachLine(data + span.body, span.end - span.body, [&](qsizetype b, qsizetype e, qsizetype n) {
            const qsizetype begin = span.body + b, end = span.body + e, next = span.body + n;
            const QByteArrayView line = trimmedBlanks(QByteArrayView(data + begin, end - begin));
            if (line.isEmpty())
                return true;
            const qsizetype eq = line[0] == ';' ? -1 : line.indexOf('=');
            if (eq >= 0) {
                const QByteArrayView key = trimmedBlanks(line.first(eq));
                for (qsizetype w = 0; w < wanted.size(); ++w) {
                    if (replace[w].first < 0 && equalsIgnoringCase(key, wanted[w].key)) {
                        replace[w] = {begin, end};
                        --left;
                        break;
                    }
                }
            }
            insertAt = next;
            insertNeedsBreak = next == end;
            return left > 0;
        });
    }

    auto lineOf = [](const KeyValue &kv) { return kv.key.toByteArray() + '=' + kv.value.toByteArray(); };
    QByteArray added; // the keys the section lacks, after its last line
    for (qsizetype w = 0; w < wanted.size(); ++w) {
        if (replace[w].first < 0)
            added.append(lineOf(wanted[w])).append("\r\n");
    }
    QByteArray out;
    if (!sectionFound) {
        out = file;
        if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
            out.append("\r\n");
        return out.append('[').append(section.toByteArray()).append("]\r\n").append(added);
    }
    // The file once, its changed lines and the new ones put in on the way.
    QList<qsizetype> order;
    for (qsizetype w = 0; w < wanted.size(); ++w) {
        if (replace[w].first >= 0)
            order.append(w);
    }
    std::sort(order.begin(), order.end(),
              [&](qsizetype x, qsizetype y) { return replace[x].first < replace[y].first; });
    out.reserve(file.size() + added.size() + 256);
    qsizetype pos = 0;
    for (qsizetype w : order) {
        out.append(data + pos, replace[w].first - pos).append(lineOf(wanted[w]));
        pos = replace[w].second;
    }
    if (!added.isEmpty()) {
        out.append(data + pos, insertAt - pos);
        if (insertNeedsBreak)
            out.append("\r\n");
        out.append(added);
        pos = insertAt;
    }
    return out.append(data + pos, file.size() - pos);
}

bool ProfileFile::writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    // Under the file's lock, on the file as it is now; a file that exists
    // but cannot be read is not replaced by a stub.
    return updateFile(m_path,
                      [&](const DiskFile &disk) -> std::optional<QByteArray> {
                          QByteArray updated = withValue(disk.bytes, section, key, value);
                          // An unchanged value is not written: a read-only program folder
                          // then complains only when something would really be lost.
                          if (disk.exists && updated == disk.bytes)
                              return std::nullopt;
                          return updated;
                      })
           == UpdateResult::Done;
}

bool ProfileFile::writeBool(QByteArrayView section, QByteArrayView key, bool value)
{
    return writeString(section, key, value ? "1" : "0");
}

} // namespace lexitka
