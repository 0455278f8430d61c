#include "findsearch.h"

#include "editor/lessonbook.h"

namespace lexitka {

std::optional<FindHit> findNext(const LessonBook &book, int languageCode, QByteArrayView text, FindPosition &pos)
{
    if (text.isEmpty())
        return std::nullopt;
    if (pos.lesson == book.mistakesIndex())
        pos = {};
    // A position left behind by deleted lessons or words yields no rows.
    for (qsizetype lesson = pos.lesson; lesson >= 0 && lesson < book.count(); ++lesson) {
        const LineStore &lines = book.lines(lesson);
        for (qsizetype row = std::max<qsizetype>(pos.row, 1); row <= lines.size(); ++row) {
            const WordFields w = wordFields(lines[row - 1], languageCode);
            if (w.Slovo.contains(text) || w.Mn.contains(text) || w.Preklad.contains(text)) {
                pos = {lesson, row + 1};
                return FindHit{lesson, row};
            }
        }
        pos.row = 1;
    }
    pos = {};
    return std::nullopt;
}

} // namespace lexitka
