#include "support/utf8samples.h"

#include "data/dictionary.h"

#include <QDir>
#include <QFileInfo>

namespace lexitka::testing {

QString SampleDictionary::path() const { return QDir(QStringLiteral(LEXITKA_SAMPLE_DATA)).filePath(name); }

QString SampleDictionary::fileName() const { return QFileInfo(name).fileName(); }

const QList<SampleDictionary> &sampleDictionaries()
{
    static const QList<SampleDictionary> samples = {
        {QStringLiteral("data.en"), LangEnglish},
        {QStringLiteral("Slovniky/nemcina.de"), LangGerman},
        {QStringLiteral("Slovniky/francouzstina.fr"), LangFrench},
        {QStringLiteral("Slovniky/rustina.ru"), LangRussian},
        {QStringLiteral("Slovniky/spanelstina.es"), LangSpanish},
        {QStringLiteral("Slovniky/latina.lt"), LangLatin},
    };
    return samples;
}

QByteArray dictionaryInUtf8(const QByteArray &eightBit, int languageCode)
{
    const auto utf8 = [](QByteArrayView bytes, CodePage cp) { return decode(bytes.toByteArray(), cp).toUtf8(); };
    QList<QByteArray> lines = eightBit.split('\n');
    for (QByteArray &line : lines) {
        const bool entry = line.contains('=') && !line.startsWith('[') && !line.startsWith(';');
        const QByteArrayView word = wordFields(line, languageCode).Slovo;
        const qsizetype from = entry ? word.data() - line.constData() : line.size();
        const qsizetype to = entry ? from + word.size() : line.size();
        line = utf8(QByteArrayView(line).first(from), CodePage::Cp1250)
               + utf8(QByteArrayView(line).sliced(from, to - from), languageInfo(languageCode).foreignCodePage)
               + utf8(QByteArrayView(line).sliced(to), CodePage::Cp1250);
    }
    return lines.join('\n');
}

} // namespace lexitka::testing
