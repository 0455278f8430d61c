#include "wordtable.h"

#include "exchange/textheaders.h"

namespace lexitka {

const QStringList &wordColumnTitles()
{
    static const QStringList titles{QStringLiteral("Člen"), QStringLiteral("Slovo"),
                                    QStringLiteral("Množné číslo (minulý čas)"), QStringLiteral("Překlad")};
    return titles;
}

QString lessonColumnTitle() { return QStringLiteral("Lekce"); }

bool looksLikeHeader(const QStringList &firstRow)
{
    for (const QString &cell : firstRow)
        if (wordColumnTitles().contains(cell.trimmed()) || cell.trimmed() == lessonColumnTitle())
            return true;
    return false;
}

WordTable tableFromDelimited(const QList<QStringList> &rows, bool header, qsizetype width, const QStringList &titles)
{
    WordTable table;
    for (const QStringList &row : rows)
        width = std::max(width, row.size());
    if (header && !rows.isEmpty())
        table.columns = rows.first();
    for (qsizetype c = 0; c < table.columns.size() && c < titles.size(); ++c)
        if (table.columns[c].trimmed().isEmpty() && !titles[c].isEmpty())
            table.columns[c] = titles[c];
    for (qsizetype c = table.columns.size(); c < width; ++c)
        table.columns.append(c < titles.size() && !titles[c].isEmpty() ? titles[c]
                                                                       : QStringLiteral("Sloupec %1").arg(c + 1));
    // The header's lesson column, else the one the file's own lines name.
    int lessonColumn = header && !rows.isEmpty() ? int(rows.first().indexOf(lessonColumnTitle())) : -1;
    if (lessonColumn < 0)
        lessonColumn = int(titles.indexOf(lessonColumnTitle()));
    for (qsizetype r = header ? 1 : 0; r < rows.size(); ++r) {
        WordTable::Row row;
        row.line = r + 1;
        for (qsizetype c = 0; c < width; ++c)
            row.cells.append({c < rows[r].size() ? rows[r][c] : QString(), {}, {}});
        if (lessonColumn >= 0 && lessonColumn < row.cells.size())
            row.lesson = row.cells[lessonColumn].text;
        // A row of empty cells is an empty line of the sheet, not a word.
        bool empty = true;
        for (const WordTable::Cell &cell : row.cells)
            empty = empty && cell.text.trimmed().isEmpty();
        if (!empty)
            table.rows.append(std::move(row));
    }
    return table;
}

ColumnChoice guessColumns(const WordTable &table, int languageCode)
{
    ColumnChoice choice;
    const QStringList &titles = wordColumnTitles();
    for (int c = 0; c < table.columns.size(); ++c) {
        const QString title = table.columns[c].trimmed();
        if (title == titles[0])
            choice.clen = c;
        else if (title == titles[1])
            choice.slovo = c;
        else if (title == titles[2])
            choice.mn = c;
        else if (title == titles[3])
            choice.preklad = c;
    }
    const QString foreign = QString::fromLatin1(languageInfo(languageCode).extension);
    for (int c = 0; c < table.locales.size(); ++c) {
        const QString locale = table.locales[c].toLower().left(2);
        if (choice.preklad < 0 && (locale == u"cs" || locale == u"cz"))
            choice.preklad = c;
        else if (choice.slovo < 0 && (locale == foreign || (languageCode == LangLatin && locale == u"la")))
            choice.slovo = c;
    }
    // Otherwise the first two free columns: foreign word, then Czech.
    const int lesson = int(table.columns.indexOf(lessonColumnTitle()));
    for (int c = 0; c < table.columns.size() && (choice.slovo < 0 || choice.preklad < 0); ++c) {
        if (c == choice.slovo || c == choice.preklad || c == choice.clen || c == choice.mn || c == lesson
            || isBookkeepingColumn(table.columns[c]))
            continue;
        (choice.slovo < 0 ? choice.slovo : choice.preklad) = c;
    }
    return choice;
}

QString characterName(char32_t c)
{
    return QStringLiteral("„%1“ (U+%2)")
        .arg(QString::fromUcs4(&c, 1), QString::number(quint32(c), 16).toUpper().rightJustified(4, u'0'));
}

QString unencodableMessage(const QString &text, CodePage cp, const QString &field)
{
    const std::optional<char32_t> c = unencodable(text, cp);
    if (!c)
        return {};
    return QStringLiteral("Znak %1 v poli „%2“ nelze uložit v kódové stránce slovníku. Napište ho jinak.")
        .arg(characterName(*c), field);
}

QString encodableLookalike(const QString &text, CodePage cp)
{
    QString out;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (!unencodable(one, cp)) {
            out += one;
            continue;
        }
        const QString base = one.normalized(QString::NormalizationForm_D).left(1);
        out += base != one && !unencodable(base, cp) ? base : QStringLiteral("_");
    }
    return out;
}

QString RefusedRow::reason() const
{
    const QString where = entry.isEmpty() ? QStringLiteral("Řádek %1").arg(line) : QStringLiteral("„%1“").arg(entry);
    if (character == U'\\')
        return QStringLiteral("%1: pole „%2“ obsahuje znak „\\“, který slovník používá jako oddělovač.")
            .arg(where, field);
    if (character == U'\n' || character == U'\r')
        return QStringLiteral("%1: pole „%2“ obsahuje konec řádku.").arg(where, field);
    if (character == U']')
        return QStringLiteral("%1: jméno lekce nesmí obsahovat znak „]“.").arg(where);
    return QStringLiteral("%1: znak %2 v poli „%3“ nelze uložit v kódové stránce slovníku.")
        .arg(where, characterName(character), field);
}

std::optional<char32_t> unencodable(const QString &text, CodePage cp)
{
    const Encoded e = encodeField(text, cp);
    return e.missing;
}

Encoded encodeField(const QString &text, CodePage cp)
{
    Encoded out;
    out.bytes.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        const std::optional<char> b = encodeChar(c, cp);
        if (!b) {
            out.missing = c;
            return out;
        }
        out.bytes.append(*b);
    }
    return out;
}

int articleCode(int languageCode, const QString &article)
{
    const QString a = article.trimmed().toLower();
    if (a.isEmpty())
        return kNoArticle;
    const QStringList &list = articles(languageCode);
    for (int i = 0; i < list.size(); ++i)
        if (i != kNoArticle && list[i] == a)
            return i;
    return kNoArticle;
}

} // namespace lexitka
