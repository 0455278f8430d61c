#include "support/inidocument.h"
#include "app/fmain.h"
#include "support/fakes.h"
#include "support/modal.h"
#include "support/testdriver.h"
#include "support/utf8samples.h"
#include "data/inifile.h"
#include "exam/ferror.h"
#include "exam/ftestsingle.h"
#include "exam/typing_ru.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

constexpr quintptr kCzech = 1;
constexpr quintptr kEnglish = 2;

// "собака" as the Russian dictionary holds it.
const QByteArray kSobaka = "\xF1\xEE\xE1\xE0\xEA\xE0";

struct Program {
    Fixture f;
    std::unique_ptr<LexitkaApp> app;

    // A program whose dictionary is `name` in its folder, shown on screen.
    Program(const QString &name, const QByteArray &dictionary)
    {
        f.keyboard.list = QList<KeyboardLayout>{{kCzech, QStringLiteral("Czech")},
                                                {kEnglish, QStringLiteral("English (United States)")}};
        writeFile(f.path(name), dictionary);
        app = f.makeApp(name);
        app->show();
    }
    TfrmMain &main() { return app->frmMain(); }
    UTest &test() { return app->test(); }
    QByteArray errors(const char *ext = "en") { return readFile(f.path(QStringLiteral("errors.%1e").arg(ext))); }
    int answers() { return test().GoodCount + test().BadCount; }
    // True once, for a window waiting for the answer to a new question.
    bool awaitsAnswer(QWidget *modal, QWidget *window, int given)
    {
        return modal == window && window->isVisible() && answers() == given;
    }
};

struct ScoreTexts {
    QString remain, good, bad, perCent;
};

ScoreTexts scores(const TestWindow &w)
{
    return {w.lblRemain->text(), w.lblGood->text(), w.lblBad->text(), w.lblPerCent->text()};
}

} // namespace

class TestTestWindows : public QObject {
    Q_OBJECT
private slots:
    void windowsAndControls();
    void englishTestWithOneMistake();
    void russianAnswerTypedKeyByKey();
    void russianForeignToCzechIsNotConverted();
    void mistakesTestLeavesFileUnchanged();
    void escapeMidTestSavesMistakesSoFar();
    void uncheckedSaveErrorsKeepsFile();
    void mistakeDialogTextsAndWidth();
    void mistakeDialogKeys();
    void mistakeDialogHugeAnswers();
    void cyrillicTable();
    void convertedUtf8SamplesJudgeRight();
};

void TestTestWindows::windowsAndControls()
{
    // Each language reaches its own window; all three share one design.
    Program p(QStringLiteral("data.en"), "[L]\r\n0=dog\\pes\r\n");
    const QList<std::pair<int, const char *>> windows = {
        {LangEnglish, "lexitka::TfrmTestEn"}, {LangRussian, "lexitka::TfrmTestRu"}, {LangLatin, "lexitka::TfrmTestLt"}};
    for (const auto &[code, className] : windows) {
        auto *w = qobject_cast<SingleAnswerTestWindow *>(p.app->testWindow(code));
        QVERIFY(w);
        QCOMPARE(w->metaObject()->className(), className);
        QCOMPARE(w->languageCode(), code);
        QVERIFY(w->btnOK->isDefault());
        // A word is shown as the dictionary has it, never as markup.
        w->setQuestion("<b>a</b>", CodePage::Cp1250);
        QCOMPARE(w->pnlSlovo->textFormat(), Qt::PlainText);
        QCOMPARE(w->pnlSlovo->text(), QStringLiteral("<b>a</b>"));
    }
}

