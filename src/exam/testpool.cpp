#include "testpool.h"

#include "data/dictionary.h"
#include "data/displaytext.h"
#include "data/fileread.h"
#include "data/nativefile.h"
#include "exam/duereviews.h"
#include "exam/wordcollection.h"

#include <QFileInfo>

#include <algorithm>

namespace lexitka {

TestPool collectTestPool(const TestRequest &request)
{
    TestPool pool;
    pool.mode = request.mode;
    bool allMastered = false; // an empty mistakes file while mastered mistakes leave it
    const auto refuse = [&pool](TestRefusal::Box box, QString text) { pool.refusals.append({box, std::move(text)}); };
    if (request.mode == TestMode::Reviews) {
        bool ok = true;
        const QByteArray reviews =
            pathExists(request.reviewsPath) ? readWholeFile(request.reviewsPath, &ok) : QByteArray();
        if (!ok) {
            refuse(TestRefusal::Box::Error,
                   QStringLiteral("Soubor opakování %1 nelze přečíst.").arg(shownPath(request.reviewsPath)));
            return pool;
        }
        ReviewOverview overview =
            reviewOverviewOfFile(request.dictionaryPath, reviews, request.languageCode, request.today);
        pool.words = std::move(overview.due);
        pool.kinds = overview.kinds;
        if (pool.words.isEmpty())
            refuse(TestRefusal::Box::Information, QStringLiteral("Dnes nemáte co opakovat."));
        return pool;
    }
    if (request.mode == TestMode::Mistakes) {
        bool ok = false;
        const QByteArray bytes = readWholeFile(request.mistakesPath, &ok);
        if (!ok) {
            if (QFileInfo::exists(request.mistakesPath))
                refuse(TestRefusal::Box::Error,
                       QStringLiteral("Soubor chyb %1 nelze přečíst.").arg(shownPath(request.mistakesPath)));
            else
                refuse(TestRefusal::Box::Information, QStringLiteral("Nemáte žádné chyby !"));
            return pool;
        }
        pool.words = LineStore::fromText(bytes);
        allMastered = pool.words.isEmpty() && request.removeMastered;
    } else {
        pool.words = collectLessonEntries(request.dictionaryPath, request.lessons, request.lessonTicks);
    }

    // Only the kinds the language offers count (plurals and verbs: German).
    const qsizetype offered = languageInfo(request.languageCode).testKinds.size();
    for (int i = 0; i < kTestKindCount; ++i)
        pool.kinds[size_t(i)] = i < offered && i < request.kindTicks.size() && request.kindTicks[i];
    filterByTestKinds(pool.words, pool.kinds[KindPlural], pool.kinds[KindVerbForms]);

    if (allMastered)
        refuse(TestRefusal::Box::Information, QStringLiteral("Všechny chyby máte zvládnuté."));
    else if (pool.words.isEmpty())
        refuse(TestRefusal::Box::Information, QStringLiteral("Musíte vybrat lekce kde jsou lexitka !"));
    if (std::none_of(pool.kinds.begin(), pool.kinds.end(), [](bool ticked) { return ticked; }))
        refuse(TestRefusal::Box::Information, QStringLiteral("Musíte vybrat druh zkoušení !"));
    return pool;
}

} // namespace lexitka
