#include "statisticsrecording.h"

#include "data/displaytext.h"
#include "data/savefile.h"
#include "platform/busyretry.h"
#include "platform/messenger.h"
#include "stats/statistics.h"

namespace lexitka {

StatisticsRecording::StatisticsRecording(QString path, Messenger &messenger, QWidget *parent)
    : m_path(std::move(path)), m_messenger(messenger), m_parent(parent)
{
    m_unreadable = loadStatisticsFile(m_path).state == StatisticsFile::State::Unreadable;
    if (m_unreadable)
        m_messenger.error(m_parent, QStringLiteral("Soubor statistiky %1 nelze přečíst. Výsledek tohoto zkoušení "
                                                   "se do něj neuloží.")
                                        .arg(shownPath(m_path)));
}

void StatisticsRecording::append(const std::optional<QByteArray> &record)
{
    if (m_unreadable)
        return;
    // Appended to the file as it is now: another window of the program may
    // have recorded a test meanwhile.
    QList<QByteArray> lines;
    if (record)
        lines.append(*record);
    const QString shown = shownPath(m_path);
    switch (retryWhileBusy(m_messenger, m_parent, m_path, [&] { return appendLinesToFile(m_path, lines); })) {
    case UpdateResult::Done: break;
    case UpdateResult::Busy:
        m_messenger.error(m_parent, QStringLiteral("Soubor statistiky %1 používá jiné okno programu. Výsledek tohoto "
                                                   "zkoušení se neuložil.")
                                        .arg(shown));
        break;
    case UpdateResult::Unreadable:
        m_messenger.error(m_parent, QStringLiteral("Soubor statistiky %1 nelze přečíst. Výsledek tohoto zkoušení se "
                                                   "neuložil.")
                                        .arg(shown));
        break;
    case UpdateResult::Unwritable:
        m_messenger.error(m_parent, QStringLiteral("Soubor statistiky %1 nelze uložit. Výsledek tohoto zkoušení se "
                                                   "neuložil; původní soubor zůstal beze změny.")
                                        .arg(shown));
        break;
    }
}

} // namespace lexitka
