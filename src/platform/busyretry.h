#pragma once

#include "data/displaytext.h"
#include "data/savefile.h"
#include "platform/messenger.h"

namespace lexitka {

// Runs attempt (a locked change of path) and, while another window of the
// program holds the file, asks the user whether to try again. The last
// result; Busy when the user gave up.
template <class Attempt>
UpdateResult retryWhileBusy(Messenger &messenger, QWidget *parent, const QString &path, Attempt attempt)
{
    for (;;) {
        const UpdateResult result = attempt();
        if (result != UpdateResult::Busy
            || !messenger.ask(parent, QStringLiteral("Soubor je používán"),
                              QStringLiteral("Soubor %1 právě ukládá jiné okno programu Lexitka. Zkusit to znovu ?")
                                  .arg(shownPath(path)),
                              Messenger::Default::Yes))
            return result;
    }
}

} // namespace lexitka
