// The program's two faces where Windows' fonts are missing: Wine's Tahoma
// (Debian's fonts-wine) before the DejaVu stand-ins, and never Qt's general
// fallback.
#include "platform/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexitka;

class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void substitutesBeforeTheGeneralFallback();
};

void TestFonts::substitutesBeforeTheGeneralFallback()
{
    const bool systemTahoma = QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
    const bool systemVerdana = QFontDatabase::hasFamily(QStringLiteral("Verdana"));
    QVERIFY(QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans"))); // a dependency

    // A folder without Wine's fonts: only the named substitutes.
    QTemporaryDir empty;
    QVERIFY(wineTahomaFiles({empty.path()}).isEmpty());
    installFontSubstitutes({empty.path()});
    // Qt keeps the names in lower case.
    QCOMPARE(QFont::substitutes(QStringLiteral("Tahoma")),
             (QStringList{QStringLiteral("dejavu sans condensed"), QStringLiteral("liberation sans narrow")}));
    QCOMPARE(QFont::substitutes(QStringLiteral("Verdana")), QStringList{QStringLiteral("dejavu sans")});
    if (!systemTahoma) {
        QVERIFY(!QFontDatabase::hasFamily(QStringLiteral("Tahoma")));
        QCOMPARE(QFontInfo(tahoma(11)).family(), QStringLiteral("DejaVu Sans Condensed"));
    }
    if (!systemVerdana) {
        QCOMPARE(QFontInfo(verdana(11)).family(), QStringLiteral("DejaVu Sans"));
        QVERIFY(QFontInfo(verdana(11, true)).bold());
    }

    // Wine's Tahoma, where fonts-wine is installed: regular and bold.
    const QStringList wine = wineTahomaFiles(kWineFontFolders);
    if (wine.isEmpty())
        QSKIP("fonts-wine is not installed");
    QCOMPARE(wine.size(), 2);
    installFontSubstitutes();
    QVERIFY(QFontDatabase::hasFamily(QStringLiteral("Tahoma")));
    const QFontInfo regular(tahoma(11));
    QCOMPARE(regular.family(), QStringLiteral("Tahoma"));
    QVERIFY(!regular.bold());
    const QFontInfo bold(tahoma(11, true));
    QCOMPARE(bold.family(), QStringLiteral("Tahoma"));
    QVERIFY(bold.bold());
    if (!systemTahoma) {
        // The very files of fonts-wine, not some other Tahoma.
        QStringList families;
        for (const QString &file : wine) {
            const int id = QFontDatabase::addApplicationFont(file);
            QVERIFY(id >= 0);
            families += QFontDatabase::applicationFontFamilies(id);
        }
        QCOMPARE(families, (QStringList{QStringLiteral("Tahoma"), QStringLiteral("Tahoma")}));
    }
    // Installing twice changes nothing.
    installFontSubstitutes();
    QCOMPARE(QFontInfo(tahoma(11)).family(), QStringLiteral("Tahoma"));
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
