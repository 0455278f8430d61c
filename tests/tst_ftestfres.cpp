// The French and Spanish test windows, driven offscreen through the engine,
// and the article forms they show.
#include "support/fakes.h"
#include "support/testdriver.h"

#include "data/codepage.h"
#include "exam/ftestes.h"
#include "exam/ftestfr.h"
#include "exam/judging.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

constexpr quintptr kCzech = kCzechLayout;
constexpr quintptr kEnglish = kEnglishLayout;

// A dictionary line as the file holds it: foreign word in windows-1252,
// Czech in windows-1250.
QByteArray entry(const char *key, const char *clen, const QString &word, const QString &czech)
{
    return QByteArray(key) + '=' + clen + '\\' + encode(word, CodePage::Cp1252) + '\\' + cz(czech);
}

struct ArticleTest : WindowTest<ArticleTestWindow> {
    explicit ArticleTest(int lang) : WindowTest(lang) { }
    // Types each source key into an empty box; what the box then shows.
    QString typedOneByOne(const QString &keys)
    {
        QString out;
        for (const QChar key : keys) {
            w().edtPreklad->clear();
            typeText(w().edtPreklad, QString(key));
            out += w().edtPreklad->text();
        }
        w().edtPreklad->clear();
        return out;
    }
};

QByteArray w1252(const QString &s) { return encode(s, CodePage::Cp1252); }

} // namespace

class TestArticleWindows : public QObject {
    Q_OBJECT
private slots:
    void questionArticles_data();
    void questionArticles();
    void frenchForeignToCzech();
    void frenchCzechToForeign();
    void frenchAccentTyping();
    void frenchOnTheUsersOwnLayout();
    void spanish();
};

void TestArticleWindows::questionArticles_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("clen");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("plain");
    QTest::newRow("homme") << int(LangFrench) << "0"
                           << "homme"
                           << "l'homme"
                           << "le";
    QTest::newRow("Homme") << int(LangFrench) << "0"
                           << "Homme"
                           << "l'Homme"
                           << "le";
    QTest::newRow("École: capitals with accents are not folded") << int(LangFrench) << "0"
                                                                 << "École"
                                                                 << "le École"
                                                                 << "le";
    QTest::newRow("yeux") << int(LangFrench) << "1"
                          << "Yeux"
                          << "l'Yeux"
                          << "la";
    QTest::newRow("père: shown in windows-1252") << int(LangFrench) << "0"
                                                 << "père"
                                                 << "le père"
                                                 << "le";
    QTest::newRow("hôtel") << int(LangFrench) << "0"
                           << "hôtel"
                           << "l'hôtel"
                           << "le";
    QTest::newRow("ü") << int(LangFrench) << "0"
                       << "üx"
                       << "l'üx"
                       << "le";
    QTest::newRow("ä is not in the list") << int(LangFrench) << "0"
                                          << "äx"
                                          << "le äx"
                                          << "le";
    QTest::newRow("les amis") << int(LangFrench) << "2"
                              << "amis"
                              << "les amis"
                              << "les";
    QTest::newRow("no article") << int(LangFrench) << "3"
                                << "homme"
                                << "homme"
                                << "není";
    QTest::newRow("French has no index 4") << int(LangFrench) << "4"
                                           << "homme"
                                           << "homme"
                                           << "není";
    QTest::newRow("not a number") << int(LangFrench) << "x"
                                  << "homme"
                                  << "homme"
                                  << "není";
    QTest::newRow("empty word") << int(LangFrench) << "0"
                                << ""
                                << "le "
                                << "le";
    QTest::newRow("el agua: no elision") << int(LangSpanish) << "0"
                                         << "agua"
                                         << "el agua"
                                         << "el";
    QTest::newRow("las casas") << int(LangSpanish) << "4"
                               << "casas"
                               << "las casas"
                               << "las";
}

