#include "filecopy.h"

#include "inifile.h"
#include "nativefile.h"
#include "nativepath.h"
#include "savefile.h"
#include "fileread.h"

namespace lexitka {

bool copyFileReplacing(const QString &source, const QString &target)
{
    bool ok = false;
    const QByteArray bytes = readWholeFile(source, &ok);
    return ok && saveWholeFile(target, bytes);
}

bool isSameFile(const QString &a, const QString &b)
{
    if (pathExists(a) || pathExists(b))
        return isSameExistingFile(a, b);
    return absolutePath(a) == absolutePath(b);
}

} // namespace lexitka
