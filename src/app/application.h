#pragma once

#include "platform/keyboard.h"
#include "platform/speech.h"
#include "exam/utest.h"

#include <QString>

#include <map>
#include <memory>

namespace lexitka {

class Clock;
class KeyboardFocusWatch;
class Messenger;
class RandomSource;
class TestWindow;
class TfrmAbout;
class TfrmError;
class TfrmFind;
class TfrmMain;
class TfrmStatistic;
class TfrmTestDe;
class TfrmTestEn;
class TfrmTestEs;
class TfrmTestFr;
class TfrmTestLt;
class TfrmTestRu;
class TfrmViewEdt;
class TfrmWord;

// What the program hands in at start: the real services in main(), fakes in tests.
struct Services {
    QString programFolder;
    Messenger *messenger = nullptr;
    KeyboardLayoutService *keyboard = nullptr;
    RandomSource *random = nullptr;
    Clock *clock = nullptr;
    // Reads foreign words aloud; none reads nothing.
    Speaker *speaker = nullptr;
};

// The program-wide state: the test state, the keyboard layouts, and the
// windows, created once each in a fixed order and alive until the end.
class LexitkaApp final : public TestUi {
public:
    // dictionaryArg is the command line's first argument (empty when none).
    LexitkaApp(const Services &services, const QString &dictionaryArg);
    ~LexitkaApp() override;

    LexitkaApp(const LexitkaApp &) = delete;
    LexitkaApp &operator=(const LexitkaApp &) = delete;

    const QString &programFolder() const { return m_services.programFolder; }
    QString settingsPath() const;
    Messenger &messenger() const { return *m_services.messenger; }
    Clock &clock() const { return *m_services.clock; }
    Keyboards &keyboards() { return m_keyboards; }
    Speaker &speaker() { return *m_speaker; }
    UTest &test() { return m_test; }

    // The windows; one reached here has its controls made.
    TfrmMain &frmMain() { return *m_frmMain; }
    TfrmTestEn &frmTestEn();
    TfrmTestLt &frmTestLt();
    TfrmTestDe &frmTestDe();
    TfrmTestEs &frmTestEs();
    TfrmTestRu &frmTestRu();
    TfrmError &frmError() { return *m_frmError; }
    TfrmViewEdt &frmViewEdt();
    TfrmWord &frmWord();
    TfrmStatistic &frmStatistic() { return *m_frmStatistic; }
    TfrmAbout &frmAbout();
    TfrmTestFr &frmTestFr();
    TfrmFind &frmFind();
    // nullptr while the main window is being created.
    TfrmFind *findDialog() const { return m_frmFind.get(); }
    // The test window of a language, or nullptr when it has none.
    TestWindow *testWindow(int languageCode) const;

    void show();

    // TestUi: the test window of a language, and the mistake dialog.
    void runTestWindow(int languageCode) override;
    void showMistake(const QByteArray &expected, const QByteArray &typed, int charset) override;

private:
    // The window, its controls made.
    template <class Window>
    static Window &reached(const std::unique_ptr<Window> &window);
    // Puts right the files whose in-place save a kill cut short, and says so.
    void recoverInterruptedSaves();
    // The voices changed: every control that reads aloud shows it.
    void updateSpeech();

    Services m_services;
    SilentSpeaker m_silent;
    Speaker *m_speaker;
    Keyboards m_keyboards;
    // Gives the user's layout back while no window of ours is active.
    std::unique_ptr<KeyboardFocusWatch> m_focusWatch;
    UTest m_test;
    // Windows, in the order they are created.
    std::unique_ptr<TfrmMain> m_frmMain;
    std::unique_ptr<TfrmTestEn> m_frmTestEn;
    std::unique_ptr<TfrmTestLt> m_frmTestLt;
    std::unique_ptr<TfrmTestDe> m_frmTestDe;
    std::unique_ptr<TfrmTestEs> m_frmTestEs;
    std::unique_ptr<TfrmTestRu> m_frmTestRu;
    std::unique_ptr<TfrmError> m_frmError;
    std::unique_ptr<TfrmViewEdt> m_frmViewEdt;
    std::unique_ptr<TfrmWord> m_frmWord;
    std::unique_ptr<TfrmStatistic> m_frmStatistic;
    std::unique_ptr<TfrmAbout> m_frmAbout;
    std::unique_ptr<TfrmTestFr> m_frmTestFr;
    // A child window of m_frmViewEdt, so it must go first: it is declared after it.
    std::unique_ptr<TfrmFind> m_frmFind;
    // Language code → its test window, filled as the windows are created.
    std::map<int, TestWindow *> m_testWindows;
};

} // namespace lexitka
