// Lessons out as KVTML 2.0, written byte by byte into one buffer or, for a
// file, a small one handed on as it fills. The layout is the one
// QXmlStreamWriter gives with an indent of one space, so a file reads as it
// always did.
#include "kvtml.h"
#include "exchange/kvtmlwriter.h"

#include "exchange/cellbytes.h"
#include "exchange/exportlines.h"

#include <algorithm>

namespace lexitka {
namespace {

// The tenses of a German verb's forms, in their order.
const char *const kTenses[] = {"Präsens", "Präteritum", "Perfekt"};

// Bytes per word beyond its own text, to reserve the buffer once.
constexpr qsizetype kKvtmlEntryExtra = 400;

class XmlOut {
public:
    explicit XmlOut(ByteWriter &out) : m_out(out) { }
    void open(int depth, const char *tag)
    {
        startTag(depth, tag);
        m_out.put(">\n");
    }
    void openWithId(int depth, const char *tag, qsizetype id)
    {
        startTag(depth, tag);
        withId(id);
        m_out.put(">\n");
    }
    void close(int depth, const char *tag)
    {
        indent(depth);
        m_out.put("</");
        m_out.putCString(tag);
        m_out.put(">\n");
    }
    void empty(int depth, const char *tag)
    {
        startTag(depth, tag);
        m_out.put("/>\n");
    }
    void text(int depth, const char *tag, QByteArrayView bytes, CodePage cp)
    {
        start(depth, tag);
        appendXmlText(m_out, bytes, cp);
        end(tag);
    }
    void text(int depth, const char *tag, const QString &value)
    {
        start(depth, tag);
        appendXmlText(m_out, value);
        end(tag);
    }
    void start(int depth, const char *tag)
    {
        startTag(depth, tag);
        m_out.put('>');
    }
    void end(const char *tag)
    {
        m_out.put("</");
        m_out.putCString(tag);
        m_out.put(">\n");
    }

private:
    void indent(int depth)
    {
        static const char spaces[] = "                ";
        m_out.put(spaces, depth);
    }
    void startTag(int depth, const char *tag)
    {
        indent(depth);
        m_out.put('<');
        m_out.putCString(tag);
    }
    void withId(qsizetype id)
    {
        m_out.put(" id=\"");
        m_out.putNumber(id);
        m_out.put('"');
    }
    ByteWriter &m_out;
};

void writeIdentifiers(XmlOut &xml, int languageCode)
{
    static const char *const localeOf[] = {"en", "de", "fr", "ru", "es", "la"};
    static const char *const nameOf[] = {"Angličtina", "Němčina", "Francouzština", "Ruština", "Španělština", "Latina"};
    const int index = std::clamp(languageCode - LangEnglish, 0, 5);
    xml.open(1, "identifiers");
    for (int id = 0; id < 2; ++id) {
        xml.openWithId(2, "identifier", id);
        xml.text(3, "name", QString::fromUtf8(id == 0 ? nameOf[index] : "Čeština"));
        xml.text(3, "locale", QString::fromLatin1(id == 0 ? localeOf[index] : "cs"));
        if (id == 0 && !articles(languageCode).isEmpty()) {
            const QStringList defaults = kvtmlDefaultArticles(QString::fromLatin1(localeOf[index]));
            xml.open(3, "article");
            for (int number = 0; number < 2; ++number) {
                const char *numberTag = number == 0 ? "singular" : "plural";
                xml.open(4, numberTag);
                QList<std::pair<const char *, QString>> given;
                int g = 0;
                for (const char *gender : {"male", "female", "neutral"}) {
                    const int at = number * 3 + g++;
                    if (at < defaults.size() && !defaults[at].isEmpty())
                        given.append({gender, defaults[at]});
                }
                if (given.isEmpty()) {
                    xml.empty(5, "definite");
                } else {
                    xml.open(5, "definite");
                    for (const auto &[gender, article] : given)
                        xml.text(6, gender, article);
                    xml.close(5, "definite");
                }
                xml.close(4, numberTag);
            }
            xml.close(3, "article");
        }
        // The tenses a German verb's forms are given in, as the identifier names them.
        if (id == 0 && languageCode == LangGerman)
            for (const char *tense : kTenses)
                xml.text(3, "tense", QString::fromUtf8(tense));
        xml.close(2, "identifier");
    }
    xml.close(1, "identifiers");
}

// A German verb's forms, one tense each, the perfect's auxiliary written
// out ("hat gesehen"); a noun's plural under its gender, where KDE's
// library looks for it (under "male", the first gender, for a noun that
// has none). Each element around a text is one literal: a file of many
// words repeats them all.
void writeForms(ByteWriter &out, QByteArrayView forms, bool verb, int gender)
{
    if (!verb) {
        static const char *const genders[] = {"male", "female", "neutral"};
        const char *tag = genders[gender >= 0 && gender < 3 ? gender : 0];
        out.put("    <declension>\n     <");
        out.putCString(tag);
        out.put(">\n      <plural>\n       <nominative>\n        <text>");
        appendXmlText(out, forms, CodePage::Cp1250);
        out.put("</text>\n       </nominative>\n      </plural>\n     </");
        out.putCString(tag);
        out.put(">\n    </declension>\n");
        return;
    }
    int t = 0;
    for (qsizetype from = 0;; ++t) {
        const qsizetype comma = forms.indexOf(',', from);
        QByteArrayView part = forms.sliced(from, (comma < 0 ? forms.size() : comma) - from);
        out.put("    <conjugation>\n     <tense>");
        if (t < 3)
            out.putCString(kTenses[t]);
        else
            out.putNumber(t + 1);
        out.put("</tense>\n     <singular>\n      <thirdpersonmale>\n       <text>");
        if (t == 2 && (part.startsWith("h ") || part.startsWith("i "))) {
            out.put(part.front() == 'h' ? QByteArrayView("hat ") : QByteArrayView("ist "));
            part = part.sliced(2);
        }
        appendXmlText(out, part, CodePage::Cp1250);
        out.put("</text>\n      </thirdpersonmale>\n     </singular>\n    </conjugation>\n");
        if (comma < 0)
            break;
        from = comma + 1;
    }
}

void kvtmlInto(ByteWriter &out, const QList<ExportLesson> &lessons, int languageCode, const QString &title)
{
    const CodePage foreign = languageInfo(languageCode).foreignCodePage;
    const QStringList &list = articles(languageCode);
    QList<QByteArray> articleBytes;
    for (const QString &a : list)
        articleBytes.append(a.toUtf8());
    qsizetype lineCount = 0;
    for (const ExportLesson &lesson : lessons)
        lineCount += lesson.lines.size();
    XmlOut xml(out);
    out.put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n"
            "<kvtml version=\"2.0\">\n");
    xml.open(1, "information");
    xml.text(2, "generator", QStringLiteral("Lexitka"));
    xml.text(2, "title", title);
    xml.close(1, "information");
    writeIdentifiers(xml, languageCode);

