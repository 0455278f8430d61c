#include "kvtml.h"

#include "exchange/kvtmlelements.h"

#include <QBuffer>
#include <QHash>
#include <QXmlStreamReader>

#include <vector>

namespace lexitka {
namespace {

using namespace kvtmlxml;

// The file is read in one pass, element by element, keeping nothing of it
// but the table: names are compared where they lie in the reader, and a
// lesson or a gender, which KVTML gives after the entries, is put into the
// entry's row through its id.

// What is known of a cell only once the whole file is read.
enum CellMark : quint8 { Given = 1, ArticleFromText = 2 };

class KvtmlReader {
public:
    explicit KvtmlReader(QXmlStreamReader &xml) : m_xml(xml) { }
    WordTable read();

private:
    void readEntries();
    void readTranslation(WordTable::Row &row, qsizetype rowIndex);
    void readContainers(bool lessons);
    void readContainer(const QString &path, bool lessons);
    qsizetype rowOf(QStringView id) const;
    void noteId(QStringView id, qsizetype row);

    QXmlStreamReader &m_xml;
    WordTable m_table;
    QList<Identifier> m_identifiers;
    // The column of each identifier's id (few: looked through, not hashed).
    QList<std::pair<QString, int>> m_columnOfId;
    int columnOf(QStringView id) const
    {
        for (const auto &[known, column] : m_columnOfId)
            if (known == id)
                return column;
        return -1;
    }
    std::vector<quint8> m_marks;  // per row and column
    std::vector<qint8> m_genders; // per row, -1 for none
    std::vector<bool> m_inLesson; // per row: its first lesson is taken
    // Entry ids are mostly their row numbers; others go into a table.
    bool m_dense = true;
    QHash<QString, qsizetype> m_rowOfId;
};

// The number an id writes as a plain decimal ("7", not "07" or "+7"), -1
// for any other id.
qsizetype plainNumber(QStringView id)
{
    if (id.isEmpty() || id.size() > 15 || (id.size() > 1 && id[0] == u'0'))
        return -1;
    qsizetype n = 0;
    for (const QChar c : id) {
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

qsizetype KvtmlReader::rowOf(QStringView id) const
{
    if (!m_dense)
        return m_rowOfId.value(id.toString(), -1);
    const qsizetype n = plainNumber(id);
    return n < m_table.rows.size() ? n : -1;
}

void KvtmlReader::noteId(QStringView id, qsizetype row)
{
    if (m_dense) {
        if (plainNumber(id) == row)
            return;
        m_dense = false;
        for (qsizetype r = 0; r < row; ++r)
            m_rowOfId.insert(QString::number(r), r);
    }
    const QString key = id.toString();
    if (!m_rowOfId.contains(key))
        m_rowOfId.insert(key, row);
}

void KvtmlReader::readTranslation(WordTable::Row &row, qsizetype rowIndex)
{
    const int c = columnOf(m_xml.attributes().value(QLatin1StringView("id")));
    if (c < 0) {
        m_xml.skipCurrentElement();
        return;
    }
    WordTable::Cell &cell = row.cells[c];
    QString own, inText;
    bool hasText = false;
    std::optional<QString> nominative;
    bool declension = false;
    QList<Conjugation> conjugated;
    while (!m_xml.atEnd()) {
        m_xml.readNext();
        if (m_xml.isStartElement()) {
            const QStringView name = m_xml.name();
            if (!hasText && name == u"text") {
                inText = ownText(m_xml);
                hasText = true;
            } else if (!declension && name == u"declension") {
                declension = true;
                nominative = nominativePlural(m_xml);
            } else if (name == u"conjugation") {
                conjugated.append(conjugation(m_xml));
            } else {
                m_xml.skipCurrentElement();
            }
        } else if (m_xml.isEndElement()) {
            break;
        } else if (m_xml.isCharacters() && !m_xml.isWhitespace()) {
            own += m_xml.text();
        }
    }
    cell.text = (hasText ? inText : own).trimmed();
    quint8 &mark = m_marks[size_t(rowIndex * m_identifiers.size() + c)];
    mark |= Given;
    // "der Hund": the article written before the word.
    for (const QString &a : m_identifiers[c].definite) {
        if (!a.isEmpty() && cell.text.size() > a.size() && cell.text.startsWith(a) && cell.text[a.size()] == u' ') {
            cell.article = a;
            cell.text = cell.text.mid(a.size() + 1).trimmed();
            mark |= ArticleFromText;
            break;
        }
    }
    cell.forms = nominative ? *nominative : verbForms(conjugated);
}

void KvtmlReader::readEntries()
{
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() != u"entry") {
            m_xml.skipCurrentElement();
            continue;
        }
        const qsizetype index = m_table.rows.size();
        noteId(m_xml.attributes().value(QLatin1StringView("id")), index);
        m_table.rows.append(WordTable::Row());
        WordTable::Row &row = m_table.rows.last();
        row.cells.resize(m_identifiers.size());
        row.line = index + 1; // the entry's number
        m_marks.resize(m_marks.size() + size_t(m_identifiers.size()));
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"translation")
                readTranslation(row, index);
            else
                m_xml.skipCurrentElement();
        }
    }
    m_genders.assign(size_t(m_table.rows.size()), -1);
    m_inLesson.assign(size_t(m_table.rows.size()), false);
}

