#include "programfolder.h"

#include "data/filecopy.h"
#include "lexitka_installpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace lexitka {
namespace {

const QString kDefaultDictionary = QStringLiteral("data.en");
const QString kDictionaryFolder = QStringLiteral("Slovniky");

bool copyIfMissing(const QString &source, const QString &target)
{
    if (QFileInfo::exists(target))
        return true;
    return QDir().mkpath(QFileInfo(target).absolutePath()) && copyFileReplacing(source, target);
}

} // namespace

QString executableFolder() { return QCoreApplication::applicationDirPath(); }

bool canCreateFiles(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".lexitka-XXXXXX")));
    return probe.open();
}

bool copySamples(const QString &from, const QString &to)
{
    const QDir source(from);
    const QDir target(to);
    bool ok = true;
    if (source.exists(kDefaultDictionary))
        ok = copyIfMissing(source.filePath(kDefaultDictionary), target.filePath(kDefaultDictionary)) && ok;
    QDirIterator it(source.filePath(kDictionaryFolder), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        ok = copyIfMissing(file, target.filePath(source.relativeFilePath(file))) && ok;
    }
    return ok;
}

ProgramFolder chooseProgramFolder(const FolderPlaces &places,
                                  const std::function<bool(const QString &)> &canCreateFilesIn)
{
    // An installation's bin folder is no place for a user's files, even
    // where the user may write it (a prefix in the home folder, root).
    const bool installed = QFileInfo(places.installedData).isDir();
    if (!installed && canCreateFilesIn(places.executable))
        return {places.executable};
    if (!QDir().mkpath(places.perUser))
        return {places.executable};
    // The first start, until the settings exist: a sample the user deleted
    // later stays deleted.
    ProgramFolder folder{places.perUser};
    if (!QFileInfo::exists(QDir(places.perUser).filePath(kSettingsFileName)))
        folder.samplesFailed = !copySamples(installed ? places.installedData : places.executable, places.perUser);
    return folder;
}

FolderPlaces runningFolderPlaces()
{
    const QString exe = executableFolder();
    return FolderPlaces{exe, QDir::cleanPath(QDir(exe).filePath(QStringLiteral(LEXITKA_DATA_FROM_BIN))),
                        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
}

ProgramFolder programFolder() { return chooseProgramFolder(runningFolderPlaces(), canCreateFiles); }

} // namespace lexitka
