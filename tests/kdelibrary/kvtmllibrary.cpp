// A small tool over KDE's own KVTML library (the one the KDE vocabulary
// programs read and write with), so that the tests can check our KVTML
// against it: it writes a German lesson as that library writes one, prints
// what the library reads from a file, and re-saves a file through it.
//
//   kvtmllibrary write FILE      a German document with genders, plurals,
//                                three tenses and nested lessons
//   kvtmllibrary dump FILE       one line per entry, lesson by lesson
//   kvtmllibrary resave IN OUT   opened and saved again by the library
//
// Built against Qt 5 (the library's), apart from the program.

#include <KEduVocConjugation>
#include <KEduVocDeclension>
#include <KEduVocDocument>
#include <KEduVocExpression>
#include <KEduVocIdentifier>
#include <KEduVocLesson>
#include <KEduVocText>
#include <KEduVocTranslation>
#include <KEduVocWordtype>

#include <QCoreApplication>
#include <QTextStream>
#include <QUrl>

#include <cstdio>

namespace {

using Flag = KEduVocWordFlag;

const KEduVocWordFlags kGenders[] = {Flag::Masculine, Flag::Feminine, Flag::Neuter};
const char *const kGenderNames[] = {"male", "female", "neutral"};

struct Noun {
    const char *word, *plural, *czech;
    int gender;
};
struct Verb {
    const char *word, *present, *preterite, *perfect, *czech;
};

KEduVocExpression *noun(KEduVocLesson *lesson, KEduVocWordType *const types[3], const Noun &n)
{
    auto *entry = new KEduVocExpression(QStringList{QString::fromUtf8(n.word), QString::fromUtf8(n.czech)});
    KEduVocTranslation *german = entry->translation(0);
    german->setWordType(types[n.gender]);
    auto *declension = new KEduVocDeclension;
    declension->setDeclension(KEduVocText(QString::fromUtf8(n.plural)),
                              kGenders[n.gender] | Flag::Plural | Flag::Nominative);
    german->setDeclension(declension);
    lesson->appendEntry(entry);
    return entry;
}

void verb(KEduVocLesson *lesson, KEduVocWordType *verbs, const Verb &v)
{
    auto *entry = new KEduVocExpression(QStringList{QString::fromUtf8(v.word), QString::fromUtf8(v.czech)});
    KEduVocTranslation *german = entry->translation(0);
    german->setWordType(verbs);
    const std::pair<const char *, const char *> tenses[] = {
        {"Präsens", v.present}, {"Präteritum", v.preterite}, {"Perfekt", v.perfect}};
    for (const auto &[tense, form] : tenses) {
        KEduVocConjugation conjugation;
        conjugation.setConjugation(KEduVocText(QString::fromUtf8(form)),
                                   Flag::Third | Flag::Singular | Flag::Masculine);
        german->setConjugation(QString::fromUtf8(tense), conjugation);
    }
    lesson->appendEntry(entry);
}

int write(const QString &path)
{
    KEduVocDocument doc;
    doc.setTitle(QStringLiteral("Tiere und Verben"));
    KEduVocIdentifier german;
    german.setName(QStringLiteral("Deutsch"));
    german.setLocale(QStringLiteral("de"));
    KEduVocArticle articles;
    articles.setArticle(QStringLiteral("der"), Flag::Singular | Flag::Definite | Flag::Masculine);
    articles.setArticle(QStringLiteral("die"), Flag::Singular | Flag::Definite | Flag::Feminine);
    articles.setArticle(QStringLiteral("das"), Flag::Singular | Flag::Definite | Flag::Neuter);
    german.setArticle(articles);
    german.setTenseList({QStringLiteral("Präsens"), QStringLiteral("Präteritum"), QStringLiteral("Perfekt")});
    doc.appendIdentifier(german);
    KEduVocIdentifier czech;
    czech.setName(QStringLiteral("Čeština"));
    czech.setLocale(QStringLiteral("cs"));
    doc.appendIdentifier(czech);

    KEduVocWordType *root = doc.wordTypeContainer();
    auto *nouns = new KEduVocWordType(QStringLiteral("Substantiv"), root);
    nouns->setWordType(Flag::Noun);
    root->appendChildContainer(nouns);
    KEduVocWordType *genders[3];
    for (int g = 0; g < 3; ++g) {
        genders[g] = new KEduVocWordType(QString::fromLatin1(kGenderNames[g]), nouns);
        genders[g]->setWordType(Flag::Noun | kGenders[g]);
        nouns->appendChildContainer(genders[g]);
    }
    auto *verbs = new KEduVocWordType(QStringLiteral("Verb"), root);
    verbs->setWordType(Flag::Verb);
    root->appendChildContainer(verbs);

    auto *animals = new KEduVocLesson(QStringLiteral("Tiere"), doc.lesson());
    doc.lesson()->appendChildContainer(animals);
    noun(animals, genders, {"Hund", "Hunde", "pes", 0});
    noun(animals, genders, {"Katze", "Katzen", "kočka", 1});
    noun(animals, genders, {"Pferd", "Pferde", "kůň", 2});
    auto *pets = new KEduVocLesson(QStringLiteral("Haustiere"), animals);
    animals->appendChildContainer(pets);
    noun(pets, genders, {"Maus", "Mäuse", "myš", 1});
    auto *verbLesson = new KEduVocLesson(QStringLiteral("Verben"), doc.lesson());
    doc.lesson()->appendChildContainer(verbLesson);
    verb(verbLesson, verbs, {"sehen", "sieht", "sah", "hat gesehen", "vidět"});
    verb(verbLesson, verbs, {"gehen", "geht", "ging", "ist gegangen", "jít"});
    verb(verbLesson, verbs, {"fahren", "fährt", "fuhr", "ist gefahren", "jet"});
    return doc.saveAs(QUrl::fromLocalFile(path), KEduVocDocument::Kvtml) == KEduVocDocument::NoError ? 0 : 1;
}

// The gender a translation's word type gives, "-" for none.
QString genderOf(KEduVocTranslation *t)
{
    KEduVocWordType *type = t->wordType();
    if (!type)
        return QStringLiteral("-");
    for (int g = 0; g < 3; ++g)
        if (type->wordType() & kGenders[g])
            return QString::fromLatin1(kGenderNames[g]);
    return QStringLiteral("-");
}

// The plural nominative as the library reads it, with the gender it stands
// under ("male:Hunde"), or "-".
QString pluralOf(KEduVocTranslation *t)
{
    KEduVocDeclension *d = t->declension();
    if (!d)
        return QStringLiteral("-");
    for (int g = 0; g < 3; ++g) {
        const QString text = d->declension(kGenders[g] | Flag::Plural | Flag::Nominative).text();
        if (!text.isEmpty())
            return QString::fromLatin1(kGenderNames[g]) + u':' + text;
    }
    const QString plain = d->declension(Flag::Plural | Flag::Nominative).text();
    return plain.isEmpty() ? QStringLiteral("-") : QStringLiteral("none:") + plain;
}

// Each tense's third person singular, "tense=form" in the library's order.
QString tensesOf(KEduVocTranslation *t)
{
    QStringList forms;
    for (const QString &tense : t->conjugationTenses()) {
        const KEduVocConjugation c = t->getConjugation(tense);
        QString form;
        for (const KEduVocWordFlags g : kGenders)
            if (form.isEmpty())
                form = c.conjugation(Flag::Third | Flag::Singular | g).text();
        forms.append(tense + u'=' + form);
    }
    return forms.isEmpty() ? QStringLiteral("-") : forms.join(u';');
}

void dumpLesson(QTextStream &out, KEduVocContainer *lesson, const QString &path)
{
    for (KEduVocExpression *e : lesson->entries()) {
        QStringList fields{path};
        KEduVocTranslation *foreign = e->translation(0);
        KEduVocTranslation *czech = e->translation(1);
        fields << (foreign ? foreign->text() : QStringLiteral("-"));
        fields << (foreign ? genderOf(foreign) : QStringLiteral("-"));
        fields << (foreign ? pluralOf(foreign) : QStringLiteral("-"));
        fields << (foreign ? tensesOf(foreign) : QStringLiteral("-"));
        fields << (czech ? czech->text() : QStringLiteral("-"));
        out << fields.join(u'\t') << '\n';
    }
    for (KEduVocContainer *child : lesson->childContainers())
        dumpLesson(out, child, path.isEmpty() ? child->name() : path + QStringLiteral(" / ") + child->name());
}

int dump(const QString &path)
{
    KEduVocDocument doc;
    if (doc.open(QUrl::fromLocalFile(path), KEduVocDocument::FileIgnoreLock) != KEduVocDocument::NoError)
        return 1;
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    for (int i = 0; i < doc.identifierCount(); ++i)
        out << "identifier\t" << doc.identifier(i).locale() << '\n';
    for (KEduVocContainer *lesson : doc.lesson()->childContainers())
        dumpLesson(out, lesson, lesson->name());
    return 0;
}

int resave(const QString &from, const QString &to)
{
    KEduVocDocument doc;
    if (doc.open(QUrl::fromLocalFile(from), KEduVocDocument::FileIgnoreLock) != KEduVocDocument::NoError)
        return 1;
    return doc.saveAs(QUrl::fromLocalFile(to), KEduVocDocument::Kvtml, KEduVocDocument::FileIgnoreLock)
                   == KEduVocDocument::NoError
               ? 0
               : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    if (command == u"write" && args.size() == 2)
        return write(args[1]);
    if (command == u"dump" && args.size() == 2)
        return dump(args[1]);
    if (command == u"resave" && args.size() == 3)
        return resave(args[1], args[2]);
    std::fprintf(stderr, "usage: kvtmllibrary write FILE | dump FILE | resave IN OUT\n");
    return 2;
}
