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
    m_test.setClock(services.clock);
    QApplication::setWindowIcon(applicationIcon());
    // Before any file is read: a save that was cut off in the middle of
    // overwriting a file in place left its old bytes in a journal.
    recoverInterruptedSaves();
    m_frmMain = std::make_unique<TfrmMain>(*this, dictionaryArg);
    Messenger &messenger = *services.messenger;
    // Only the main window is painted at start: the others make their
    // controls when they are first reached or shown.
    constexpr ControlsMade later = ControlsMade::OnFirstUse;
    m_frmTestEn = std::make_unique<TfrmTestEn>(m_test, m_keyboards, messenger, nullptr, later);
    m_testWindows[LangEnglish] = m_frmTestEn.get();
    m_frmTestLt = std::make_unique<TfrmTestLt>(m_test, m_keyboards, messenger, nullptr, later);
    m_testWindows[LangLatin] = m_frmTestLt.get();
    m_frmTestDe = std::make_unique<TfrmTestDe>(m_test, m_keyboards, messenger, nullptr, later);
    m_testWindows[LangGerman] = m_frmTestDe.get();
    m_frmTestEs = std::make_unique<TfrmTestEs>(m_test, m_keyboards, messenger, nullptr, later);
    m_testWindows[LangSpanish] = m_frmTestEs.get();
    m_frmTestRu = std::make_unique<TfrmTestRu>(m_test, m_keyboards, messenger, nullptr, later);
    m_testWindows[LangRussian] = m_frmTestRu.get();
    m_frmError = std::make_unique<TfrmError>();
    m_frmViewEdt = std::make_unique<TfrmViewEdt>(messenger, nullptr, later);
    setFieldKeyboard(m_frmViewEdt.get(), FieldKeyboard::Czech); // and the dialogs it opens
    m_frmWord = std::make_unique<TfrmWord>(m_keyboards, messenger, nullptr, later);
    m_frmViewEdt->setWordDialog(m_frmWord.get());
    m_frmViewEdt->setKeyboards(&m_keyboards);
    m_frmStatistic = std::make_unique<TfrmStatistic>();
    m_frmAbout = std::make_unique<TfrmAbout>(nullptr, later);
    m_frmTestFr = std::make_unique<TfrmTestFr>(m_test, m_keyboards, messenger, nullptr, later);
    m_testWindows[LangFrench] = m_frmTestFr.get();
    m_frmFind = std::make_unique<TfrmFind>(*m_frmViewEdt, m_keyboards, messenger, later);
    m_frmViewEdt->setFindDialog(m_frmFind.get());

    for (const auto &[code, window] : m_testWindows)
        window->setSpeaker(*m_speaker);
    m_frmError->setSpeaker(*m_speaker);
    m_frmViewEdt->setSpeaker(*m_speaker);
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
    m_frmViewEdt->updateSpeech();
    m_frmError->updateSpeech();
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

TfrmViewEdt &LexitkaApp::frmViewEdt() { return reached(m_frmViewEdt); }

template <class Window>
Window &LexitkaApp::reached(const std::unique_ptr<Window> &window)
{
    window->makeControls();
    return *window;
}

TfrmTestEn &LexitkaApp::frmTestEn() { return reached(m_frmTestEn); }
TfrmTestLt &LexitkaApp::frmTestLt() { return reached(m_frmTestLt); }
TfrmTestDe &LexitkaApp::frmTestDe() { return reached(m_frmTestDe); }
TfrmTestEs &LexitkaApp::frmTestEs() { return reached(m_frmTestEs); }
TfrmTestRu &LexitkaApp::frmTestRu() { return reached(m_frmTestRu); }
TfrmTestFr &LexitkaApp::frmTestFr() { return reached(m_frmTestFr); }
TfrmWord &LexitkaApp::frmWord() { return reached(m_frmWord); }
TfrmAbout &LexitkaApp::frmAbout() { return reached(m_frmAbout); }
TfrmFind &LexitkaApp::frmFind() { return reached(m_frmFind); }

TestWindow *LexitkaApp::testWindow(int languageCode) const
{
    const auto it = m_testWindows.find(languageCode);
    if (it == m_testWindows.end())
        return nullptr;
    it->second->makeControls();
    return it->second;
}

void LexitkaApp::runTestWindow(int languageCode)
{
    if (TestWindow *window = testWindow(languageCode))
        window->Start();
}

void LexitkaApp::showMistake(const QByteArray &expected, const QByteArray &typed, int charset)
{
    m_frmError->setAnswerCodePage(codePageForCharset(charset));
    m_frmError->setSpokenAnswer(spokenAnswer(expected, m_test.MistakeKind, m_test.MistakeLanguage),
                                m_test.MistakeLanguage);
    m_frmError->ShowMyMessage(expected, typed);
}

} // namespace lexitka
