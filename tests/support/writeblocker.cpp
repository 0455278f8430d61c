#include "support/writeblocker.h"

#include <QDir>
#include <QFile>

#include <csignal>

namespace lexitka::testing {

WriteBlocker::WriteBlocker(const QString &folder, rlim_t limit) : m_folder(folder)
{
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(QDir(folder).filePath(QStringLiteral("probe")));
    if (!probe.open(QIODevice::WriteOnly))
        return;
    probe.close();
    probe.remove();
    restorePermissions();
    m_limited = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
    rlimit lowered = m_old;
    lowered.rlim_cur = limit;
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    m_limited = m_limited && setrlimit(RLIMIT_FSIZE, &lowered) == 0;
}

void WriteBlocker::lift()
{
    restorePermissions();
    if (m_limited) {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
        m_limited = false;
    }
}

void WriteBlocker::restorePermissions()
{
    QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace lexitka::testing
