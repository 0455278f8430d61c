#pragma once

#include "test/utest.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace lexitka::testing {

// Stands between the engine and the program's windows: runs the real test
// window, records each mistake instead of showing the mistake dialog.
class RecordingTestUi final : public TestUi {
public:
    struct Mistake {
        QByteArray expected;
        QByteArray typed;
        int charset = -1;
    };

    explicit RecordingTestUi(TestUi &windows) : m_windows(windows) {}

    QList<int> windowsRun;
    QList<Mistake> mistakes;

    void runTestWindow(int languageCode) override
    {
        windowsRun.append(languageCode);
        m_windows.runTestWindow(languageCode);
    }
    void showMistake(const QByteArray &expected, const QByteArray &typed, int charset) override
    {
        mistakes.append({expected, typed, charset});
    }

private:
    TestUi &m_windows;
};

// Calls StartTest(code) and runs `steps` once `window` is up modally. The
// window is closed after the steps (if they left it open) and after
// `timeoutMs` in any case, so a failing step never leaves a test hanging.
// Returns false when the window had to be closed by the time limit.
bool runModalTest(UTest &test, int code, QDialog &window, const std::function<void()> &steps,
                  int timeoutMs = 20000);

// Types text key by key, as the keyboard would (any characters, not only Latin-1).
void typeText(QWidget *widget, const QString &text);
void pressKey(QWidget *widget, int key);

} // namespace lexitka::testing
