#include "dictionaryargument.h"

#include "data/displaytext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

namespace lexitka {
namespace {

// Qt reads every file name as UTF-8: a name with other bytes comes with
// U+FFFD for them, and Qt can neither open nor even list it as a file.
bool undecodableFileAt(const QString &place)
{
    const QFileInfo info(place);
    const QString name = info.fileName();
    if (!name.contains(QChar::ReplacementCharacter) || info.exists())
        return false;
    bool found = false;
#ifdef Q_OS_UNIX
    if (DIR *dir = ::opendir(QFile::encodeName(info.path()).constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            if (QFile::decodeName(entry->d_name) == name)
                found = true;
        }
        ::closedir(dir);
    }
#endif
    return found;
}

} // namespace

DictionaryArgument findDictionaryArgument(const QByteArray &argument, const QString &currentFolder,
                                          const QString &programFolder)
{
    DictionaryArgument found;
    const QString name = QFile::decodeName(argument);
    QStringList places;
#ifdef Q_OS_UNIX
    const bool absolute = name.startsWith(u'/'); // ":x" is a file here, not one of Qt's resources
#else
    const bool absolute = QDir::isAbsolutePath(name);
#endif
    if (absolute) {
        places.append(QDir::cleanPath(name));
    } else {
        places.append(QDir::cleanPath(QDir(currentFolder).absoluteFilePath(name)));
        places.append(QDir::cleanPath(QDir(programFolder).absoluteFilePath(name)));
        places.removeDuplicates();
    }
    for (const QString &place : places) {
        found.lookedIn.append(place);
        if (QFileInfo(place).isFile()) {
            found.path = place;
            return found;
        }
    }
    for (const QString &place : found.lookedIn)
        found.undecodableName = found.undecodableName || undecodableFileAt(place);
    return found;
}

QString dictionaryNotFoundMessage(const QByteArray &argument, const DictionaryArgument &found, const QString &fallback)
{
    const QString name = displayText(QFile::decodeName(argument));
    if (found.undecodableName)
        return QStringLiteral("Název slovníku %1 není zapsán v kódování UTF-8, a proto jej nelze otevřít. "
                              "Přejmenujte soubor. Otevírá se naposledy použitý slovník %2.")
            .arg(name, shownPath(fallback));
    QStringList places;
    for (const QString &place : found.lookedIn)
        places.append(shownPath(place));
    const QString where = places.size() > 1 ? QStringLiteral("ani jako %1, ani jako %2").arg(places[0], places[1])
                                            : QStringLiteral("jako %1").arg(places.value(0));
    return QStringLiteral("Slovník %1 nebyl nalezen %2. Otevírá se naposledy použitý slovník %3.")
        .arg(name, where, shownPath(fallback));
}

} // namespace lexitka
