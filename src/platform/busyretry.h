#pragma once

#include "data/displaytext.h"
#include "data/savefile.h"
#include "platform/messenger.h"

namespace lexitka {

// Another window of the program held path's lock for the whole wait: true
// when the user wants to try again.
inline bool askToTryAgain(Messenger &messenger, QWidget *parent, const QString &path)
{
    return messenger.ask(
        parent, QStringLiteral("Soubor je používán"),
        QStringLiteral("Soubor %1 právě ukládá jiné okno programu Lexitka. Zkusit to znovu ?").arg(shownPath(path)),
        Messenger::Default::Yes);
}

// Runs attempt (a locked change of path) and, while another window of the
// program holds the file, asks the user whether to try again. The last
// result; Busy when the user gave up.
template <class Attempt>
UpdateResult retryWhileBusy(Messenger &messenger, QWidget *parent, const QString &path, Attempt attempt)
{
    for (;;) {
        const UpdateResult result = attempt();
        if (result != UpdateResult::Busy || !askToTryAgain(messenger, parent, path))
            return result;
    }
}

} // namespace lexitka
