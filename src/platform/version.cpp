#include "version.h"

#include "lexitka_version.h"

namespace lexitka {

QString formatVersion(int major, int minor, int /*release*/, int build)
{
    return QString::asprintf("%d.%02d  (Build :%02d)", major, minor, build);
}

QString programVersionText()
{
    return formatVersion(LEXITKA_VERSION_MAJOR, LEXITKA_VERSION_MINOR, LEXITKA_VERSION_PATCH, LEXITKA_VERSION_TWEAK);
}

} // namespace lexitka
