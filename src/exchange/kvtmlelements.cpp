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
    // <plural> stands in <declension> itself or, as KDE's library writes
    // it, under the noun's gender; the first one found counts.
    std::optional<QString> found;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (found) {
            xml.skipCurrentElement();
        } else if (name == u"plural") {
            if (toChild(xml, u"nominative")) {
                found = value(xml);
                xml.skipCurrentElement(); // the rest of <plural>
            }
        } else if (name == u"male" || name == u"female" || name == u"neutral") {
            found = nominativePlural(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
    return found;
}

Conjugation conjugation(QXmlStreamReader &xml)
{
    static const char16_t *const persons[] = {u"thirdpersonmale", u"thirdpersonneutralcommon", u"thirdpersonfemale",
                                              u"firstperson"};
    Conjugation result;
    bool tense = false;
    QString found[4];
    bool seen[4] = {};
    bool singular = false;
    while (xml.readNextStartElement()) {
        if (!tense && xml.name() == u"tense") {
            tense = true;
            result.tense = ownText(xml).trimmed();
        } else if (!singular && xml.name() == u"singular") {
            singular = true;
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
        } else {
            xml.skipCurrentElement();
        }
    }
    for (const QString &f : found) {
        if (!f.isEmpty()) {
            result.form = f;
            break;
        }
    }
    return result;
}

namespace {

// The place of a tense among a German verb's forms by its name: 0 present,
// 1 preterite, 2 perfect, -1 for a name not known.
int tensePlace(const QString &name)
{
    const QString n = name.toLower();
    static const char16_t *const present[] = {u"präsens", u"praesens", u"prasens", u"present", u"gegenwart"};
    static const char16_t *const preterite[] = {u"präteritum", u"praeteritum", u"prateritum", u"imperfekt",
                                                u"preterite",  u"simple past", u"past",       u"vergangenheit"};
    static const char16_t *const perfect[] = {u"perfekt", u"perfect", u"present perfect"};
    for (const char16_t *p : present)
        if (n == QStringView(p))
            return 0;
    for (const char16_t *p : preterite)
        if (n == QStringView(p))
            return 1;
    for (const char16_t *p : perfect)
        if (n == QStringView(p))
            return 2;
    return -1;
}

// "hat gesehen" as the dictionary writes a perfect: "h gesehen".
QString dictionaryPerfect(const QString &form)
{
    if (form.startsWith(QStringLiteral("hat ")))
        return QStringLiteral("h ") + form.mid(4).trimmed();
    if (form.startsWith(QStringLiteral("ist ")))
        return QStringLiteral("i ") + form.mid(4).trimmed();
    return form;
}

} // namespace

QString verbForms(const QList<Conjugation> &conjugations)
{
    // Tenses known by name go to their places, whatever order the file
    // gives them in (KDE's library writes them sorted by name); the others
    // fill the free places in the file's order.
    QStringList forms(3);
    bool taken[3] = {};
    QStringList others;
    for (const Conjugation &c : conjugations) {
        if (c.form.isEmpty())
            continue;
        const int place = tensePlace(c.tense);
        if (place >= 0 && !taken[place]) {
            taken[place] = true;
            forms[place] = place == 2 ? dictionaryPerfect(c.form) : c.form;
        } else {
            others.append(c.form);
        }
    }
    for (int place = 0; place < 3 && !others.isEmpty(); ++place) {
        if (!taken[place]) {
            taken[place] = true;
            forms[place] = others.takeFirst();
        }
    }
    int used = 3;
    while (used > 0 && !taken[used - 1])
        --used;
    QStringList result;
    for (int place = 0; place < used; ++place)
        result.append(forms[place]);
    return (result + others).join(u',');
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
