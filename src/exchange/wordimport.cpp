// Rows of a word list into entry lines of the dictionary's language. The
// same rules serve rows already read into a table (KVTML, the clipboard)
// and a text file read in one pass over its bytes.
#include "wordimport.h"

#include "exchange/cellbytes.h"
#include "exchange/delimitedrows.h"
#include "exchange/delimitedtext.h"
#include "exchange/textheaders.h"

#include <QHash>

#include <vector>

namespace lexitka {
namespace {

// The text forms the rows come in: UTF-16 from a table, UTF-8 from a file.
QString toText(QStringView v) { return v.toString(); }
// A byte-order mark within a word list is a character of its cell, which
// QString::fromUtf8 would drop at the cell's start.
QString toText(QByteArrayView v)
{
    constexpr QByteArrayView bom("\xEF\xBB\xBF");
    return v.startsWith(bom) ? QChar(0xFEFF) + toText(v.sliced(bom.size())) : QString::fromUtf8(v);
}
QStringView trimmed(QStringView v) { return v.trimmed(); }
QByteArrayView trimmed(QByteArrayView v)
{
    // Mostly there is nothing to trim: a letter at either end.
    auto plain = [](char c) { return c > ' ' && static_cast<unsigned char>(c) < 0x80; };
    return !v.isEmpty() && plain(v.front()) && plain(v.back()) ? v : trimmedUtf8(v);
}
char32_t unit(QChar c) { return c.unicode(); }
char32_t unit(char c) { return static_cast<unsigned char>(c); }

// "\" and line ends would split an entry.
std::optional<char32_t> firstSeparator(QStringView v)
{
    for (const QChar c : v)
        if (c == u'\\' || c == u'\n' || c == u'\r')
            return c.unicode();
    return std::nullopt;
}
std::optional<char32_t> firstSeparator(QByteArrayView v)
{
    for (const char c : v)
        if (c == '\\' || c == '\n' || c == '\r')
            return char32_t(c);
    return std::nullopt;
}

// One row's texts; absent ones are empty.
template <class View>
struct RowTexts {
    View slovo, preklad, article, forms, lesson;
};

// Rows into entry lines, all written one after another into one block:
// each lesson's lines are only places in it until the block is done.
template <class View>
class RowImporter {
    // A row's text kept beyond the row.
    using Owned = std::conditional_t<std::is_same_v<View, QStringView>, QString, QByteArray>;

public:
    // expected: about how many bytes the lines will take.
    RowImporter(int languageCode, bool byLesson, qsizetype expected)
        : m_language(languageCode), m_byLesson(byLesson), m_foreign(languageInfo(languageCode).foreignCodePage),
          m_hasClen(!articles(languageCode).isEmpty()), m_hasMn(languageCode == LangGerman),
          m_block(std::max<qsizetype>(expected, 64), Qt::Uninitialized)
    {
        for (const QString &a : articles(languageCode))
            m_articles.append(a.toLatin1());
    }

    // shown() gives the row as the file has it, for a refusal.
    template <class Shown>
    void add(qsizetype line, const RowTexts<View> &row, const Shown &shown)
    {
        const View slovo = trimmed(row.slovo);
        const View preklad = trimmed(row.preklad);
        if (slovo.isEmpty() && preklad.isEmpty())
            return;
        const View forms = m_hasMn ? trimmed(row.forms) : View();
        if (lessonIndex(m_byLesson ? trimmed(row.lesson) : View()) != kBadLesson) {
            // Straight into the block: a character never takes more bytes
            // in a code page than in the text it comes from.
            char *const start = room(7 + slovo.size() + forms.size() + preklad.size());
            char *to = start;
            *to++ = '0';
            *to++ = '=';
            if (m_hasClen) {
                // An article code is a place in a list of at most five: one digit.
                *to++ = char('0' + articleOf(row.article));
                *to++ = '\\';
            }
            char32_t refused = 0;
            to = toCodePage(slovo, m_foreign, to, true, &refused);
            if (to) {
                *to++ = '\\';
                if (m_hasMn && (to = toCodePage(forms, CodePage::Cp1250, to, true, &refused)))
                    *to++ = '\\';
            }
            if (to)
                to = toCodePage(preklad, CodePage::Cp1250, to, true, &refused);
            if (to) {
                m_places[size_t(lessonPlace())].push_back({m_used, to - start});
                m_used += to - start;
                return;
            }
        }
        refuse(line, slovo, preklad, forms, shown);
    }

