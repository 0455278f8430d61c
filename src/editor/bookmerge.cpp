#include "bookmerge.h"

#include "data/inifile.h"

#include <QHash>

namespace lexitka {
namespace {

QByteArray caseKey(QByteArrayView name) { return trimmedBlanks(name).toByteArray().toUpper(); }

bool sameLesson(const Lesson &a, const Lesson &b) { return a.name == b.name && a.lines == b.lines; }

// Lesson i of the file read ↔ lesson of the disk, or -1: the n-th lesson of
// a name to the n-th of that name.
QList<qsizetype> matchByName(const LessonBook &read, const LessonBook &disk)
{
    QHash<QByteArray, QList<qsizetype>> onDisk;
    for (qsizetype i = 0; i < disk.mistakesIndex(); ++i)
        onDisk[caseKey(disk.name(i))].append(i);
    QHash<QByteArray, qsizetype> used;
    QList<qsizetype> match(read.mistakesIndex(), -1);
    for (qsizetype i = 0; i < read.mistakesIndex(); ++i) {
        const QByteArray key = caseKey(read.name(i));
        const auto it = onDisk.constFind(key);
        qsizetype &n = used[key];
        if (it != onDisk.constEnd() && n < it->size())
            match[i] = it->at(n++);
    }
    return match;
}

Lesson lessonOf(const LessonBook &book, qsizetype i) { return Lesson{book.name(i), book.lines(i), i}; }

} // namespace

LineStore mergeMistakes(const LineStore &read, const LineStore &ours, const LineStore &disk)
{
    QHash<QByteArrayView, qsizetype> count; // read minus disk: > 0 removed by others, < 0 added by others
    for (QByteArrayView line : read)
        ++count[line];
    for (QByteArrayView line : disk)
        --count[line];
    LineStore merged;
    merged.reserve(ours.size());
    QHash<QByteArrayView, qsizetype> removed = count;
    for (QByteArrayView line : ours) {
        auto it = removed.find(line);
        if (it != removed.end() && *it > 0) {
            --*it;
            continue;
        }
        merged.append(line);
    }
    // The lines others added: the last ones of their kind on disk.
    QHash<QByteArrayView, qsizetype> added;
    for (auto it = count.cbegin(); it != count.cend(); ++it) {
        if (*it < 0)
            added.insert(it.key(), -*it);
    }
    if (added.isEmpty())
        return merged;
    QHash<QByteArrayView, qsizetype> seen;
    QHash<QByteArrayView, qsizetype> total;
    for (QByteArrayView line : disk)
        ++total[line];
    for (QByteArrayView line : disk) {
        const auto it = added.constFind(line);
        if (it == added.constEnd())
            continue;
        if (++seen[line] > total[line] - *it)
            merged.append(line);
    }
    return merged;
}

DictionaryMerge mergeDictionary(const LessonBook &read, const LessonBook &ours, const LessonBook &disk, bool oursWins)
{
    DictionaryMerge result;
    const QList<qsizetype> onDisk = matchByName(read, disk);
    auto changedOnDisk = [&](qsizetype i) {
        return onDisk[i] < 0 || !sameLesson(lessonOf(read, i), lessonOf(disk, onDisk[i]));
    };
    QList<bool> kept(read.mistakesIndex(), false);
    for (qsizetype j = 0; j < ours.mistakesIndex(); ++j) {
        const qsizetype i = ours.origin(j);
        Lesson mine{ours.name(j), ours.lines(j), i};
        if (i < 0 || i >= read.mistakesIndex()) {
            result.lessons.append(std::move(mine));
            continue;
        }
        kept[i] = true;
        const bool changedHere = !sameLesson(mine, lessonOf(read, i));
        if (!changedHere) {
            if (onDisk[i] >= 0)
                result.lessons.append(lessonOf(disk, onDisk[i]));
            continue; // untouched here and gone on disk: gone
        }
        if (changedOnDisk(i)) {
            result.conflicts.append(read.name(i));
            if (!oursWins)
                continue;
        }
        result.lessons.append(std::move(mine));
    }
    // Deleted here: a lesson the other window changed meanwhile is a conflict.
    for (qsizetype i = 0; i < read.mistakesIndex(); ++i) {
        if (!kept[i] && onDisk[i] >= 0 && changedOnDisk(i))
            result.conflicts.append(read.name(i));
    }
    // Added by the other window.
    QList<bool> matched(disk.mistakesIndex(), false);
    for (qsizetype d : onDisk) {
        if (d >= 0)
            matched[d] = true;
    }
    for (qsizetype d = 0; d < disk.mistakesIndex(); ++d) {
        if (!matched[d])
            result.lessons.append(lessonOf(disk, d));
    }
    return result;
}

QByteArray dictionaryBytesOf(const QList<Lesson> &lessons)
{
    LessonBook book;
    for (const Lesson &l : lessons)
        book.insertLesson(book.mistakesIndex(), l);
    return book.dictionaryBytes();
}

} // namespace lexitka
