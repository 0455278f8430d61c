// The German test window, driven offscreen through the engine.
#include "support/fakes.h"
#include "support/testdriver.h"

#include "data/codepage.h"
#include "exam/ftestde.h"
#include "exam/judging.h"
#include "exam/reviews.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

constexpr quintptr kCzech = kCzechLayout;
constexpr quintptr kEnglish = kEnglishLayout;

struct GermanTest : WindowTest<TfrmTestDe> {
    GermanTest() : WindowTest(LangGerman) { }
    QByteArray mistakesFile() { return readFile(f.path(QStringLiteral("errors.dee"))); }
};

// A dictionary line as the file holds it (windows-1250).
QByteArray de(const char *utf8) { return cz(QString::fromUtf8(utf8)); }

const QByteArray kHund = de("0=0\\Hund\\Hunde\\pes");
const QByteArray kEssen = de("1=3\\essen\\isst,aß,h gegessen\\jíst");
const QByteArray kSehen = de("2=3\\sehen\\sieht,sah,h gesehen\\vidět");
const QByteArray kGehen = de("3=3\\gehen\\geht,ging,i gegangen\\jít (pěšky)");

} // namespace

class TestGermanWindow : public QObject {
    Q_OBJECT
private slots:
    void articlesInBothDirections();
    void articleCodesThatAreNotInTheBox();
    void verbForms();
    void kindOneGoesOnToTheVerbCheck();
    void pluralsAndVerbsAreAskedAlone();
    void sharpSTyping();
    void insertAndEsc();
    void reviewsAskEachCardInItsKind();
};

void TestGermanWindow::articlesInBothDirections()
{
    GermanTest t;
    QCOMPARE(t.w().windowTitle(), QStringLiteral("Zkoušení"));
    QCOMPARE(t.w().cmbclen->count(), 4);
    QCOMPARE(t.w().cmbclen->itemText(3), QStringLiteral("není"));
    int asked = 0;
    t.start({kHund, kEssen}, {false, true, false, false}, [&] {
        // First the dog with the wrong article, then (it comes back) right;
        // "essen" has no article and is right with "není" left in the box.
        for (; asked < 6 && t.w().isVisible(); ++asked) {
            QCOMPARE(t.test().AskedKind, 1);
            QVERIFY(t.w().cmbclen->isEnabled());
            QCOMPARE(t.w().cmbclen->currentIndex(), 3);
            QVERIFY(t.w().Panel->isHidden());
            if (t.test().CurrentWord.Slovo == "Hund") {
                QCOMPARE(t.question(), QStringLiteral("pes"));
                const bool first = t.ui->mistakes.isEmpty();
                t.answer(QStringLiteral("Hund"), first ? 1 : 0);
            } else {
                QCOMPARE(t.question(), QStringLiteral("jíst"));
                t.answer(QStringLiteral("essen"));
            }
        }
    });
    QCOMPARE(asked, 3);
    QCOMPARE(t.ui->mistakes.size(), 1);
    QCOMPARE(t.ui->mistakes[0].expected, QByteArray("der Hund"));
    QCOMPARE(t.ui->mistakes[0].typed, QByteArray("die Hund"));
    QCOMPARE(t.ui->mistakes[0].charset, int(CharsetCentralEuropean));
    QCOMPARE(t.test().GoodCount, 2);
    QCOMPARE(t.test().BadCount, 1);
    QCOMPARE(t.f.messenger.texts(), QStringList{QStringLiteral("Lexitka vyčerpána.")});
    QCOMPARE(t.mistakesFile(), "1\\" + kHund + "\r\n");
    // The window switches to the Czech layout when it opens; once it has
    // closed, the user's own layout is put back.
    QCOMPARE(t.f.keyboard.activated, (QList<quintptr>{kEnglish, kCzech, kCzech}));

    // German to Czech: the article box is locked on "není".
    t.ui->mistakes.clear();
    t.start({kHund}, {true, false, false, false}, [&] {
        QCOMPARE(t.question(), QStringLiteral("Hund"));
        QVERIFY(!t.w().cmbclen->isEnabled());
        t.answer(QStringLiteral("kočka"));
        t.answer(QStringLiteral("pes"));
    });
    QCOMPARE(t.ui->mistakes.size(), 1);
    QCOMPARE(t.ui->mistakes[0].expected, QByteArray("pes"));
    QCOMPARE(t.ui->mistakes[0].typed, cz(QStringLiteral("kočka")));
    QCOMPARE(t.test().GoodCount, 1);
}

