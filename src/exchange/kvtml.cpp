#include "kvtml.h"

#include "exchange/delimitedtext.h"

#include <QHash>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <memory>
#include <vector>

namespace lexitka {
namespace {

// The document as a small tree: KVTML refers across its parts by ids.
struct Node {
    QString name;
    QString id;
    QString text;
    std::vector<std::unique_ptr<Node>> children;

    const Node *child(QStringView n) const
    {
        for (const auto &c : children)
            if (c->name == n)
                return c.get();
        return nullptr;
    }
    // An element's text, given directly or in a <text> child.
    QString value() const
    {
        const Node *t = child(u"text");
        return (t ? t->text : text).trimmed();
    }
};

std::unique_ptr<Node> readTree(QXmlStreamReader &xml)
{
    auto node = std::make_unique<Node>();
    node->name = xml.name().toString();
    node->id = xml.attributes().value(QStringLiteral("id")).toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement())
            node->children.push_back(readTree(xml));
        else if (xml.isCharacters())
            node->text += xml.text();
        else if (xml.isEndElement())
            break;
    }
    return node;
}

struct Identifier {
    QString name;
    QString locale;
    QStringList definite; // male, female, neutral; then the plural ones
};

QStringList defaultArticles(const QString &locale)
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

void collectLessons(const Node &container, const QString &path, QHash<QString, QString> &lessonOf)
{
    const Node *name = container.child(u"name");
    const QString here = name ? name->text.trimmed() : QString();
    const QString full = path.isEmpty() ? here : (here.isEmpty() ? path : path + QStringLiteral(" / ") + here);
    for (const auto &c : container.children) {
        if (c->name == u"entry" && !lessonOf.contains(c->id))
            lessonOf.insert(c->id, full);
        else if (c->name == u"container")
            collectLessons(*c, full, lessonOf);
    }
}

void collectGenders(const Node &container, QHash<QString, int> &genderOf)
{
    const Node *type = container.child(u"specialwordtype");
    const QString special = type ? type->text.trimmed() : QString();
    const int gender = special == u"noun/male" ? 0 : special == u"noun/female" ? 1 : special == u"noun/neutral" ? 2 : -1;
    for (const auto &c : container.children) {
        if (c->name == u"entry" && gender >= 0)
            genderOf.insert(c->id, gender);
        else if (c->name == u"container")
            collectGenders(*c, genderOf);
    }
}

QString conjugationForms(const Node &translation)
{
    QStringList forms;
    for (const auto &c : translation.children) {
        if (c->name != u"conjugation")
            continue;
        const Node *singular = c->child(u"singular");
        if (!singular)
            continue;
        for (const char16_t *person : {u"thirdpersonmale", u"thirdpersonneutralcommon", u"thirdpersonfemale",
                                       u"firstperson"}) {
            if (const Node *p = singular->child(person); p && !p->value().isEmpty()) {
                forms.append(p->value());
                break;
            }
        }
    }
    return forms.join(u',');
}

} // namespace

std::optional<WordTable> readKvtml(QByteArrayView bytes, QString *error)
{
    QXmlStreamReader xml(bytes.toByteArray());
    std::unique_ptr<Node> root;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            root = readTree(xml);
            break;
        }
    }
    if (xml.hasError() || !root || root->name != u"kvtml") {
        if (error)
            *error = xml.hasError() ? QStringLiteral("Soubor není platné XML (řádek %1): %2")
                                          .arg(xml.lineNumber())
                                          .arg(xml.errorString())
                                    : QStringLiteral("Soubor není ve formátu KVTML.");
        return std::nullopt;
    }
    QList<Identifier> identifiers;
    QHash<QString, int> column;
    if (const Node *ids = root->child(u"identifiers")) {
        for (const auto &id : ids->children) {
            if (id->name != u"identifier")
                continue;
            Identifier ident;
            if (const Node *n = id->child(u"name"))
                ident.name = n->text.trimmed();
            if (const Node *l = id->child(u"locale"))
                ident.locale = l->text.trimmed();
            ident.definite = defaultArticles(ident.locale);
            if (const Node *article = id->child(u"article")) {
                int base = 0;
                for (const char16_t *number : {u"singular", u"plural"}) {
                    const Node *n = article->child(number);
                    const Node *definite = n ? n->child(u"definite") : nullptr;
                    if (definite) {
                        int g = 0;
                        for (const char16_t *gender : {u"male", u"female", u"neutral"}) {
                            if (const Node *a = definite->child(gender); a && !a->text.trimmed().isEmpty()) {
                                while (ident.definite.size() <= base + g)
                                    ident.definite.append(QString());
                                ident.definite[base + g] = a->text.trimmed();
                            }
                            ++g;
                        }
                    }
                    base += 3;
                }
            }
            column.insert(id->id, int(identifiers.size()));
            identifiers.append(ident);
        }
    }
    QHash<QString, QString> lessonOf;
    if (const Node *lessons = root->child(u"lessons"))
        collectLessons(*lessons, {}, lessonOf);
    QHash<QString, int> genderOf;
    if (const Node *types = root->child(u"wordtypes"))
        collectGenders(*types, genderOf);

    WordTable table;
    for (const Identifier &ident : identifiers) {
        table.columns.append(ident.name.isEmpty() ? ident.locale : ident.name);
        table.locales.append(ident.locale);
    }
    if (const Node *entries = root->child(u"entries")) {
        for (const auto &entry : entries->children) {
            if (entry->name != u"entry")
                continue;
            WordTable::Row row;
            row.cells.resize(identifiers.size());
            row.lesson = lessonOf.value(entry->id);
            row.line = table.rows.size() + 1; // the entry's number
            for (const auto &tr : entry->children) {
                if (tr->name != u"translation" || !column.contains(tr->id))
                    continue;
                const int c = column.value(tr->id);
                const Identifier &ident = identifiers[c];
                WordTable::Cell &cell = row.cells[c];
                cell.text = tr->value();
                const int gender = genderOf.value(entry->id, -1);
                if (gender >= 0 && gender < ident.definite.size())
                    cell.article = ident.definite[gender];
                // "der Hund": the article written before the word.
                for (const QString &a : ident.definite) {
                    if (!a.isEmpty() && cell.text.startsWith(a + u' ')) {
                        cell.article = a;
                        cell.text = cell.text.mid(a.size() + 1).trimmed();
                        break;
                    }
                }
                const Node *declension = tr->child(u"declension");
                const Node *plural = declension ? declension->child(u"plural") : nullptr;
                const Node *nominative = plural ? plural->child(u"nominative") : nullptr;
                if (nominative)
                    cell.forms = nominative->value();
                else
                    cell.forms = conjugationForms(*tr);
            }
            table.rows.append(std::move(row));
        }
    }
    return table;
}

QStringList wordCells(QByteArrayView line, int languageCode)
{
    const WordFields w = wordFields(line, languageCode);
    return {articleCell(languageCode, w.Clen), decode(w.Slovo.toByteArray(), languageInfo(languageCode).foreignCodePage),
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
    static const char *const nameOf[] = {"Angličtina", "Němčina", "Francouzština", "Ruština", "Španělština",
                                         "Latina"};
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
            const QStringList defaults = defaultArticles(QString::fromLatin1(localeOf[index]));
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
            xml.writeTextElement(QStringLiteral("specialwordtype"), QStringLiteral("noun/") + QString::fromLatin1(genders[g]));
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
