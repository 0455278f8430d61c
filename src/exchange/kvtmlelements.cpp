#include "kvtmlelements.h"

#include "exchange/kvtml.h"

namespace lexitka::kvtmlxml {

QString ownText(QXmlStreamReader &xml)
{
    QString text;
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement())
            ++depth;
        else if (xml.isEndElement() && depth-- == 0)
            break;
        else if (depth == 0 && xml.isCharacters() && !xml.isWhitespace())
            text += xml.text();
    }
    return text;
}

QString value(QXmlStreamReader &xml)
{
    QString own;
    QString inText;
    bool hasText = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (!hasText && xml.name() == u"text") {
                inText = ownText(xml);
                hasText = true;
            } else {
                xml.skipCurrentElement();
            }
        } else if (xml.isEndElement()) {
            break;
        } else if (xml.isCharacters() && !xml.isWhitespace()) {
            own += xml.text();
        }
    }
    return (hasText ? inText : own).trimmed();
}

bool toChild(QXmlStreamReader &xml, QStringView name)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == name)
            return true;
        xml.skipCurrentElement();
    }
    return false;
}

std::optional<QString> nominativePlural(QXmlStreamReader &xml)
{
    std::optional<QString> found;
    if (toChild(xml, u"plural")) {
        if (toChild(xml, u"nominative")) {
            found = value(xml);
            xml.skipCurrentElement(); // the rest of <plural>
        }
        xml.skipCurrentElement(); // the rest of <declension>
    }
    return found;
}

QString conjugatedForm(QXmlStreamReader &xml)
{
    static const char16_t *const persons[] = {u"thirdpersonmale", u"thirdpersonneutralcommon", u"thirdpersonfemale",
                                              u"firstperson"};
    QString found[4];
    bool seen[4] = {};
    if (toChild(xml, u"singular")) {
        while (xml.readNextStartElement()) {
            int p = 0;
            while (p < 4 && xml.name() != QStringView(persons[p]))
                ++p;
            if (p < 4 && !seen[p]) {
                seen[p] = true;
                found[p] = value(xml);
            } else {
                xml.skipCurrentElement();
            }
        }
        xml.skipCurrentElement();
    }
    for (const QString &f : found)
        if (!f.isEmpty())
            return f;
    return {};
}

Identifier readIdentifier(QXmlStreamReader &xml)
{
    Identifier ident;
    ident.id = xml.attributes().value(QLatin1StringView("id")).toString();
    bool name = false, locale = false, article = false;
    QStringList given;
    while (xml.readNextStartElement()) {
        if (!name && xml.name() == u"name") {
            ident.name = ownText(xml).trimmed();
            name = true;
        } else if (!locale && xml.name() == u"locale") {
            ident.locale = ownText(xml).trimmed();
            locale = true;
        } else if (!article && xml.name() == u"article") {
            article = true;
            bool numbers[2] = {};
            while (xml.readNextStartElement()) {
                const int number = xml.name() == u"singular" ? 0 : xml.name() == u"plural" ? 1 : -1;
                if (number < 0 || numbers[number]) {
                    xml.skipCurrentElement();
                    continue;
                }
                numbers[number] = true;
                if (toChild(xml, u"definite")) {
                    bool genders[3] = {};
                    while (xml.readNextStartElement()) {
                        const int g = xml.name() == u"male"      ? 0
                                      : xml.name() == u"female"  ? 1
                                      : xml.name() == u"neutral" ? 2
                                                                 : -1;
                        if (g < 0 || genders[g]) {
                            xml.skipCurrentElement();
                            continue;
                        }
                        genders[g] = true;
                        const QString a = ownText(xml).trimmed();
                        if (!a.isEmpty()) {
                            while (given.size() <= number * 3 + g)
                                given.append(QString());
                            given[number * 3 + g] = a;
                        }
                    }
                    xml.skipCurrentElement();
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    ident.definite = kvtmlDefaultArticles(ident.locale);
    for (int i = 0; i < given.size(); ++i) {
        if (given[i].isEmpty())
            continue;
        while (ident.definite.size() <= i)
            ident.definite.append(QString());
        ident.definite[i] = given[i];
    }
    return ident;
}

} // namespace lexitka::kvtmlxml
