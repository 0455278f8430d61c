#include "filelock.h"

#include "data/nativepath.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lexitka {

QString userStateFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Lexitka");
}

FileLock::FileLock(QString path) : m_path(std::move(path)) { }

FileLock::~FileLock() { unlock(); }

QString FileLock::besidePath(const QString &path) { return path + QStringLiteral(".lock"); }

FileLock::Result FileLock::lock(int waitMs)
{
    if (isLocked())
        return Result::Locked;
    bool cannotCreate = false;
    if (lockAt(besidePath(m_path), waitMs, &cannotCreate))
        return Result::Locked;
    if (!cannotCreate)
        return Result::Busy;
    // A folder that takes no new files (a shared read-only folder with a
    // writable dictionary): the lock goes where this user may write.
    const QString folder = userStateFolder() + QStringLiteral("/locks");
    if (!QDir().mkpath(folder))
        return Result::NoPlace;
    const QByteArray key = nativePath(absolutePath(m_path));
    const QString name = QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
    if (lockAt(folder + u'/' + name + QStringLiteral(".lock"), waitMs, &cannotCreate))
        return Result::Locked;
    return cannotCreate ? Result::NoPlace : Result::Busy;
}

bool FileLock::lockAt(const QString &lockPath, int waitMs, bool *cannotCreate)
{
    const QByteArray native = nativePath(lockPath);
    const QDeadlineTimer deadline(waitMs);
    int pause = 5;
    for (;;) {
        const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            *cannotCreate = errno == EACCES || errno == EROFS || errno == EPERM || errno == ENOENT;
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before us may have removed the file after we opened
            // it: then our lock is on a file nobody else will ever look at.
            struct stat held {
            }, named{};
            if (::fstat(fd, &held) == 0 && ::stat(native.constData(), &named) == 0 && held.st_dev == named.st_dev
                && held.st_ino == named.st_ino) {
                m_fd = fd;
                m_lockPath = lockPath;
                return true;
            }
            ::close(fd);
            continue;
        }
        ::close(fd);
        if (deadline.hasExpired())
            return false;
        QThread::msleep(qMin<qint64>(pause, qMax<qint64>(1, deadline.remainingTime())));
        pause = qMin(pause * 2, 100);
    }
}

void FileLock::unlock()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so that whoever opens the name next makes a
    // new file, and no lock file outlives a clean run.
    ::unlink(nativePath(m_lockPath).constData());
    ::close(m_fd);
    m_fd = -1;
}

} // namespace lexitka