    // Entries first, then the lessons and the genders that refer to them.
    QList<qsizetype> genderEntries[3];
    QList<qsizetype> verbEntries;
    qsizetype next = 0;
    // An element with nothing in it is written as an empty one.
    if (lineCount == 0)
        xml.empty(1, "entries");
    else
        xml.open(1, "entries");
    for (const ExportLesson &lesson : lessons) {
        for (const QByteArrayView line : lesson.lines) {
            const WordFields w = wordFields(line, languageCode);
            const qsizetype id = next++;
            const int article = articleIndex(w.Clen);
            out.put("  <entry id=\"");
            out.putNumber(id);
            out.put("\">\n   <translation id=\"0\">\n    <text>");
            // Gender says der, die, das, le, la, el, la; the plural articles go before the word.
            const bool byGender = !list.isEmpty() && article >= 0 && article < 2 + (languageCode == LangGerman);
            if (!list.isEmpty() && !byGender && article != kNoArticle && article >= 0 && article < list.size()) {
                out.put(articleBytes[article]);
                out.put(' ');
            }
            appendXmlText(out, w.Slovo, foreign);
            out.put("</text>\n");
            if (byGender)
                genderEntries[article].append(id);
            const bool verb = languageCode == LangGerman && article == kNoArticle && w.Mn.contains(',');
            if (verb)
                verbEntries.append(id);
            if (languageCode == LangGerman && !w.Mn.isEmpty())
                writeForms(out, w.Mn, verb, article);
            out.put("   </translation>\n   <translation id=\"1\">\n    <text>");
            appendXmlText(out, w.Preklad, CodePage::Cp1250);
            out.put("</text>\n   </translation>\n  </entry>\n");
        }
    }
    if (lineCount > 0)
        xml.close(1, "entries");

