#include "application.h"

#include "app/fabout.h"
#include "app/fmain.h"
#include "editor/ffind.h"
#include "editor/fviewedit.h"
#include "editor/fword.h"
#include "exam/ferror.h"
#include "exam/testwindow.h"
#include "exam/ftestsingle.h"
#include "exam/ftestde.h"
#include "exam/ftestes.h"
#include "exam/ftestfr.h"
#include "data/displaytext.h"
#include "data/journal.h"
#include "platform/appicon.h"
#include "platform/keyboardfocus.h"
#include "platform/messenger.h"
#include "platform/programfolder.h"
#include "platform/services.h"
#include "stats/fstatistic.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace lexitka {

LexitkaApp::LexitkaApp(const Services &services, const QString &dictionaryArg)
    : m_services(services), m_speaker(services.speaker ? services.speaker : &m_silent), m_keyboards(*services.keyboard),
      m_test(services.programFolder, *services.random, *services.messenger)
{
    m_test.setUi(this);
    QApplication::setWindowIcon(applicationIcon());
    // Before any file is read: a save that was cut off in the middle of
    // overwriting a file in place left its old bytes in a journal.
    recoverInterruptedSaves();
    m_frmMain = std::make_unique<TfrmMain>(*this, dictionaryArg);
    m_speaker->changed = [this] { updateSpeech(); };

    // Layouts are the whole display's on some platforms: other programs get
    // the user's own back whenever none of our windows has the keyboard.
    m_focusWatch = std::make_unique<KeyboardFocusWatch>(m_keyboards);
}

void LexitkaApp::recoverInterruptedSaves()
{
    for (const JournalRecovery &r : lexitka::recoverInterruptedSaves(journalFolder())) {
        if (r.outcome == JournalRecovery::Outcome::Restored)
            messenger().error(nullptr, QStringLiteral("Ukládání souboru %1 bylo přerušeno (program byl ukončen "
                                                      "uprostřed zápisu). Soubor byl vrácen do stavu před tímto "
                                                      "ukládáním.")
                                           .arg(shownPath(r.path)));
        else if (r.outcome == JournalRecovery::Outcome::Failed)
            messenger().error(nullptr, QStringLiteral("Ukládání souboru %1 bylo přerušeno a soubor nelze vrátit do "
                                                      "původního stavu. Původní obsah je uložen ve složce %2; "
                                                      "program se o obnovu pokusí znovu při příštím spuštění.")
                                           .arg(shownPath(r.path), shownPath(journalFolder())));
    }
}

// The windows go first; the keyboards then give the user's layout back.
LexitkaApp::~LexitkaApp() { m_speaker->changed = nullptr; }

void LexitkaApp::updateSpeech()
{
    for (const auto &[code, window] : m_testWindows)
        window->updateSpeech();
    if (m_frmViewEdt)
        m_frmViewEdt->updateSpeech();
    if (m_frmError)
        m_frmError->updateSpeech();
}

template <class Window>
Window &LexitkaApp::testWindowMade(std::unique_ptr<Window> &window, int languageCode)
{
    if (!window) {
        window = std::make_unique<Window>(m_test, m_keyboards, messenger());
        window->setSpeaker(*m_speaker);
        m_testWindows[languageCode] = window.get();
    }
    return *window;
}

TfrmTestEn &LexitkaApp::frmTestEn() { return testWindowMade(m_frmTestEn, LangEnglish); }
TfrmTestLt &LexitkaApp::frmTestLt() { return testWindowMade(m_frmTestLt, LangLatin); }
TfrmTestDe &LexitkaApp::frmTestDe() { return testWindowMade(m_frmTestDe, LangGerman); }
TfrmTestEs &LexitkaApp::frmTestEs() { return testWindowMade(m_frmTestEs, LangSpanish); }
TfrmTestRu &LexitkaApp::frmTestRu() { return testWindowMade(m_frmTestRu, LangRussian); }
TfrmTestFr &LexitkaApp::frmTestFr() { return testWindowMade(m_frmTestFr, LangFrench); }

TfrmError &LexitkaApp::frmError()
{
    if (!m_frmError) {
        m_frmError = std::make_unique<TfrmError>();
        m_frmError->setSpeaker(*m_speaker);
    }
    return *m_frmError;
}

TfrmViewEdt &LexitkaApp::frmViewEdt()
{
    if (!m_frmViewEdt) {
        m_frmViewEdt = std::make_unique<TfrmViewEdt>(messenger());
        setFieldKeyboard(m_frmViewEdt.get(), FieldKeyboard::Czech); // and the dialogs it opens
        m_frmViewEdt->setWordDialog(&frmWord());
        m_frmViewEdt->setKeyboards(&m_keyboards);
        m_frmFind = std::make_unique<TfrmFind>(*m_frmViewEdt, m_keyboards, messenger());
        m_frmViewEdt->setFindDialog(m_frmFind.get());
        m_frmViewEdt->setSpeaker(*m_speaker);
    }
    return *m_frmViewEdt;
}

TfrmWord &LexitkaApp::frmWord()
{
    if (!m_frmWord)
        m_frmWord = std::make_unique<TfrmWord>(m_keyboards, messenger());
    return *m_frmWord;
}

TfrmFind &LexitkaApp::frmFind()
{
    frmViewEdt(); // the find dialog is one of the browser's
    return *m_frmFind;
}

TfrmStatistic &LexitkaApp::frmStatistic()
{
    if (!m_frmStatistic)
        m_frmStatistic = std::make_unique<TfrmStatistic>();
    return *m_frmStatistic;
}

TfrmAbout &LexitkaApp::frmAbout()
{
    if (!m_frmAbout)
        m_frmAbout = std::make_unique<TfrmAbout>();
    return *m_frmAbout;
}

QString LexitkaApp::settingsPath() const { return QDir(m_services.programFolder).filePath(kSettingsFileName); }

void LexitkaApp::show()
{
    auto centre = [this] {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = m_frmMain->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            m_frmMain->move(frame.topLeft());
        }
    };
    m_frmMain->adjustSize();
    centre();
    m_frmMain->show();
    centre(); // the frame's size is known only once the window is shown
}

TestWindow *LexitkaApp::testWindow(int languageCode)
{
    switch (languageCode) {
    case LangEnglish: return &frmTestEn();
    case LangGerman: return &frmTestDe();
    case LangFrench: return &frmTestFr();
    case LangRussian: return &frmTestRu();
    case LangSpanish: return &frmTestEs();
    case LangLatin: return &frmTestLt();
    default: return nullptr;
    }
}

void LexitkaApp::runTestWindow(int languageCode)
{
    if (TestWindow *window = testWindow(languageCode))
        window->Start();
}

void LexitkaApp::showMistake(const QByteArray &expected, const QByteArray &typed, int charset)
{
    TfrmError &error = frmError();
    error.setAnswerCodePage(codePageForCharset(charset));
    error.setSpokenAnswer(spokenAnswer(expected, m_test.MistakeKind, m_test.MistakeLanguage), m_test.MistakeLanguage);
    error.ShowMyMessage(expected, typed);
}

} // namespace lexitka
