#pragma once

#include "support/fakes.h"
#include "exam/testwindow.h"
#include "exam/utest.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

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

    explicit RecordingTestUi(TestUi &windows) : m_windows(windows) { }

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
bool runModalTest(UTest &test, int code, QDialog &window, const std::function<void()> &steps, int timeoutMs = 20000);

// Types text key by key, as the keyboard would (any characters, not only Latin-1).
void typeText(QWidget *widget, const QString &text);
void pressKey(QWidget *widget, int key);

constexpr quintptr kCzechLayout = 5;
constexpr quintptr kEnglishLayout = 9;

// A program with a Czech and an English layout whose engine runs the real
// test window of one language and records the mistakes it would show.
template <class Window>
struct WindowTest {
    Fixture f;
    std::unique_ptr<LexitkaApp> app;
    std::unique_ptr<RecordingTestUi> ui;
    int language;
    Window *window = nullptr;

    explicit WindowTest(int lang) : language(lang)
    {
        f.keyboard.list = QList<KeyboardLayout>{{kCzechLayout, QStringLiteral("Czech")},
                                                {kEnglishLayout, QStringLiteral("English (United States)")}};
        f.keyboard.current = kCzechLayout; // the user's own
        app = f.makeApp();
        ui = std::make_unique<RecordingTestUi>(*app);
        test().setUi(ui.get());
        test().LanguageCode = lang;
        window = qobject_cast<Window *>(app->testWindow(lang));
    }
    UTest &test() { return app->test(); }
    Window &w() { return *window; }

    void start(const QList<QByteArray> &pool, std::array<bool, 4> kinds, const std::function<void()> &steps,
               TestMode mode = TestMode::Lessons)
    {
        TestPool words;
        words.mode = mode;
        words.words = pool;
        words.kinds = kinds;
        test().setUp(words, true);
        QVERIFY(window);
        QVERIFY(runModalTest(test(), language, w(), steps));
    }
    QString question() { return w().pnlSlovo->text(); }
    // Chooses the article (when given), types the answer and presses Enter.
    void answer(const QString &text, int article = -1)
    {
        if (article >= 0)
            w().cmbclen->setCurrentIndex(article);
        typeText(w().edtPreklad, text);
        pressKey(w().edtPreklad, Qt::Key_Return);
    }
};

} // namespace lexitka::testing