void TestTestWindows::englishTestWithOneMistake()
{
    // The cat's translation is longer than a line edit takes by default.
    const QString longCat = QStringLiteral("kočka ") + QString(40000, u'a');
    Program p(QStringLiteral("data.en"), cz("[Zvířata]\r\n0=dog\\pes,čokl\r\n1=cat\\" + longCat + "\r\n"));
    TfrmTestEn &w = p.app->frmTestEn();
    TfrmError &err = p.app->frmError();
    tick(p.main().lbLekce, {0});
    QCOMPARE(p.main().testKindTicks(), (QList<bool>{true, false}));

    int given = 0;
    bool mistakeMade = false;
    QStringList questions;
    QList<ScoreTexts> shown;
    QString right, you;
    int errorWidth = 0;
    bool escClosedError = true;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &err && err.isVisible()) {
            driver.post([&] {
                right = err.lblRight->text();
                you = err.lblYou->text();
                errorWidth = err.width();
                QTest::keyClick(&err, Qt::Key_Escape);
                escClosedError = !err.isVisible();
                QTest::keyClick(&err, Qt::Key_Return);
            });
        } else if (p.awaitsAnswer(modal, &w, given)) {
            driver.post([&] {
                ++given;
                questions.append(w.pnlSlovo->text());
                shown.append(scores(w));
                if (w.pnlSlovo->text() == QLatin1String("dog") && !mistakeMade) {
                    mistakeMade = true;
                    QTest::keyClicks(w.edtPreklad, QStringLiteral("kocour"));
                } else if (w.pnlSlovo->text() == QLatin1String("dog")) {
                    QTest::keyClicks(w.edtPreklad, QStringLiteral("pes"));
                } else {
                    QTest::keyClick(w.edtPreklad, Qt::Key_Insert);
                    QCOMPARE(w.edtPreklad->text(), longCat);
                }
                QTest::keyClick(w.edtPreklad, Qt::Key_Return);
            });
        }
    });
    QTest::mouseClick(p.main().btnTest, Qt::LeftButton);

    QVERIFY(!driver.timedOut());
    QVERIFY(!w.isVisible());
    QCOMPARE(questions.size(), 3);
    QCOMPARE(questions.count(QStringLiteral("dog")), 2);
    QCOMPARE(questions.count(QStringLiteral("cat")), 1);
    QCOMPARE(shown[0].remain, QStringLiteral("Zbývá : 1"));
    QCOMPARE(shown[0].good, QStringLiteral("Dobře : 0"));
    QCOMPARE(shown[0].bad, QStringLiteral("Špatně : 0"));
    QCOMPARE(shown[0].perCent, QStringLiteral("Úspešnost : 0 %"));
    QCOMPARE(shown[2].bad, QStringLiteral("Špatně : 1"));
    QCOMPARE(shown[2].remain, QStringLiteral("Zbývá : 0"));
    QCOMPARE(right, QStringLiteral("pes,čokl"));
    QCOMPARE(you, QStringLiteral("kocour"));
    QCOMPARE(errorWidth, 300);
    QVERIFY(!escClosedError);
    QCOMPARE(p.test().GoodCount, 2);
    QCOMPARE(p.test().BadCount, 1);
    QCOMPARE(p.f.messenger.texts(), QStringList{QStringLiteral("Lexitka vyčerpána.")});
    QCOMPARE(p.errors(), QByteArray("0\\0=dog\\") + cz("pes,čokl") + "\r\n");
    // English answers are typed on the Czech layout.
    QCOMPARE(p.f.keyboard.activated.mid(0, 2), (QList<quintptr>{kEnglish, kCzech}));
}

