#include "fmain.h"

#include "app/application.h"
#include "app/lessonlist.h"
#include "data/displaytext.h"
#include "exam/mastery.h"
#include "exam/wordcollection.h"
#include "data/inifile.h"
#include "data/savefile.h"
#include "platform/busyretry.h"
#include "platform/messenger.h"
#include "data/fileread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>

#include <algorithm>

namespace lexitka {

void TfrmMain::btnErrorsClick()
{
    UTest &test = m_app.test();
    test.ErrorsMode = true;
    if (LoadLekce())
        test.StartTest(test.LanguageCode);
    test.ErrorsMode = false;
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

bool TfrmMain::confirmClearing()
{
    // A whole history goes with one click and there is no way back.
    return m_app.messenger().ask(this, QStringLiteral("Vymazat databázi"), QStringLiteral("Opravdu smazat ?"),
                                 Messenger::Default::No);
}

bool TfrmMain::LoadLekce()
{
    UTest &test = m_app.test();
    Messenger &messenger = m_app.messenger();
    test.WordPool.clear();

    if (test.ErrorsMode) {
        const QString path = test.MistakesFilePath();
        bool ok = false;
        const QByteArray bytes = readWholeFile(path, &ok);
        if (!ok) {
            if (QFileInfo::exists(path))
                messenger.error(this, QStringLiteral("Soubor chyb %1 nelze přečíst.").arg(shownPath(path)));
            else
                messenger.information(this, QStringLiteral("Nemáte žádné chyby !"));
            test.ErrorsMode = false;
            return false;
        }
        test.WordPool = LineStore::fromText(bytes);
    } else {
        test.WordPool = collectLessonEntries(test.DictionaryPath, m_lessons->names(), lessonTicks());
    }

    // Only the kinds the language offers count (plurals and verbs: German).
    const QList<bool> kinds = testKindTicks();
    const qsizetype offered = languageInfo(test.LanguageCode).testKinds.size();
    for (int i = 0; i < kTestKindCount; ++i)
        test.TestKinds[size_t(i)] = i < offered && i < kinds.size() && kinds[i];
    filterByTestKinds(test.WordPool, test.TestKinds[KindPlural], test.TestKinds[KindVerbForms]);

    bool ok = true;
    if (test.WordPool.isEmpty()) {
        messenger.information(this, QStringLiteral("Musíte vybrat lekce kde jsou lexitka !"));
        ok = false;
    }
    if (std::none_of(test.TestKinds.begin(), test.TestKinds.end(), [](bool ticked) { return ticked; })) {
        messenger.information(this, QStringLiteral("Musíte vybrat druh zkoušení !"));
        ok = false;
    }
    return ok;
}

} // namespace lexitka
