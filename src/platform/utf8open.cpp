#include "utf8open.h"

#include "data/displaytext.h"
#include "data/fileread.h"
#include "data/savefile.h"
#include "data/utf8dictionary.h"
#include "platform/messenger.h"

#include <QFile>

namespace lexitka {
namespace {

const QString kUnchanged = QStringLiteral(" Soubor zůstal beze změny a otevře se bez převodu.");

QString codePageName(CodePage cp)
{
    switch (cp) {
    case CodePage::Cp1251: return QStringLiteral("windows-1251");
    case CodePage::Cp1252: return QStringLiteral("windows-1252");
    case CodePage::Cp1250: break;
    }
    return QStringLiteral("windows-1250");
}

// "v lekci „Zvířata“ na řádku 7" or "před první lekcí na řádku 2".
QString placeOf(const Utf8Problem &problem)
{
    const QString line = QStringLiteral("na řádku %1").arg(problem.line);
    if (!problem.lesson)
        return QStringLiteral("před první lekcí ") + line;
    return QStringLiteral("v lekci „%1“ %2").arg(displayText(QString::fromUtf8(*problem.lesson)), line);
}

QString problemText(const QString &path, const Utf8Problem &problem)
{
    const QString start = QStringLiteral("Slovník %1 nelze převést: ").arg(shownPath(path));
    if (problem.kind == Utf8Problem::Malformed)
        return start + QStringLiteral("%1 jsou bajty, které nejsou platné UTF-8.").arg(placeOf(problem)) + kUnchanged;
    const char32_t c = problem.character;
    return start
           + QStringLiteral("%1 je znak „%2“ (U+%3), který v kódování %4 není.")
                 .arg(placeOf(problem), QString::fromUcs4(&c, 1),
                      QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper(),
                      codePageName(problem.codePage))
           + kUnchanged;
}

} // namespace

Utf8Offer offerUtf8Conversion(const QString &path, int languageCode, Messenger &messenger, QWidget *parent)
{
    if (!isUtf8File(path))
        return Utf8Offer::NotUtf8;
    const QString copyPath = originalCopyPath(path);
    if (copyPath.isEmpty()) {
        messenger.error(parent, QStringLiteral("Slovník %1 je uložen v kódování UTF-8, ale vedle něj už není volné "
                                               "jméno pro původní soubor.")
                                        .arg(shownPath(path))
                                    + kUnchanged);
        return Utf8Offer::Failed;
    }
    const QString question =
        QStringLiteral("Slovník %1 je uložen v kódování UTF-8. Bez převodu by Lexitka jeho slova zobrazila chybně "
                       "a správné odpovědi by uznala za špatné.\n\nPřevést slovník do kódování Lexitky? Původní "
                       "soubor zůstane uložen jako %2.")
            .arg(shownPath(path), shownFileName(copyPath));
    if (!messenger.ask(parent, QStringLiteral("Slovník v UTF-8"), question, Messenger::Default::Yes))
        return Utf8Offer::Declined;

    bool readOk = false;
    const QByteArray original = readWholeFile(path, &readOk);
    if (!readOk) {
        messenger.error(parent, QStringLiteral("Slovník %1 nelze přečíst.").arg(shownPath(path)) + kUnchanged);
        return Utf8Offer::Failed;
    }
    const Utf8Conversion converted = convertUtf8Dictionary(original, languageCode);
    if (converted.problem) {
        messenger.error(parent, problemText(path, *converted.problem));
        return Utf8Offer::Failed;
    }
    const QString kept = saveOriginalBeside(path, original);
    if (kept.isEmpty()) {
        messenger.error(
            parent,
            QStringLiteral("Původní slovník %1 nelze uložit do souboru %2.").arg(shownPath(path), shownPath(copyPath))
                + kUnchanged);
        return Utf8Offer::Failed;
    }
    if (!saveWholeFile(path, converted.bytes)) {
        QFile::remove(kept); // the dictionary itself is still the original
        messenger.error(parent, QStringLiteral("Převedený slovník nelze uložit do souboru %1.").arg(shownPath(path))
                                    + kUnchanged);
        return Utf8Offer::Failed;
    }
    // Someone took the promised name in the meantime.
    if (kept != copyPath)
        messenger.information(parent, QStringLiteral("Původní soubor je uložen jako %1.").arg(shownPath(kept)));
    return Utf8Offer::Converted;
}

} // namespace lexitka