void TestTestWindows::russianAnswerTypedKeyByKey()
{
    Program p(QStringLiteral("rustina.ru"), "[L]\r\n0=" + kSobaka + "\\pes\r\n");
    TfrmTestRu &w = p.app->frmTestRu();
    TfrmError &err = p.app->frmError();
    tick(p.main().lbLekce, {0});
    tick(p.main().chbChoice, {1});
    p.f.keyboard.activated.clear();

    int given = 0;
    QString question, extras, middle, firstTry;
    QByteArray typedBytes;
    QString right, you;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &err && err.isVisible()) {
            driver.post([&] {
                right = err.lblRight->text();
                you = err.lblYou->text();
                QTest::keyClick(&err, Qt::Key_Return);
            });
        } else if (p.awaitsAnswer(modal, &w, given)) {
            driver.post([&] {
                ++given;
                if (given == 1) {
                    question = w.pnlSlovo->text();
                    QTest::keyClicks(w.edtPreklad, QStringLiteral("12Qq"));
                    extras = w.edtPreklad->text();
                    w.edtPreklad->clear();
                    QTest::keyClicks(w.edtPreklad, QStringLiteral("ab"));
                    w.edtPreklad->setCursorPosition(1);
                    QTest::keyClicks(w.edtPreklad, QStringLiteral("v"));
                    middle = w.edtPreklad->text();
                    w.edtPreklad->clear();
                    QTest::keyClicks(w.edtPreklad, QStringLiteral("sobak"));
                    firstTry = w.edtPreklad->text();
                } else {
                    QTest::keyClicks(w.edtPreklad, QStringLiteral("sobaka"));
                    typedBytes = w.typedAnswer();
                }
                QTest::keyClick(w.edtPreklad, Qt::Key_Return);
            });
        }
    });
    QTest::mouseClick(p.main().btnTest, Qt::LeftButton);

    QVERIFY(!driver.timedOut());
    QCOMPARE(question, QStringLiteral("pes"));
    QCOMPARE(extras, QStringLiteral("ъёQq"));
    QCOMPARE(middle, QStringLiteral("авб"));
    QCOMPARE(firstTry, QStringLiteral("собак"));
    QCOMPARE(typedBytes, kSobaka);
    // The mistake dialog shows both answers in Cyrillic.
    QCOMPARE(right, QStringLiteral("собака"));
    QCOMPARE(you, QStringLiteral("собак"));
    QCOMPARE(p.test().GoodCount, 1);
    QCOMPARE(p.test().BadCount, 1);
    QCOMPARE(p.f.messenger.texts(), QStringList{QStringLiteral("Lexitka vyčerpána.")});
    QCOMPARE(p.errors("ru"), "1\\0=" + kSobaka + "\\pes\r\n");
    // Russian is typed on the English layout, switched per question only.
    QCOMPARE(p.f.keyboard.activated, (QList<quintptr>{kEnglish, kEnglish}));
}

void TestTestWindows::russianForeignToCzechIsNotConverted()
{
    Program p(QStringLiteral("rustina.ru"), "[L]\r\n0=" + kSobaka + "\\pes\r\n");
    TfrmTestRu &w = p.app->frmTestRu();
    tick(p.main().lbLekce, {0});
    tick(p.main().chbChoice, {0});
    p.f.keyboard.activated.clear();
    QString question, typed;
    bool done = false;
    ModalDriver driver([&](QWidget *modal) {
        if (p.awaitsAnswer(modal, &w, 0) && !done) {
            done = true;
            driver.post([&] {
                question = w.pnlSlovo->text();
                QTest::keyClicks(w.edtPreklad, QStringLiteral("pes"));
                typed = w.edtPreklad->text();
                QTest::keyClick(w.edtPreklad, Qt::Key_Return);
            });
        }
    });
    QTest::mouseClick(p.main().btnTest, Qt::LeftButton);
    QVERIFY(!driver.timedOut());
    QCOMPARE(question, QStringLiteral("собака"));
    QCOMPARE(typed, QStringLiteral("pes"));
    QCOMPARE(p.test().GoodCount, 1);
    QCOMPARE(p.f.keyboard.activated, (QList<quintptr>{kEnglish, kCzech}));
}

void TestTestWindows::mistakesTestLeavesFileUnchanged()
{
    Program p(QStringLiteral("data.en"), "[L]\r\n0=dog\\pes\r\n");
    const QByteArray original = "1\\0=dog\\pes\r\n0\\1=cat\\kocka\r\n";
    writeFile(p.f.path("errors.ene"), original);
    TfrmTestEn &w = p.app->frmTestEn();
    TfrmError &err = p.app->frmError();
    tick(p.main().chbChoice, {0});

    int given = 0;
    QStringList questions;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &err && err.isVisible()) {
            driver.post([&] { QTest::mouseClick(err.Button1, Qt::LeftButton); });
        } else if (p.awaitsAnswer(modal, &w, given)) {
            driver.post([&] {
                ++given;
                questions.append(w.pnlSlovo->text());
                // The first question wrong, every other one filled in by Insert.
                if (given > 1)
                    QTest::keyClick(w.edtPreklad, Qt::Key_Insert);
                QTest::keyClick(w.edtPreklad, Qt::Key_Return);
            });
        }
    });
    QTest::mouseClick(p.main().btnErrors, Qt::LeftButton);

    QVERIFY(!driver.timedOut());
    QCOMPARE(questions.size(), 3);
    // The dog's line is of kind 1 (Czech shown), the cat's of kind 0.
    QVERIFY(questions.contains(QStringLiteral("pes")));
    QVERIFY(questions.contains(QStringLiteral("cat")));
    QCOMPARE(questions[0], questions[2]); // the wrong one came back, in its own kind
    QCOMPARE(p.test().BadCount, 1);
    QCOMPARE(p.errors(), original);
    QVERIFY(!p.test().ErrorsMode);

    // Afterwards "Zkoušej !" tests the lessons again, not the mistakes.
    tick(p.main().lbLekce, {0});
    given = 0;
    questions.clear();
    QTest::mouseClick(p.main().btnTest, Qt::LeftButton);
    QVERIFY(!driver.timedOut());
    QCOMPARE(questions, (QStringList{QStringLiteral("dog"), QStringLiteral("dog")}));
    QCOMPARE(p.errors(), original + "0\\0=dog\\pes\r\n");
}

