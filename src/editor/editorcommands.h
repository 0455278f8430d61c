#pragma once

#include "editor/lessonbook.h"

#include <QUndoCommand>

namespace lexitka {

// What the commands need from the window that shows the book: the lesson
// list follows every lesson added or removed, and after every change the
// window shows the lesson and the row concerned and counts as changed.
class BookView {
public:
    virtual ~BookView() = default;
    virtual LessonBook &book() = 0;
    virtual qsizetype currentLesson() const = 0;
    virtual void lessonInserted(qsizetype at) = 0;
    virtual void lessonRemoved(qsizetype at) = 0;
    // Selects the lesson, fills the grid and selects the word row (from 0;
    // clamped to the rows there are).
    virtual void showLesson(qsizetype lesson, qsizetype row) = 0;
    virtual void markChanged() = 0;
};

// One change of the book each; undone and redone in place.
class BookCommand : public QUndoCommand {
public:
    BookCommand(BookView &view, const QString &text) : QUndoCommand(text), m_view(view) {}

protected:
    LessonBook &book() { return m_view.book(); }
    BookView &m_view;
};

class AddLessonCommand final : public BookCommand {
public:
    AddLessonCommand(BookView &view, qsizetype at, QByteArray name);
    void redo() override;
    void undo() override;

private:
    qsizetype m_at;
    QByteArray m_name;
    qsizetype m_shownBefore;
};

class DeleteLessonCommand final : public BookCommand {
public:
    DeleteLessonCommand(BookView &view, qsizetype at);
    void redo() override;
    void undo() override;

private:
    qsizetype m_at;
    Lesson m_lesson;
};

class AddWordCommand final : public BookCommand {
public:
    AddWordCommand(BookView &view, qsizetype lesson, QByteArray line);
    void redo() override;
    void undo() override;

private:
    qsizetype m_lesson;
    QByteArray m_line;
};

class DeleteWordCommand final : public BookCommand {
public:
    DeleteWordCommand(BookView &view, qsizetype lesson, qsizetype row);
    void redo() override;
    void undo() override;

private:
    qsizetype m_lesson;
    qsizetype m_row;
    QByteArray m_line;
};

class EditWordCommand final : public BookCommand {
public:
    EditWordCommand(BookView &view, qsizetype lesson, qsizetype row, QByteArray line);
    void redo() override;
    void undo() override;

private:
    void swap();
    qsizetype m_lesson;
    qsizetype m_row;
    QByteArray m_line; // the line that is not in the book now
};

class SortLessonCommand final : public BookCommand {
public:
    SortLessonCommand(BookView &view, qsizetype lesson, int languageCode, qsizetype row);
    void redo() override;
    void undo() override;

private:
    void swap();
    qsizetype m_lesson;
    qsizetype m_row;
    LineStore m_lines; // the order that is not in the book now
};

} // namespace lexitka
