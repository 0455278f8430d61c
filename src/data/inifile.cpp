#include "inifile.h"

#include "codepage.h"

#include <QFile>
#include <QFileInfo>

namespace lexitka {
namespace {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

} // namespace

QByteArrayView trimmedBlanks(QByteArrayView v)
{
    qsizetype b = 0, e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    bool ascii = true;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            if ((static_cast<unsigned char>(a[i]) | static_cast<unsigned char>(b[i])) < 0x80)
                return false;
            ascii = false;
        }
    }
    if (ascii)
        return true;
    // Lesson names are Czech text: compare letters such as Ř and ř too.
    return decode(a.toByteArray(), CodePage::Cp1250)
               .compare(decode(b.toByteArray(), CodePage::Cp1250), Qt::CaseInsensitive)
        == 0;
}

QByteArray readWholeFile(const QString &path, bool *ok)
{
    if (ok)
        *ok = false;
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    if (ok)
        *ok = true;
    return bytes;
}

IniDocument IniDocument::fromBytes(QByteArray bytes, Mode mode)
{
    IniDocument doc;
    doc.m_bytes = std::move(bytes);
    if (mode == Mode::Full)
        doc.parseFull();
    else
        doc.parseNamesOnly();
    return doc;
}

IniDocument IniDocument::fromFile(const QString &path, Mode mode)
{
    return fromBytes(readWholeFile(path), mode);
}

void IniDocument::parseFull()
{
    const char *data = m_bytes.constData();
    m_entries.reserve(size_t(m_bytes.count('\n')));
    forEachLine(data, m_bytes.size(), [&](qsizetype begin, qsizetype end, qsizetype) {
        while (begin < end && isBlank(data[begin]))
            ++begin;
        if (begin == end || data[begin] == ';')
            return;
        if (data[begin] == '[') {
            const void *close = std::memchr(data + begin + 1, ']', size_t(end - begin - 1));
            if (!close)
                return; // not a header: belongs to nothing
            const QByteArrayView name = trimmedBlanks(
                QByteArrayView(data + begin + 1, static_cast<const char *>(close) - (data + begin + 1)));
            m_sections.push_back({name.data() - data, name.size(), qsizetype(m_entries.size()), 0});
            return;
        }
        if (m_sections.empty())
            return;
        const void *eq = std::memchr(data + begin, '=', size_t(end - begin));
        if (!eq)
            return;
        const qsizetype eqPos = static_cast<const char *>(eq) - data;
        const QByteArrayView key = trimmedBlanks(QByteArrayView(data + begin, eqPos - begin));
        const QByteArrayView value = trimmedBlanks(QByteArrayView(data + eqPos + 1, end - eqPos - 1));
        m_entries.push_back({key.data() - data, key.size(), value.data() - data, value.size()});
        ++m_sections.back().entryCount;
    });
}

void IniDocument::parseNamesOnly()
{
    // Only lines that start with "[" after blanks matter, so jump from one
    // "[" to the next instead of walking every line.
    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype pos = 0;
    while (pos < size) {
        const void *hit = std::memchr(data + pos, '[', size_t(size - pos));
        if (!hit)
            break;
        const qsizetype open = static_cast<const char *>(hit) - data;
        qsizetype lineStart = open;
        while (lineStart > 0 && isBlank(data[lineStart - 1]))
            --lineStart;
        const bool atLineStart = lineStart == 0 || data[lineStart - 1] == '\n' || data[lineStart - 1] == '\r';
        qsizetype lineEnd = open + 1;
        while (lineEnd < size && data[lineEnd] != '\n' && data[lineEnd] != '\r')
            ++lineEnd;
        if (atLineStart) {
            const void *close = std::memchr(data + open + 1, ']', size_t(lineEnd - open - 1));
            if (close) {
                const QByteArrayView name = trimmedBlanks(
                    QByteArrayView(data + open + 1, static_cast<const char *>(close) - (data + open + 1)));
                m_sections.push_back({name.data() - data, name.size(), 0, 0});
            }
        }
        pos = lineEnd;
    }
}

QByteArray IniDocument::sectionName(qsizetype section) const
{
    const Section &s = m_sections.at(size_t(section));
    return m_bytes.sliced(s.namePos, s.nameLen);
}

QList<QByteArray> IniDocument::sectionNames() const
{
    QList<QByteArray> names;
    names.reserve(sectionCount());
    for (qsizetype i = 0; i < sectionCount(); ++i)
        names.append(sectionName(i));
    return names;
}

qsizetype IniDocument::findSection(QByteArrayView name) const
{
    const QByteArrayView wanted = trimmedBlanks(name);
    for (qsizetype i = 0; i < sectionCount(); ++i) {
        const Section &s = m_sections[size_t(i)];
        if (equalsIgnoringCase(QByteArrayView(m_bytes.constData() + s.namePos, s.nameLen), wanted))
            return i;
    }
    return -1;
}

qsizetype IniDocument::entryCount(qsizetype section) const
{
    return m_sections.at(size_t(section)).entryCount;
}

const IniDocument::Entry &IniDocument::entryAt(qsizetype section, qsizetype entry) const
{
    const Section &s = m_sections.at(size_t(section));
    Q_ASSERT(entry >= 0 && entry < s.entryCount);
    return m_entries.at(size_t(s.firstEntry + entry));
}

QByteArrayView IniDocument::key(qsizetype section, qsizetype entry) const
{
    const Entry &e = entryAt(section, entry);
    return QByteArrayView(m_bytes.constData() + e.keyPos, e.keyLen);
}

QByteArrayView IniDocument::value(qsizetype section, qsizetype entry) const
{
    const Entry &e = entryAt(section, entry);
    return QByteArrayView(m_bytes.constData() + e.valuePos, e.valueLen);
}

QByteArray IniDocument::entryLine(qsizetype section, qsizetype entry) const
{
    const Entry &e = entryAt(section, entry);
    QByteArray line;
    line.reserve(e.keyLen + 1 + e.valueLen);
    line.append(m_bytes.constData() + e.keyPos, e.keyLen);
    line.append('=');
    line.append(m_bytes.constData() + e.valuePos, e.valueLen);
    return line;
}

QList<QByteArray> IniDocument::entryLines(qsizetype section) const
{
    QList<QByteArray> lines;
    const qsizetype n = entryCount(section);
    lines.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        lines.append(entryLine(section, i));
    return lines;
}

std::optional<QByteArray> IniDocument::value(QByteArrayView section, QByteArrayView key) const
{
    const qsizetype s = findSection(section);
    if (s < 0)
        return std::nullopt;
    const QByteArrayView wanted = trimmedBlanks(key);
    for (qsizetype i = 0; i < entryCount(s); ++i) {
        if (equalsIgnoringCase(this->key(s, i), wanted))
            return value(s, i).toByteArray();
    }
    return std::nullopt;
}

} // namespace lexitka
