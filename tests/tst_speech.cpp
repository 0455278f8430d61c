#include "app/fmain.h"
#include "editor/fviewedit.h"
#include "exam/ferror.h"
#include "exam/ftestsingle.h"
#include "platform/qtspeaker.h"
#include "support/fakes.h"
#include "support/modal.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

WordRecord word(const QByteArray &line, int language) { return ParseWord(line, language); }

} // namespace

class TestSpeech : public QObject {
    Q_OBJECT
private slots:
    void whatIsReadAndInWhichLanguage();
    void buttonsOfTheWindows();
    void qtEngine();
};

void TestSpeech::whatIsReadAndInWhichLanguage()
{
    const QList<std::pair<int, QString>> languages = {{LangEnglish, "en"}, {LangGerman, "de"},  {LangFrench, "fr"},
                                                      {LangRussian, "ru"}, {LangSpanish, "es"}, {LangLatin, "la"}};
    for (const auto &[code, language] : languages)
        QCOMPARE(speechLanguage(code), language);
    QVERIFY(speechLanguage(99).isEmpty());

    // The foreign word with its article, decoded by its code page, without remarks.
    QCOMPARE(spokenWord(word("0=0\\Hund\\Hunde\\pes", LangGerman), LangGerman), QStringLiteral("der Hund"));
    QCOMPARE(spokenWord(word("0=3\\gehen\\geht,ging,i gegangen\\jít", LangGerman), LangGerman),
             QStringLiteral("gehen"));
    QCOMPARE(spokenWord(word("0=1\\f\xEAte\\slavnost", LangFrench), LangFrench), QStringLiteral("la fête"));
    QCOMPARE(spokenWord(word("0=7\\chose\\věc", LangFrench), LangFrench), QStringLiteral("chose")); // "není"
    QCOMPARE(spokenWord(word("0=\xF1\xEE\xE1\xE0\xEA\xE0\\pes", LangRussian), LangRussian), QStringLiteral("собака"));
    QCOMPARE(spokenWord(word("0=get (got,  got)  up\\vstát", LangEnglish), LangEnglish), QStringLiteral("get up"));

    // A test window never reads the Czech question, nor the answer it asks.
    const WordRecord dog = word("0=dog\\pes", LangEnglish), cat = word("1=cat\\kocka", LangEnglish);
    QCOMPARE(spokenInTest(KindToCzech, dog, cat, LangEnglish), QStringLiteral("dog"));
    QCOMPARE(spokenInTest(KindPlural, dog, cat, LangEnglish), QStringLiteral("dog"));
    QCOMPARE(spokenInTest(KindToForeign, dog, cat, LangEnglish), QStringLiteral("cat"));
    QCOMPARE(spokenInTest(KindVerbForms, dog, cat, LangEnglish), QStringLiteral("cat"));
    QVERIFY(spokenInTest(KindToForeign, dog, std::nullopt, LangEnglish).isEmpty());

    // The mistake dialog reads a foreign right answer only.
    QVERIFY(spokenAnswer("pes", KindToCzech, LangEnglish).isEmpty());
    QCOMPARE(spokenAnswer("le ch\xE2teau", KindToForeign, LangFrench), QStringLiteral("le château"));
    QCOMPARE(spokenAnswer("\xF1\xEE\xE1\xE0\xEA\xE0", KindToForeign, LangRussian), QStringLiteral("собака"));
    QCOMPARE(spokenAnswer("H\xE4user", KindPlural, LangGerman), QStringLiteral("Häuser"));
    QCOMPARE(spokenAnswer("gehen (ging,i gegangen)", KindVerbForms, LangGerman), QStringLiteral("gehen"));

    // The control: enabled only with a voice and a word; otherwise it says why.
    FakeSpeaker speaker;
    SpeechControl c = speechControl(speaker, LangFrench, QStringLiteral("chat"), QStringLiteral("nic"));
    QVERIFY(!c.enabled);
    QVERIFY(c.toolTip.contains(QStringLiteral("qt6-speech-speechd-plugin")));
    speaker.otherwise = VoiceState::NoVoice;
    c = speechControl(speaker, LangLatin, QStringLiteral("canis"), QStringLiteral("nic"));
    QVERIFY(!c.enabled);
    QVERIFY(c.toolTip.startsWith(QStringLiteral("Pro latinu není nainstalovaný žádný hlas")));
    speaker.voices.insert(QStringLiteral("la"), VoiceState::Starting);
    QVERIFY(!speechControl(speaker, LangLatin, QStringLiteral("canis"), {}).enabled);
    QVERIFY(!speak(speaker, LangLatin, QStringLiteral("canis")));
    speaker.voices.insert(QStringLiteral("la"), VoiceState::Ready);
    c = speechControl(speaker, LangLatin, {}, QStringLiteral("nic"));
    QVERIFY(!c.enabled);
    QCOMPARE(c.toolTip, QStringLiteral("nic"));
    QVERIFY(speechControl(speaker, LangLatin, QStringLiteral("canis"), {}).enabled);
    QVERIFY(speaker.said.isEmpty());
    QVERIFY(speak(speaker, LangLatin, QStringLiteral("canis")));
    QVERIFY(!speak(speaker, LangEnglish, QStringLiteral("dog"))); // no English voice
    QCOMPARE(speaker.said, (QList<std::pair<QString, QString>>{{QStringLiteral("canis"), QStringLiteral("la")}}));
}

