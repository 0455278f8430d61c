#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace lexitka {

// One line of the INI form. Lines end in CR LF, LF or a lone CR; blanks
// (space, tab) around section names, keys and values are trimmed; ";"
// lines and empty lines are Other. A key ends at the first "=". A line
// without "=", or with a "[" but no "]", is Plain, its trimmed text in
// value: only the lesson editor keeps those, the other readers skip them.
struct IniLine {
    enum Kind { Other, Section, Entry, Plain };
    Kind kind = Other;
    QByteArrayView name; // section name, or the entry's key
    QByteArrayView value;
};
IniLine classifyIniLine(const char *line, qsizetype size);

// One linear reader of the INI form shared by dictionaries and settings.
// Lines before the first section are ignored. Sections keep file order and
// entries keep line order: duplicate keys are all kept.
class IniDocument {
public:
    enum class Mode { Full, NamesOnly };

    IniDocument() = default;
    static IniDocument fromBytes(QByteArray bytes, Mode mode = Mode::Full);
    // A missing, unreadable or non-regular file reads as an empty document.
    // NamesOnly reads the file piece by piece and keeps only the names.
    static IniDocument fromFile(const QString &path, Mode mode = Mode::Full);

    qsizetype sectionCount() const { return qsizetype(m_sections.size()); }
    QByteArray sectionName(qsizetype section) const;
    QList<QByteArray> sectionNames() const;
    // First section whose name matches without regard to case, or -1.
    qsizetype findSection(QByteArrayView name) const;

    // Entries exist only in Full mode.
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
        qsizetype namePos;
        qsizetype nameLen;
        qsizetype firstEntry;
        qsizetype entryCount;
    };
    // 16 bytes an entry: the value starts at the first non-blank after the
    // "=" that follows the key, so its position need not be stored.
    struct Entry {
        qsizetype keyPos;
        quint32 keyLen;
        quint32 valueLen;
    };
    const Entry &entryAt(qsizetype section, qsizetype entry) const;
    qsizetype valuePos(const Entry &e) const;
    void parseFull();
    void addNamesFrom(const char *data, qsizetype size);

    QByteArray m_bytes; // the file (Full), or the names one after another (NamesOnly)
    std::vector<Section> m_sections;
    std::vector<Entry> m_entries;
};

// Reads a whole file; a missing, unreadable or non-regular file gives empty.
QByteArray readWholeFile(const QString &path, bool *ok = nullptr);

// Hands the file to f in pieces of whole lines (the last piece may lack its
// line end), so that memory does not grow with the file. False when the
// file is missing, not a regular file, or cannot be read; what was handed
// over until a read error stays handed over. Tests read in tiny pieces to
// put the piece edges everywhere.
bool forEachFileChunk(const QString &path, const std::function<void(const char *, qsizetype)> &f,
                      qsizetype readSize = qsizetype(1) << 20);

// Calls f(begin, end, next) for every line of data: [begin, end) is the line
// without its terminator, next is where the following line starts.
// A callback that returns bool ends the pass early by returning false.
template <class F>
void forEachLine(const char *data, qsizetype size, F &&f);
// The same, going on only while *go (when go is given) holds.
template <class F>
void forEachLine(const char *data, qsizetype size, F &&f, const bool *go);

// onSection(name) and onEntry(key, value) for the lines of data, in order.
template <class OnSection, class OnEntry>
void scanIniLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry);
// The same, with onPlain(text) for the lines that have no "=".
template <class OnSection, class OnEntry, class OnPlain>
void scanIniLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry, OnPlain &&onPlain);

// The same for a file read piece by piece; false as forEachFileChunk.
template <class OnSection, class OnEntry>
bool scanIniFile(const QString &path, OnSection &&onSection, OnEntry &&onEntry);

// onName(name) for every section header of data, in order. Only lines that
// start with "[" after blanks can be headers, so it jumps from one "[" to
// the next instead of walking every line.
template <class OnName>
void forEachSectionName(const char *data, qsizetype size, OnName &&onName);

// The first section of the given name (case ignored) in the INI bytes: its
// header line [header, headerEnd), and its lines [body, end) up to the next
// header. Found by going from "[" to "[", so a file of millions of sections
// costs little more than finding them. header is -1 when there is none.
struct IniSectionSpan {
    qsizetype header = -1;
    qsizetype headerEnd = -1;
    qsizetype body = -1;
    qsizetype end = -1;
};
IniSectionSpan findIniSection(QByteArrayView bytes, QByteArrayView name);

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b);
QByteArrayView trimmedBlanks(QByteArrayView v);

} // namespace lexitka

#include "inifile_lines.h"
