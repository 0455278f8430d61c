#pragma once

#include "data/nativepath.h"

#include <QString>

#include <sys/stat.h>

namespace lexitka {

// Which version of a file is on disk: a file replaced or written since has
// another inode, size or modification time. Comparing stamps tells a reader
// cheaply whether the file is still the one it read.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    static FileStamp of(const QString &path)
    {
        FileStamp s;
        struct stat st { };
        if (::stat(nativePath(path).constData(), &st) != 0)
            return s;
        s.exists = true;
        s.device = st.st_dev;
        s.inode = st.st_ino;
        s.size = st.st_size;
        s.modified = st.st_mtim;
        return s;
    }
    bool operator==(const FileStamp &o) const
    {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size
               && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

} // namespace lexitka
