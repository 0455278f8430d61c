#include "wordcollection.h"

#include "data/dictionarylines.h"
#include "data/fileread.h"
#include "data/inifile.h"

#include <vector>

namespace lexitka {
namespace {

// About as few bytes a line as real entries take: the list of lines seldom
// grows while a file is read, and one of shorter lines grows it as usual.
constexpr qsizetype kBytesPerLine = 16;

bool containsFrom(QByteArrayView text, QByteArrayView what, qsizetype from) { return text.indexOf(what, from) >= 0; }

} // namespace

namespace {

// Every entry line of every lesson, and where each lesson's lines start.
struct MarkedLessons {
    LineStore lines;
    std::vector<QByteArray> names;
    std::vector<qsizetype> first;
};

MarkedLessons markAllLessons(const QString &dictionaryPath)
{
    MarkedLessons all;
    LineStoreBuilder builder(readWholeFile(dictionaryPath));
    builder.reserveLines(builder.bufferSize() / kBytesPerLine);
    scanDictionaryLines(
        builder.constData(), builder.bufferSize(),
        [&](QByteArrayView name) {
            all.names.push_back(name.toByteArray());
            all.first.push_back(builder.lineCount());
        },
        [&](QByteArrayView key, QByteArrayView value) {
            if (!all.names.empty()) // lines before the first lesson belong to none
                builder.markEntry(key, value);
        });
    all.lines = builder.take();
    all.first.push_back(all.lines.size());
    return all;
}

} // namespace

LineStore collectLessonEntries(const QString &dictionaryPath, const QList<QByteArray> &lessonNames,
                               const QList<bool> &ticked)
{
    return collectLessonEntries(dictionaryPath, SectionNames::fromList(lessonNames), ticked);
}

LineStore collectLessonEntries(const QString &dictionaryPath, const SectionNames &lessonNames,
                               const QList<bool> &ticked)
{
    // As a rule the file still has the lessons of the list, in its order:
    // one pass marks the ticked lessons' lines, already in list order.
    {
        LineStoreBuilder builder(readWholeFile(dictionaryPath));
        builder.reserveLines(builder.bufferSize() / kBytesPerLine);
        qsizetype section = -1;
        bool take = false;
        bool asListed = true;
        scanDictionaryLines(
            builder.constData(), builder.bufferSize(),
            [&](QByteArrayView name) {
                ++section;
                asListed = asListed && section < lessonNames.size() && name == lessonNames[section];
                take = asListed && section < ticked.size() && ticked[section];
            },
            [&](QByteArrayView key, QByteArrayView value) {
                if (take)
                    builder.markEntry(key, value);
            });
        if (asListed && section + 1 == lessonNames.size())
            return builder.take();
    }
    // The file changed since the list was filled: lesson i is still section i
    // where the name there is the same, otherwise it is found by its name.
    const MarkedLessons all = markAllLessons(dictionaryPath);
    const qsizetype sections = qsizetype(all.names.size());
    auto sectionOf = [&](qsizetype i) -> qsizetype {
        if (i < sections && (i >= lessonNames.size() || equalsIgnoringCase(all.names[size_t(i)], lessonNames[i])))
            return i;
        if (i >= lessonNames.size())
            return -1;
        for (qsizetype s = 0; s < sections; ++s) {
            if (equalsIgnoringCase(all.names[size_t(s)], trimmedBlanks(lessonNames[i])))
                return s;
        }
        return -1;
    };
    QList<qsizetype> order;
    for (qsizetype i = 0; i < ticked.size(); ++i) {
        const qsizetype s = ticked[i] ? sectionOf(i) : -1;
        for (qsizetype line = s < 0 ? 0 : all.first[size_t(s)]; s >= 0 && line < all.first[size_t(s) + 1]; ++line)
            order.append(line);
    }
    LineStore pool = all.lines;
    pool.permute(order);
    return pool;
}

bool isVerbEntry(QByteArrayView entry) { return containsFrom(entry, ",h ", 0) || containsFrom(entry, ",i ", 0); }

bool isPluralExcluded(QByteArrayView entry)
{
    return containsFrom(entry, "\\\\", 1) || containsFrom(entry, ",h ", 1) || containsFrom(entry, ",i ", 1);
}

void filterByTestKinds(LineStore &pool, bool plurals, bool verbs)
{
    if (verbs)
        pool.removeIf([](QByteArrayView e) { return !isVerbEntry(e); });
    if (plurals)
        pool.removeIf([](QByteArrayView e) { return isPluralExcluded(e); });
}

} // namespace lexitka
