#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace lexitka {

// One linear reader of the INI form shared by dictionaries and settings.
// Lines end in CR LF, LF or a lone CR; blanks (space, tab) around keys,
// values and section names are trimmed; ";" lines, empty lines, lines
// without "=" and lines before the first section are ignored. Sections
// keep file order and entries keep line order: duplicate keys are all kept.
class IniDocument {
public:
    struct Entry {
        qsizetype keyPos;
        qsizetype keyLen;
        qsizetype valuePos;
        qsizetype valueLen;
    };

    enum class Mode { Full, NamesOnly };

    IniDocument() = default;
    static IniDocument fromBytes(QByteArray bytes, Mode mode = Mode::Full);
    // A missing, unreadable or non-regular file reads as an empty document.
    static IniDocument fromFile(const QString &path, Mode mode = Mode::Full);

    qsizetype sectionCount() const { return qsizetype(m_sections.size()); }
    QByteArray sectionName(qsizetype section) const;
    QList<QByteArray> sectionNames() const;
    // First section whose name matches without regard to case, or -1.
    qsizetype findSection(QByteArrayView name) const;

    qsizetype entryCount(qsizetype section) const;
    QByteArrayView key(qsizetype section, qsizetype entry) const;
    QByteArrayView value(qsizetype section, qsizetype entry) const;
    // "key=value", the form a test draws from.
    QByteArray entryLine(qsizetype section, qsizetype entry) const;
    QList<QByteArray> entryLines(qsizetype section) const;

    // Value of the first line with this key in the first matching section.
    std::optional<QByteArray> value(QByteArrayView section, QByteArrayView key) const;

    const QByteArray &bytes() const { return m_bytes; }

private:
    struct Section {
        qsizetype namePos;
        qsizetype nameLen;
        qsizetype firstEntry;
        qsizetype entryCount;
    };
    const Entry &entryAt(qsizetype section, qsizetype entry) const;
    void parseFull();
    void parseNamesOnly();

    QByteArray m_bytes;
    std::vector<Section> m_sections;
    std::vector<Entry> m_entries;
};

// Reads a whole file; a missing, unreadable or non-regular file gives empty.
QByteArray readWholeFile(const QString &path, bool *ok = nullptr);

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b);
QByteArrayView trimmedBlanks(QByteArrayView v);

// Calls f(begin, end, next) for every line of data: [begin, end) is the line
// without its terminator, next is where the following line starts.
template <class F>
void forEachLine(const char *data, qsizetype size, F &&f);

} // namespace lexitka

#include "inifile_lines.h"
