#include "inifile.h"

#include "codepage.h"
#include "nativefile.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <limits>

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

IniLine classifyIniLine(const char *p, qsizetype n)
{
    qsizetype b = 0;
    while (b < n && isBlank(p[b]))
        ++b;
    if (b == n || p[b] == ';')
        return {};
    auto plain = [&] {
        qsizetype e = n;
        while (e > b && isBlank(p[e - 1]))
            --e;
        return IniLine{IniLine::Plain, {}, QByteArrayView(p + b, e - b)};
    };
    if (p[b] == '[') {
        const void *close = std::memchr(p + b + 1, ']', size_t(n - b - 1));
        if (!close)
            return plain(); // not a header, and never an entry
        const QByteArrayView name =
            trimmedBlanks(QByteArrayView(p + b + 1, static_cast<const char *>(close) - (p + b + 1)));
        return {IniLine::Section, name, {}};
    }
    const void *eqp = std::memchr(p + b, '=', size_t(n - b));
    if (!eqp)
        return plain();
    const qsizetype eq = static_cast<const char *>(eqp) - p;
    qsizetype keyEnd = eq;
    while (keyEnd > b && isBlank(p[keyEnd - 1]))
        --keyEnd;
    qsizetype v = eq + 1, e = n;
    while (v < e && isBlank(p[v]))
        ++v;
    while (e > v && isBlank(p[e - 1]))
        --e;
    return {IniLine::Entry, QByteArrayView(p + b, keyEnd - b), QByteArrayView(p + v, e - v)};
}

IniSectionSpan findIniSection(QByteArrayView bytes, QByteArrayView name)
{
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    IniSectionSpan found;
    // A header is a line whose first non-blank is "[": only the "[" are
    // visited, and each line at most once.
    qsizetype pos = 0;
    while (pos < size) {
        const void *hit = std::memchr(data + pos, '[', size_t(size - pos));
        if (!hit)
            break;
        const qsizetype bracket = static_cast<const char *>(hit) - data;
        qsizetype start = bracket;
        while (start > 0 && isBlank(data[start - 1]))
            --start;
        qsizetype lineEnd = bracket;
        while (lineEnd < size && data[lineEnd] != '\n' && data[lineEnd] != '\r')
            ++lineEnd;
        pos = lineEnd;
        if (start > 0 && data[start - 1] != '\n' && data[start - 1] != '\r')
            continue; // inside a line
        const IniLine line = classifyIniLine(data + start, lineEnd - start);
        if (line.kind != IniLine::Section)
            continue;
        if (found.header >= 0) {
            found.end = start;
            return found;
        }
        if (!equalsIgnoringCase(line.name, name))
            continue;
        found.header = start;
        found.headerEnd = lineEnd;
        found.body = lineEnd < size && data[lineEnd] == '\r' && lineEnd + 1 < size && data[lineEnd + 1] == '\n'
                         ? lineEnd + 2
                         : std::min(lineEnd + 1, size);
        found.end = size;
    }
    return found;
}

namespace {

QByteArray joinEntry(QByteArrayView key, QByteArrayView value)
{
    QByteArray line(key.size() + 1 + value.size(), Qt::Uninitialized);
    char *d = line.data();
    std::memcpy(d, key.data(), size_t(key.size()));
    d[key.size()] = '=';
    std::memcpy(d + key.size() + 1, value.data(), size_t(value.size()));
    return line;
}

} // namespace

IniDocument IniDocument::fromBytes(QByteArray bytes, Mode mode)
{
    IniDocument doc;
    if (mode == Mode::Full) {
        doc.m_bytes = std::move(bytes);
        doc.parseFull();
    } else {
        doc.addNamesFrom(bytes.constData(), bytes.size());
    }
    return doc;
}

IniDocument IniDocument::fromFile(const QString &path, Mode mode)
{
    if (mode == Mode::Full)
        return fromBytes(readWholeFile(path), mode);
    IniDocument doc;
    forEachFileChunk(path, [&doc](const char *data, qsizetype size) { doc.addNamesFrom(data, size); });
    return doc;
}

void IniDocument::parseFull()
{
    const char *data = m_bytes.constData();
    constexpr qsizetype kMaxLen = std::numeric_limits<quint32>::max();
    scanIniLines(
        data, m_bytes.size(),
        [&](QByteArrayView name) {
            m_sections.push_back({name.data() - data, name.size(), qsizetype(m_entries.size()), 0});
        },
        [&](QByteArrayView key, QByteArrayView value) {
            // Lines before the first section belong to nothing; lines of
            // more than 4 GiB cannot be indexed and are left out.
            if (m_sections.empty() || key.size() > kMaxLen || value.size() > kMaxLen)
                return;
            m_entries.push_back({key.data() - data, quint32(key.size()), quint32(value.size())});
            ++m_sections.back().entryCount;
        });
}

void IniDocument::addNamesFrom(const char *data, qsizetype size)
{
    forEachSectionName(data, size, [this](QByteArrayView name) {
        m_sections.push_back({m_bytes.size(), name.size(), 0, 0});
        m_bytes.append(name);
    });
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

qsizetype IniDocument::entryCount(qsizetype section) const { return m_sections.at(size_t(section)).entryCount; }

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

qsizetype IniDocument::valuePos(const Entry &e) const
{
    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype pos = e.keyPos + e.keyLen;
    while (pos < size && data[pos] != '=')
        ++pos; // only blanks lie between the key and its "="
    ++pos;
    while (pos < size && isBlank(data[pos]))
        ++pos;
    return std::min(pos, size);
}

QByteArrayView IniDocument::value(qsizetype section, qsizetype entry) const
{
    const Entry &e = entryAt(section, entry);
    return QByteArrayView(m_bytes.constData() + valuePos(e), e.valueLen);
}

QByteArray IniDocument::entryLine(qsizetype section, qsizetype entry) const
{
    return joinEntry(key(section, entry), value(section, entry));
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
