#include "textheaders.h"

#include "exchange/wordtable.h"

namespace lexitka {
namespace {

std::optional<QChar> separatorNamed(const QString &value)
{
    const QString v = value.trimmed().toLower();
    static const std::pair<const char16_t *, char16_t> named[] = {
        {u"tab", u'\t'}, {u"comma", u','}, {u"semicolon", u';'}, {u"space", u' '}, {u"pipe", u'|'}, {u"colon", u':'}};
    for (const auto &[name, c] : named)
        if (v == QStringView(name))
            return QChar(c);
    if (value == u"\t" || (v.size() == 1 && v.at(0).unicode() < 0x80))
        return value == u"\t" ? QChar(u'\t') : v.at(0);
    return std::nullopt;
}

const QString &tagsTitle()
{
    static const QString t = QStringLiteral("Štítky");
    return t;
}
const QString &noteTypeTitle()
{
    static const QString t = QStringLiteral("Typ poznámky");
    return t;
}
const QString &noteIdTitle()
{
    static const QString t = QStringLiteral("GUID");
    return t;
}

} // namespace

bool isBookkeepingColumn(const QString &title)
{
    return title == tagsTitle() || title == noteTypeTitle() || title == noteIdTitle();
}

TextHeaders readTextHeaders(QByteArrayView bytes)
{
    TextHeaders h;
    constexpr QByteArrayView bom("\xEF\xBB\xBF");
    qsizetype at = 0;
    if (bytes.startsWith(bom)) {
        h.bom = true;
        at = bom.size();
    }
    QString columns;
    auto title = [&h](int column, const QString &text) {
        if (column < 1 || column > 1000)
            return;
        while (h.titles.size() < column)
            h.titles.append(QString());
        h.titles[column - 1] = text;
    };
    while (at < bytes.size() && bytes[at] == '#') {
        qsizetype end = at;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QString line = QString::fromUtf8(bytes.sliced(at + 1, end - at - 1));
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            break; // a row that starts with "#", not a header
        const QString key = line.left(colon).trimmed().toLower();
        const QString value = line.mid(colon + 1);
        // Only the keys such a file has: a first row such as "#1: word" is a word.
        static const QStringList keys{
            QStringLiteral("separator"),   QStringLiteral("html"),        QStringLiteral("columns"),
            QStringLiteral("tags"),        QStringLiteral("deck"),        QStringLiteral("notetype"),
            QStringLiteral("deck column"), QStringLiteral("tags column"), QStringLiteral("notetype column"),
            QStringLiteral("guid column"), QStringLiteral("if matches")};
        if (!keys.contains(key))
            break;
        if (key == u"separator")
            h.separator = separatorNamed(value);
        else if (key == u"html")
            h.html = value.trimmed().toLower() == u"true";
        else if (key == u"columns")
            columns = value;
        else if (key == u"deck column")
            title(value.trimmed().toInt(), lessonColumnTitle());
        else if (key == u"tags column")
            title(value.trimmed().toInt(), tagsTitle());
        else if (key == u"notetype column")
            title(value.trimmed().toInt(), noteTypeTitle());
        else if (key == u"guid column")
            title(value.trimmed().toInt(), noteIdTitle());
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++end;
        at = std::min(end + 1, bytes.size());
        h.bodyStart = at;
    }
    // Named columns keep the titles of the deck and the tags.
    if (!columns.isEmpty()) {
        const QStringList names = columns.split(h.separator.value_or(u'\t'));
        for (int c = 0; c < names.size(); ++c)
            if (c >= h.titles.size() || h.titles[c].isEmpty())
                title(c + 1, names[c].trimmed());
    }
    return h;
}

QByteArray deckAsLesson(QByteArrayView deck)
{
    QByteArray name = deck.toByteArray();
    name.replace("::", " / ");
    return name;
}

namespace {

// The character a reference names ("amp", "#353", "#x161"), if it is one.
std::optional<char32_t> referenced(QByteArrayView name)
{
    static const std::pair<const char *, char32_t> named[] = {{"amp", U'&'},  {"lt", U'<'},    {"gt", U'>'},
                                                              {"quot", U'"'}, {"apos", U'\''}, {"nbsp", U' '}};
    for (const auto &[n, c] : named)
        if (name == QByteArrayView(n))
            return c;
    if (name.size() < 2 || name[0] != '#')
        return std::nullopt;
    bool ok = false;
    const uint code = name[1] == 'x' || name[1] == 'X' ? name.sliced(2).toByteArray().toUInt(&ok, 16)
                                                       : name.sliced(1).toByteArray().toUInt(&ok, 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    return code == 0xA0 ? U' ' : char32_t(code);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

} // namespace

QByteArray plainFromHtml(QByteArrayView utf8)
{
    QByteArray out;
    out.reserve(utf8.size());
    bool blank = false; // a blank is owed before the next character
    auto put = [&](QByteArrayView text) {
        if (blank && !out.isEmpty())
            out.append(' ');
        blank = false;
        out.append(text);
    };
    const qsizetype n = utf8.size();
    for (qsizetype i = 0; i < n;) {
        const char c = utf8[i];
        if (c == '<') {
            const qsizetype close = utf8.indexOf('>', i);
            if (close < 0) {
                put(utf8.sliced(i, 1));
                ++i;
                continue;
            }
            // A line break or the end of a block parts words; other tags do not.
            QByteArray tag = utf8.sliced(i + 1, close - i - 1).toByteArray().toLower();
            if (tag.startsWith('/'))
                tag.remove(0, 1);
            const qsizetype end = tag.indexOf(' ');
            tag = tag.left(end < 0 ? tag.size() : end);
            if (tag.endsWith('/'))
                tag.chop(1);
            if (tag == "br" || tag == "div" || tag == "p" || tag == "li" || tag == "tr" || tag == "td")
                blank = true;
            i = close + 1;
        } else if (c == '&') {
            const qsizetype semi = utf8.indexOf(';', i);
            const std::optional<char32_t> ch =
                semi > i && semi - i <= 10 ? referenced(utf8.sliced(i + 1, semi - i - 1)) : std::nullopt;
            if (!ch) {
                put(utf8.sliced(i, 1));
                ++i;
                continue;
            }
            if (*ch == U' ')
                blank = true;
            else
                put(QString::fromUcs4(&*ch, 1).toUtf8());
            i = semi + 1;
        } else if (isBlank(c)) {
            blank = true;
            ++i;
        } else if (c == '\xC2' && i + 1 < n && utf8[i + 1] == '\xA0') {
            blank = true; // U+00A0
            i += 2;
        } else {
            put(utf8.sliced(i, 1));
            ++i;
        }
    }
    return out;
}

} // namespace lexitka
