// The INI reader in all its modes: the whole document and the names alone,
// from bytes and from a file, the scanned lines, the file read piece by
// piece, and the ticked lessons' entry lines must all read the input alike.
#include "fuzzsupport.h"
#include "support/inireadings.h"

using namespace lexitka;
using namespace lexitka::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    static const QString path = scratchPath(QStringLiteral("lessons.en"));
    writeScratch(path, bytes);

    // Piece edges and ticks differ from input to input, yet replay.
    const quint32 h = hashOf(bytes);
    const qsizetype readSize = 1 + qsizetype(h % 97);
    const quint32 ticks = h * 2654435761u;
    QString why;
    const testing::IniReading fromFile = testing::readIniEveryWay(path, readSize, ticks, &why);
    FUZZ_CHECK(why.isEmpty(), why);

    const IniDocument doc = IniDocument::fromBytes(bytes);
    FUZZ_CHECK(testing::readingOf(doc) == fromFile, QStringLiteral("the bytes read otherwise than the file"));

    // Lookups by name find the first lesson of that name, and every key of
    // that lesson, whatever the case and the blanks around what is asked.
    for (qsizetype s = 0; s < doc.sectionCount(); ++s) {
        const QByteArray name = doc.sectionName(s);
        const qsizetype found = doc.findSection(" \t" + name + "\t ");
        FUZZ_CHECK(found >= 0 && found <= s && equalsIgnoringCase(doc.sectionName(found), name), shown(name));
        if (found != s || doc.entryCount(s) > 64)
            continue;
        for (qsizetype e = 0; e < doc.entryCount(s); ++e) {
            const QByteArray key = doc.key(s, e).toByteArray();
            const std::optional<QByteArray> value = doc.value(name, ' ' + key + '\t');
            FUZZ_CHECK(value.has_value(), shown(name) + u' ' + shown(key));
            qsizetype first = 0;
            while (!equalsIgnoringCase(doc.key(s, first), key))
                ++first;
            FUZZ_CHECK(*value == doc.value(s, first), shown(*value));
        }
    }
    return 0;
}