void TestArticleWindows::questionArticles()
{
    QFETCH(int, language);
    QFETCH(QString, clen);
    QFETCH(QString, word);
    QFETCH(QString, shown);
    QFETCH(QString, plain);
    const QByteArray clenBytes = clen.toLatin1();
    const QByteArray wordBytes = w1252(word);
    const int code = articleCode(language, clenBytes);
    QCOMPARE(GetClen2(language, code, wordBytes) + wordBytes, w1252(shown));
    QCOMPARE(GetClen(language, clenBytes), w1252(plain));

    // The window shows the same in a question from the foreign language.
    ArticleTest t(language);
    t.start({entry("0", clenBytes.constData(), word, QStringLiteral("x"))}, {true, false, false, false},
            [&] { QCOMPARE(t.question(), shown); });
}

void TestArticleWindows::frenchForeignToCzech()
{
    ArticleTest t(LangFrench);
    QCOMPARE(t.w().windowTitle(), QStringLiteral("Zkoušení"));
    QCOMPARE(t.w().cmbclen->count(), 4);
    QCOMPARE(t.w().cmbclen->itemText(2), QStringLiteral("les"));
    QCOMPARE(t.w().cmbclen->itemText(3), QStringLiteral("není"));
    // A kind left over from a German test, and a mistakes line of kind 2:
    // asked from French to Czech all the same.
    t.test().AskedKind = 2;
    t.start({entry("0", "0", QStringLiteral("enfant"), QStringLiteral("dítě"))}, {false, false, true, false}, [&] {
        QCOMPARE(t.test().AskedKind, 0);
        QCOMPARE(t.question(), QStringLiteral("l'enfant"));
        QVERIFY(!t.w().cmbclen->isEnabled());
        QCOMPARE(t.w().cmbclen->currentIndex(), 3);
        QCOMPARE(t.f.keyboard.activated.last(), kCzech);
        // Nothing typed in this direction is converted.
        typeText(t.w().edtPreklad, QStringLiteral("0z"));
        QCOMPARE(t.w().edtPreklad->text(), QStringLiteral("0z"));
        t.w().edtPreklad->clear();
        // The answer is Czech: "ě" exists only in windows-1250.
        t.answer(QStringLiteral("dítě"));
    });
    QCOMPARE(t.test().GoodCount, 1);
    QCOMPARE(t.test().BadCount, 0);
}

void TestArticleWindows::frenchCzechToForeign()
{
    ArticleTest t(LangFrench);
    const QByteArray homme = entry("4", "0", QStringLiteral("homme"), QStringLiteral("člověk"));
    const QByteArray gens = entry("5", "3", QStringLiteral("gens"), QStringLiteral("lidé"));
    int asked = 0;
    t.start({homme, gens}, {false, true, false, false}, [&] {
        for (; asked < 5 && t.w().isVisible(); ++asked) {
            QCOMPARE(t.test().AskedKind, 1);
            QVERIFY(t.w().cmbclen->isEnabled());
            QCOMPARE(t.w().cmbclen->currentIndex(), 3);
            QCOMPARE(t.f.keyboard.activated.last(), kEnglish);
            if (t.test().CurrentWord.Slovo == "homme") {
                QCOMPARE(t.question(), QStringLiteral("člověk")); // Czech: windows-1250
                // Wrong article first; the plain articles carry no elision.
                t.answer(QStringLiteral("homme"), t.ui->mistakes.isEmpty() ? 1 : 0);
            } else {
                QCOMPARE(t.question(), QStringLiteral("lidé"));
                t.answer(QStringLiteral("gens"));
            }
        }
    });
    QCOMPARE(asked, 3);
    QCOMPARE(t.ui->mistakes.size(), 1);
    QCOMPARE(t.ui->mistakes[0].expected, QByteArray("le homme"));
    QCOMPARE(t.ui->mistakes[0].typed, QByteArray("la homme"));
    QCOMPARE(t.ui->mistakes[0].charset, int(CharsetWestern));
    QCOMPARE(t.test().GoodCount, 2);
    QCOMPARE(readFile(t.f.path(QStringLiteral("errors.fre"))), "1\\" + homme + "\r\n");

    // A wrong word with "není": only the typed word shows, in windows-1252.
    t.ui->mistakes.clear();
    t.start({homme}, {false, true, false, false}, [&] {
        t.answer(QStringLiteral("femme"));
        pressKey(t.w().edtPreklad, Qt::Key_Insert); // also sets the article
        QCOMPARE(t.w().cmbclen->currentIndex(), 0);
        QCOMPARE(t.w().edtPreklad->text(), QStringLiteral("homme"));
        pressKey(t.w().edtPreklad, Qt::Key_Return);
    });
    QCOMPARE(t.ui->mistakes.size(), 1);
    QCOMPARE(t.ui->mistakes[0].typed, QByteArray("femme"));
    QCOMPARE(t.test().GoodCount, 1);

    // Insert in the other direction fills in the Czech translation.
    t.start({homme}, {true, false, false, false}, [&] {
        pressKey(t.w().edtPreklad, Qt::Key_Insert);
        pressKey(t.w().edtPreklad, Qt::Key_Return);
    });
    QCOMPARE(t.test().GoodCount, 1);
    QCOMPARE(t.test().BadCount, 0);
}

