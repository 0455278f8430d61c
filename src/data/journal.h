#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace lexitka {

// The old bytes of a file that is being overwritten in place (a writable
// file in a folder that takes no new files, so no new file can replace it).
// The journal is synced before the first byte of the file changes and
// removed once the new bytes are synced, so a process killed in between
// leaves a journal from which the next start puts the old bytes back.
class InPlaceJournal {
public:
    // Writes and syncs the journal of path in folder; false when it could
    // not be written, and then the file must not be touched.
    bool begin(const QString &folder, const QString &path, const QByteArray &oldBytes, const QByteArray &newBytes);
    // The new bytes are on disk: the journal goes.
    void finish();
    ~InPlaceJournal();

private:
    QString m_journalPath;
    int m_fd = -1;
};

// What the next start found of a save that was cut off.
struct JournalRecovery {
    // Gone: the file itself was removed since; nothing to put back.
    enum class Outcome { Restored, Completed, Gone, Failed };
    QString path; // the file the journal was for
    Outcome outcome;
};

// Settles every journal in folder that no living process holds: a file
// whose new bytes were all written keeps them, any other gets its old bytes
// back. A journal whose file could not be restored stays for the next try.
QList<JournalRecovery> recoverInterruptedSaves(const QString &folder);

// Writes bytes over the file where it lies (no new file, no rename), cuts it
// to their length and syncs it; false when any step failed.
bool overwriteInPlace(const QString &path, const QByteArray &bytes);

// The folder of the journals: in the user's state folder.
QString journalFolder();

} // namespace lexitka
