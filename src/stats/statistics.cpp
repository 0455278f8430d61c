#include "statistics.h"

#include "data/dictionary.h"
#include "data/displaytext.h"
#include "data/inifile.h"
#include "data/rounding.h"
#include "data/nativefile.h"
#include "data/savefile.h"
#include "platform/busyretry.h"
#include "platform/messenger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#if defined(__linux__)
#include <sys/mman.h>
#endif

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

// Most of the time of reading a long file into fresh memory goes to the
// kernel handing out and clearing that memory page by page: whole huge
// pages inside the buffer take a fraction of it. Only a hint.
void preferHugePages([[maybe_unused]] char *data, [[maybe_unused]] qsizetype size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr quintptr kHuge = quintptr(2) << 20;
    const quintptr begin = (quintptr(data) + kHuge - 1) & ~(kHuge - 1);
    const quintptr end = (quintptr(data) + quintptr(size)) & ~(kHuge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

// The whole file in a buffer of its size, read at once.
bool readStatisticsBytes(const QString &path, QByteArray &bytes)
{
    QFile file;
    if (!isFile(path) || !openToRead(file, path, QIODevice::Unbuffered))
        return false;
    const qint64 size = file.size();
    bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
    preferHugePages(bytes.data(), bytes.size());
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(bytes.data() + got, size - got);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(qsizetype(got));
    // A test recorded meanwhile made the file longer.
    if (got == size) {
        const QByteArray rest = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return false;
        bytes.append(rest);
    }
    return true;
}

} // namespace

StatisticsFile loadStatisticsFile(const QString &path)
{
    StatisticsFile file;
    if (!QFileInfo::exists(path))
        return file;
    const bool ok = readStatisticsBytes(path, file.bytes);
    if (!ok)
        file.bytes.clear();
    file.state = ok ? StatisticsFile::State::Read : StatisticsFile::State::Unreadable;
    return file;
}

void recordAroundTest(const QString &path, Messenger &messenger, QWidget *parent, const std::function<bool()> &collect,
                      const std::function<void()> &run, const std::function<std::optional<QByteArray>()> &record)
{
    const QString shown = shownPath(path);
    const StatisticsFile old = loadStatisticsFile(path);
    if (old.state == StatisticsFile::State::Unreadable)
        messenger.error(parent, QStringLiteral("Soubor statistiky %1 nelze přečíst. Výsledek tohoto zkoušení "
                                               "se do něj neuloží.")
                                    .arg(shown));
    if (!collect())
        return;
    run();
    if (old.state == StatisticsFile::State::Unreadable)
        return;

    // Appended to the file as it is now: another window of the program may
    // have recorded a test meanwhile.
    QList<QByteArray> lines;
    if (const std::optional<QByteArray> line = record())
        lines.append(*line);
    switch (retryWhileBusy(messenger, parent, path, [&] { return appendLinesToFile(path, lines); })) {
    case UpdateResult::Done: break;
    case UpdateResult::Busy:
        messenger.error(parent, QStringLiteral("Soubor statistiky %1 používá jiné okno programu. Výsledek tohoto "
                                               "zkoušení se neuložil.")
                                    .arg(shown));
        break;
    case UpdateResult::Unreadable:
        messenger.error(parent, QStringLiteral("Soubor statistiky %1 nelze přečíst. Výsledek tohoto zkoušení se "
                                               "neuložil.")
                                    .arg(shown));
        break;
    case UpdateResult::Unwritable:
        messenger.error(parent, QStringLiteral("Soubor statistiky %1 nelze uložit. Výsledek tohoto zkoušení se "
                                               "neuložil; původní soubor zůstal beze změny.")
                                    .arg(shown));
        break;
    }
}

} // namespace lexitka