void TestTestWindows::escapeMidTestSavesMistakesSoFar()
{
    Program p(QStringLiteral("data.en"), "[L]\r\n0=dog\\pes\r\n1=cat\\kocka\r\n2=cow\\krava\r\n");
    writeFile(p.f.path("errors.ene"), "1\\9=old\\stary\r\n");
    TfrmTestEn &w = p.app->frmTestEn();
    TfrmError &err = p.app->frmError();
    tick(p.main().lbLekce, {0});

    int given = 0;
    QString first;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &err && err.isVisible()) {
            driver.post([&] { QTest::keyClick(&err, Qt::Key_Return); });
        } else if (p.awaitsAnswer(modal, &w, given)) {
            driver.post([&] {
                ++given;
                if (given == 1) {
                    first = w.pnlSlovo->text();
                    QTest::keyClick(w.edtPreklad, Qt::Key_Return); // an empty answer is judged
                } else {
                    QTest::keyClicks(w.edtPreklad, QStringLiteral("half"));
                    QTest::keyClick(w.edtPreklad, Qt::Key_Escape);
                }
            });
        }
    });
    QTest::mouseClick(p.main().btnTest, Qt::LeftButton);

    QVERIFY(!driver.timedOut());
    QVERIFY(!w.isVisible());
    QCOMPARE(given, 2);
    QCOMPARE(p.test().BadCount, 1);
    QVERIFY(p.f.messenger.messages.isEmpty()); // no "Lexitka vyčerpána." on Esc
    const QMap<QString, QByteArray> lines = {{"dog", "0=dog\\pes"}, {"cat", "1=cat\\kocka"}, {"cow", "2=cow\\krava"}};
    QVERIFY(lines.contains(first));
    QCOMPARE(p.errors(), "1\\9=old\\stary\r\n0\\" + lines[first] + "\r\n");
}

void TestTestWindows::uncheckedSaveErrorsKeepsFile()
{
    Program p(QStringLiteral("data.en"), "[L]\r\n0=dog\\pes\r\n");
    writeFile(p.f.path("errors.ene"), "1\\9=old\\stary\r\n");
    TfrmTestEn &w = p.app->frmTestEn();
    TfrmError &err = p.app->frmError();
    tick(p.main().lbLekce, {0});
    p.main().chbSaveErrors->setChecked(false);
    int given = 0;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &err && err.isVisible()) {
            driver.post([&] { QTest::keyClick(&err, Qt::Key_Return); });
        } else if (p.awaitsAnswer(modal, &w, given)) {
            driver.post([&] {
                if (++given > 1)
                    QTest::keyClick(w.edtPreklad, Qt::Key_Insert);
                QTest::keyClick(w.edtPreklad, Qt::Key_Return);
            });
        }
    });
    QTest::mouseClick(p.main().btnTest, Qt::LeftButton);
    QVERIFY(!driver.timedOut());
    QCOMPARE(given, 2); // the wrong word still came back
    QCOMPARE(p.errors(), QByteArray("1\\9=old\\stary\r\n"));
}