// Lessons: nested containers give each entry the path of their names, the
// first lesson of an entry counting. Word types: a container of a noun's
// gender gives its entries that gender, the last one counting.
void KvtmlReader::readContainers(bool lessons)
{
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() == u"container")
            readContainer({}, lessons);
        else
            m_xml.skipCurrentElement();
    }
}

void KvtmlReader::readContainer(const QString &path, bool lessons)
{
    QString full = path;
    int gender = -1;
    bool decided = false;     // the container's name or type is known
    QList<qsizetype> waiting; // entries met before it
    auto take = [&](qsizetype row) {
        if (lessons && !m_inLesson[size_t(row)]) {
            m_inLesson[size_t(row)] = true;
            m_table.rows[row].lesson = full;
        } else if (!lessons && gender >= 0) {
            m_genders[size_t(row)] = qint8(gender);
        }
    };
    while (m_xml.readNextStartElement()) {
        const QStringView element = m_xml.name();
        if (element == u"entry") {
            const qsizetype row = rowOf(m_xml.attributes().value(QLatin1StringView("id")));
            m_xml.skipCurrentElement();
            if (row >= 0 && decided)
                take(row);
            else if (row >= 0)
                waiting.append(row);
        } else if (element == u"container") {
            readContainer(full, lessons);
        } else if (!decided && element == (lessons ? u"name" : u"specialwordtype")) {
            decided = true;
            const QString text = ownText(m_xml).trimmed();
            if (lessons)
                full = path.isEmpty() ? text : (text.isEmpty() ? path : path + QStringLiteral(" / ") + text);
            else
                gender = text == u"noun/male" ? 0 : text == u"noun/female" ? 1 : text == u"noun/neutral" ? 2 : -1;
            for (const qsizetype row : std::as_const(waiting))
                take(row);
            waiting.clear();
        } else {
            m_xml.skipCurrentElement();
        }
    }
    for (const qsizetype row : std::as_const(waiting))
        take(row);
}

} // namespace

QStringList kvtmlDefaultArticles(const QString &locale)
{
    const QString l = locale.left(2).toLower();
    if (l == u"de")
        return {QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das")};
    if (l == u"fr")
        return {QStringLiteral("le"), QStringLiteral("la"), QString(), QStringLiteral("les"), QStringLiteral("les")};
    if (l == u"es")
        return {QStringLiteral("el"), QStringLiteral("la"), QString(), QStringLiteral("los"), QStringLiteral("las")};
    return {};
}

WordTable KvtmlReader::read()
{
    bool identifiers = false, entries = false, lessons = false, wordtypes = false;
    while (m_xml.readNextStartElement()) {
        const QStringView name = m_xml.name();
        if (!identifiers && name == u"identifiers") {
            identifiers = true;
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() != u"identifier") {
                    m_xml.skipCurrentElement();
                    continue;
                }
                Identifier ident = readIdentifier(m_xml);
                // A repeated id names the later identifier, as a table would.
                bool known = false;
                for (auto &[id, column] : m_columnOfId)
                    if (id == ident.id) {
                        column = int(m_identifiers.size());
                        known = true;
                    }
                if (!known)
                    m_columnOfId.append({ident.id, int(m_identifiers.size())});
                m_table.columns.append(ident.name.isEmpty() ? ident.locale : ident.name);
                m_table.locales.append(ident.locale);
                m_identifiers.append(std::move(ident));
            }
        } else if (!entries && name == u"entries" && identifiers) {
            // KVTML names its languages first; entries before them are not read.
            entries = true;
            readEntries();
        } else if (!lessons && name == u"lessons" && entries) {
            lessons = true;
            readContainers(true);
        } else if (!wordtypes && name == u"wordtypes" && entries) {
            wordtypes = true;
            readContainers(false);
        } else {
            m_xml.skipCurrentElement();
        }
    }
    // A noun's gender gives the article of every word that names none itself.
    const qsizetype columns = m_identifiers.size();
    for (qsizetype r = 0; r < m_table.rows.size() && !m_genders.empty(); ++r) {
        const int gender = m_genders[size_t(r)];
        if (gender < 0)
            continue;
        for (qsizetype c = 0; c < columns; ++c) {
            const quint8 mark = m_marks[size_t(r * columns + c)];
            if ((mark & Given) && !(mark & ArticleFromText) && gender < m_identifiers[c].definite.size())
                m_table.rows[r].cells[c].article = m_identifiers[c].definite[gender];
        }
    }
    return std::move(m_table);
}

std::optional<WordTable> readKvtml(QByteArrayView bytes, QString *error)
{
    // Through a device over the caller's bytes where they lie: the reader
    // then decodes a block at a time, where given an array it would make
    // a whole copy of the text in UTF-16 first.
    QByteArray raw = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    return readKvtml(&buffer, error);
}

std::optional<WordTable> readKvtml(QIODevice *device, QString *error)
{
    QXmlStreamReader xml(device);
    std::optional<WordTable> table;
    if (xml.readNextStartElement()) {
        if (xml.name() == u"kvtml")
            table = KvtmlReader(xml).read();
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError() || !table) {
        if (error)
            *error = xml.hasError() ? QStringLiteral("Soubor není platné XML (řádek %1): %2")
                                          .arg(xml.lineNumber())
                                          .arg(xml.errorString())
                                    : QStringLiteral("Soubor není ve formátu KVTML.");
        return std::nullopt;
    }
    return table;
}

} // namespace lexitka
