#include "savefile.h"

#include "inifile.h"

#include <QSaveFile>

namespace lexitka {

bool saveWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QByteArray joinCrLf(const QList<QByteArray> &lines)
{
    qsizetype total = 0;
    for (const QByteArray &l : lines)
        total += l.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const QByteArray &l : lines)
        out.append(l).append("\r\n");
    return out;
}

QList<QByteArray> splitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    forEachLine(text.constData(), text.size(), [&](qsizetype begin, qsizetype end, qsizetype) {
        lines.append(text.sliced(begin, end - begin));
    });
    return lines;
}

} // namespace lexitka
