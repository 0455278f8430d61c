#include "statistics.h"

#include "data/dictionary.h"
#include "data/fileread.h"
#include "data/rounding.h"
#include "data/nativefile.h"

#include <QFileInfo>

namespace lexitka {

QByteArray statisticsDay(const QDate &date)
{
    return QByteArray::number(date.day()) + '.' + QByteArray::number(date.month()) + '.';
}

QByteArray makeLekceTypZK(const QList<QByteArray> &lessons, const QList<bool> &lessonTicks,
                          const QList<QByteArray> &kinds, const QList<bool> &kindTicks)
{
    return makeLekceTypZK(SectionNames::fromList(lessons), lessonTicks, kinds, kindTicks);
}

QByteArray makeLekceTypZK(const SectionNames &lessons, const QList<bool> &lessonTicks, const QList<QByteArray> &kinds,
                          const QList<bool> &kindTicks)
{
    QByteArray lessonText;
    for (qsizetype i = 0; i < lessons.size() && i < lessonTicks.size(); ++i) {
        if (lessonTicks[i])
            lessonText.append(',').append(lessons[i]);
    }
    QByteArray kindText;
    for (qsizetype i = 0; i < kinds.size() && i < kindTicks.size(); ++i) {
        if (!kindTicks[i])
            continue;
        if (i == 2 || i == 3) {
            kindText = ',' + kinds[i];
            break;
        }
        kindText.append(',').append(kinds[i]);
    }
    return lessonText.mid(1) + '/' + kindText.mid(1);
}

std::optional<QByteArray> statisticsRecord(bool recording, int good, int bad, const QDate &date,
                                           const QByteArray &lekceTypZK)
{
    if (!recording || good + bad <= 0)
        return std::nullopt;
    return statisticsDay(date) + '/' + QByteArray::number(successPercent(good, bad)) + '/' + lekceTypZK;
}

namespace {

// Whole number 0..100 in plain decimal digits.
int successValue(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 3)
        return -1;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    return v <= 100 ? v : -1;
}

} // namespace

int StatisticsRow::findSlashes(QByteArrayView line, qsizetype slash[4])
{
    qsizetype from = 0;
    int found = 0;
    for (; found < 3; ++found) {
        const qsizetype at = line.indexOf('/', from);
        if (at < 0)
            break;
        slash[found] = at;
        from = at + 1;
    }
    // The kinds follow the last "/": their captions never hold one, while a
    // lesson name may, and then belongs with the lessons.
    if (found == 3)
        slash[2] = line.lastIndexOf('/');
    // The line read as if one "/" were appended: the last field runs to its end.
    for (int i = found; i < 4; ++i)
        slash[i] = line.size();
    slash[3] = line.size();
    return found;
}

int StatisticsRow::valueOf(QByteArrayView line)
{
    // Only the first two "/" matter: a third anywhere after them makes four fields.
    const qsizetype first = line.indexOf('/');
    if (first < 0)
        return -1;
    const qsizetype second = line.indexOf('/', first + 1);
    if (second < 0 || line.indexOf('/', second + 1) < 0)
        return -1;
    return successValue(line.sliced(first + 1, second - first - 1));
}

StatisticsRow::StatisticsRow(QByteArray line) : m_own(std::move(line)), m_line(m_own)
{
    if (findSlashes(m_line, m_slash) >= 3)
        m_value = successValue(field(1));
}

StatisticsRow StatisticsRow::view(QByteArrayView line)
{
    StatisticsRow row;
    row.m_line = line;
    if (findSlashes(line, row.m_slash) >= 3)
        row.m_value = successValue(row.field(1));
    return row;
}

QByteArrayView StatisticsRow::field(int n) const
{
    if (n < 0 || n > 3)
        return {};
    const qsizetype begin = n == 0 ? 0 : m_slash[n - 1] + 1;
    if (begin > m_line.size())
        return {};
    return m_line.sliced(begin, m_slash[n] - begin);
}

QByteArrayView StatisticsRow::subject() const
{
    const qsizetype begin = m_slash[1] + 1;
    if (begin > m_line.size())
        return {};
    return m_line.sliced(begin);
}

bool passesFilter(QByteArrayView subject, QByteArrayView filter)
{
    if (filter.isEmpty())
        return true;
    qsizetype from = 0;
    while (from <= filter.size()) {
        qsizetype comma = filter.indexOf(',', from);
        if (comma < 0)
            comma = filter.size();
        const QByteArrayView piece = filter.sliced(from, comma - from);
        if (!piece.isEmpty() && subject.contains(piece))
            return true;
        from = comma + 1;
    }
    return false;
}

StatisticsFile loadStatisticsFile(const QString &path)
{
    StatisticsFile file;
    if (!QFileInfo::exists(path))
        return file;
    bool ok = false;
    file.bytes = readWholeFile(path, &ok);
    file.state = ok ? StatisticsFile::State::Read : StatisticsFile::State::Unreadable;
    return file;
}

} // namespace lexitka
