#include "services.h"

#include <QDateTime>

namespace lexitka {

void StdRandomSource::seedFromClock()
{
    if (m_reseed)
        m_engine.seed(std::uint64_t(QDateTime::currentMSecsSinceEpoch()) ^ std::random_device{}());
}

} // namespace lexitka