void TestArticleWindows::frenchAccentTyping()
{
    ArticleTest t(LangFrench);
    t.start({entry("0", "0", QStringLiteral("été"), QStringLiteral("léto"))}, {false, true, false, false}, [&] {
        auto *box = t.w().edtPreklad;
        QCOMPARE(t.typedOneByOne(QStringLiteral("1234567890[;!@$#%^&*(){:zyZY")),
                 QStringLiteral("ïêèçâôœàîéûùÏÊÇÈÂÔŒÀÎÉÛÙyzYZ"));
        QCOMPARE(t.typedOneByOne(QStringLiteral("qQ/?x")), QStringLiteral("qQ/?x"));
        // y and z change places once per key, not back and forth.
        typeText(box, QStringLiteral("zyzY"));
        QCOMPARE(box->text(), QStringLiteral("yzyZ"));
        // Deleting converts nothing: the z left before the caret stays.
        pressKey(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("yzy"));
        pressKey(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("yz"));
        // Typing over a selection is typing; a paste has its last character converted.
        box->selectAll();
        typeText(box, QStringLiteral("0"));
        QCOMPARE(box->text(), QStringLiteral("é"));
        box->insert(QStringLiteral("zz"));
        QCOMPARE(box->text(), QStringLiteral("ézy"));
        // A key typed in the middle is converted where it stands.
        box->clear();
        typeText(box, QStringLiteral("tt"));
        pressKey(box, Qt::Key_Left);
        typeText(box, QStringLiteral("0"));
        QCOMPARE(box->text(), QStringLiteral("tét"));
        QCOMPARE(box->cursorPosition(), 2);
        box->clear();
        typeText(box, QStringLiteral("0t0"));
        QCOMPARE(box->text(), QStringLiteral("été"));
        t.w().cmbclen->setCurrentIndex(0);
        pressKey(box, Qt::Key_Return);
    });
    QCOMPARE(t.test().GoodCount, 1);
    QCOMPARE(t.test().BadCount, 0);
    // No window of the program has the keyboard now: the user's layout is back.
    QTRY_COMPARE(t.f.keyboard.current, std::optional<quintptr>(kCzech));
    QVERIFY(!t.app->keyboards().switchedCzechUserToEnglish());
}

