#include "nativefile.h"

#include "data/nativepath.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lexitka {
namespace {

bool statOf(const QString &path, struct stat *st) { return ::stat(nativePath(path).constData(), st) == 0; }

// Where a save through a symbolic link lands: the file it points to, as
// far as the links go.
QByteArray followLinks(const QByteArray &path)
{
    QByteArray at = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st { };
        if (::lstat(at.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return at;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(at.constData(), target.data(), size_t(target.size()));
        if (n <= 0 || n >= target.size())
            return path;
        target.truncate(n);
        if (!target.startsWith('/')) {
            const qsizetype slash = at.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : at.left(slash + 1));
        }
        at = target;
    }
    return path; // a loop: the link itself is replaced
}

} // namespace

bool pathExists(const QString &path)
{
    struct stat st { };
    return statOf(path, &st);
}

bool isFile(const QString &path)
{
    struct stat st { };
    return statOf(path, &st) && S_ISREG(st.st_mode);
}

bool isWritableFile(const QString &path) { return isFile(path) && ::access(nativePath(path).constData(), W_OK) == 0; }

bool entryExists(const QString &path)
{
    struct stat st { };
    return ::lstat(nativePath(path).constData(), &st) == 0;
}

bool removeFile(const QString &path) { return ::unlink(nativePath(path).constData()) == 0; }

bool createNewFile(const QString &path)
{
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd >= 0 && ::close(fd) == 0;
}

bool isSameExistingFile(const QString &a, const QString &b)
{
    struct stat sa { };
    struct stat sb { };
    return statOf(a, &sa) && statOf(b, &sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool openToRead(QFile &file, const QString &path, QIODevice::OpenMode extra)
{
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::ReadOnly | extra, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

ReplacingFile::ReplacingFile(const QString &path) : m_target(nativePath(path)) { }

bool ReplacingFile::open()
{
    cancelWriting();
    m_target = followLinks(m_target);
    struct stat old { };
    const bool existing = ::stat(m_target.constData(), &old) == 0;
    // Nobody else may read the new bytes before they get the old file's permissions.
    const mode_t mode = existing ? 0600 : 0666;
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        QByteArray name = m_target + '.';
        for (int i = 0; i < 6; ++i)
            name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
        m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_fd >= 0)
            m_temporary = name;
        else if (errno != EEXIST)
            return false;
    }
    if (m_fd < 0)
        return false;
    if (existing)
        ::fchmod(m_fd, old.st_mode & 07777);
    if (!m_file.open(m_fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        cancelWriting();
        return false;
    }
    return true;
}

bool ReplacingFile::commit()
{
    if (m_fd < 0)
        return false;
    bool ok = m_file.flush() && m_file.error() == QFileDevice::NoError;
    m_file.close();
    ok = ::close(m_fd) == 0 && ok;
    m_fd = -1;
    ok = ok && ::rename(m_temporary.constData(), m_target.constData()) == 0;
    if (!ok)
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    return ok;
}

void ReplacingFile::cancelWriting()
{
    if (m_fd < 0)
        return;
    m_file.close();
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_temporary.constData());
    m_temporary.clear();
}

} // namespace lexitka
