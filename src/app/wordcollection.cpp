#include "wordcollection.h"

#include "data/inifile.h"

namespace lexitka {
namespace {

bool containsFrom(QByteArrayView text, QByteArrayView what, qsizetype from)
{
    return text.indexOf(what, from) >= 0;
}

} // namespace

QList<QByteArray> collectLessonEntries(const IniDocument &dictionary, const QList<QByteArray> &lessonNames,
                                       const QList<bool> &ticked)
{
    QList<QByteArray> pool;
    for (qsizetype i = 0; i < ticked.size(); ++i) {
        if (!ticked[i])
            continue;
        qsizetype section = i;
        if (i < lessonNames.size()
            && (section >= dictionary.sectionCount()
                || !equalsIgnoringCase(dictionary.sectionName(section), lessonNames[i])))
            section = dictionary.findSection(lessonNames[i]);
        if (section < 0 || section >= dictionary.sectionCount())
            continue;
        const qsizetype count = dictionary.entryCount(section);
        for (qsizetype e = 0; e < count; ++e)
            pool.append(dictionary.entryLine(section, e));
    }
    return pool;
}

QList<QByteArray> collectLessonEntries(const QString &dictionaryPath, const QList<QByteArray> &lessonNames,
                                       const QList<bool> &ticked)
{
    if (IniDocument::fromFile(dictionaryPath, IniDocument::Mode::NamesOnly).sectionNames() == lessonNames) {
        QList<QByteArray> pool;
        appendEntryLines(dictionaryPath, ticked, pool);
        return pool;
    }
    return collectLessonEntries(IniDocument::fromFile(dictionaryPath), lessonNames, ticked);
}

bool isVerbEntry(QByteArrayView entry)
{
    return containsFrom(entry, ",h ", 0) || containsFrom(entry, ",i ", 0);
}

bool isPluralExcluded(QByteArrayView entry)
{
    return containsFrom(entry, "\\\\", 1) || containsFrom(entry, ",h ", 1) || containsFrom(entry, ",i ", 1);
}

void filterByTestKinds(QList<QByteArray> &pool, bool plurals, bool verbs)
{
    if (verbs)
        pool.removeIf([](const QByteArray &e) { return !isVerbEntry(e); });
    if (plurals)
        pool.removeIf([](const QByteArray &e) { return isPluralExcluded(e); });
}

} // namespace lexitka
