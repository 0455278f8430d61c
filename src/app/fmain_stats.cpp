#include "fmain.h"

#include "app/application.h"
#include "app/lessonlist.h"
#include "data/displaytext.h"
#include "data/codepage.h"
#include "data/savefile.h"
#include "platform/busyretry.h"
#include "platform/messenger.h"
#include "platform/services.h"
#include "stats/fstatistic.h"
#include "stats/statistics.h"
#include "stats/statisticsrecording.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>

namespace lexitka {

void TfrmMain::btnTestClick()
{
    UTest &test = m_app.test();
    StatisticsRecording statistics(test.dictionary().statisticsPath, m_app.messenger(), this);
    if (!LoadLekce(TestMode::Lessons))
        return;
    test.StartTest(test.LanguageCode);
    statistics.append(statisticsRecord(chbStatistika->isChecked(), test.GoodCount, test.BadCount, m_app.clock().today(),
                                       MakeLekceTypZK()));
    recountReviews(true);
}

QByteArray TfrmMain::MakeLekceTypZK() const
{
    QList<QByteArray> kinds;
    for (int i = 0; i < chbChoice->count(); ++i)
        kinds.append(encode(chbChoice->item(i)->text(), CodePage::Cp1250));
    return makeLekceTypZK(m_lessons->names(), lessonTicks(), kinds, testKindTicks());
}

void TfrmMain::btnStatistikaClick()
{
    const QString path = m_app.test().dictionary().statisticsPath;
    StatisticsFile file = loadStatisticsFile(path);
    if (file.state == StatisticsFile::State::Unreadable) {
        m_app.messenger().error(this, QStringLiteral("Soubor statistiky %1 nelze přečíst.").arg(shownPath(path)));
        return;
    }
    TfrmStatistic &window = m_app.frmStatistic();
    window.setText(std::move(file.bytes));
    recountReviews();
    window.setForecast(m_app.test().ScheduleReviews ? std::optional(m_overview.forecast) : std::nullopt,
                       m_app.clock().today());
    window.exec();
    window.setText({});
}

void TfrmMain::btnClearStatistikaClick()
{
    if (!confirmClearing())
        return;
    const QString path = m_app.test().dictionary().statisticsPath;
    // Silent as long as it works; a file that stays would mislead the user.
    if (retryWhileBusy(m_app.messenger(), this, path, [&] { return removeFileLocked(path); }) != UpdateResult::Done)
        m_app.messenger().error(this, QStringLiteral("Soubor statistiky %1 nelze smazat.").arg(shownPath(path)));
}

} // namespace lexitka
