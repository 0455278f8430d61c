// Rows of a word list into entry lines of the dictionary's language. The
// same rules serve rows already read into a table (KVTML, the clipboard)
// and a text file read in one pass over its bytes.
#include "wordimport.h"

#include "data/utf8dictionary.h"
#include "exchange/cellbytes.h"
#include "exchange/delimitedtext.h"

#include <QHash>

#include <cstring>

namespace lexitka {
namespace {

// The text forms the rows come in: UTF-16 from a table, UTF-8 from a file.
QString toText(QStringView v) { return v.toString(); }
QString toText(QByteArrayView v) { return QString::fromUtf8(v); }
QStringView trimmed(QStringView v) { return v.trimmed(); }
QByteArrayView trimmed(QByteArrayView v) { return trimmedUtf8(v); }

// "\" and line ends would split an entry.
char32_t firstSeparator(QStringView v)
{
    for (const QChar c : v)
        if (c == u'\\' || c == u'\n' || c == u'\r')
            return c.unicode();
    return 0;
}
char32_t firstSeparator(QByteArrayView v)
{
    for (const char c : v)
        if (c == '\\' || c == '\n' || c == '\r')
            return char32_t(c);
    return 0;
}

std::optional<char32_t> encodeInto(QByteArray &out, QStringView v, CodePage cp) { return appendFromUtf16(out, v, cp); }
std::optional<char32_t> encodeInto(QByteArray &out, QByteArrayView v, CodePage cp)
{
    return appendFromUtf8(out, v, cp);
}

int articleCodeOf(int languageCode, QStringView v) { return articleCode(languageCode, v.toString()); }
int articleCodeOf(int languageCode, QByteArrayView v)
{
    // Articles are ASCII but "není", which is no article: compare bytes.
    const QByteArrayView a = trimmedUtf8(v);
    if (a.isEmpty())
        return kNoArticle;
    for (const char c : a)
        if (static_cast<unsigned char>(c) >= 0x80)
            return articleCode(languageCode, QString::fromUtf8(a));
    const QStringList &list = articles(languageCode);
    for (int i = 0; i < list.size(); ++i)
        if (i != kNoArticle && list[i].size() == a.size()
            && QLatin1StringView(a.data(), a.size()).compare(list[i], Qt::CaseInsensitive) == 0)
            return i;
    return kNoArticle;
}

// One row's texts; absent ones are empty.
template <class View>
struct RowTexts {
    View slovo, preklad, article, forms, lesson;
};

template <class View>
class RowImporter {
    // A row's text kept beyond the row.
    using Owned = std::conditional_t<std::is_same_v<View, QStringView>, QString, QByteArray>;

public:
    RowImporter(int languageCode, bool byLesson)
        : m_language(languageCode), m_byLesson(byLesson), m_foreign(languageInfo(languageCode).foreignCodePage),
          m_hasArticles(!articles(languageCode).isEmpty())
    { }

    // shown() gives the row as the file has it, for a refusal.
    template <class Shown>
    void add(qsizetype line, const RowTexts<View> &row, const Shown &shown)
    {
        const View slovo = trimmed(row.slovo);
        const View preklad = trimmed(row.preklad);
        if (slovo.isEmpty() && preklad.isEmpty())
            return;
        const View forms = m_language == LangGerman ? trimmed(row.forms) : View();
        const View lesson = m_byLesson ? trimmed(row.lesson) : View();
        const struct {
            const char *name;
            View text;
            CodePage cp;
            QByteArray *to;
        } fields[] = {{"Slovo", slovo, m_foreign, &m_slovo},
                      {"Překlad", preklad, CodePage::Cp1250, &m_preklad},
                      {"Množné číslo (minulý čas)", forms, CodePage::Cp1250, &m_mn}};
        for (const auto &f : fields) {
            f.to->resize(0); // keeps its room for the next row
            std::optional<char32_t> bad;
            if (const char32_t c = firstSeparator(f.text))
                bad = c;
            else
                bad = encodeInto(*f.to, f.text, f.cp);
            if (bad) {
                m_result.refused.append(RefusedRow{line, shown(), QString::fromUtf8(f.name), *bad});
                return;
            }
        }
        const qsizetype at = lessonIndex(lesson);
        if (at < 0) {
            m_result.refused.append(RefusedRow{line, shown(), QStringLiteral("Lekce"), m_lessonProblem});
            return;
        }
        const int article = m_hasArticles ? articleCodeOf(m_language, row.article) : kNoArticle;
        // The entry line in one block of the size it needs.
        const bool hasClen = m_language == LangGerman || m_language == LangFrench || m_language == LangSpanish;
        const bool hasMn = m_language == LangGerman;
        // An article code is a place in a list of at most five: one digit.
        const char code[2] = {char('0' + article), '\\'};
        const qsizetype codeSize = hasClen ? 2 : 0;
        QByteArray entry(2 + codeSize + m_slovo.size() + 1 + (hasMn ? m_mn.size() + 1 : 0) + m_preklad.size(),
                         Qt::Uninitialized);
        char *to = entry.data();
        auto put = [&to](const char *from, qsizetype size) {
            std::memcpy(to, from, size_t(size));
            to += size;
        };
        put("0=", 2);
        put(code, codeSize);
        put(m_slovo.constData(), m_slovo.size());
        put("\\", 1);
        if (hasMn) {
            put(m_mn.constData(), m_mn.size());
            put("\\", 1);
        }
        put(m_preklad.constData(), m_preklad.size());
        m_result.lessons[at].lines.append(std::move(entry));
    }

