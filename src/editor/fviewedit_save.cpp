// Reading the dictionary and the mistakes into the browser, and saving them
// back without losing what another window of the program wrote meanwhile.
#include "fviewedit.h"

#include "data/displaytext.h"
#include "data/filelock.h"
#include "data/fileread.h"
#include "data/nativefile.h"
#include "data/savefile.h"
#include "editor/bookmerge.h"
#include "platform/busyretry.h"
#include "platform/messenger.h"
#include "platform/waitcursor.h"

#include <QFileInfo>

#include <algorithm>
#include <QUndoStack>

namespace lexitka {
namespace {

// A file that exists but cannot be read must not look empty: saving over
// it would lose it.
bool readExisting(const QString &path, QByteArray &bytes)
{
    bool ok = false;
    bytes = readWholeFile(path, &ok);
    return ok || !pathExists(path);
}

} // namespace

bool TfrmViewEdt::LoadWords()
{
    releaseLists();
    QByteArray dictionary, mistakes;
    const QString mistakesPath = m_dictionary.mistakesPath;
    // Stamped before reading: a change in between then shows as a change.
    m_dictionaryStamp = FileStamp::of(m_dictionary.path);
    m_mistakesStamp = FileStamp::of(mistakesPath);
    if (!readExisting(m_dictionary.path, dictionary)) {
        m_messenger.error(this, QStringLiteral("Slovník %1 nelze přečíst.").arg(shownPath(m_dictionary.path)));
        return false;
    }
    if (!readExisting(mistakesPath, mistakes)) {
        m_messenger.error(this, QStringLiteral("Soubor chyb %1 nelze přečíst.").arg(shownPath(mistakesPath)));
        return false;
    }
    WordLists.load(std::move(dictionary), std::move(mistakes));
    m_read = WordLists; // shares every line until the first change
    return true;
}

TfrmViewEdt::SaveAttempt TfrmViewEdt::saveMerged(bool oursWins)
{
    const QString dictionaryPath = m_dictionary.path;
    const QString mistakesPath = m_dictionary.mistakesPath;
    SaveAttempt attempt;
    // Always the dictionary's lock first: no two writers can wait for each other.
    FileLock dictionaryLock(dictionaryPath), mistakesLock(mistakesPath);
    for (auto [lock, path] : {std::pair{&dictionaryLock, &dictionaryPath}, std::pair{&mistakesLock, &mistakesPath}}) {
        if (lock->lock() == FileLock::Result::Busy) {
            attempt.outcome = SaveAttempt::Busy;
            attempt.file = *path;
            return attempt;
        }
    }
    auto readDisk = [&attempt](const QString &path, QByteArray &bytes) {
        if (readExisting(path, bytes))
            return true;
        attempt.outcome = SaveAttempt::Failed;
        attempt.file = path;
        return false;
    };

    // The dictionary: when another window saved it since, its changes and
    // ours; otherwise written straight from the lists.
    QByteArray dictionary;
    QList<Lesson> mergedLessons;
    bool dictionaryMerged = false;
    if (!(FileStamp::of(dictionaryPath) == m_dictionaryStamp)) {
        QByteArray bytes;
        if (!readDisk(dictionaryPath, bytes))
            return attempt;
        LessonBook disk;
        disk.load(std::move(bytes), QByteArray());
        DictionaryMerge m = mergeDictionary(m_read, WordLists, disk, oursWins);
        if (!m.conflicts.isEmpty() && !oursWins) {
            attempt.outcome = SaveAttempt::Conflict;
            attempt.conflicts = m.conflicts;
            return attempt;
        }
        dictionary = dictionaryBytesOf(m.lessons);
        mergedLessons = std::move(m.lessons);
        dictionaryMerged = true;
    }
    bool merged = dictionaryMerged;

    // The mistakes: lines added by a test in another window stay.
    const LineStore &ourMistakes = WordLists.lines(WordLists.mistakesIndex());
    LineStore mistakes = ourMistakes;
    if (!(FileStamp::of(mistakesPath) == m_mistakesStamp)) {
        QByteArray bytes;
        if (!readDisk(mistakesPath, bytes))
            return attempt;
        mistakes = mergeMistakes(m_read.lines(m_read.mistakesIndex()), ourMistakes, LineStore::fromText(bytes));
        merged = merged || !(mistakes == ourMistakes);
    }

    // The old file stays until the new one is complete.
    const bool dictionarySaved =
        dictionaryMerged
            ? saveWholeFile(dictionaryPath, dictionary)
            : saveFileInPieces(dictionaryPath, [this](ByteSink &sink) { return WordLists.writeDictionary(sink); });
    if (!dictionarySaved) {
        attempt.outcome = SaveAttempt::Failed;
        attempt.file = dictionaryPath;
        return attempt;
    }
    const QByteArray mistakesBytes = mistakes.joinedCrLf();
    // No mistakes and no file: nothing to create.
    if ((!mistakesBytes.isEmpty() || QFileInfo::exists(mistakesPath)) && !saveWholeFile(mistakesPath, mistakesBytes)) {
        attempt.outcome = SaveAttempt::Failed;
        attempt.file = mistakesPath;
        return attempt;
    }
    m_dictionaryStamp = FileStamp::of(dictionaryPath);
    m_mistakesStamp = FileStamp::of(mistakesPath);
    if (merged) {
        // What was saved holds another window's changes too: it becomes what
        // the browser shows, and the steps of the old state cannot be undone.
        const qsizetype shown = currentLesson();
        m_undo->clear();
        if (!dictionaryMerged)
            dictionary = WordLists.dictionaryBytes();
        WordLists.load(dictionary, mistakesBytes);
        LoadLekceList();
        showLesson(std::clamp<qsizetype>(shown, 0, WordLists.mistakesIndex()), 0);
    }
    m_read = WordLists;
    attempt.outcome = SaveAttempt::Saved;
    return attempt;
}

bool TfrmViewEdt::save()
{
    bool oursWins = false;
    for (;;) {
        SaveAttempt attempt;
        {
            WaitCursor wait;
            attempt = saveMerged(oursWins);
        }
        switch (attempt.outcome) {
        case SaveAttempt::Saved: return true;
        case SaveAttempt::Busy:
            if (askToTryAgain(m_messenger, this, attempt.file))
                continue;
            m_messenger.information(this, QStringLiteral("Nic nebylo uloženo; úpravy zůstávají v okně."));
            return false;
        case SaveAttempt::Conflict: {
            QStringList names;
            for (const QByteArray &name : attempt.conflicts.first(std::min<qsizetype>(attempt.conflicts.size(), 10)))
                names.append(QStringLiteral("„%1“").arg(displayText(name, CodePage::Cp1250, 60)));
            if (attempt.conflicts.size() > 10)
                names.append(QStringLiteral("…"));
            if (m_messenger.ask(this, QStringLiteral("Dotaz"),
                                QStringLiteral("Jiné okno programu mezitím uložilo změny v lekcích, které jste také "
                                               "upravili: %1. Přepsat jejich změny vašimi ? (Ne: nic se neuloží a "
                                               "úpravy zůstávají v okně.)")
                                    .arg(names.join(QStringLiteral(", "))),
                                Messenger::Default::No)) {
                oursWins = true;
                continue;
            }
            return false;
        }
        case SaveAttempt::Failed:
            m_messenger.error(this, (attempt.file == m_dictionary.path ? QStringLiteral("Slovník %1")
                                                                       : QStringLiteral("Soubor chyb %1"))
                                            .arg(shownPath(attempt.file))
                                        + QStringLiteral(" nelze uložit. Soubor zůstal beze změny a úpravy zůstávají "
                                                         "v okně."));
            return false;
        }
    }
}

} // namespace lexitka
