#pragma once

#include "data/dictionary.h"

#include <QString>

namespace lexitka {

// The dictionary open in the main window, as the lesson editor, the find
// dialog and the statistics read it: its file, its language, and the files
// of the program folder that belong to that language.
struct OpenDictionary {
    QString path;
    int languageCode = LangEnglish;
    QString mistakesPath;   // errors.<ext>e
    QString statisticsPath; // statistic.<ext>s
};

OpenDictionary openDictionary(const QString &programFolder, const QString &path, int languageCode);

// "errors.ene" and the like; a code that is no language gives "errors.e".
QString mistakesFilePath(const QString &programFolder, int languageCode);
// "statistic.ens" and the like; a code that is no language gives English's.
QString statisticsFilePath(const QString &programFolder, int languageCode);

} // namespace lexitka