void TestGermanWindow::articleCodesThatAreNotInTheBox()
{
    // A hand-edited Clen ("x", "7", empty) means no article: the word is
    // asked and answered right with "není", and never shown as "není Brot".
    GermanTest t;
    const QByteArray lines[] = {"0=x\\Brot\\Brote\\chléb", "0=7\\Brot\\Brote\\chléb", "0=\\Brot\\Brote\\chléb"};
    for (const QByteArray &line : lines) {
        t.ui->mistakes.clear();
        t.start({line}, {false, true, false, false}, [&] {
            t.answer(QStringLiteral("Brot"), 2);
            QVERIFY(t.w().isVisible());
            t.answer(QStringLiteral("Brot"), 3);
            QVERIFY(!t.w().isVisible());
        });
        QCOMPARE(t.ui->mistakes.size(), 1);
        QCOMPARE(t.ui->mistakes[0].expected, QByteArray("Brot"));
        QCOMPARE(t.ui->mistakes[0].typed, QByteArray("das Brot"));
        QCOMPARE(t.test().GoodCount, 1);
    }
    QCOMPARE(GetClen(LangGerman, QByteArrayView("x")), cz(QStringLiteral("není")));
    QCOMPARE(GetClen(LangGerman, QByteArrayView("2")), QByteArray("das"));
}

void TestGermanWindow::verbForms()
{
    GermanTest t;
    QVERIFY(!t.w().chbPritomny->isChecked());
    t.start({kSehen}, {false, false, false, true}, [&] {
        auto &w = t.w();
        QCOMPARE(t.test().AskedKind, 3);
        QCOMPARE(t.question(), QStringLiteral("vidět"));
        QVERIFY(!w.Panel->isHidden());
        QVERIFY(!w.chbNepravidelne->isEnabled());
        QCOMPARE(w.height(), 265);
        QCOMPARE(w.btnOK->y(), 200);
        QVERIFY(!w.edtPritomny->isEnabled());
        // Without the present tense: preterite and perfect; a blank after a form is wrong.
        typeText(w.edtPreklad, QStringLiteral("sehen"));
        typeText(w.edtPreteritum, QStringLiteral("sah "));
        typeText(w.edtPerfektum, QStringLiteral("h gesehen"));
        pressKey(w.edtPreklad, Qt::Key_Return);
        QCOMPARE(t.test().BadCount, 1);
        QVERIFY(w.edtPreteritum->text().isEmpty());
        typeText(w.edtPreklad, QStringLiteral("sehen"));
        typeText(w.edtPreteritum, QStringLiteral("sah"));
        typeText(w.edtPerfektum, QStringLiteral("h gesehen"));
        pressKey(w.edtPreklad, Qt::Key_Return);
    });
    QCOMPARE(t.test().GoodCount, 1);
    QCOMPARE(t.ui->mistakes.size(), 1);
    QCOMPARE(t.ui->mistakes[0].expected, QByteArray("sehen (sah,h gesehen)"));
    QCOMPARE(t.ui->mistakes[0].typed, QByteArray("sehen (sah ,h gesehen)"));
    QCOMPARE(t.mistakesFile(), "3\\" + kSehen + "\r\n");

    // With the present tense all three forms count, joined without blanks;
    // the box keeps its tick from question to question and test to test.
    t.ui->mistakes.clear();
    t.start({kSehen}, {false, false, false, true}, [&] {
        auto &w = t.w();
        w.chbPritomny->click();
        QVERIFY(w.edtPritomny->isEnabled());
        typeText(w.edtPreklad, QStringLiteral("sehen"));
        typeText(w.edtPreteritum, QStringLiteral("sah"));
        typeText(w.edtPerfektum, QStringLiteral("h gesehen"));
        pressKey(w.edtPreklad, Qt::Key_Return); // present tense missing
        QVERIFY(w.chbPritomny->isChecked());
        typeText(w.edtPreklad, QStringLiteral("sehen"));
        typeText(w.edtPritomny, QStringLiteral("sieht"));
        typeText(w.edtPreteritum, QStringLiteral("sah"));
        typeText(w.edtPerfektum, QStringLiteral("h gesehen"));
        pressKey(w.edtPreklad, Qt::Key_Return);
    });
    QCOMPARE(t.ui->mistakes.size(), 1);
    QCOMPARE(t.ui->mistakes[0].expected, QByteArray("sehen (sieht,sah,h gesehen)"));
    QCOMPARE(t.ui->mistakes[0].typed, QByteArray("sehen (,sah,h gesehen)"));
    QCOMPARE(t.test().GoodCount, 1);
    QVERIFY(t.w().chbPritomny->isChecked());
    QVERIFY(t.w().edtPritomny->isEnabled());

    // The word is compared without its brackets and without alternatives.
    VerbFormsTyped forms{false, {}, "wusch", "h gewaschen"};
    const WordRecord waschen{"3", "(sich) waschen", "wäscht,wusch,h gewaschen", "mýt se"};
    QVERIFY(judgeVerbForms(waschen, "waschen", forms).right);
    QVERIFY(!judgeVerbForms(waschen, "(sich) waschen", forms).right);
    const WordRecord two{"3", "fahren,reisen", "fährt,fuhr,i gefahren", "jet"};
    QVERIFY(!judgeVerbForms(two, "fahren", {false, {}, "fuhr", "i gefahren"}).right);
}