void TestTestWindows::mistakeDialogTextsAndWidth()
{
    QCOMPARE(TfrmError::shownExpected("gehen (,,)"), QByteArray("gehen "));
    QCOMPARE(TfrmError::shownTyped("gehen (,,)"), QByteArray("gehen (,,)"));
    QCOMPARE(TfrmError::shownTyped("gehen (, , )"), QByteArray("gehen "));
    QCOMPARE(TfrmError::shownExpected("gehen (, , )"), QByteArray("gehen (, , )"));
    QCOMPARE(TfrmError::shownExpected("a(,,)b(,,)"), QByteArray("ab(,,)"));
    QCOMPARE(TfrmError::dialogWidth(100, 120), 300);
    QCOMPARE(TfrmError::dialogWidth(400, 120), 415);
    QCOMPARE(TfrmError::dialogWidth(100, 500), 515);

    TfrmError dlg;
    for (const char *name : {"Image1", "Label1", "Label2", "lblRight", "Label3", "lblYou", "Button1"})
        QVERIFY2(dlg.findChild<QWidget *>(QString::fromLatin1(name)), name);
    QCOMPARE(dlg.Label1->text(), QStringLiteral("Špatně !"));
    QCOMPARE(dlg.Label2->text(), QStringLiteral("Správně mělo být :"));
    QCOMPARE(dlg.Label3->text(), QStringLiteral("Vy jste napsali :"));
    QCOMPARE(dlg.Button1->text(), QStringLiteral("OK"));
    QVERIFY(dlg.Button1->isDefault());

    dlg.prepare("pes", "kocka");
    QCOMPARE(dlg.width(), 300);
    QCOMPARE(dlg.Button1->x(), 150 - dlg.Button1->width() / 2);
    QCOMPARE(dlg.lblRight->x(), dlg.lblYou->x());
    QVERIFY(dlg.lblRight->x() >= dlg.Label2->x() + dlg.Label2->width());

    const QByteArray longText(80, 'w');
    dlg.prepare(longText, "x");
    QVERIFY(dlg.width() > 300);
    QCOMPARE(dlg.width(), dlg.lblRight->x() + dlg.lblRight->width() + 15);
    QCOMPARE(dlg.Button1->x(), dlg.width() / 2 - dlg.Button1->width() / 2);
    dlg.prepare("x", longText + "www");
    QCOMPARE(dlg.width(), dlg.lblYou->x() + dlg.lblYou->width() + 15);
    dlg.prepare("x", "y");
    QCOMPARE(dlg.width(), 300);

    dlg.prepare(cz("gehen (,,)"), cz("gehen (,,)"));
    QCOMPARE(dlg.lblRight->text(), QStringLiteral("gehen "));
    QCOMPARE(dlg.lblYou->text(), QStringLiteral("gehen (,,)"));

    dlg.setAnswerCodePage(CodePage::Cp1251);
    dlg.prepare(kSobaka, "\xE0");
    QCOMPARE(dlg.lblRight->text(), QStringLiteral("собака"));
    QCOMPARE(dlg.lblYou->text(), QStringLiteral("а"));
    dlg.setAnswerCodePage(CodePage::Cp1252);
    dlg.prepare("\xE9t\xE9", "\xE0");
    QCOMPARE(dlg.lblRight->text(), QStringLiteral("été"));
    dlg.setAnswerCodePage(CodePage::Cp1250);
    dlg.prepare("\xE8", "\x9E");
    QCOMPARE(dlg.lblRight->text(), QStringLiteral("č"));
    QCOMPARE(dlg.lblYou->text(), QStringLiteral("ž"));
}

void TestTestWindows::mistakeDialogKeys()
{
    TfrmError dlg;
    bool openAfterEsc = false;
    int rounds = 0;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &dlg && dlg.isVisible())
            driver.post([&] {
                ++rounds;
                QTest::keyClick(&dlg, Qt::Key_Escape);
                openAfterEsc = dlg.isVisible();
                if (rounds == 1)
                    QTest::keyClick(&dlg, Qt::Key_Return);
                else
                    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
            });
    });
    dlg.ShowMyMessage("pes", "kocka");
    QVERIFY(!driver.timedOut());
    QVERIFY(openAfterEsc);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    dlg.ShowMyMessage("pes", "kocka");
    QVERIFY(!driver.timedOut());
    QCOMPARE(rounds, 2);
}

