#include "support/inireadings.h"

#include "data/dictionarylines.h"
#include "data/fileread.h"
#include "data/sectionnames.h"
#include "exam/wordcollection.h"

#include <QStringList>

#include <algorithm>

namespace lexitka::testing {
namespace {

bool hasLineEnd(QByteArrayView v) { return v.contains('\r') || v.contains('\n'); }

bool isTrimmed(QByteArrayView v) { return trimmedBlanks(v).size() == v.size(); }

// Enough of the text to see what went wrong, not megabytes of it.
QString show(QByteArrayView b)
{
    constexpr qsizetype kShown = 200;
    QString text = QString::fromLatin1(b.first(std::min(b.size(), kShown)).toByteArray().toPercentEncoding(" =[]\\"));
    return b.size() > kShown ? text + QStringLiteral("...(%1 bytes)").arg(b.size()) : text;
}

QString show(const QList<QByteArray> &list)
{
    constexpr qsizetype kShown = 20;
    QStringList out;
    for (qsizetype i = 0; i < std::min(list.size(), kShown); ++i)
        out.append(u'"' + show(list[i]) + u'"');
    if (list.size() > kShown)
        out.append(QStringLiteral("...(%1 in all)").arg(list.size()));
    return u'[' + out.join(u", ") + u']';
}

// Follows what the reader hands over, piece after piece, against the whole
// document's reading, and keeps the first difference. Nothing is copied, so
// a file of a million lines is followed quickly.
class Follower {
public:
    Follower(const char *way, const IniReading &full) : m_way(way), m_full(full) { }

    void section(QByteArrayView name)
    {
        if (!m_problem.isEmpty())
            return;
        if (hasLineEnd(name) || name.contains(']') || !isTrimmed(name))
            return fail(QStringLiteral("bad lesson name \"%1\"").arg(show(name)));
        if (!endOfSection())
            return;
        ++m_section;
        m_entry = 0;
        if (m_section >= m_full.names.size() || m_full.names[m_section] != name)
            fail(QStringLiteral("lesson %1 is \"%2\"").arg(m_section).arg(show(name)));
    }

    void entry(QByteArrayView key, QByteArrayView value)
    {
        if (!m_problem.isEmpty())
            return;
        if (hasLineEnd(key) || hasLineEnd(value) || key.contains('=') || !isTrimmed(key) || !isTrimmed(value))
            return fail(QStringLiteral("bad entry \"%1\" = \"%2\"").arg(show(key), show(value)));
        if (m_section < 0)
            return; // lines before the first lesson belong to none
        const QList<QByteArray> &lines = m_full.lines[m_section];
        const QByteArrayView line = m_entry < lines.size() ? QByteArrayView(lines[m_entry]) : QByteArrayView();
        const bool same = line.size() == key.size() + 1 + value.size() && line.startsWith(key)
                          && line[key.size()] == '=' && line.endsWith(value);
        if (!same)
            fail(QStringLiteral("line %1 of lesson %2 is \"%3=%4\"")
                     .arg(m_entry)
                     .arg(m_section)
                     .arg(show(key), show(value)));
        ++m_entry;
    }

    void scan(const char *data, qsizetype size)
    {
        scanIniLines(
            data, size, [this](QByteArrayView name) { section(name); },
            [this](QByteArrayView key, QByteArrayView value) { entry(key, value); });
    }
    void scanDictionary(const char *data, qsizetype size)
    {
        scanDictionaryLines(
            data, size, [this](QByteArrayView name) { section(name); },
            [this](QByteArrayView key, QByteArrayView value) { entry(key, value); });
    }

    QString finish()
    {
        if (m_problem.isEmpty() && endOfSection() && m_section + 1 != m_full.names.size())
            fail(QStringLiteral("%1 lessons").arg(m_section + 1));
        return m_problem;
    }

private:
    bool endOfSection()
    {
        if (m_section >= 0 && m_entry != m_full.lines[m_section].size())
            fail(QStringLiteral("lesson %1 has %2 lines").arg(m_section).arg(m_entry));
        return m_problem.isEmpty();
    }
    void fail(const QString &what)
    {
        m_problem = QStringLiteral("%1: %2; the whole document has lessons %3")
                        .arg(QLatin1String(m_way), what, show(m_full.names));
        if (m_section >= 0 && m_section < m_full.lines.size())
            m_problem += QStringLiteral(", lesson %1 with %2").arg(m_section).arg(show(m_full.lines[m_section]));
    }

