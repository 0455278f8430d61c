#include "findsearch.h"

#include "editor/lessonbook.h"

#include <cstring>
#include <functional>

namespace lexitka {
namespace {

bool holds(QByteArrayView line, int languageCode, QByteArrayView text)
{
    const WordFields w = wordFields(line, languageCode);
    return w.Slovo.contains(text) || w.Mn.contains(text) || w.Preklad.contains(text);
}

// Where the line after `line` starts when the two lie one after the other
// in the same bytes, the first ended by CR LF, LF or a lone CR; else null.
const char *followedAt(QByteArrayView line, QByteArrayView next)
{
    const char *end = line.data() + line.size();
    const auto gap = std::less<>()(end, next.data()) ? next.data() - end : 0;
    if (gap == 1 && (end[0] == '\n' || end[0] == '\r'))
        return next.data();
    if (gap == 2 && end[0] == '\r' && end[1] == '\n')
        return next.data();
    return nullptr;
}

// The first row from `row` on (rows from 1) whose fields hold text, or 0.
// Lines that follow one another in the file's bytes are searched as one
// run, so that a word that is nowhere costs one pass over the bytes rather
// than a look at the fields of every line; a line where the run has the
// text is then judged by its fields alone.
qsizetype findInLesson(const LineStore &lines, qsizetype row, int languageCode, QByteArrayView text)
{
    while (row <= lines.size()) {
        qsizetype last = row; // the run's last row
        while (last < lines.size() && followedAt(lines[last - 1], lines[last]))
            ++last;
        const char *from = lines[row - 1].data();
        const char *const end = lines[last - 1].data() + lines[last - 1].size();
        qsizetype at = row;
        while (at <= last && from < end) {
            const void *hit = memmem(from, size_t(end - from), text.data(), size_t(text.size()));
            if (!hit)
                break;
            const char *h = static_cast<const char *>(hit);
            while (at < last && lines[at - 1].data() + lines[at - 1].size() <= h)
                ++at; // a hit among line ends counts for the line after
            if (holds(lines[at - 1], languageCode, text))
                return at;
            from = lines[at - 1].data() + lines[at - 1].size();
            ++at;
        }
        row = last + 1;
    }
    return 0;
}

} // namespace

std::optional<FindHit> findNext(const LessonBook &book, int languageCode, QByteArrayView text, FindPosition &pos)
{
    if (text.isEmpty())
        return std::nullopt;
    if (pos.lesson == book.mistakesIndex())
        pos = {};
    // A position left behind by deleted lessons or words yields no rows.
    for (qsizetype lesson = pos.lesson; lesson >= 0 && lesson < book.count(); ++lesson) {
        const LineStore &lines = book.lines(lesson);
        if (const qsizetype row = findInLesson(lines, std::max<qsizetype>(pos.row, 1), languageCode, text)) {
            pos = {lesson, row + 1};
            return FindHit{lesson, row};
        }
        pos.row = 1;
    }
    pos = {};
    return std::nullopt;
}

} // namespace lexitka
