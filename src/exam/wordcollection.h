#pragma once

#include "data/linestore.h"
#include "data/sectionnames.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace lexitka {

// The entry lines ("key=value") of the ticked lessons, lesson by lesson in
// list order and line by line within a lesson, duplicate keys included.
// Lesson i of the list is section i of the file; should the file have
// changed since the list was filled, the lesson is found by its name. The
// file is read once: the lines stay where they lie in its bytes (a line with blanks around its "=" is closed up in
// place), so collecting a million words allocates nothing per word.
LineStore collectLessonEntries(const QString &dictionaryPath, const SectionNames &lessonNames,
                               const QList<bool> &ticked);
LineStore collectLessonEntries(const QString &dictionaryPath, const QList<QByteArray> &lessonNames,
                               const QList<bool> &ticked);

// A German verb: its forms carry the auxiliary of the perfect.
bool isVerbEntry(QByteArrayView entry);
// Left out of the plural test: an empty field or a verb, past the first character.
bool isPluralExcluded(QByteArrayView entry);

// The German filters, verbs first, then plurals; they apply to whatever is
// in the pool, the mistakes included.
void filterByTestKinds(LineStore &pool, bool plurals, bool verbs);

} // namespace lexitka