    ImportResult take()
    {
        m_block.resize(m_used);
        // Every lesson's lines in one store, each lesson a part of it.
        LineStoreBuilder lines(std::move(m_block));
        std::vector<qsizetype> first;
        for (const std::vector<Place> &places : m_places) {
            first.push_back(lines.lineCount());
            for (const Place &p : places)
                lines.mark(p.from, p.size);
        }
        const LineStore all = lines.take();
        for (qsizetype i = 0; i < m_result.lessons.size(); ++i) {
            const qsizetype end = size_t(i) + 1 < first.size() ? first[size_t(i) + 1] : all.size();
            m_result.lessons[i].lines = ImportedLines(all.mid(first[size_t(i)], end - first[size_t(i)]));
        }
        return std::move(m_result);
    }

private:
    struct Place {
        qsizetype from, size;
    };

    char *room(qsizetype n)
    {
        if (m_used + n > m_block.size())
            m_block.resize(std::max(m_block.size() * 2, m_used + n));
        return m_block.data() + m_used;
    }

    // Why the row cannot be stored: its first field that cannot be, in the
    // order of the grid, a "\" or a line end before any other character;
    // otherwise its lesson's name.
    template <class Shown>
    void refuse(qsizetype line, View slovo, View preklad, View forms, const Shown &shown)
    {
        const struct {
            const char *name;
            View text;
            CodePage cp;
        } fields[] = {{"Slovo", slovo, m_foreign},
                      {"Překlad", preklad, CodePage::Cp1250},
                      {"Množné číslo (minulý čas)", forms, CodePage::Cp1250}};
        for (const auto &f : fields) {
            std::optional<char32_t> bad = firstSeparator(f.text);
            char32_t missing = 0;
            m_scratch.resize(f.text.size());
            if (!bad && !toCodePage(f.text, f.cp, m_scratch.data(), false, &missing))
                bad = missing;
            if (bad) {
                m_result.refused.append(RefusedRow{line, shown(), QString::fromUtf8(f.name), *bad, {}});
                return;
            }
        }
        m_result.refused.append(RefusedRow{line, shown(), QStringLiteral("Lekce"), m_lessonProblem, {}});
    }

    // Articles are ASCII but "není", which is no article: compared as bytes.
    int articleOf(View text)
    {
        const View a = trimmed(text);
        if (a.isEmpty())
            return kNoArticle;
        if (a.size() > 8)
            return articleCode(m_language, toText(a));
        char lower[8];
        for (qsizetype i = 0; i < a.size(); ++i) {
            const char32_t c = unit(a[i]);
            if (c >= 0x80)
                return articleCode(m_language, toText(a));
            lower[i] = c >= U'A' && c <= U'Z' ? char(c + 32) : char(c);
        }
        const QByteArrayView given(lower, a.size());
        for (int i = 0; i < m_articles.size(); ++i)
            if (i != kNoArticle && m_articles[i] == given)
                return i;
        return kNoArticle;
    }

