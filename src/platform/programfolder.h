#pragma once

#include <QString>

#include <functional>

namespace lexitka {

// The settings file, in the program folder.
inline const QString kSettingsFileName = QStringLiteral("lexitka.ini");

// The folder of the running executable.
QString executableFolder();

// Where the program's files can live.
struct FolderPlaces {
    QString executable;    // the executable's folder
    QString installedData; // the sample dictionaries of an installation (<prefix>/share/lexitka)
    QString perUser;       // the per-user data folder
};

struct ProgramFolder {
    QString path;
    bool samplesFailed = false; // some sample dictionary could not be copied there
};

// The folder for the settings, mistakes and statistics files. A copy of the
// program that can write its own folder keeps them there. An installed
// program (its samples lie in installedData), or one whose folder takes no
// files, uses the per-user folder, which receives the sample dictionaries
// at its first start; should that folder not be made, the executable's.
ProgramFolder chooseProgramFolder(const FolderPlaces &places,
                                  const std::function<bool(const QString &)> &canCreateFilesIn);

// The places of the running program.
FolderPlaces runningFolderPlaces();

// The program folder of the running program.
ProgramFolder programFolder();

// True when a new file can be made in the folder: tried, not guessed from
// permission bits, which a read-only mount or root's rights make wrong.
bool canCreateFiles(const QString &folder);

// Copies the sample dictionaries (the default dictionary data.en and the
// dictionary folder Slovniky) from one program folder to another, never over
// a file that exists. False when some file could not be copied.
bool copySamples(const QString &from, const QString &to);

} // namespace lexitka