void TestGermanWindow::kindOneGoesOnToTheVerbCheck()
{
    GermanTest t;
    int question = 0;
    t.start({kGehen}, {false, true, false, false}, [&] {
        auto &w = t.w();
        for (; question < 5 && w.isVisible(); ++question) {
            QCOMPARE(t.test().AskedKind, 1);
            QCOMPARE(t.question(), QStringLiteral("jít (pěšky)"));
            QVERIFY(w.Panel->isHidden());
            QVERIFY(!w.chbNepravidelne->isChecked());
            QVERIFY(w.chbNepravidelne->isEnabled());
            QCOMPARE(w.height(), 265 - 64);
            QCOMPARE(w.btnOK->y(), 136);
            w.chbNepravidelne->click();
            QVERIFY(!w.Panel->isHidden());
            QCOMPARE(w.height(), 265);
            QCOMPARE(w.btnOK->y(), 200);
            typeText(w.edtPreteritum, QStringLiteral("ging"));
            typeText(w.edtPerfektum, question == 2 ? QStringLiteral("i gegangen") : QStringLiteral("h gegangen"));
            // Question 0: wrong article, the forms are not looked at.
            // Question 1: right word, wrong forms. Question 2: all right.
            t.answer(QStringLiteral("gehen"), question == 0 ? 0 : 3);
        }
    });
    QCOMPARE(question, 3);
    QCOMPARE(t.test().GoodCount, 1);
    QCOMPARE(t.test().BadCount, 2);
    QCOMPARE(t.ui->mistakes.size(), 2);
    QCOMPARE(t.ui->mistakes[0].expected, QByteArray("gehen"));
    QCOMPARE(t.ui->mistakes[0].typed, QByteArray("der gehen"));
    QCOMPARE(t.ui->mistakes[1].expected, QByteArray("gehen (ging,i gegangen)"));
    QCOMPARE(t.ui->mistakes[1].typed, QByteArray("gehen (ging,h gegangen)"));
    const QByteArray line = kGehen;
    QCOMPARE(t.mistakesFile(), "1\\" + line + "\r\n3\\" + line + "\r\n");
}

