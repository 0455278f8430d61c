#pragma once

#include <QString>

namespace lexitka {

// How long a writer waits for another window of the program to finish
// writing the same file before the user is asked what to do.
constexpr int kLockWaitMs = 4000;

// The folder of this user's own program state (journals, and the locks of
// files whose folder takes no new files): ~/.local/share/Lexitka.
QString userStateFolder();

// An advisory lock on one file, held by one writer at a time among all the
// program's processes. It is a kernel lock (flock) on "<file>.lock" beside
// the file, or in the user's state folder when the file's folder takes no
// new files, so a process that dies lets go of it at once; the lock file is
// removed when the lock is let go.
class FileLock {
public:
    explicit FileLock(QString path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Busy: another process held the lock for all of waitMs. NoPlace: no
    // lock file can be made anywhere (a read-only folder and no home to
    // write in), so no other writer could lock the file either.
    enum class Result { Locked, Busy, NoPlace };
    Result lock(int waitMs = kLockWaitMs);
    void unlock();
    bool isLocked() const { return m_fd >= 0; }

    // Where the lock of path lies when its own folder takes new files.
    static QString besidePath(const QString &path);

private:
    bool lockAt(const QString &lockPath, int waitMs, bool *cannotCreate);

    QString m_path;
    QString m_lockPath;
    int m_fd = -1;
};

} // namespace lexitka
