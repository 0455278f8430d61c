#pragma once

// Statistics records for the benchmarks: five tests a day, three kinds of
// subject, success rates spread over 0..100.

#include "stats/statistics.h"

#include <QByteArray>
#include <QDate>
#include <QList>

namespace lexitka::bench {

inline QList<QByteArray> statisticsRecordLines(qsizetype count)
{
    const QByteArray subjects[] = {"Lekce 1,Lekce 2/Anglicko - \xe8"
                                   "esky",
                                   "Lekce 3/\xc8"
                                   "esko - anglicky",
                                   "Lekce 1,Lekce 2,Lekce 3,Lekce 4/Anglicko - \xe8"
                                   "esky,\xc8"
                                   "esko - anglicky"};
    QList<QByteArray> lines;
    lines.reserve(count);
    QDate day(2020, 1, 1);
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0 && i % 5 == 0)
            day = day.addDays(1);
        lines.append(statisticsDay(day) + '/' + QByteArray::number((i * 37) % 101) + '/' + subjects[i % 3]);
    }
    return lines;
}

} // namespace lexitka::bench