void TestSpeech::buttonsOfTheWindows()
{
    Fixture f;
    writeFile(f.path("data.en"), "[L]\r\n0=dog\\pes\r\n1=cat\\kocka\r\n");
    auto app = f.makeApp(QStringLiteral("data.en"));
    app->show();
    TfrmMain &main = app->frmMain();
    TfrmTestEn &w = app->frmTestEn();
    TfrmError &err = app->frmError();
    tick(main.lbLekce, {0});
    tick(main.chbChoice, {1}); // Czech shown, English typed
    const QHash<QString, QString> english = {{"pes", "dog"}, {"kocka", "cat"}};
    const QRect okBefore = w.btnOK->geometry();

    int given = 0;
    QString first;
    QList<bool> enabledAtQuestion;
    QStringList saidAtQuestion;
    bool dialogChecked = false;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &err && err.isVisible()) {
            driver.post([&] {
                // The right answer is English: it may be read.
                QVERIFY(err.btnSpeak->isEnabled());
                QTest::keyClick(&err, Qt::Key_F5);
                QCOMPARE(f.speaker.said.size(), 1);
                dialogChecked = true;
                QTest::keyClick(&err, Qt::Key_Return);
            });
        } else if (modal == &w && w.isVisible() && app->test().GoodCount + app->test().BadCount == given) {
            driver.post([&] {
                if (given == 0) {
                    // No voice: disabled, saying what to install.
                    QVERIFY(!w.btnSpeak->isEnabled());
                    QVERIFY(w.btnSpeak->toolTip().contains(QStringLiteral("Nainstalujte")));
                    f.speaker.allReady();
                    first = w.pnlSlovo->text();
                }
                QTest::keyClick(w.edtPreklad, Qt::Key_F5);
                enabledAtQuestion.append(w.btnSpeak->isEnabled());
                saidAtQuestion.append(f.speaker.said.isEmpty() ? QString() : f.speaker.said.last().first);
                if (given++ == 0)
                    QTest::keyClicks(w.edtPreklad, QStringLiteral("wrong"));
                else
                    QTest::keyClick(w.edtPreklad, Qt::Key_Insert);
                QTest::keyClick(w.edtPreklad, Qt::Key_Return);
            });
        }
    });
    QTest::mouseClick(main.btnTest, Qt::LeftButton);
    QVERIFY(!driver.timedOut());
    QVERIFY(dialogChecked);
    QCOMPARE(given, 3);
    // The first Czech question reads nothing (its answer is asked); later
    // ones read the word answered last, which was the first.
    QCOMPARE(enabledAtQuestion, (QList<bool>{false, true, true}));
    QCOMPARE(saidAtQuestion.at(0), QString());
    QCOMPARE(saidAtQuestion.at(1), english.value(first));
    QCOMPARE(f.speaker.said.at(0), std::make_pair(english.value(first), QStringLiteral("en")));
    QCOMPARE(w.btnOK->geometry(), okBefore); // nothing of the window moved
    QVERIFY(!w.btnSpeak->geometry().intersects(w.btnOK->geometry()));

    // The browser reads the selected word, by its button and by F5.
    f.speaker.said.clear();
    bool browsed = false;
    TfrmViewEdt &view = app->frmViewEdt();
    ModalDriver browser([&](QWidget *modal) {
        if (modal == &view && !browsed) {
            browsed = true;
            browser.post([&] {
                view.sgList->selectRow(1);
                QVERIFY(view.btnSpeak->isEnabled() && view.actSpeak->isEnabled());
                QVERIFY(view.sgList->actions().contains(view.actSpeak));
                QTest::keyClick(view.sgList, Qt::Key_F5);
                view.sgList->clearSelection();
                QVERIFY(!view.btnSpeak->isEnabled());
                view.close();
            });
        }
    });
    QTest::mouseClick(main.btnView, Qt::LeftButton);
    QVERIFY(browsed && !browser.timedOut());
    QCOMPARE(f.speaker.said, (QList<std::pair<QString, QString>>{{QStringLiteral("cat"), QStringLiteral("en")}}));
}

void TestSpeech::qtEngine()
{
    // Flite starts at once and without a sound device; speech-dispatcher
    // would leave a daemon behind, so the test asks flite alone.
    const bool installed = QtSpeaker::installedEngines().contains(QStringLiteral("flite"));
    QtSpeaker speaker({QStringLiteral("flite")});
    if (!installed) {
        // Without the plugin: the controls are off and say what to install.
        QCOMPARE(speaker.voiceFor(QStringLiteral("en")), VoiceState::NoEngine);
        QVERIFY(speechControl(speaker, LangEnglish, QStringLiteral("dog"), {})
                    .toolTip.contains(QStringLiteral("Nainstalujte")));
        return;
    }
    bool told = false;
    speaker.changed = [&] { told = true; };
    // The first question starts the engine and is answered at once.
    QCOMPARE(speaker.voiceFor(QStringLiteral("en")), VoiceState::Starting);
    QTRY_VERIFY_WITH_TIMEOUT(told, 20000);
    QCOMPARE(speaker.voiceFor(QStringLiteral("en")), VoiceState::Ready);
    QCOMPARE(speaker.voiceFor(QStringLiteral("la")), VoiceState::NoVoice); // flite speaks English only
    QVERIFY(speak(speaker, LangEnglish, QStringLiteral("dog")));
    QVERIFY(!speak(speaker, LangLatin, QStringLiteral("canis")));
}

QTEST_MAIN(TestSpeech)
#include "tst_speech.moc"
