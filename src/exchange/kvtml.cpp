#include "kvtml.h"

#include <QHash>
#include <QXmlStreamReader>

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
    const QXmlStreamAttributes attributes = xml.attributes();
    if (!attributes.isEmpty())
        node->id = attributes.value(QStringLiteral("id")).toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement())
            node->children.push_back(readTree(xml));
        else if (xml.isCharacters() && !xml.isWhitespace()) // the indentation is no text
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
    const int gender = special == u"noun/male"      ? 0
                       : special == u"noun/female"  ? 1
                       : special == u"noun/neutral" ? 2
                                                    : -1;
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
        for (const char16_t *person :
             {u"thirdpersonmale", u"thirdpersonneutralcommon", u"thirdpersonfemale", u"firstperson"}) {
            if (const Node *p = singular->child(person); p && !p->value().isEmpty()) {
                forms.append(p->value());
                break;
            }
        }
    }
    return forms.join(u',');
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
            ident.definite = kvtmlDefaultArticles(ident.locale);
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

} // namespace lexitka