    // The lesson's place in the result; kBadLesson when its name cannot be
    // stored, kNewLesson when the result has no word of it yet (a lesson
    // comes into the result with its first word). Rows mostly come lesson by
    // lesson: the last one is kept at hand.
    static constexpr qsizetype kBadLesson = -1;
    static constexpr qsizetype kNewLesson = -2;
    qsizetype lessonIndex(View lesson)
    {
        if (m_lastValid && lesson == View(m_lastName))
            return m_lastIndex;
        m_lastName = Owned(lesson.data(), lesson.size());
        m_lastValid = true;
        m_lastText = toText(lesson);
        m_lastIndex = kBadLesson;
        if (!m_lastText.isEmpty()) {
            char32_t bad = 0;
            m_scratch.resize(m_lastText.size());
            if (!toCodePage(QStringView(m_lastText), CodePage::Cp1250, m_scratch.data(), false, &bad)) {
                m_lessonProblem = bad;
                return m_lastIndex;
            }
            if (m_lastText.contains(u']')) {
                m_lessonProblem = U']';
                return m_lastIndex;
            }
        }
        m_lastIndex = m_lessonAt.value(m_lastText, kNewLesson);
        return m_lastIndex;
    }
    // The place of the lesson lessonIndex found, taken now if need be.
    qsizetype lessonPlace()
    {
        if (m_lastIndex == kNewLesson) {
            m_lastIndex = m_result.lessons.size();
            m_lessonAt.insert(m_lastText, m_lastIndex);
            m_result.lessons.append({m_lastText, {}});
            m_places.emplace_back();
        }
        return m_lastIndex;
    }

    int m_language;
    bool m_byLesson;
    CodePage m_foreign;
    bool m_hasClen;
    bool m_hasMn;
    QList<QByteArray> m_articles; // lower case, Latin-1
    ImportResult m_result;
    QByteArray m_block;
    qsizetype m_used = 0;
    std::vector<std::vector<Place>> m_places; // per lesson of the result
    QHash<QString, qsizetype> m_lessonAt;
    Owned m_lastName;
    QString m_lastText;
    bool m_lastValid = false;
    qsizetype m_lastIndex = -1;
    char32_t m_lessonProblem = 0;
    QByteArray m_scratch;
};

} // namespace

ImportResult importRows(const WordTable &table, const ColumnChoice &choice, int languageCode, bool byLesson)
{
    RowImporter<QStringView> importer(languageCode, byLesson, table.rows.size() * 48);
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
    ImportResult result = importer.take();
    // A KVTML entry has no line a user could look up: its word names it.
    if (!table.locales.isEmpty()) {
        for (RefusedRow &refused : result.refused) {
            // A KVTML table numbers its rows by their entries, from 1.
            if (refused.line < 1 || refused.line > table.rows.size())
                continue;
            const WordTable::Row &row = table.rows[refused.line - 1];
            for (const int c : {choice.slovo, choice.preklad})
                if (refused.entry.isEmpty() && c >= 0 && c < row.cells.size())
                    refused.entry = row.cells[c].text;
        }
    }
    return result;
}

namespace {

// Rows looked at to guess the separator.
constexpr int kSeparatorLines = 10;

// The bytes as UTF-8, as decodeWordList reads them: the byte-order mark
// dropped, and a second one right after it, as QString::fromUtf8 drops one;
// other text decoded from the code page given (plain ASCII is the same
// either way).
QByteArrayView asUtf8(QByteArrayView bytes, bool utf8, CodePage otherwise, QByteArray &converted)
{
    constexpr QByteArrayView bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) {
        bytes = bytes.sliced(bom.size());
        return bytes.startsWith(bom) ? bytes.sliced(bom.size()) : bytes;
    }
    if (utf8 || classifyWordList(bytes) == WordListBytes::Ascii)
        return bytes;
    converted = decode(bytes.toByteArray(), otherwise).toUtf8();
    return converted;
}

QByteArrayView cellAt(const std::vector<QByteArrayView> &cells, int c)
{
    return c >= 0 && size_t(c) < cells.size() ? cells[size_t(c)] : QByteArrayView();
}

// A cell of column c as the words take it: HTML as plain text, a deck as a
// lesson's name; `plain` keeps the bytes when they are new.
QByteArrayView cellText(QByteArrayView cell, const DelimitedHead &head, int c, QByteArray &plain)
{
    if (!head.html && c != head.deckColumn)
        return cell;
    plain = head.html ? plainFromHtml(cell) : cell.toByteArray();
    if (c == head.deckColumn)
        plain = deckAsLesson(plain);
    return plain;
}

// The first rows' text, enough to guess the separator from.
QString firstLines(QByteArrayView text)
{
    qsizetype end = 0;
    for (int lines = 0; lines < kSeparatorLines && end < text.size(); ++lines) {
        const qsizetype next = text.indexOf('\n', end);
        end = next < 0 ? text.size() : next + 1;
    }
    return QString::fromUtf8(text.first(end));
}

} // namespace

