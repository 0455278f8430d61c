#pragma once

#include "editor/lessonbook.h"

#include <QList>

namespace lexitka {

// What the lesson browser saves when another window of the program changed
// the files after the browser read them: its own changes, not the copy it
// read, on top of what is on disk now.

// The mistakes file: the browser's list, less the lines that another window
// removed meanwhile, then the lines that others added (in their order).
// Lines are taken as a multiset: a line twice in the file is two mistakes.
LineStore mergeMistakes(const LineStore &read, const LineStore &ours, const LineStore &disk);

// The dictionary, lesson by lesson (Lesson::origin ties the browser's
// lessons to the sections it read; the file's sections are matched to those
// by name, the n-th of a name to the n-th). A lesson only the browser
// changed, added or deleted is taken from the browser; one only the other
// window changed, added or deleted is taken from the disk; one both changed
// is a conflict, settled by `oursWins` or, without it, left to the caller.
struct DictionaryMerge {
    QList<Lesson> lessons;       // in the browser's order, the disk's new lessons last
    QList<QByteArray> conflicts; // names of the lessons both changed
};
DictionaryMerge mergeDictionary(const LessonBook &read, const LessonBook &ours, const LessonBook &disk, bool oursWins);

// The dictionary file made of these lessons, as LessonBook saves one.
QByteArray dictionaryBytesOf(const QList<Lesson> &lessons);

} // namespace lexitka