void TestArticleWindows::frenchOnTheUsersOwnLayout()
{
    // Where the program did not move a Czech keyboard to the English layout,
    // every key gives its own letter: no y/z exchange, accents as ever.
    const QList<KeyboardLayout> both{{kCzech, QStringLiteral("Czech")}, {kEnglish, QStringLiteral("English (US)")}};
    for (const auto &[layouts, userLayout] :
         {std::pair{both, kEnglish}, std::pair{QList<KeyboardLayout>{both[0]}, kCzech},
          std::pair{QList<KeyboardLayout>{both[1]}, kEnglish}}) {
        // A copy: clang before 16 cannot capture a structured binding in a lambda.
        const quintptr own = userLayout;
        ArticleTest t(LangFrench);
        t.f.keyboard.list = layouts;
        t.f.keyboard.current = own;
        t.app->keyboards().findLayouts();
        t.start({entry("0", "3", QStringLiteral("yeux"), QStringLiteral("oči"))}, {false, true, false, false}, [&] {
            QCOMPARE(t.f.keyboard.current, std::optional<quintptr>(own));
            typeText(t.w().edtPreklad, QStringLiteral("zoo yeux 0"));
            QCOMPARE(t.w().edtPreklad->text(), QStringLiteral("zoo yeux é"));
            t.w().edtPreklad->clear();
            t.answer(QStringLiteral("yeux"));
        });
        QCOMPARE(t.test().GoodCount, 1);
    }
}

void TestArticleWindows::spanish()
{
    ArticleTest t(LangSpanish);
    QCOMPARE(t.w().windowTitle(), QStringLiteral("Zkoušení es"));
    QCOMPARE(t.w().cmbclen->count(), 5);
    QCOMPARE(t.w().cmbclen->itemText(3), QStringLiteral("není"));
    QCOMPARE(t.w().cmbclen->itemText(4), QStringLiteral("las"));

    const QByteArray nino = entry("0", "0", QStringLiteral("niño"), QStringLiteral("chlapec"));
    const QByteArray casas = entry("1", "4", QStringLiteral("casas"), QStringLiteral("domy"));
    t.start({nino, casas}, {false, true, false, false}, [&] {
        auto *box = t.w().edtPreklad;
        QCOMPARE(t.typedOneByOne(QStringLiteral("1/56789[0%^&*(){")), QStringLiteral("¡¿ñóýáíúéÑÓÝÁÍÉÚ"));
        QCOMPARE(t.typedOneByOne(QStringLiteral("zy2;")), QStringLiteral("zy2;"));
        for (int asked = 0; asked < 4 && t.w().isVisible(); ++asked) {
            if (t.test().CurrentWord.Preklad == "chlapec") {
                typeText(box, QStringLiteral("ni5o"));
                QCOMPARE(box->text(), QStringLiteral("niño"));
                t.answer(QString(), 0);
            } else if (t.ui->mistakes.isEmpty()) {
                t.answer(QStringLiteral("casas"), 0);
            } else {
                t.answer(QStringLiteral("casas"), 4);
            }
        }
    });
    QCOMPARE(t.test().GoodCount, 2);
    QCOMPARE(t.ui->mistakes.size(), 1);
    QCOMPARE(t.ui->mistakes[0].expected, QByteArray("las casas"));
    QCOMPARE(t.ui->mistakes[0].typed, QByteArray("el casas"));
    QCOMPARE(t.ui->mistakes[0].charset, int(CharsetWestern));
    QCOMPARE(readFile(t.f.path(QStringLiteral("errors.ese"))), "1\\" + casas + "\r\n");

    // From Spanish: the article in front, the answer in Czech on the Czech layout.
    t.start({casas}, {true, false, false, false}, [&] {
        QCOMPARE(t.question(), QStringLiteral("las casas"));
        QCOMPARE(t.f.keyboard.activated.last(), kCzech);
        t.answer(QStringLiteral("domy"));
    });
    QCOMPARE(t.test().GoodCount, 1);

    // Insert then Enter, with "las" set by Insert.
    t.start({casas}, {false, true, false, false}, [&] {
        pressKey(t.w().edtPreklad, Qt::Key_Insert);
        QCOMPARE(t.w().cmbclen->currentIndex(), 4);
        pressKey(t.w().edtPreklad, Qt::Key_Return);
    });
    QCOMPARE(t.test().GoodCount, 1);
    QCOMPARE(t.test().BadCount, 0);
}

QTEST_MAIN(TestArticleWindows)
#include "tst_ftestfres.moc"
