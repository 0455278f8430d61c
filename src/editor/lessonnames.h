#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QSet>
#include <QStyledItemDelegate>

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
    // Lesson `at` got or lost words.
    void countChanged(int at);

    // The words with a review due today, as the main window counted them.
    void setDueValues(QSet<QByteArray> values);

    // The number of words of a lesson (an int).
    static constexpr int CountRole = Qt::UserRole + 1;
    // How many of them are due for a review (an int).
    static constexpr int DueRole = Qt::UserRole + 2;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    const LessonBook &m_book;
    int m_rows = 0;
    QSet<QByteArray> m_due;
};

// The lesson box's list: each name with its word count beside it; the
// closed box shows the name alone.
class LessonCountDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // "Tiere  (4)", or "Tiere  (4, k opakování 2)".
    static QString shownText(const QModelIndex &index);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

} // namespace lexitka
