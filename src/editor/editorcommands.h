#pragma once

#include "editor/lessonbook.h"

#include <QUndoCommand>

namespace lexitka {

// What the commands need from the window that shows the book: the lesson
// list and the grid follow every change row by row, and after every change
// the window shows the lesson and the row concerned.
class BookView {
public:
    virtual ~BookView() = default;
    virtual LessonBook &book() = 0;
    virtual qsizetype currentLesson() const = 0;
    virtual void lessonInserted(qsizetype at) = 0;
    virtual void lessonRemoved(qsizetype at) = 0;
    // The book's lines of `lesson` already are as they are after the change.
    virtual void linesInserted(qsizetype lesson, qsizetype first, qsizetype count) = 0;
    virtual void linesRemoved(qsizetype lesson, qsizetype first, qsizetype count) = 0;
    virtual void linesChanged(qsizetype lesson, qsizetype first, qsizetype last) = 0;
    virtual void linesReordered(qsizetype lesson) = 0;
    // Selects the lesson (filling the grid when it was not shown) and the
    // word row (from 0; clamped to the rows there are).
    virtual void showLesson(qsizetype lesson, qsizetype row) = 0;
};

// One change of the book each; undone and redone in place. A command made
// with a parent is a part of that one undo step.
class BookCommand : public QUndoCommand {
public:
    BookCommand(BookView &view, const QString &text, QUndoCommand *parent = nullptr)
        : QUndoCommand(text, parent), m_view(view)
    { }

protected:
    LessonBook &book() { return m_view.book(); }
    BookView &m_view;
};

// A change whose undo is the same change again: the book and the command
// exchange what they hold (a name, a line, a lesson's order).
class SwapCommand : public BookCommand {
public:
    using BookCommand::BookCommand;
    void redo() final { swap(); }
    void undo() final { swap(); }

protected:
    virtual void swap() = 0;
};

class AddLessonCommand final : public BookCommand {
public:
    AddLessonCommand(BookView &view, qsizetype at, QByteArray name, QUndoCommand *parent = nullptr);
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

class RenameLessonCommand final : public SwapCommand {
public:
    RenameLessonCommand(BookView &view, qsizetype at, QByteArray name);

private:
    void swap() override;
    qsizetype m_at;
    QByteArray m_name; // the name that is not in the book now
};

// Lines put in at one place of a lesson (a new word, a paste, an import).
class InsertLinesCommand : public BookCommand {
public:
    InsertLinesCommand(BookView &view, qsizetype lesson, qsizetype at, LineStore lines, const QString &text,
                       QUndoCommand *parent = nullptr);
    void redo() override;
    void undo() override;

private:
    qsizetype m_lesson;
    qsizetype m_at;
    LineStore m_lines;
    LineStore m_before;
};

class AddWordCommand final : public InsertLinesCommand {
public:
    AddWordCommand(BookView &view, qsizetype lesson, QByteArray line);
};

// Rows of a lesson taken out, in any order and not necessarily together.
class RemoveLinesCommand : public BookCommand {
public:
    RemoveLinesCommand(BookView &view, qsizetype lesson, QList<qsizetype> rows, const QString &text,
                       QUndoCommand *parent = nullptr);
    void redo() override;
    void undo() override;

private:
    qsizetype m_lesson;
    QList<qsizetype> m_rows; // ascending
    LineStore m_before;
};

class DeleteWordCommand final : public RemoveLinesCommand {
public:
    DeleteWordCommand(BookView &view, qsizetype lesson, qsizetype row);
};

class EditWordCommand final : public SwapCommand {
public:
    EditWordCommand(BookView &view, qsizetype lesson, qsizetype row, QByteArray line,
                    const QString &text = QStringLiteral("Editovat slovíčko"));

private:
    void swap() override;
    qsizetype m_lesson;
    qsizetype m_row;
    QByteArray m_line; // the line that is not in the book now
};

class SortLessonCommand final : public SwapCommand {
public:
    SortLessonCommand(BookView &view, qsizetype lesson, int languageCode, qsizetype row);

private:
    void swap() override;
    qsizetype m_lesson;
    qsizetype m_row;
    LineStore m_lines; // the order that is not in the book now
};

} // namespace lexitka
