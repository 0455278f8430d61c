#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lexitka {

// Where the dictionary named on the command line is.
struct DictionaryArgument {
    QString path;         // the file to open; empty when none was found
    QStringList lookedIn; // every place tried, in order
};

// A name as a Linux user types it: an absolute path is itself; a relative
// one is looked up in the current folder first and, only when it is not
// there, in the program folder. A backslash is part of a name wherever it
// is not the platform's separator.
DictionaryArgument findDictionaryArgument(const QByteArray &argument, const QString &currentFolder,
                                          const QString &programFolder);

// The message for an argument that was not found; `fallback` opens instead.
QString dictionaryNotFoundMessage(const QByteArray &argument, const DictionaryArgument &found, const QString &fallback);

} // namespace lexitka
