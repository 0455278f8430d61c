#include "fonts.h"

#include <QDir>
#include <QFont>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStringList>

namespace lexitka {

QFont tahoma(int pixels, bool bold)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QFont verdana(int pixels, bool bold)
{
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QFont tahomaPoints(qreal points, bool bold)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QStringList wineTahomaFiles(const QStringList &folders)
{
    QStringList files;
    for (const QString &folder : folders) {
        for (const char *name : {"tahoma.ttf", "tahomabd.ttf"}) {
            const QString file = QDir(folder).filePath(QString::fromLatin1(name));
            if (QFileInfo(file).isFile())
                files.append(file);
        }
        if (!files.isEmpty())
            break;
    }
    return files;
}

void installFontSubstitutes(const QStringList &wineFontFolders)
{
    // Wine's Tahoma keeps Tahoma's widths, so every caption keeps its place.
    // Debian puts it where fontconfig does not look: it is loaded by hand.
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        for (const QString &file : wineTahomaFiles(wineFontFolders))
            QFontDatabase::addApplicationFont(file);
    }
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
}

} // namespace lexitka