void TestGermanWindow::pluralsAndVerbsAreAskedAlone()
{
    GermanTest t;
    const QList<QByteArray> pool{kHund, de("1=1\\Katze\\Katzen\\kočka"), de("2=2\\Pferd\\Pferde\\kůň")};
    const std::array<bool, 4> withPlurals[] = {
        {true, false, true, false}, {true, true, true, false}, {false, true, true, true}};
    for (const auto &kinds : withPlurals) {
        t.ui->mistakes.clear();
        int asked = 0;
        t.start(pool, kinds, [&] {
            for (; asked < 6 && t.w().isVisible(); ++asked) {
                QCOMPARE(t.test().AskedKind, 2);
                const WordRecord word = t.test().CurrentWord;
                QCOMPARE(t.question(), QString::fromLatin1(word.Slovo));
                QCOMPARE(t.w().cmbclen->currentIndex(), 1);
                QVERIFY(t.w().Panel->isHidden());
                QCOMPARE(t.w().focusWidget(), t.w().edtPreklad);
                // The article box is ignored in plural questions.
                t.answer(word.Slovo == "Katze" && t.ui->mistakes.isEmpty() ? QStringLiteral("Katze")
                                                                           : QString::fromLatin1(word.Mn),
                         0);
            }
        });
        QCOMPARE(asked, 4);
        QCOMPARE(t.ui->mistakes.size(), 1);
        QCOMPARE(t.ui->mistakes[0].expected, QByteArray("Katzen"));
        QCOMPARE(t.ui->mistakes[0].typed, QByteArray("Katze"));
        QCOMPARE(t.test().GoodCount, 3);
    }
    // Verbs ticked without plurals: only verb questions.
    t.start({kSehen, kHund}, {true, true, false, true}, [&] {
        for (int asked = 0; asked < 3; ++asked) {
            QCOMPARE(t.test().AskedKind, 3);
            QVERIFY(!t.w().Panel->isHidden());
            QCOMPARE(t.w().focusWidget(), t.w().edtPreklad);
            pressKey(t.w().edtPreklad, Qt::Key_Return);
        }
    });
    QCOMPARE(t.test().BadCount, 3);
}

void TestGermanWindow::sharpSTyping()
{
    GermanTest t;
    t.start({de("0=1\\Straße\\Straßen\\ulice")}, {false, true, false, false}, [&] {
        auto &w = t.w();
        typeText(w.edtPreklad, QStringLiteral("Strae"));
        pressKey(w.edtPreklad, Qt::Key_Left);
        typeText(w.edtPreklad, QStringLiteral("§"));
        QCOMPARE(w.edtPreklad->text(), QStringLiteral("Straße"));
        QCOMPARE(w.edtPreklad->cursorPosition(), 5);
        typeText(w.edtPreklad, QStringLiteral("?"));
        QCOMPARE(w.edtPreklad->text(), QStringLiteral("Straß?e"));
        pressKey(w.edtPreklad, Qt::Key_Backspace);
        // Several at once, as a paste brings them: every one is replaced.
        w.edtPreklad->selectAll();
        w.edtPreklad->insert(QStringLiteral("§a§"));
        QCOMPARE(w.edtPreklad->text(), QStringLiteral("ßaß"));
        w.edtPreklad->selectAll();
        typeText(w.edtPreklad, QStringLiteral("Stra§e"));
        for (QLineEdit *box : {w.edtPreteritum, w.edtPerfektum}) {
            typeText(box, QStringLiteral("a?b?§"));
            QCOMPARE(box->text(), QStringLiteral("aßbß§"));
        }
        w.chbPritomny->click();
        typeText(w.edtPritomny, QStringLiteral("?"));
        QCOMPARE(w.edtPritomny->text(), QStringLiteral("ß"));
        w.chbPritomny->click();
        w.cmbclen->setCurrentIndex(1);
        pressKey(w.edtPreklad, Qt::Key_Return);
    });
    // ß typed through § compares with the dictionary's byte 223.
    QCOMPARE(t.test().BadCount, 0);
    QCOMPARE(t.test().GoodCount, 1);
}

