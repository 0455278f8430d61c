#pragma once

// The INI form read the plainest way, line by line and whole, as the oracle
// that the program's own readers (the dictionary scanner, the lesson names,
// the settings) are compared with by the tests and the fuzz targets.

#include "data/fileread.h"
#include "data/inifile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace lexitka {

// onSection(name), onEntry(key, value) and onPlain(text) for the lines of
// data, in order, each line classified on its own.
template <class OnSection, class OnEntry, class OnPlain>
void scanIniLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry, OnPlain &&onPlain)
{
    forEachLine(data, size, [&](qsizetype begin, qsizetype end, qsizetype) {
        handIniLine(classifyIniLine(data + begin, end - begin), onSection, onEntry, onPlain);
    });
}

template <class OnSection, class OnEntry>
void scanIniLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry)
{
    scanIniLines(data, size, onSection, onEntry, [](QByteArrayView) {});
}

// The same for a file read piece by piece; false as forEachFileChunk.
template <class OnSection, class OnEntry>
bool scanIniFile(const QString &path, OnSection &&onSection, OnEntry &&onEntry)
{
    return forEachFileChunk(path,
                            [&](const char *data, qsizetype size) { scanIniLines(data, size, onSection, onEntry); });
}

// A whole INI document. Lines before the first section are ignored.
// Sections keep file order and entries keep line order: duplicate keys are
// all kept.
class IniDocument {
public:
    IniDocument() = default;
    static IniDocument fromBytes(QByteArray bytes);
    // A missing, unreadable or non-regular file reads as an empty document.
    static IniDocument fromFile(const QString &path);

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

private:
    struct Section {
        QByteArrayView name;
        std::vector<std::pair<QByteArrayView, QByteArrayView>> entries;
    };
    QByteArray m_bytes;
    std::vector<Section> m_sections;
};

} // namespace lexitka
