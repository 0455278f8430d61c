#pragma once

#include <QAbstractListModel>

namespace lexitka {

class LessonBook;

// The names of the browser's lessons for its lesson box. A model over the
// book rather than one item per lesson: a dictionary of a million lessons
// must open as quickly as the main window opens it, and a name is decoded
// only when the box shows it.
class LessonNamesModel final : public QAbstractListModel {
    Q_OBJECT
public:
    LessonNamesModel(const LessonBook &book, QObject *parent = nullptr);

    // The book was loaded or cleared.
    void reload();
    // Lesson `at` of the book was added or removed.
    void lessonInserted(int at);
    void lessonRemoved(int at);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    const LessonBook &m_book;
    int m_rows = 0;
};

} // namespace lexitka
