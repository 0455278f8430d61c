#include "editorcommands.h"

#include <algorithm>

namespace lexitka {
namespace {

LineStore withInserted(const LineStore &lines, qsizetype at, const LineStore &added)
{
    LineStore out = lines.mid(0, at);
    out.reserve(lines.size() + added.size());
    for (QByteArrayView line : added)
        out.append(line);
    for (qsizetype i = at; i < lines.size(); ++i)
        out.append(lines.at(i));
    return out;
}

LineStore withoutRange(const LineStore &lines, qsizetype first, qsizetype count)
{
    LineStore out = lines;
    qsizetype i = 0;
    out.removeIf([&](QByteArrayView) {
        const bool inside = i >= first && i < first + count;
        ++i;
        return inside;
    });
    return out;
}

} // namespace

AddLessonCommand::AddLessonCommand(BookView &view, qsizetype at, QByteArray name, QUndoCommand *parent)
    : BookCommand(view, QStringLiteral("Přidat lekci"), parent), m_at(at), m_name(std::move(name)),
      m_shownBefore(view.currentLesson())
{ }

void AddLessonCommand::redo()
{
    book().insertLesson(m_at, Lesson{m_name, {}});
    m_view.lessonInserted(m_at);
    m_view.showLesson(m_at, 0);
}

void AddLessonCommand::undo()
{
    book().takeLesson(m_at);
    m_view.lessonRemoved(m_at);
    m_view.showLesson(std::clamp<qsizetype>(m_shownBefore, 0, book().count() - 1), 0);
}

DeleteLessonCommand::DeleteLessonCommand(BookView &view, qsizetype at)
    : BookCommand(view, QStringLiteral("Smazat lekci")), m_at(at)
{ }

void DeleteLessonCommand::redo()
{
    m_lesson = book().takeLesson(m_at);
    m_view.lessonRemoved(m_at);
    m_view.showLesson(0, 0);
}

void DeleteLessonCommand::undo()
{
    book().insertLesson(m_at, std::move(m_lesson));
    m_lesson = {};
    m_view.lessonInserted(m_at);
    m_view.showLesson(m_at, 0);
}

RenameLessonCommand::RenameLessonCommand(BookView &view, qsizetype at, QByteArray name)
    : SwapCommand(view, QStringLiteral("Přejmenovat lekci")), m_at(at), m_name(std::move(name))
{ }

void RenameLessonCommand::swap()
{
    Lesson lesson = book().takeLesson(m_at);
    std::swap(lesson.name, m_name);
    book().insertLesson(m_at, std::move(lesson));
    m_view.lessonRemoved(m_at);
    m_view.lessonInserted(m_at);
    m_view.showLesson(m_at, 0);
}

InsertLinesCommand::InsertLinesCommand(BookView &view, qsizetype lesson, qsizetype at, LineStore lines,
                                       const QString &text, QUndoCommand *parent)
    : BookCommand(view, text, parent), m_lesson(lesson), m_at(at), m_lines(std::move(lines))
{ }

void InsertLinesCommand::redo()
{
    m_before = book().lines(m_lesson);
    const qsizetype at = std::clamp<qsizetype>(m_at, 0, m_before.size());
    book().replaceLines(m_lesson, withInserted(m_before, at, m_lines));
    if (!m_lines.isEmpty())
        m_view.linesInserted(m_lesson, at, m_lines.size());
    m_view.showLesson(m_lesson, at);
}

void InsertLinesCommand::undo()
{
    const qsizetype at = std::clamp<qsizetype>(m_at, 0, m_before.size());
    book().replaceLines(m_lesson, std::move(m_before));
    m_before = {};
    if (!m_lines.isEmpty())
        m_view.linesRemoved(m_lesson, at, m_lines.size());
    m_view.showLesson(m_lesson, at);
}

AddWordCommand::AddWordCommand(BookView &view, qsizetype lesson, QByteArray line)
    : InsertLinesCommand(view, lesson, view.book().lines(lesson).size(), LineStore{line},
                         QStringLiteral("Přidat slovíčko"))
{ }

RemoveLinesCommand::RemoveLinesCommand(BookView &view, qsizetype lesson, QList<qsizetype> rows, const QString &text,
                                       QUndoCommand *parent)
    : BookCommand(view, text, parent), m_lesson(lesson), m_rows(std::move(rows))
{
    std::sort(m_rows.begin(), m_rows.end());
    m_rows.erase(std::unique(m_rows.begin(), m_rows.end()), m_rows.end());
}

void RemoveLinesCommand::redo()
{
    m_before = book().lines(m_lesson);
    // Runs of adjacent rows, last first, so the rows before stay where they are.
    for (qsizetype end = m_rows.size(); end > 0;) {
        qsizetype begin = end - 1;
        while (begin > 0 && m_rows[begin - 1] == m_rows[begin] - 1)
            --begin;
        const qsizetype first = m_rows[begin];
        const qsizetype count = end - begin;
        book().replaceLines(m_lesson, withoutRange(book().lines(m_lesson), first, count));
        m_view.linesRemoved(m_lesson, first, count);
        end = begin;
    }
    // The row that moves up takes the selection, so Delete can go on.
    m_view.showLesson(m_lesson, m_rows.isEmpty() ? 0 : m_rows.first());
}

void RemoveLinesCommand::undo()
{
    for (qsizetype begin = 0; begin < m_rows.size();) {
        qsizetype end = begin + 1;
        while (end < m_rows.size() && m_rows[end] == m_rows[end - 1] + 1)
            ++end;
        const qsizetype first = m_rows[begin];
        const qsizetype count = end - begin;
        book().replaceLines(m_lesson, withInserted(book().lines(m_lesson), first, m_before.mid(first, count)));
        m_view.linesInserted(m_lesson, first, count);
        begin = end;
    }
    // The book gets back the very lines it had, sharing their bytes.
    book().replaceLines(m_lesson, std::move(m_before));
    m_before = {};
    m_view.showLesson(m_lesson, m_rows.isEmpty() ? 0 : m_rows.first());
}

DeleteWordCommand::DeleteWordCommand(BookView &view, qsizetype lesson, qsizetype row)
    : RemoveLinesCommand(view, lesson, {row}, QStringLiteral("Smazat slovíčko"))
{ }

EditWordCommand::EditWordCommand(BookView &view, qsizetype lesson, qsizetype row, QByteArray line, const QString &text)
    : SwapCommand(view, text), m_lesson(lesson), m_row(row), m_line(std::move(line))
{ }

void EditWordCommand::swap()
{
    m_line = book().replaceLine(m_lesson, m_row, std::move(m_line));
    m_view.linesChanged(m_lesson, m_row, m_row);
    m_view.showLesson(m_lesson, m_row);
}

SortLessonCommand::SortLessonCommand(BookView &view, qsizetype lesson, int languageCode, qsizetype row)
    : SwapCommand(view, QStringLiteral("Seřadit lekci")), m_lesson(lesson), m_row(row),
      m_lines(view.book().lines(lesson))
{
    sortBySlovo(m_lines, languageCode);
}

void SortLessonCommand::swap()
{
    m_lines = book().replaceLines(m_lesson, std::move(m_lines));
    m_view.linesReordered(m_lesson);
    m_view.showLesson(m_lesson, m_row);
}

} // namespace lexitka
