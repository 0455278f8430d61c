// Statistics records: the fields, subject and success of any line, the
// filter, the averages of the report, and a new record appended to a file.
//
// Input: five bytes (right answers, wrong answers, the day and language,
// the ticked lessons, and the ticked test kinds in the low four bits with
// recording on (bit 4), no file yet (bit 5) and no test started (bit 6)),
// then the statistics file, the filter and the lesson names, cut at NULs.
#include "fuzzsupport.h"

#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/rounding.h"
#include "data/savefile.h"
#include "stats/statistics.h"
#include "stats/statisticsrecording.h"
#include "stats/statisticsreport.h"
#include "support/recordingmessenger.h"

#include <QDir>
#include <QFile>

#include <algorithm>

using namespace lexitka;
using namespace lexitka::fuzz;

namespace {

bool isSuccess(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 3)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return text.toInt() <= 100;
}

void checkRow(const QByteArray &line)
{
    const StatisticsRow row(line);
    const QList<QByteArray> fields = line.split('/');
    // Day and success before the first two "/", the kinds after the last,
    // the lessons (a "/" in a name included) in between.
    QList<QByteArray> wanted = fields.mid(0, 2);
    if (fields.size() >= 4)
        wanted << fields.mid(2, fields.size() - 3).join('/') << fields.last();
    else
        wanted << fields.mid(2);
    for (int n = -1; n <= 4; ++n) {
        const QByteArray field = n >= 0 && n < 4 ? wanted.value(n) : QByteArray();
        FUZZ_CHECK(row.field(n) == field, QStringLiteral("field %1 of %2").arg(n).arg(shown(line)));
    }
    const QByteArray subject = fields.size() < 3 ? QByteArray() : fields.mid(2).join('/');
    FUZZ_CHECK(row.subject() == subject, shown(line));
    const bool record = fields.size() >= 4 && isSuccess(fields[1]);
    FUZZ_CHECK(row.value().has_value() == record, shown(line));
    if (record)
        FUZZ_CHECK(*row.value() == fields[1].toInt(), shown(line));
}

bool passes(QByteArrayView subject, const QByteArray &filter)
{
    if (filter.isEmpty())
        return true;
    const QList<QByteArray> pieces = filter.split(',');
    return std::any_of(pieces.begin(), pieces.end(),
                       [&](const QByteArray &p) { return !p.isEmpty() && subject.contains(p); });
}

void checkReport(const QList<QByteArray> &lines, const QByteArray &filter)
{
    const StatisticsReport report(lines);
    const std::vector<StatisticsRow> rows = report.rows();
    FUZZ_CHECK(qsizetype(rows.size()) == lines.size(), QString::number(rows.size()));
    const StatisticsChart chart = report.chart(filter);
    QList<qsizetype> wanted;
    int low = 100, high = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const StatisticsRow &row = rows[size_t(i)];
        if (i < 256)
            FUZZ_CHECK(passesFilter(row.subject(), filter) == passes(row.subject(), filter),
                       shown(row.subject()) + u' ' + shown(filter));
        if (row.value() && passesFilter(row.subject(), filter)) {
            wanted.append(i);
            low = std::min(low, *row.value());
            high = std::max(high, *row.value());
        }
    }
    // Not QList's ==: Qt 6.4 hands memcmp a null pointer when one empty list
    // has room reserved and the other none.
    FUZZ_CHECK(std::equal(chart.rows.cbegin(), chart.rows.cend(), wanted.cbegin(), wanted.cend()),
               QStringLiteral("%1 rows instead of %2").arg(chart.rows.size()).arg(wanted.size()));
    FUZZ_CHECK(wanted.isEmpty() ? chart.average == 0 : chart.average >= low && chart.average <= high,
               QStringLiteral("average %1 of values %2..%3").arg(chart.average).arg(low).arg(high));
    const int overall = report.overallAverage();
    FUZZ_CHECK(overall >= 0 && overall <= 100 && overall == report.chart({}).average, QString::number(overall));
}

