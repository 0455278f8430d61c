#include "exportlines.h"

namespace lexitka {
qsizetype exportedBytes(const QList<ExportLesson> &lessons, qsizetype perLine, qsizetype &lines)
{
    qsizetype bytes = 0;
    lines = 0;
    for (const ExportLesson &lesson : lessons) {
        lines += lesson.lines.size();
        for (const QByteArrayView line : lesson.lines)
            bytes += line.size() + perLine + lesson.name.size();
    }
    // Letters beyond ASCII take two or three bytes in UTF-8.
    return bytes + bytes / 4;
}

} // namespace lexitka
