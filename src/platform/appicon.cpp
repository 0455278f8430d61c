#include "appicon.h"

namespace lexitka {

const QList<int> &applicationIconSizes()
{
    static const QList<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : applicationIconSizes())
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace lexitka
