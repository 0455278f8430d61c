#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace lexitka {

// The file system by a path's own bytes (nativepath.h), for every file the
// program reads or writes: Qt's own file classes re-encode a name and would
// miss a file whose name is no UTF-8.

bool pathExists(const QString &path); // links followed
bool isFile(const QString &path);     // a regular file, links followed
bool isWritableFile(const QString &path);
bool entryExists(const QString &path); // anything by that name, a dangling link too
bool removeFile(const QString &path);
// Makes an empty file that was not there; false when the name is taken.
bool createNewFile(const QString &path);
// One file by two names (links, "..", hard links).
bool isSameExistingFile(const QString &a, const QString &b);

// Opens file (a QFile without a name) for reading; extra adds such flags as
// Unbuffered.
bool openToRead(QFile &file, const QString &path, QIODevice::OpenMode extra = {});

// A file's new version written to a temporary file beside it and renamed
// over it on commit, as QSaveFile does (links followed, the old file's
// permissions kept), by the path's own bytes. Not committed, the temporary
// file goes and the old file stays as it was.
class ReplacingFile {
public:
    explicit ReplacingFile(const QString &path);
    ~ReplacingFile() { cancelWriting(); }
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    // False when no temporary file can be made beside the file.
    bool open();
    qint64 write(const QByteArray &bytes) { return m_file.write(bytes); }
    qint64 write(const char *data, qint64 size) { return m_file.write(data, size); }
    bool flush() { return m_file.flush(); }
    int handle() const { return m_fd; }
    QFileDevice::FileError error() const { return m_file.error(); }
    // Flushes, closes and renames; false leaves the old file as it was.
    bool commit();
    void cancelWriting();

private:
    QByteArray m_target;
    QByteArray m_temporary;
    QFile m_file;
    int m_fd = -1;
};

} // namespace lexitka
