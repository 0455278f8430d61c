#include "fmain.h"

#include "app/application.h"
#include "app/lessonlist.h"
#include "data/codepage.h"
#include "data/displaytext.h"
#include "data/fileread.h"
#include "data/savefile.h"
#include "platform/busyretry.h"
#include "platform/messenger.h"
#include "platform/services.h"
#include "stats/statistics.h"
#include "stats/statisticsrecording.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QLayout>
#include <QPushButton>
#include <QStatusBar>

namespace lexitka {
namespace {

// "1 slovo", "3 slova", "40 slov".
QString wordCount(int n)
{
    if (n == 1)
        return QStringLiteral("1 slovo");
    if (n >= 2 && n <= 4)
        return QStringLiteral("%1 slova").arg(n);
    return QStringLiteral("%1 slov").arg(n);
}

QString czechDay(const QDate &day) { return day.toString(QStringLiteral("d. M. yyyy")); }

} // namespace

void TfrmMain::recountReviews(bool force)
{
    const UTest &test = m_app.test();
    const bool on = test.ScheduleReviews;
    const QString reviewPath = test.ReviewFilePath();
    ReviewStamps stamps{test.DictionaryPath,
                        FileStamp::of(test.DictionaryPath),
                        on ? FileStamp::of(reviewPath) : FileStamp{},
                        m_app.clock().today(),
                        test.LanguageCode,
                        on};
    if (!force && m_reviewStamps && *m_reviewStamps == stamps)
        return;
    m_reviewStamps = stamps;
    m_overview = readReviews(DueCards::Count);

    const int due = m_overview.dueCount;
    btnReviews->setEnabled(on && due > 0);
    mniReviews->setEnabled(btnReviews->isEnabled());
    mniClearReviews->setEnabled(on);
    btnReviews->setText(due > 0 && on ? QStringLiteral("Opakovat (%1)").arg(due) : QStringLiteral("Opakovat"));
    QString tip;
    if (!on)
        tip = QStringLiteral("Plánování opakování je vypnuté (Slovník → Plánovat opakování).");
    else if (due > 0)
        tip = QStringLiteral("Zkoušet slovíčka, která máte dnes zopakovat.");
    else if (m_overview.nextDue)
        tip = QStringLiteral("Dnes nemáte co opakovat. Další opakování: %1.").arg(czechDay(*m_overview.nextDue));
    else
        tip = QStringLiteral("Dnes nemáte co opakovat.");
    btnReviews->setToolTip(tip);
    showProgress();
}

ReviewOverview TfrmMain::readReviews(DueCards detail) const
{
    const UTest &test = m_app.test();
    // Off, the review file is not even read: the counts are words alone.
    const QString path = test.ReviewFilePath();
    const QByteArray reviews = test.ScheduleReviews ? readWholeFile(path) : QByteArray(); // none when missing
    return reviewOverviewOfFile(test.DictionaryPath, reviews, test.LanguageCode, m_app.clock().today(), detail);
}

void TfrmMain::showProgress()
{
    const QModelIndex current = lbLekce->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const SectionNames &names = m_lessons->names();
    if (row >= names.size() || row >= m_overview.lessons.size()) {
        lblProgress->clear();
        return;
    }
    const LessonProgress &p = m_overview.lessons[row];
    QString text = displayText(names[row], CodePage::Cp1250) + QStringLiteral(": ") + wordCount(p.words);
    if (m_app.test().ScheduleReviews)
        text += QStringLiteral(" · zkoušeno %1 · k opakování %2").arg(p.asked).arg(p.due);
    lblProgress->setToolTip(text);
    // A long name must not widen the window: the line is as wide as the
    // window's controls, whether or not the status bar has been laid out yet.
    const int width = centralWidget()->width() - 2 * statusBar()->layout()->contentsMargins().left() - 8;
    lblProgress->setText(lblProgress->fontMetrics().elidedText(text, Qt::ElideMiddle, width));
}

void TfrmMain::btnReviewsClick()
{
    UTest &test = m_app.test();
    if (!test.ScheduleReviews)
        return;
    StatisticsRecording statistics(test.dictionary().statisticsPath, m_app.messenger(), this);
    if (!LoadLekce(TestMode::Reviews))
        return;
    // The kinds as asked, before the test narrows them to the word on screen.
    QList<QByteArray> kinds;
    for (int i = 0; i < chbChoice->count() && i < kTestKindCount; ++i)
        if (test.TestKinds[size_t(i)])
            kinds.append(encode(chbChoice->item(i)->text(), CodePage::Cp1250));
    test.StartTest(test.LanguageCode);
    statistics.append(statisticsRecord(chbStatistika->isChecked(), test.GoodCount, test.BadCount, m_app.clock().today(),
                                       encode(QStringLiteral("Opakování"), CodePage::Cp1250) + '/' + kinds.join(',')));
    recountReviews(true);
}

void TfrmMain::mniClearReviewsClick()
{
    const QString path = m_app.test().ReviewFilePath();
    if (!m_app.messenger().ask(this, QStringLiteral("Vymazat opakování"),
                               QStringLiteral("Opravdu zapomenout, kdy máte která slovíčka tohoto jazyka opakovat ?"),
                               Messenger::Default::No))
        return;
    if (retryWhileBusy(m_app.messenger(), this, path, [&] { return removeFileLocked(path); }) != UpdateResult::Done)
        m_app.messenger().error(this, QStringLiteral("Soubor opakování %1 nelze smazat.").arg(shownPath(path)));
    recountReviews(true);
}

void TfrmMain::changeEvent(QEvent *event)
{
    // Back at the window: a test, the browser or midnight may have changed the counts.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        recountReviews();
    QMainWindow::changeEvent(event);
}

} // namespace lexitka
