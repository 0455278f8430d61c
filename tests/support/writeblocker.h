#pragma once

#include <QString>

#include <sys/resource.h>

namespace lexitka::testing {

// Makes writing into a folder fail for real. A folder without write
// permission does it, but not for root, who runs the tests in CI; then a
// file-size limit on this process does it for every file larger than
// `limit` (SIGXFSZ ignored, so the write just fails).
class WriteBlocker {
public:
    WriteBlocker(const QString &folder, rlim_t limit);
    ~WriteBlocker() { lift(); }
    WriteBlocker(const WriteBlocker &) = delete;
    WriteBlocker &operator=(const WriteBlocker &) = delete;
    void lift();

private:
    void restorePermissions();
    QString m_folder;
    bool m_limited = false;
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace lexitka::testing
