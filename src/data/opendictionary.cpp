#include "opendictionary.h"

#include <QDir>

namespace lexitka {

OpenDictionary openDictionary(const QString &programFolder, const QString &path, int languageCode)
{
    return {path, languageCode, mistakesFilePath(programFolder, languageCode),
            statisticsFilePath(programFolder, languageCode)};
}

QString mistakesFilePath(const QString &programFolder, int languageCode)
{
    const QString ext =
        isLanguageCode(languageCode) ? QString::fromLatin1(languageInfo(languageCode).extension) : QString();
    return QDir(programFolder).filePath(QStringLiteral("errors.") + ext + u'e');
}

QString statisticsFilePath(const QString &programFolder, int languageCode)
{
    const QString ext = QString::fromLatin1(languageInfo(languageCode).extension);
    return QDir(programFolder).filePath(QStringLiteral("statistic.") + ext + u's');
}

} // namespace lexitka