    const char *m_way;
    const IniReading &m_full;
    QString m_problem;
    qsizetype m_section = -1;
    qsizetype m_entry = 0;
};

QString compareNames(const char *way, const QList<QByteArray> &names, const IniReading &full)
{
    if (names == full.names)
        return {};
    return QStringLiteral("%1: lessons %2, the whole document has %3")
        .arg(QLatin1String(way), show(names), show(full.names));
}

QString checkEveryWay(const QString &path, qsizetype readSize, quint32 ticks, const IniReading &full)
{
    bool readable = false;
    const QByteArray bytes = readWholeFile(path, &readable);

    // The main window's lesson list.
    if (QString why = compareNames("lesson list from the file", SectionNames::fromFile(path).toList(), full);
        !why.isEmpty())
        return why;
    if (QString why = compareNames("lesson list from the bytes", SectionNames::fromBytes(bytes).toList(), full);
        !why.isEmpty())
        return why;
    // The dictionary scanner of the word collection and the lesson editor.
    Follower scanned("dictionary scanner", full);
    scanned.scanDictionary(bytes.constData(), bytes.size());
    if (QString why = scanned.finish(); !why.isEmpty())
        return why;

    // The pieces a huge file is read in, here of at most readSize bytes.
    Follower inPieces("lines in pieces", full);
    QList<QByteArray> pieceNames;
    qsizetype offset = 0;
    QString pieceProblem;
    const bool chunked = forEachFileChunk(
        path,
        [&](const char *data, qsizetype size) {
            const QByteArrayView piece(data, size);
            if (!pieceProblem.isEmpty())
                return;
            if (piece.isEmpty() || offset + size > bytes.size() || QByteArrayView(bytes).sliced(offset, size) != piece)
                pieceProblem = QStringLiteral("the piece at %1 is not that part of the file").arg(offset);
            else if (offset > 0 && bytes[offset - 1] != '\n' && bytes[offset - 1] != '\r')
                pieceProblem = QStringLiteral("the piece at %1 starts inside a line").arg(offset);
            else if (offset > 0 && bytes[offset - 1] == '\r' && piece[0] == '\n')
                pieceProblem = QStringLiteral("the piece at %1 starts between CR and LF").arg(offset);
            offset += size;
            inPieces.scan(data, size);
            pieceNames += SectionNames::fromBytes(piece).toList();
        },
        readSize);
    if (chunked != readable)
        return QStringLiteral("reading in pieces of %1 says %2").arg(readSize).arg(chunked);
    if (pieceProblem.isEmpty() && offset != bytes.size())
        pieceProblem = QStringLiteral("%1 bytes handed over").arg(offset);
    if (!pieceProblem.isEmpty())
        return QStringLiteral("pieces of %1: %2").arg(readSize).arg(pieceProblem);
    if (QString why = inPieces.finish(); !why.isEmpty())
        return QStringLiteral("pieces of %1: %2").arg(readSize).arg(why);
    if (QString why = compareNames("names in pieces", pieceNames, full); !why.isEmpty())
        return QStringLiteral("pieces of %1: %2").arg(readSize).arg(why);

    // The word collection of a test over the ticked lessons.
    QList<bool> wanted;
    QList<QByteArray> expected;
    for (qsizetype i = 0; i < full.names.size(); ++i) {
        wanted.append((ticks >> (i % 32)) & 1);
        if (wanted.back())
            expected += full.lines[i];
    }
    const QList<QByteArray> taken = lexitka::collectLessonEntries(path, full.names, wanted).toList();
    if (taken != expected)
        return QStringLiteral("the ticked lessons' lines are %1, the whole document has %2")
            .arg(show(taken), show(expected));
    return {};
}

} // namespace

IniReading readingOf(const IniDocument &doc)
{
    IniReading r;
    r.names = doc.sectionNames();
    for (qsizetype s = 0; s < doc.sectionCount(); ++s)
        r.lines.append(doc.entryLines(s));
    return r;
}

IniReading readIniEveryWay(const QString &path, qsizetype readSize, quint32 ticks, QString *why)
{
    const IniReading full = readingOf(IniDocument::fromFile(path));
    *why = checkEveryWay(path, readSize, ticks, full);
    return full;
}

QList<QByteArray> collectLessonEntries(const IniDocument &dictionary, const QList<QByteArray> &lessonNames,
                                       const QList<bool> &ticked)
{
    QList<QByteArray> pool;
    for (qsizetype i = 0; i < ticked.size(); ++i) {
        if (!ticked[i])
            continue;
        qsizetype section = i;
        if (i < lessonNames.size()
            && (section >= dictionary.sectionCount()
                || !equalsIgnoringCase(dictionary.sectionName(section), lessonNames[i])))
            section = dictionary.findSection(lessonNames[i]);
        if (section < 0 || section >= dictionary.sectionCount())
            continue;
        const qsizetype count = dictionary.entryCount(section);
        for (qsizetype e = 0; e < count; ++e)
            pool.append(dictionary.entryLine(section, e));
    }
    return pool;
}

} // namespace lexitka::testing