void TestTestWindows::mistakeDialogHugeAnswers()
{
    TfrmError dlg;
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    // Where an answer fits on the screen, nothing changes: whole, no tooltip.
    dlg.prepare(cz(QStringLiteral("kůň kůň")), "x");
    QCOMPARE(dlg.lblRight->text(), QStringLiteral("kůň kůň"));
    QVERIFY(dlg.lblRight->toolTip().isEmpty());
    QCOMPARE(dlg.width(), 300);

    auto repeated = [](const QString &piece, int chars) {
        return piece.repeated(chars / piece.size() + 1).left(chars);
    };
    for (const int chars : {2000, 10000, 40000}) {
        const QString expected = repeated(QStringLiteral("žluťoučký "), chars);
        const QString typed = repeated(QStringLiteral("w"), chars / 2);
        bool checked = false;
        ModalDriver driver([&](QWidget *modal) {
            if (modal != &dlg || !dlg.isVisible() || checked)
                return;
            checked = true;
            driver.post([&] {
                QVERIFY2(avail.contains(dlg.frameGeometry()), qPrintable(QString::number(chars)));
                QVERIFY(dlg.frameGeometry().width() > avail.width() - 40); // as wide as the screen allows
                for (QWidget *w : std::initializer_list<QWidget *>{dlg.Label1, dlg.Label2, dlg.Label3, dlg.lblRight,
                                                                   dlg.lblYou, dlg.Button1}) {
                    QVERIFY(w->isVisible());
                    QVERIFY2(dlg.rect().contains(w->geometry()), qPrintable(w->objectName()));
                    QVERIFY(avail.contains(QRect(w->mapToGlobal(QPoint(0, 0)), w->size())));
                }
                QVERIFY(dlg.lblRight->x() >= dlg.Label2->x() + dlg.Label2->width());
                QCOMPARE(dlg.lblRight->x(), dlg.lblYou->x());
                const QFontMetrics tipMetrics(QToolTip::font());
                for (auto [label, text] : {std::pair{dlg.lblRight, expected}, {dlg.lblYou, typed}}) {
                    // Cut with "…" where the dialog ends, the whole text in the tooltip.
                    const QString shown = label->text();
                    QVERIFY(shown.endsWith(QChar(0x2026)));
                    QVERIFY(shown.size() > 20);
                    QVERIFY(text.startsWith(shown.chopped(1)));
                    QVERIFY(label->textInteractionFlags() & Qt::TextSelectableByMouse);
                    // The label's menu copies all of it.
                    auto *copy = label->findChild<QAction *>(QStringLiteral("copyWhole"));
                    QVERIFY(copy && label->actions().contains(copy));
                    QCOMPARE(label->contextMenuPolicy(), Qt::ActionsContextMenu);
                    copy->trigger();
                    QCOMPARE(QGuiApplication::clipboard()->text(), text);
                    const QStringList lines = label->toolTip().split(u'\n');
                    QVERIFY(lines.size() > 1);
                    for (const QString &line : lines)
                        QVERIFY(tipMetrics.horizontalAdvance(line) <= avail.width());
                    QVERIFY(lines.size() * tipMetrics.lineSpacing() <= avail.height());
                    const QString joined = lines.join(QString());
                    if (chars == 2000) {
                        QCOMPARE(joined, text);
                    } else {
                        // More than a screen holds: as much as it holds.
                        QVERIFY(joined.endsWith(QChar(0x2026)));
                        QVERIFY(text.startsWith(joined.chopped(1)));
                        QVERIFY((lines.size() + 3) * tipMetrics.lineSpacing() > avail.height());
                    }
                }
                QTest::keyClick(&dlg, Qt::Key_Return);
            });
        });
        dlg.ShowMyMessage(cz(expected), typed.toLatin1());
        QVERIFY(!driver.timedOut());
        QVERIFY(checked);
        QVERIFY(!dlg.isVisible());
    }
    // A short pair afterwards: whole texts again, 300 pixels, no tooltips.
    dlg.prepare("pes", "kocka");
    QCOMPARE(dlg.width(), 300);
    QCOMPARE(dlg.lblYou->text(), QStringLiteral("kocka"));
    QVERIFY(dlg.lblRight->toolTip().isEmpty() && dlg.lblYou->toolTip().isEmpty());
}

