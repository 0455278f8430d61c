#include "programfolder.h"

#include <QCoreApplication>

namespace lexitka {

QString executableFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace lexitka