    if (lessons.isEmpty())
        xml.empty(1, "lessons");
    else
        xml.open(1, "lessons");
    next = 0;
    for (const ExportLesson &lesson : lessons) {
        xml.open(2, "container");
        xml.text(3, "name", lesson.name, CodePage::Cp1250);
        xml.text(3, "inpractice", QStringLiteral("true"));
        for (qsizetype i = 0; i < lesson.lines.size(); ++i) {
            out.put("   <entry id=\"");
            out.putNumber(next++);
            out.put("\"/>\n");
        }
        xml.close(2, "container");
    }
    if (!lessons.isEmpty())
        xml.close(1, "lessons");

    if (!list.isEmpty()) {
        xml.open(1, "wordtypes");
        xml.open(2, "container");
        xml.text(3, "name", QStringLiteral("Podstatné jméno"));
        xml.text(3, "specialwordtype", QStringLiteral("noun"));
        static const char *const genders[] = {"male", "female", "neutral"};
        static const char *const names[] = {"Mužský rod", "Ženský rod", "Střední rod"};
        for (int g = 0; g < 3; ++g) {
            if (genderEntries[g].isEmpty())
                continue;
            xml.open(3, "container");
            xml.text(4, "name", QString::fromUtf8(names[g]));
            xml.text(4, "specialwordtype", QStringLiteral("noun/") + QString::fromLatin1(genders[g]));
            for (qsizetype id : genderEntries[g]) {
                out.put("    <entry id=\"");
                out.putNumber(id);
                out.put("\">\n     <translation id=\"0\"/>\n    </entry>\n");
            }
            xml.close(3, "container");
        }
        xml.close(2, "container");
        if (!verbEntries.isEmpty()) {
            xml.open(2, "container");
            xml.text(3, "name", QStringLiteral("Sloveso"));
            xml.text(3, "specialwordtype", QStringLiteral("verb"));
            for (qsizetype id : verbEntries) {
                out.put("   <entry id=\"");
                out.putNumber(id);
                out.put("\">\n    <translation id=\"0\"/>\n   </entry>\n");
            }
            xml.close(2, "container");
        }
        xml.close(1, "wordtypes");
    }
    out.put("</kvtml>\n");
}

} // namespace

QByteArray writeKvtml(const QList<ExportLesson> &lessons, int languageCode, const QString &title)
{
    qsizetype lineCount = 0;
    ByteWriter out(exportedBytes(lessons, kKvtmlEntryExtra, lineCount) + 2048);
    kvtmlInto(out, lessons, languageCode, title);
    return out.take();
}

bool writeKvtml(ByteSink &sink, const QList<ExportLesson> &lessons, int languageCode, const QString &title)
{
    ByteWriter out(sink);
    kvtmlInto(out, lessons, languageCode, title);
    return out.finish();
}

} // namespace lexitka
