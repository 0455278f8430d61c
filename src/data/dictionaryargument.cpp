#include "dictionaryargument.h"

#include "data/displaytext.h"
#include "data/nativefile.h"
#include "data/nativepath.h"

#include <QDir>

namespace lexitka {

DictionaryArgument findDictionaryArgument(const QByteArray &argument, const QString &currentFolder,
                                          const QString &programFolder)
{
    DictionaryArgument found;
    // Any bytes, as the file system takes them: a name unpacked from an
    // archive may be windows-1250.
    const QString name = pathFromNative(argument);
    QStringList places;
#ifdef Q_OS_UNIX
    const bool absolute = name.startsWith(u'/'); // ":x" is a file here, not one of Qt's resources
#else
    const bool absolute = QDir::isAbsolutePath(name);
#endif
    // Joined as strings: QDir's absolute paths would re-encode the name.
    if (absolute) {
        places.append(QDir::cleanPath(name));
    } else {
        places.append(QDir::cleanPath(currentFolder + u'/' + name));
        places.append(QDir::cleanPath(programFolder + u'/' + name));
        places.removeDuplicates();
    }
    for (const QString &place : places) {
        found.lookedIn.append(place);
        if (isFile(place)) {
            found.path = place;
            return found;
        }
    }
    return found;
}

QString dictionaryNotFoundMessage(const QByteArray &argument, const DictionaryArgument &found, const QString &fallback)
{
    const QString name = shownPath(pathFromNative(argument));
    QStringList places;
    for (const QString &place : found.lookedIn)
        places.append(shownPath(place));
    const QString where = places.size() > 1 ? QStringLiteral("ani jako %1, ani jako %2").arg(places[0], places[1])
                                            : QStringLiteral("jako %1").arg(places.value(0));
    return QStringLiteral("Slovník %1 nebyl nalezen %2. Otevírá se naposledy použitý slovník %3.")
        .arg(name, where, shownPath(fallback));
}

} // namespace lexitka
