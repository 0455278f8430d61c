// Lessons out as text and as KVTML.
#include "kvtml.h"

#include "exchange/delimitedtext.h"

#include <QXmlStreamWriter>

#include <algorithm>

namespace lexitka {

QStringList wordCells(QByteArrayView line, int languageCode)
{
    const WordFields w = wordFields(line, languageCode);
    return {articleCell(languageCode, w.Clen),
            decode(w.Slovo.toByteArray(), languageInfo(languageCode).foreignCodePage),
            decode(w.Mn.toByteArray(), CodePage::Cp1250), decode(w.Preklad.toByteArray(), CodePage::Cp1250)};
}

QByteArray writeTsv(const QList<ExportLesson> &lessons, int languageCode)
{
    const bool named = lessons.size() > 1;
    QString out;
    QStringList header = wordColumnTitles();
    if (named)
        header.prepend(lessonColumnTitle());
    out += tsvRow(header) + u'\n';
    for (const ExportLesson &lesson : lessons) {
        const QString name = decode(lesson.name, CodePage::Cp1250);
        for (const QByteArray &line : lesson.lines) {
            QStringList cells = wordCells(line, languageCode);
            if (named)
                cells.prepend(name);
            out += tsvRow(cells) + u'\n';
        }
    }
    return out.toUtf8();
}

QByteArray writeKvtml(const QList<ExportLesson> &lessons, int languageCode, const QString &title)
{
    static const char *const localeOf[] = {"en", "de", "fr", "ru", "es", "la"};
    static const char *const nameOf[] = {"Angličtina", "Němčina", "Francouzština", "Ruština", "Španělština", "Latina"};
    const int index = std::clamp(languageCode - LangEnglish, 0, 5);
    const CodePage foreign = languageInfo(languageCode).foreignCodePage;
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
    xml.writeStartElement(QStringLiteral("kvtml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("information"));
    xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Lexitka"));
    xml.writeTextElement(QStringLiteral("title"), title);
    xml.writeEndElement();

    const QStringList &list = articles(languageCode);
    xml.writeStartElement(QStringLiteral("identifiers"));
    for (int id = 0; id < 2; ++id) {
        xml.writeStartElement(QStringLiteral("identifier"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("name"), QString::fromUtf8(id == 0 ? nameOf[index] : "Čeština"));
        xml.writeTextElement(QStringLiteral("locale"), QString::fromLatin1(id == 0 ? localeOf[index] : "cs"));
        if (id == 0 && !list.isEmpty()) {
            const QStringList defaults = kvtmlDefaultArticles(QString::fromLatin1(localeOf[index]));
            xml.writeStartElement(QStringLiteral("article"));
            for (int number = 0; number < 2; ++number) {
                xml.writeStartElement(QString::fromLatin1(number == 0 ? "singular" : "plural"));
                xml.writeStartElement(QStringLiteral("definite"));
                int g = 0;
                for (const char *gender : {"male", "female", "neutral"}) {
                    const int at = number * 3 + g++;
                    if (at < defaults.size() && !defaults[at].isEmpty())
                        xml.writeTextElement(QString::fromLatin1(gender), defaults[at]);
                }
                xml.writeEndElement();
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();

    // Entries first, then the lessons and the genders that refer to them.
    QList<QList<int>> lessonEntries;
    QList<int> genderEntries[3];
    int next = 0;
    xml.writeStartElement(QStringLiteral("entries"));
    for (const ExportLesson &lesson : lessons) {
        lessonEntries.append(QList<int>());
        for (const QByteArray &line : lesson.lines) {
            const WordFields w = wordFields(line, languageCode);
            const int id = next++;
            lessonEntries.last().append(id);
            const int article = articleIndex(w.Clen);
            QString word = decode(w.Slovo.toByteArray(), foreign);
            // Gender says der, die, das, le, la, el, la; the plural articles go before the word.
            const bool byGender = !list.isEmpty() && article >= 0 && article < 2 + (languageCode == LangGerman);
            if (!list.isEmpty() && !byGender && article != kNoArticle && article >= 0 && article < list.size())
                word = list[article] + u' ' + word;
            if (byGender)
                genderEntries[article].append(id);
            const QString forms = decode(w.Mn.toByteArray(), CodePage::Cp1250);
            xml.writeStartElement(QStringLiteral("entry"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(id));
            xml.writeStartElement(QStringLiteral("translation"));
            xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
            xml.writeTextElement(QStringLiteral("text"), word);
            if (languageCode == LangGerman && !forms.isEmpty()) {
                if (article == kNoArticle && forms.contains(u',')) {
                    static const char *const tenses[] = {"Präsens", "Präteritum", "Perfekt"};
                    const QStringList parts = forms.split(u',');
                    for (int t = 0; t < parts.size(); ++t) {
                        xml.writeStartElement(QStringLiteral("conjugation"));
                        xml.writeTextElement(QStringLiteral("tense"),
                                             t < 3 ? QString::fromUtf8(tenses[t]) : QStringLiteral("%1").arg(t + 1));
                        xml.writeStartElement(QStringLiteral("singular"));
                        xml.writeStartElement(QStringLiteral("thirdpersonmale"));
                        xml.writeTextElement(QStringLiteral("text"), parts[t]);
                        xml.writeEndElement();
                        xml.writeEndElement();
                        xml.writeEndElement();
                    }
                } else {
                    xml.writeStartElement(QStringLiteral("declension"));
                    xml.writeStartElement(QStringLiteral("plural"));
                    xml.writeStartElement(QStringLiteral("nominative"));
                    xml.writeTextElement(QStringLiteral("text"), forms);
                    xml.writeEndElement();
                    xml.writeEndElement();
                    xml.writeEndElement();
                }
            }
            xml.writeEndElement();
            xml.writeStartElement(QStringLiteral("translation"));
            xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
            xml.writeTextElement(QStringLiteral("text"), decode(w.Preklad.toByteArray(), CodePage::Cp1250));
            xml.writeEndElement();
            xml.writeEndElement();
        }
    }
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("lessons"));
    for (qsizetype l = 0; l < lessons.size(); ++l) {
        xml.writeStartElement(QStringLiteral("container"));
        xml.writeTextElement(QStringLiteral("name"), decode(lessons[l].name, CodePage::Cp1250));
        xml.writeTextElement(QStringLiteral("inpractice"), QStringLiteral("true"));
        for (int id : lessonEntries[l]) {
            xml.writeEmptyElement(QStringLiteral("entry"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();

    if (!list.isEmpty()) {
        xml.writeStartElement(QStringLiteral("wordtypes"));
        xml.writeStartElement(QStringLiteral("container"));
        xml.writeTextElement(QStringLiteral("name"), QStringLiteral("Podstatné jméno"));
        xml.writeTextElement(QStringLiteral("specialwordtype"), QStringLiteral("noun"));
        static const char *const genders[] = {"male", "female", "neutral"};
        static const char *const names[] = {"Mužský rod", "Ženský rod", "Střední rod"};
        for (int g = 0; g < 3; ++g) {
            if (genderEntries[g].isEmpty())
                continue;
            xml.writeStartElement(QStringLiteral("container"));
            xml.writeTextElement(QStringLiteral("name"), QString::fromUtf8(names[g]));
            xml.writeTextElement(QStringLiteral("specialwordtype"),
                                 QStringLiteral("noun/") + QString::fromLatin1(genders[g]));
            for (int id : genderEntries[g]) {
                xml.writeStartElement(QStringLiteral("entry"));
                xml.writeAttribute(QStringLiteral("id"), QString::number(id));
                xml.writeEmptyElement(QStringLiteral("translation"));
                xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

} // namespace lexitka
