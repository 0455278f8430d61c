#include "mastery.h"

#include "data/inifile.h"
#include "data/nativefile.h"

namespace lexitka {

QString masteryFilePath(const QString &mistakesPath) { return mistakesPath + QStringLiteral(".mastery"); }

MasteryCounts MasteryCounts::parse(const QByteArray &bytes)
{
    MasteryCounts counts;
    for (const QByteArray &l : splitLines(bytes)) {
        const qsizetype tab = l.indexOf('\t');
        if (tab <= 0)
            continue;
        bool ok = false;
        const int n = l.first(tab).toInt(&ok, 10);
        // A hand-edited line that makes no sense counts as none.
        if (ok && !counts.m_counts.contains(l.sliced(tab + 1)))
            counts.set(l.sliced(tab + 1), n);
    }
    return counts;
}

QByteArray MasteryCounts::bytes() const
{
    QByteArray out;
    for (const QByteArray &l : m_lines)
        out.append(QByteArray::number(m_counts.value(l))).append('\t').append(l).append("\r\n");
    return out;
}

int MasteryCounts::count(QByteArrayView line) const { return m_counts.value(line.toByteArray()); }

void MasteryCounts::set(const QByteArray &line, int count)
{
    if (count <= 0) {
        if (m_counts.remove(line))
            m_lines.removeOne(line);
        return;
    }
    if (!m_counts.contains(line))
        m_lines.append(line);
    m_counts.insert(line, count);
}

void MasteryCounts::keepOnly(const QList<QByteArray> &lines)
{
    const QSet<QByteArray> present(lines.begin(), lines.end());
    m_lines.removeIf([&](const QByteArray &l) {
        if (present.contains(l))
            return false;
        m_counts.remove(l);
        return true;
    });
}

std::optional<QByteArray> withoutFirstLine(const QByteArray &bytes, QByteArrayView line)
{
    qsizetype from = -1, to = -1;
    forEachLine(bytes.constData(), bytes.size(), [&](qsizetype begin, qsizetype end, qsizetype next) {
        if (QByteArrayView(bytes).sliced(begin, end - begin) != line)
            return true;
        from = begin;
        to = next;
        return false;
    });
    if (from < 0)
        return std::nullopt;
    QByteArray out = bytes;
    out.remove(from, to - from);
    return out;
}

namespace {

// Changes the counts file beside the mistakes file while the caller holds
// the mistakes file's lock; change gets the counts and the mistakes lines
// that will be on disk.
template <class Change>
UpdateResult changeCounts(const QString &mistakesPath, const QList<QByteArray> &mistakes, int lockWaitMs, Change change)
{
    return updateFile(
        masteryFilePath(mistakesPath),
        [&](const DiskFile &disk) -> std::optional<QByteArray> {
            MasteryCounts counts = MasteryCounts::parse(disk.bytes);
            change(counts);
            counts.keepOnly(mistakes);
            QByteArray bytes = counts.bytes();
            if (disk.exists ? bytes == disk.bytes : bytes.isEmpty())
                return std::nullopt;
            // No counts left: no file, rather than an empty one (a missing
            // file counts none). Under the lock, so no window writes it meanwhile.
            if (bytes.isEmpty() && removeFile(masteryFilePath(mistakesPath)))
                return std::nullopt;
            return bytes;
        },
        lockWaitMs);
}

} // namespace

UpdateResult recordMasteryAnswer(const QString &mistakesPath, const QByteArray &line, MasteryAnswer answer,
                                 int threshold, int lockWaitMs)
{
    UpdateResult countsResult = UpdateResult::Done;
    const UpdateResult result = updateFile(
        mistakesPath,
        [&](const DiskFile &disk) -> std::optional<QByteArray> {
            QList<QByteArray> mistakes = splitLines(disk.bytes);
            std::optional<QByteArray> shorter;
            countsResult = changeCounts(mistakesPath, mistakes, lockWaitMs, [&](MasteryCounts &counts) {
                int n = counts.count(line);
                if (answer == MasteryAnswer::Right)
                    ++n;
                else if (answer == MasteryAnswer::Wrong)
                    n = 0;
                if (answer != MasteryAnswer::Wrong && n >= threshold) {
                    shorter = withoutFirstLine(disk.bytes, line);
                    if (shorter)
                        mistakes.removeOne(line);
                }
                counts.set(line, n);
            });
            // Without its counts saved the mistake stays where it is.
            if (countsResult != UpdateResult::Done)
                return std::nullopt;
            return shorter;
        },
        lockWaitMs);
    return result == UpdateResult::Done ? countsResult : result;
}

UpdateResult appendMistakesResettingCounts(const QString &mistakesPath, const QList<QByteArray> &lines, int lockWaitMs)
{
    if (lines.isEmpty())
        return appendLinesToFile(mistakesPath, lines, lockWaitMs);
    return updateFile(
        mistakesPath,
        [&](const DiskFile &disk) -> std::optional<QByteArray> {
            QByteArray bytes = disk.bytes;
            if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
                bytes.append("\r\n");
            bytes.append(joinCrLf(lines));
            // The mistakes are kept even when their counts cannot be: with
            // the counts file unwritable no mistake is ever taken out.
            changeCounts(mistakesPath, splitLines(bytes), lockWaitMs, [&](MasteryCounts &counts) {
                for (const QByteArray &l : lines)
                    counts.set(l, 0);
            });
            return bytes;
        },
        lockWaitMs);
}

void MasteryRound::clear()
{
    m_repeats.clear();
    m_counted.clear();
    m_failed.clear();
}

bool MasteryRound::takeRepeat(const QByteArray &line)
{
    auto it = m_repeats.find(line);
    if (it == m_repeats.end())
        return false;
    if (--*it == 0)
        m_repeats.erase(it);
    return true;
}

std::optional<MasteryAnswer> MasteryRound::answer(const QByteArray &line, bool right)
{
    if (!right) {
        m_failed.insert(line);
        return MasteryAnswer::Wrong;
    }
    if (m_failed.contains(line))
        return std::nullopt;
    if (m_counted.contains(line))
        return MasteryAnswer::RightAgain;
    m_counted.insert(line);
    return MasteryAnswer::Right;
}

} // namespace lexitka
