#include "inidocument.h"
#include "data/fileread.h"

namespace lexitka {

IniDocument IniDocument::fromBytes(QByteArray bytes)
{
    IniDocument doc;
    doc.m_bytes = std::move(bytes);
    scanIniLines(
        doc.m_bytes.constData(), doc.m_bytes.size(),
        [&doc](QByteArrayView name) {
            doc.m_sections.push_back({name, {}});
        },
        [&doc](QByteArrayView key, QByteArrayView value) {
            if (!doc.m_sections.empty()) // lines before the first section belong to nothing
                doc.m_sections.back().entries.emplace_back(key, value);
        });
    return doc;
}

IniDocument IniDocument::fromFile(const QString &path) { return fromBytes(readWholeFile(path)); }

QByteArray IniDocument::sectionName(qsizetype section) const
{
    return m_sections.at(size_t(section)).name.toByteArray();
}

QList<QByteArray> IniDocument::sectionNames() const
{
    QList<QByteArray> names;
    for (qsizetype i = 0; i < sectionCount(); ++i)
        names.append(sectionName(i));
    return names;
}

qsizetype IniDocument::findSection(QByteArrayView name) const
{
    const QByteArrayView wanted = trimmedBlanks(name);
    for (qsizetype i = 0; i < sectionCount(); ++i) {
        if (equalsIgnoringCase(m_sections[size_t(i)].name, wanted))
            return i;
    }
    return -1;
}

qsizetype IniDocument::entryCount(qsizetype section) const
{
    return qsizetype(m_sections.at(size_t(section)).entries.size());
}

QByteArrayView IniDocument::key(qsizetype section, qsizetype entry) const
{
    return m_sections.at(size_t(section)).entries.at(size_t(entry)).first;
}

QByteArrayView IniDocument::value(qsizetype section, qsizetype entry) const
{
    return m_sections.at(size_t(section)).entries.at(size_t(entry)).second;
}

QByteArray IniDocument::entryLine(qsizetype section, qsizetype entry) const
{
    return key(section, entry).toByteArray() + '=' + value(section, entry).toByteArray();
}

QList<QByteArray> IniDocument::entryLines(qsizetype section) const
{
    QList<QByteArray> lines;
    for (qsizetype i = 0; i < entryCount(section); ++i)
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
