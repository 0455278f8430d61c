#include "profile.h"

#include "inifile.h"
#include "savefile.h"


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

bool canNameSection(QByteArrayView name)
{
    return !name.isEmpty() && canStoreValue(name) && !name.contains(']');
}

QByteArray ProfileFile::readString(QByteArrayView section, QByteArrayView key, const QByteArray &defaultValue) const
{
    const IniDocument doc = IniDocument::fromFile(m_path);
    return doc.value(section, key).value_or(defaultValue);
}

int ProfileFile::readInt(QByteArrayView section, QByteArrayView key, int defaultValue) const
{
    const IniDocument doc = IniDocument::fromFile(m_path);
    const auto text = doc.value(section, key);
    if (!text)
        return defaultValue;
    return parseProfileInt(*text).value_or(defaultValue);
}

bool ProfileFile::readBool(QByteArrayView section, QByteArrayView key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

QByteArray ProfileFile::withValue(const QByteArray &file, QByteArrayView sectionName, QByteArrayView keyName,
                                  QByteArrayView value)
{
    // Matched as the reader matches them: a name with blanks around it
    // would otherwise never be found again and be appended at every write.
    const QByteArrayView section = trimmedBlanks(sectionName);
    const QByteArrayView key = trimmedBlanks(keyName);
    QByteArray newLine = key.toByteArray() + '=' + value.toByteArray();
    const char *data = file.constData();

    bool inSection = false;
    bool sectionFound = false;
    qsizetype insertAt = -1;        // after the section's last line worth keeping
    bool insertNeedsBreak = false;  // that line had no terminator
    qsizetype replaceBegin = -1, replaceEnd = -1;

    forEachLine(data, file.size(), [&](qsizetype begin, qsizetype end, qsizetype next) {
        if (replaceBegin >= 0)
            return;
        const QByteArrayView line = trimmedBlanks(QByteArrayView(data + begin, end - begin));
        if (!line.isEmpty() && line[0] == '[' && line.indexOf(']') > 0) {
            if (sectionFound && inSection) {
                inSection = false;
                return;
            }
            const QByteArrayView name = trimmedBlanks(line.sliced(1, line.indexOf(']') - 1));
            if (!sectionFound && equalsIgnoringCase(name, section)) {
                sectionFound = inSection = true;
                insertAt = next;
                insertNeedsBreak = next == end;
            } else {
                inSection = false;
            }
            return;
        }
        if (!inSection || line.isEmpty())
            return;
        const qsizetype eq = line[0] == ';' ? -1 : line.indexOf('=');
        if (eq >= 0 && equalsIgnoringCase(trimmedBlanks(line.first(eq)), key)) {
            replaceBegin = begin;
            replaceEnd = end;
            return;
        }
        insertAt = next;
        insertNeedsBreak = next == end;
    });

    QByteArray out = file;
    if (replaceBegin >= 0) {
        out.replace(replaceBegin, replaceEnd - replaceBegin, newLine);
    } else if (sectionFound) {
        out.insert(insertAt, (insertNeedsBreak ? QByteArray("\r\n") : QByteArray()) + newLine + "\r\n");
    } else {
        if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
            out.append("\r\n");
        out.append('[').append(section.toByteArray()).append("]\r\n").append(newLine).append("\r\n");
    }
    return out;
}

bool ProfileFile::writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    // Under the file's lock, on the file as it is now; a file that exists
    // but cannot be read is not replaced by a stub.
    return updateFile(m_path, [&](const DiskFile &disk) -> std::optional<QByteArray> {
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
