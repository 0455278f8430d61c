#include "editorcommands.h"

#include <algorithm>

namespace lexitka {

AddLessonCommand::AddLessonCommand(BookView &view, qsizetype at, QByteArray name)
    : BookCommand(view, QStringLiteral("Přidat lekci")), m_at(at), m_name(std::move(name)),
      m_shownBefore(view.currentLesson())
{
}

void AddLessonCommand::redo()
{
    book().insertLesson(m_at, Lesson{m_name, {}});
    m_view.lessonInserted(m_at);
    m_view.showLesson(m_at, 0);
    m_view.markChanged();
}

void AddLessonCommand::undo()
{
    book().takeLesson(m_at);
    m_view.lessonRemoved(m_at);
    m_view.showLesson(std::clamp<qsizetype>(m_shownBefore, 0, book().count() - 1), 0);
    m_view.markChanged();
}

DeleteLessonCommand::DeleteLessonCommand(BookView &view, qsizetype at)
    : BookCommand(view, QStringLiteral("Smazat lekci")), m_at(at)
{
}

void DeleteLessonCommand::redo()
{
    m_lesson = book().takeLesson(m_at);
    m_view.lessonRemoved(m_at);
    m_view.showLesson(0, 0);
    m_view.markChanged();
}

void DeleteLessonCommand::undo()
{
    book().insertLesson(m_at, std::move(m_lesson));
    m_lesson = {};
    m_view.lessonInserted(m_at);
    m_view.showLesson(m_at, 0);
    m_view.markChanged();
}

AddWordCommand::AddWordCommand(BookView &view, qsizetype lesson, QByteArray line)
    : BookCommand(view, QStringLiteral("Přidat slovíčko")), m_lesson(lesson), m_line(std::move(line))
{
}

void AddWordCommand::redo()
{
    const qsizetype row = book().lines(m_lesson).size();
    book().insertLine(m_lesson, row, m_line);
    m_view.showLesson(m_lesson, row);
    m_view.markChanged();
}

void AddWordCommand::undo()
{
    const qsizetype row = book().lines(m_lesson).size() - 1;
    book().takeLine(m_lesson, row);
    m_view.showLesson(m_lesson, row);
    m_view.markChanged();
}

DeleteWordCommand::DeleteWordCommand(BookView &view, qsizetype lesson, qsizetype row)
    : BookCommand(view, QStringLiteral("Smazat slovíčko")), m_lesson(lesson), m_row(row)
{
}

void DeleteWordCommand::redo()
{
    m_line = book().takeLine(m_lesson, m_row);
    // The row that moves up takes the selection, so Delete can go on.
    m_view.showLesson(m_lesson, m_row);
    m_view.markChanged();
}

void DeleteWordCommand::undo()
{
    book().insertLine(m_lesson, m_row, std::move(m_line));
    m_line = {};
    m_view.showLesson(m_lesson, m_row);
    m_view.markChanged();
}

EditWordCommand::EditWordCommand(BookView &view, qsizetype lesson, qsizetype row, QByteArray line)
    : BookCommand(view, QStringLiteral("Editovat slovíčko")), m_lesson(lesson), m_row(row), m_line(std::move(line))
{
}

void EditWordCommand::swap()
{
    m_line = book().replaceLine(m_lesson, m_row, std::move(m_line));
    m_view.showLesson(m_lesson, m_row);
    m_view.markChanged();
}

void EditWordCommand::redo() { swap(); }

void EditWordCommand::undo() { swap(); }

SortLessonCommand::SortLessonCommand(BookView &view, qsizetype lesson, int languageCode, qsizetype row)
    : BookCommand(view, QStringLiteral("Seřadit lekci")), m_lesson(lesson), m_row(row),
      m_lines(view.book().lines(lesson))
{
    sortBySlovo(m_lines, languageCode);
}

void SortLessonCommand::swap()
{
    m_lines = book().replaceLines(m_lesson, std::move(m_lines));
    m_view.showLesson(m_lesson, m_row);
    m_view.markChanged();
}

void SortLessonCommand::redo() { swap(); }

void SortLessonCommand::undo() { swap(); }

} // namespace lexitka