DelimitedHead readDelimitedHead(QByteArrayView bytes, CodePage otherwise, qsizetype rows,
                                std::optional<QChar> separator)
{
    DelimitedHead head;
    const TextHeaders headers = readTextHeaders(bytes);
    head.bodyStart = headers.bodyStart;
    head.html = headers.html;
    head.titles = headers.titles;
    head.deckColumn = int(headers.titles.indexOf(lessonColumnTitle()));
    const QByteArrayView body = bytes.sliced(head.bodyStart);
    head.utf8 = (head.bodyStart > 0 && headers.bom) || classifyWordList(body) == WordListBytes::Utf8;
    head.otherwise = otherwise;
    QByteArray converted;
    const QByteArrayView text = asUtf8(body, head.utf8, otherwise, converted);
    head.separator = separator ? *separator : headers.separator ? *headers.separator : guessSeparator(firstLines(text));
    DelimitedRows reader(text, char(head.separator.unicode()));
    while (reader.next()) {
        const std::vector<QByteArrayView> &cells = reader.cells();
        head.width = std::max(head.width, qsizetype(cells.size()));
        if (head.rows.size() < rows) {
            QStringList row;
            for (int c = 0; size_t(c) < cells.size(); ++c) {
                QByteArray plain;
                row.append(toText(cellText(cells[size_t(c)], head, c, plain)));
            }
            head.rows.append(row);
        }
    }
    return head;
}

ImportResult importDelimited(QByteArrayView bytes, const DelimitedHead &head, bool header, const ColumnChoice &choice,
                             int languageCode, bool byLesson)
{
    QByteArray converted;
    const QByteArrayView text = asUtf8(bytes.sliced(head.bodyStart), head.utf8, head.otherwise, converted);
    // The lines take less than the file: the other columns, the separators
    // and the line ends stay behind, and no letter grows.
    RowImporter<QByteArrayView> importer(languageCode, byLesson, text.size());
    qsizetype line = 0;
    qsizetype width = 0;
    int lessonColumn = -1;
    QList<qsizetype> refusedWidths; // a refused row is shown as wide as the widest row
    DelimitedRows reader(text, char(head.separator.unicode()));
    while (reader.next()) {
        const std::vector<QByteArrayView> &cells = reader.cells();
        ++line;
        width = std::max(width, qsizetype(cells.size()));
        if (line == 1) {
            for (int c = 0; header && size_t(c) < cells.size() && lessonColumn < 0; ++c) {
                QByteArray kept;
                if (cellText(cells[size_t(c)], head, c, kept) == "Lekce")
                    lessonColumn = c;
            }
            if (lessonColumn < 0)
                lessonColumn = head.deckColumn;
            if (header)
                continue;
        }
        RowTexts<QByteArrayView> texts;
        QByteArray plain[5];
        auto column = [&](int c, QByteArray &kept) { return cellText(cellAt(cells, c), head, c, kept); };
        texts.slovo = column(choice.slovo, plain[0]);
        texts.preklad = column(choice.preklad, plain[1]);
        texts.article = column(choice.clen, plain[2]);
        texts.forms = column(choice.mn, plain[3]);
        texts.lesson = column(lessonColumn, plain[4]);
        importer.add(line, texts, [&] {
            refusedWidths.append(qsizetype(cells.size()));
            // As the words would take the cells: without their HTML.
            QStringList shown;
            for (int c = 0; size_t(c) < cells.size(); ++c) {
                QByteArray kept;
                shown.append(toText(cellText(cells[size_t(c)], head, c, kept)));
            }
            return shown.join(u'\t');
        });
    }
    ImportResult result = importer.take();
    for (qsizetype i = 0; i < result.refused.size(); ++i)
        result.refused[i].text += QString(width - refusedWidths[i], u'\t');
    return result;
}

} // namespace lexitka