void TestGermanWindow::insertAndEsc()
{
    GermanTest t;
    // Insert then Enter is right in every kind that has an answer to fill in.
    const std::array<bool, 4> kinds[] = {
        {true, false, false, false}, {false, true, false, false}, {false, false, true, false}};
    for (const auto &k : kinds) {
        t.start({de("0=2\\Mädchen\\Mädchen\\dívka")}, k, [&] {
            pressKey(t.w().edtPreklad, Qt::Key_Insert);
            pressKey(t.w().edtPreklad, Qt::Key_Return);
        });
        QCOMPARE(t.test().GoodCount, 1);
        QCOMPARE(t.test().BadCount, 0);
    }
    // A verb question: Insert leaves every box as it was; Esc ends the test
    // and keeps the mistakes recorded so far.
    t.start({kSehen, kGehen}, {false, false, false, true}, [&] {
        auto &w = t.w();
        pressKey(w.edtPreklad, Qt::Key_Return);
        typeText(w.edtPreteritum, QStringLiteral("sah"));
        pressKey(w.edtPreteritum, Qt::Key_Insert);
        QVERIFY(w.edtPreklad->text().isEmpty());
        QCOMPARE(w.edtPreteritum->text(), QStringLiteral("sah"));
        QVERIFY(w.edtPerfektum->text().isEmpty());
        pressKey(w.edtPreteritum, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    });
    QCOMPARE(t.test().BadCount, 1);
    QCOMPARE(t.mistakesFile().count("\r\n"), 1);
    QVERIFY(t.mistakesFile().startsWith("3\\"));
}

void TestGermanWindow::reviewsAskEachCardInItsKind()
{
    // A review test's pool: each line in the kind that is due, the window
    // showing what that kind asks.
    GermanTest t;
    const QByteArray katze = de("1=1\\Katze\\Katzen\\kočka");
    const QList<QByteArray> pool{"3\\" + kSehen, "2\\" + kHund, "1\\" + kHund, "0\\" + katze};
    QList<std::pair<int, QString>> asked;
    t.start(
        pool, {true, true, true, true},
        [&] {
            auto &w = t.w();
            for (int n = 0; n < 6 && w.isVisible(); ++n) {
                const int kind = t.test().AskedKind;
                const WordRecord word = t.test().CurrentWord;
                asked.append({kind, t.question()});
                QCOMPARE(!w.Panel->isHidden(), kind == KindVerbForms);
                switch (kind) {
                case KindVerbForms:
                    typeText(w.edtPreklad, QStringLiteral("sehen"));
                    typeText(w.edtPreteritum, QStringLiteral("sah"));
                    typeText(w.edtPerfektum, QStringLiteral("h gesehen"));
                    pressKey(w.edtPreklad, Qt::Key_Return);
                    break;
                case KindPlural: t.answer(QString::fromLatin1(word.Mn)); break;
                case KindToForeign: t.answer(QString::fromLatin1(word.Slovo), word.Clen.toInt()); break;
                default: t.answer(decode(word.Preklad, CodePage::Cp1250));
                }
            }
        },
        TestMode::Reviews);
    std::sort(asked.begin(), asked.end());
    QCOMPARE(asked, (QList<std::pair<int, QString>>{{KindToCzech, QStringLiteral("Katze")},
                                                    {KindToForeign, QStringLiteral("pes")},
                                                    {KindPlural, QStringLiteral("Hund")},
                                                    {KindVerbForms, QStringLiteral("vidět")}}));
    QCOMPARE(t.test().GoodCount, 4);
    QVERIFY(t.ui->mistakes.isEmpty());
    // Each answer is a review of its own card.
    QList<std::pair<int, QByteArray>> cards;
    for (const ReviewCard &c : parseReviewFile(readFile(t.test().ReviewFilePath())))
        cards.append({c.kind, c.value});
    std::sort(cards.begin(), cards.end());
    const auto value = [](const QByteArray &line) { return line.sliced(line.indexOf('=') + 1); };
    QCOMPARE(cards, (QList<std::pair<int, QByteArray>>{{KindToCzech, value(katze)},
                                                       {KindToForeign, value(kHund)},
                                                       {KindPlural, value(kHund)},
                                                       {KindVerbForms, value(kSehen)}}));
}

QTEST_MAIN(TestGermanWindow)
#include "tst_ftestde.moc"