    ImportResult take() { return std::move(m_result); }

private:
    // The lesson's place in the result, -1 when its name cannot be stored.
    // Rows mostly come lesson by lesson: the last one is kept at hand.
    qsizetype lessonIndex(View lesson)
    {
        if (m_lastValid && lesson == View(m_lastName))
            return m_lastIndex;
        m_lastName = Owned(lesson.data(), lesson.size());
        m_lastValid = true;
        const QString name = toText(lesson);
        m_lastIndex = -1;
        if (!name.isEmpty()) {
            QByteArray scratch;
            if (const std::optional<char32_t> bad = encodeInto(scratch, QStringView(name), CodePage::Cp1250)) {
                m_lessonProblem = *bad;
                return -1;
            }
            if (name.contains(u']')) {
                m_lessonProblem = U']';
                return -1;
            }
        }
        auto found = m_lessonAt.constFind(name);
        if (found == m_lessonAt.cend()) {
            found = m_lessonAt.insert(name, m_result.lessons.size());
            m_result.lessons.append({name, {}});
        }
        m_lastIndex = *found;
        return m_lastIndex;
    }

    int m_language;
    bool m_byLesson;
    CodePage m_foreign;
    bool m_hasArticles;
    ImportResult m_result;
    QHash<QString, qsizetype> m_lessonAt;
    Owned m_lastName;
    bool m_lastValid = false;
    qsizetype m_lastIndex = -1;
    char32_t m_lessonProblem = 0;
    QByteArray m_slovo, m_preklad, m_mn; // reused from row to row
};

} // namespace

ImportResult importRows(const WordTable &table, const ColumnChoice &choice, int languageCode, bool byLesson)
{
    RowImporter<QStringView> importer(languageCode, byLesson);
    auto cellOf = [](const WordTable::Row &row, int c) -> const WordTable::Cell * {
        return c >= 0 && c < row.cells.size() ? &row.cells[c] : nullptr;
    };
    for (const WordTable::Row &row : table.rows) {
        const WordTable::Cell *slovo = cellOf(row, choice.slovo);
        const WordTable::Cell *preklad = cellOf(row, choice.preklad);
        const WordTable::Cell *clen = cellOf(row, choice.clen);
        const WordTable::Cell *mn = cellOf(row, choice.mn);
        RowTexts<QStringView> texts;
        texts.slovo = slovo ? QStringView(slovo->text) : QStringView();
        texts.preklad = preklad ? QStringView(preklad->text) : QStringView();
        texts.article = clen ? QStringView(clen->text) : (slovo ? QStringView(slovo->article) : QStringView());
        texts.forms = mn ? QStringView(mn->text) : (slovo ? QStringView(slovo->forms) : QStringView());
        texts.lesson = row.lesson;
        importer.add(row.line, texts, [&row] {
            QStringList shown;
            for (const WordTable::Cell &cell : row.cells)
                shown.append(cell.text);
            return shown.join(u'\t');
        });
    }
    return importer.take();
}

namespace {

// The rows of RFC 4180 text as parseDelimited finds them, one at a time:
// row(cells) gets the cells' UTF-8 as views that last until it returns, and
// may stop the reading by returning false. A cell without quotes is a view
// into the text; one with quotes is copied, its quotes undoubled.
template <class Row>
void forEachRow(QByteArrayView text, char separator, const Row &row)
{
    struct Span {
        qsizetype from, size;
        bool copied;
    };
    QList<Span> spans;
    QByteArray copies; // the row's cells that had quotes
    QList<QByteArrayView> cells;
    const char *p = text.data();
    const qsizetype n = text.size();
    qsizetype cellFrom = 0; // a plain cell is text[cellFrom, i)
    bool copied = false;    // the cell is copies[copyFrom, end)
    qsizetype copyFrom = 0;
    bool quoted = false;
    bool rowStarted = false;
    qsizetype i = 0;
    auto cellEmpty = [&] { return copied ? copies.size() == copyFrom : i == cellFrom; };
    auto endCell = [&](qsizetype end) {
        spans.append(copied ? Span{copyFrom, copies.size() - copyFrom, true} : Span{cellFrom, end - cellFrom, false});
        copied = false;
    };
    auto endRow = [&]() -> bool {
        cells.resize(0);
        for (const Span &s : std::as_const(spans))
            cells.append(s.copied ? QByteArrayView(copies).sliced(s.from, s.size) : text.sliced(s.from, s.size));
        const bool more = row(std::as_const(cells));
        spans.resize(0);
        copies.resize(0);
        rowStarted = false;
        return more;
    };
    while (i < n) {
        const char c = p[i];
        if (quoted) {
            qsizetype run = i;
            while (run < n && p[run] != '"')
                ++run;
            copies.append(p + i, run - i);
            i = run;
            if (i == n)
                break;
            if (i + 1 < n && p[i + 1] == '"') {
                copies.append('"');
                i += 2;
            } else {
                quoted = false;
                ++i;
            }
            continue;
        }
        if (c == '"' && cellEmpty()) {
            if (!copied) {
                copied = true;
                copyFrom = copies.size();
            }
            quoted = true;
            rowStarted = true;
            ++i;
        } else if (c == separator) {
            endCell(i);
            rowStarted = true;
            cellFrom = ++i;
        } else if (c == '\r' || c == '\n') {
            endCell(i);
            i += c == '\r' && i + 1 < n && p[i + 1] == '\n' ? 2 : 1;
            cellFrom = i;
            if (!endRow())
                return;
        } else {
            qsizetype run = i + 1;
            while (run < n && p[run] != separator && p[run] != '\r' && p[run] != '\n' && p[run] != '"')
                ++run;
            if (copied)
                copies.append(p + i, run - i);
            rowStarted = true;
            i = run;
        }
    }
    if (rowStarted || !cellEmpty() || !spans.isEmpty()) {
        endCell(i);
        endRow();
    }
}

// The bytes as UTF-8: a byte-order mark dropped, other text decoded from
// the code page given.
QByteArrayView asUtf8(QByteArrayView bytes, bool utf8, CodePage otherwise, QByteArray &converted)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.sliced(3);
    if (utf8)
        return bytes;
    converted = decode(bytes.toByteArray(), otherwise).toUtf8();
    return converted;
}

QByteArrayView cellAt(const QList<QByteArrayView> &cells, int c)
{
    return c >= 0 && c < cells.size() ? cells[c] : QByteArrayView();
}

} // namespace