void TestTestWindows::cyrillicTable()
{
    const TypingTable table = cyrillicTypingTable();
    QCOMPARE(table.size(), size_t(66));
    const QString from = QStringLiteral("ABVGDE^YIJKLMNOPRSTUFHC$#%!Z:{WXabvgde6yijklmnoprstufhc4351z;[wx@2");
    const QString to = QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюяЁё");
    QSet<unsigned char> sources;
    // Cyrillic letters come from characters, whatever layout gave them:
    // y and z here are letters of their own, no exchange.
    for (const bool czechKeysOnEnglish : {false, true}) {
        for (qsizetype i = 0; i < from.size(); ++i) {
            const auto target = lookupTyping(table, uchar(from[i].toLatin1()), czechKeysOnEnglish);
            QVERIFY(target);
            QCOMPARE(decode(QByteArray(1, char(*target)), CodePage::Cp1251), to.mid(i, 1));
            sources.insert(uchar(from[i].toLatin1()));
        }
        for (char c : {'Q', 'q', '7', ' ', '-'})
            QVERIFY(!lookupTyping(table, uchar(c), czechKeysOnEnglish));
    }
    QCOMPARE(sources.size(), 66);
}

void TestTestWindows::convertedUtf8SamplesJudgeRight()
{
    for (const SampleDictionary &s : sampleDictionaries()) {
        if (s.languageCode != LangEnglish && s.languageCode != LangRussian)
            continue;
        // Saved by a text editor, converted as the program starts with it.
        const QByteArray original = readFile(s.path());
        Program p(s.fileName(), dictionaryInUtf8(original, s.languageCode));
        QCOMPARE(p.f.messenger.messages.size(), 1);
        QCOMPARE(readFile(p.f.path(s.fileName())), original);

        // Each question as shown, and what is typed for it: the translation
        // in Czech letters, or the word (Russian on the English layout).
        const IniDocument doc = IniDocument::fromBytes(original);
        QCOMPARE(p.main().lessonNames(), doc.sectionNames());
        const CodePage foreign = languageInfo(s.languageCode).foreignCodePage;
        QHash<QString, QString> answers;
        int words = 0;
        for (qsizetype section = 0; section < doc.sectionCount(); ++section) {
            for (const QByteArray &line : doc.entryLines(section)) {
                const WordRecord w = ParseWord(line, s.languageCode);
                QString keys = decode(w.Slovo, foreign);
                if (s.languageCode == LangRussian) {
                    keys.clear();
                    for (const char c : w.Slovo) {
                        for (const auto &[typed, becomes] : cyrillicTypingTable())
                            keys += becomes == uchar(c) ? QString(QChar(typed)) : QString();
                    }
                }
                answers.insert(decode(w.Slovo, foreign), fromCp1250(w.Preklad));
                answers.insert(fromCp1250(w.Preklad), keys);
                ++words;
            }
        }
        QVERIFY(answers.contains(QStringLiteral("kůň")));

        auto *window = qobject_cast<SingleAnswerTestWindow *>(p.app->testWindow(s.languageCode));
        p.main().btnAllClick();
        tick(p.main().chbChoice, {0, 1});
        int given = 0;
        ModalDriver driver([&](QWidget *modal) {
            if (modal == &p.app->frmError()) {
                driver.post([&] { p.app->frmError().close(); });
            } else if (p.awaitsAnswer(modal, window, given)) {
                driver.post([&] {
                    ++given;
                    typeText(window->edtPreklad, answers.value(window->pnlSlovo->text(), QStringLiteral("?")));
                    QTest::keyClick(window->edtPreklad, Qt::Key_Return);
                });
            }
        });
        QTest::mouseClick(p.main().btnTest, Qt::LeftButton);
        QVERIFY(!driver.timedOut());
        QCOMPARE(p.test().GoodCount, words);
        QCOMPARE(p.test().BadCount, 0);
    }
}

QTEST_MAIN(TestTestWindows)
#include "tst_testwindows.moc"
