#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace lexitka::testing {

// The sample dictionaries that ship with the program, with their languages.
struct SampleDictionary {
    QString name; // relative to the data folder
    int languageCode;
    QString path() const;
    QString fileName() const;
};
const QList<SampleDictionary> &sampleDictionaries();

// An 8-bit dictionary as a text editor would save it in UTF-8: the foreign
// word of each entry decoded from the language's code page, the rest from
// windows-1250.
QByteArray dictionaryInUtf8(const QByteArray &eightBit, int languageCode);

} // namespace lexitka::testing