DelimitedHead readDelimitedHead(QByteArrayView bytes, CodePage otherwise, qsizetype rows)
{
    DelimitedHead head;
    head.utf8 = bytes.startsWith("\xEF\xBB\xBF") || isUtf8Text(bytes);
    head.otherwise = otherwise;
    QByteArray converted;
    const QByteArrayView text = asUtf8(bytes, head.utf8, otherwise, converted);
    const qsizetype lineEnd = text.indexOf('\n');
    head.separator = guessSeparator(QString::fromUtf8(text.first(lineEnd < 0 ? text.size() : lineEnd)));
    forEachRow(text, char(head.separator.unicode()), [&](const QList<QByteArrayView> &cells) {
        head.width = std::max(head.width, cells.size());
        if (head.rows.size() < rows) {
            QStringList row;
            for (const QByteArrayView cell : cells)
                row.append(QString::fromUtf8(cell));
            head.rows.append(row);
        }
        return true;
    });
    return head;
}

ImportResult importDelimited(QByteArrayView bytes, const DelimitedHead &head, bool header, const ColumnChoice &choice,
                             int languageCode, bool byLesson)
{
    QByteArray converted;
    const QByteArrayView text = asUtf8(bytes, head.utf8, head.otherwise, converted);
    RowImporter<QByteArrayView> importer(languageCode, byLesson);
    qsizetype line = 0;
    qsizetype width = 0;
    int lessonColumn = -1;
    QList<qsizetype> refusedWidths; // a refused row is shown as wide as the widest row
    forEachRow(text, char(head.separator.unicode()), [&](const QList<QByteArrayView> &cells) {
        ++line;
        width = std::max(width, cells.size());
        if (header && line == 1) {
            for (int c = 0; c < cells.size() && lessonColumn < 0; ++c)
                if (cells[c] == "Lekce")
                    lessonColumn = c;
            return true;
        }
        RowTexts<QByteArrayView> texts;
        texts.slovo = cellAt(cells, choice.slovo);
        texts.preklad = cellAt(cells, choice.preklad);
        texts.article = cellAt(cells, choice.clen);
        texts.forms = cellAt(cells, choice.mn);
        texts.lesson = cellAt(cells, lessonColumn);
        importer.add(line, texts, [&] {
            refusedWidths.append(cells.size());
            QStringList shown;
            for (const QByteArrayView cell : cells)
                shown.append(QString::fromUtf8(cell));
            return shown.join(u'\t');
        });
        return true;
    });
    ImportResult result = importer.take();
    for (qsizetype i = 0; i < result.refused.size(); ++i)
        result.refused[i].text += QString(width - refusedWidths[i], u'\t');
    return result;
}

} // namespace lexitka
