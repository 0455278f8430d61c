#include "fmain.h"

#include "app/application.h"
#include "app/lessonlist.h"
#include "data/displaytext.h"
#include "exam/mastery.h"
#include "data/savefile.h"
#include "platform/busyretry.h"
#include "platform/messenger.h"
#include "platform/services.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>

namespace lexitka {

void TfrmMain::btnErrorsClick()
{
    UTest &test = m_app.test();
    if (LoadLekce(TestMode::Mistakes))
        test.StartTest(test.LanguageCode);
    recountReviews(true);
}

void TfrmMain::btnClearErrorsClick()
{
    if (!confirmClearing())
        return;
    const QString path = m_app.test().MistakesFilePath();
    if (retryWhileBusy(m_app.messenger(), this, path, [&] { return removeFileLocked(path); }) == UpdateResult::Done) {
        // Counts left behind would count for the same mistake made anew.
        const QString counts = masteryFilePath(path);
        if (QFileInfo::exists(counts))
            removeFileLocked(counts);
        return;
    }
    // A mistakes file that is still there must not look deleted.
    m_app.messenger().error(this, QStringLiteral("Soubor chyb %1 nelze smazat.").arg(shownPath(path)));
}

void TfrmMain::mniRemoveMasteredClick(bool on)
{
    m_app.test().RemoveMastered = on;
    storeSettings({Settings::removeMasteredChange(on)}, true);
}

void TfrmMain::mniScheduleReviewsClick(bool on)
{
    m_app.test().ScheduleReviews = on;
    storeSettings({Settings::scheduleReviewsChange(on)}, true);
    recountReviews(true);
}

bool TfrmMain::confirmClearing()
{
    // A whole history goes with one click and there is no way back.
    return m_app.messenger().ask(this, QStringLiteral("Vymazat databázi"), QStringLiteral("Opravdu smazat ?"),
                                 Messenger::Default::No);
}

TestRequest TfrmMain::testRequest(TestMode mode) const
{
    const UTest &test = m_app.test();
    TestRequest request;
    request.mode = mode;
    request.languageCode = test.LanguageCode;
    request.dictionaryPath = test.DictionaryPath;
    request.lessons = m_lessons->names();
    request.lessonTicks = lessonTicks();
    request.mistakesPath = test.MistakesFilePath();
    request.removeMastered = test.RemoveMastered;
    request.kindTicks = testKindTicks();
    request.reviewsPath = test.ReviewFilePath();
    request.today = m_app.clock().today();
    return request;
}

bool TfrmMain::LoadLekce(TestMode mode)
{
    TestPool pool = collectTestPool(testRequest(mode));
    Messenger &messenger = m_app.messenger();
    for (const TestRefusal &refusal : pool.refusals) {
        if (refusal.box == TestRefusal::Box::Error)
            messenger.error(this, refusal.text);
        else
            messenger.information(this, refusal.text);
    }
    const bool mayStart = pool.mayStart();
    m_app.test().setUp(std::move(pool), chbSaveErrors->isChecked());
    return mayStart;
}

} // namespace lexitka
