#include "filecopy.h"

#include "inifile.h"
#include "savefile.h"

#include <QDir>
#include <QFileInfo>

namespace lexitka {

bool copyFileReplacing(const QString &source, const QString &target)
{
    bool ok = false;
    const QByteArray bytes = readWholeFile(source, &ok);
    return ok && saveWholeFile(target, bytes);
}

bool isSameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() || fb.exists())
        return fa.exists() && fb.exists() && fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

} // namespace lexitka