// The file's bytes read at once give the lines that splitLines() gives.
void checkFileBytes(const QByteArray &file, const QList<QByteArray> &lines)
{
    const StatisticsReport report = StatisticsReport::fromText(file);
    FUZZ_CHECK(report.size() == lines.size(), QString::number(report.size()));
    for (qsizetype i = 0; i < std::min(report.size(), lines.size()); ++i) {
        FUZZ_CHECK(report.row(i).line() == lines[i], shown(lines[i]));
        FUZZ_CHECK(report.value(i) == StatisticsRow(lines[i]).value(), shown(lines[i]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 5)
        return 0;
    const int good = data[0], bad = data[1];
    const int language = allLanguageCodes().at(data[2] % 6);
    const QDate date = QDate(2026, 1, 1).addDays(data[2] * 7 % 365);
    const quint8 lessonTicks = data[3], flags = data[4];
    const bool recording = flags & 16, missing = flags & 32, started = !(flags & 64);
    const QList<QByteArray> parts = splitInput(QByteArrayView(data + 5, qsizetype(size) - 5), 3);
    const QByteArray &file = parts[0], &filter = parts[1];
    const QList<QByteArray> lessons = splitLines(parts[2]); // lesson names have no line break

    const QList<QByteArray> lines = splitLines(file);
    for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), 256); ++i)
        checkRow(lines[i]);
    checkReport(lines, filter);
    checkFileBytes(file, lines);

    // A record of this test.
    QList<bool> ticks;
    for (qsizetype i = 0; i < lessons.size(); ++i)
        ticks.append((lessonTicks >> (i % 8)) & 1);
    QList<QByteArray> kinds;
    for (const QString &k : languageInfo(language).testKinds)
        kinds.append(encode(k, CodePage::Cp1250));
    const QList<bool> kindTicks = {bool(flags & 1), bool(flags & 2), bool(flags & 4), bool(flags & 8)};
    const QByteArray subject = makeLekceTypZK(lessons, ticks, kinds, kindTicks);
    const std::optional<QByteArray> record = statisticsRecord(recording, good, bad, date, subject);
    FUZZ_CHECK(record.has_value() == (recording && good + bad > 0), QString::number(good + bad));
    if (record) {
        const StatisticsRow row(*record);
        FUZZ_CHECK(row.field(0) == statisticsDay(date), shown(*record));
        FUZZ_CHECK(row.value() == successPercent(good, bad), shown(*record));
        FUZZ_CHECK(row.subject() == subject, shown(*record));
        for (qsizetype i = 0; i < lessons.size(); ++i) {
            // A lesson's records are found by its name.
            if (ticks[i] && !lessons[i].isEmpty() && !lessons[i].contains(','))
                FUZZ_CHECK(passesFilter(row.subject(), lessons[i]), shown(lessons[i]));
        }
    }

    // Appended to the file.
    static const QString folder = scratchPath(QStringLiteral("folder"));
    static const bool made = QDir().mkpath(folder);
    FUZZ_CHECK(made, folder);
    const QString path = statisticsFilePath(folder, language);
    if (missing)
        QFile::remove(path);
    else
        writeScratch(path, file);
    testing::RecordingMessenger messenger;
    bool ran = false;
    {
        StatisticsRecording statistics(path, messenger, nullptr);
        if (started) {
            ran = true;
            statistics.append(record);
        }
    }
    FUZZ_CHECK(messenger.messages.isEmpty(), messenger.texts().join(u'\n'));
    FUZZ_CHECK(ran == started, QString::number(ran));
    const bool exists = scratchExists(path);
    const QByteArray now = exists ? readScratch(path) : QByteArray();
    if (!started || !record) {
        FUZZ_CHECK(missing ? now.isEmpty() : now == file, QStringLiteral("the file changed without a record"));
        return 0;
    }
    const QList<QByteArray> before = missing ? QList<QByteArray>() : lines;
    FUZZ_CHECK((missing || now.startsWith(file)) && splitLines(now) == before + QList<QByteArray>{*record}, shown(now));
    checkReport(splitLines(now), filter);
    return 0;
}
