#pragma once

#include "platform/keyboard.h"
#include "test/utest.h"

#include <QString>

#include <memory>

namespace lexitka {

class Clock;
class Messenger;
class RandomSource;
class TfrmMain;
class TfrmTestDe;
class TfrmTestEs;
class TfrmTestFr;

// What the program hands in at start: the real services in main(), fakes in tests.
struct Services {
    QString programFolder;
    Messenger *messenger = nullptr;
    KeyboardLayoutService *keyboard = nullptr;
    RandomSource *random = nullptr;
    Clock *clock = nullptr;
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
    UTest &test() { return m_test; }

    TfrmMain &frmMain() { return *m_frmMain; }
    TfrmTestDe &frmTestDe() { return *m_frmTestDe; }
    TfrmTestEs &frmTestEs() { return *m_frmTestEs; }
    TfrmTestFr &frmTestFr() { return *m_frmTestFr; }

    void show();

    // TestUi: the test window of a language, and the mistake dialog.
    void runTestWindow(int languageCode) override;
    void showMistake(const QByteArray &expected, const QByteArray &typed, int charset) override;

private:
    Services m_services;
    Keyboards m_keyboards;
    UTest m_test;
    // Windows, in the order they are created.
    std::unique_ptr<TfrmMain> m_frmMain;
    std::unique_ptr<TfrmTestDe> m_frmTestDe;
    std::unique_ptr<TfrmTestEs> m_frmTestEs;
    std::unique_ptr<TfrmTestFr> m_frmTestFr;
};

} // namespace lexitka
