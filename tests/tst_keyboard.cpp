#include "platform/keyboard.h"
#include "support/fakes.h"

#include <QTest>

using namespace lexitka;
using namespace lexitka::testing;

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void findingRule()
    {
        FakeKeyboardService service;
        service.list = QList<KeyboardLayout>{
            {0x0405, "Czech"},
            {0x0409, "English (United States)"},
            {0x0407, "German"},
            {0x0809, "english (United Kingdom)"},
            {0x0419, "Russian"},
            {0x1405, "cz"},
            {0x0010, "E"},
            {0x0011, ""},
        };
        Keyboards keyboards(service);
        keyboards.findLayouts();
        // The last match wins, letters compared in upper case.
        QCOMPARE(keyboards.czech(), std::optional<quintptr>(0x1405));
        QCOMPARE(keyboards.english(), std::optional<quintptr>(0x0809));
        QVERIFY(service.activated.isEmpty());

        keyboards.UseCzechKeyboard();
        QCOMPARE(service.activated, (QList<quintptr>{0x0809, 0x1405}));
        service.activated.clear();
        keyboards.UseForeignKeyboard();
        QCOMPARE(service.activated, QList<quintptr>{0x0809});

        // Finding again forgets what is no longer installed.
        service.list = QList<KeyboardLayout>{{0x0405, "Czech"}};
        keyboards.findLayouts();
        QCOMPARE(keyboards.czech(), std::optional<quintptr>(0x0405));
        QCOMPARE(keyboards.english(), std::nullopt);
    }

    void absentLayoutsDoNothing()
    {
        FakeKeyboardService service;
        Keyboards keyboards(service);

        service.list = std::nullopt; // the list cannot be had
        keyboards.findLayouts();
        keyboards.UseCzechKeyboard();
        keyboards.UseForeignKeyboard();
        QVERIFY(service.activated.isEmpty());

        // Without a Czech layout the English one stays active.
        service.list = QList<KeyboardLayout>{{7, "English"}, {8, "Slovak"}};
        keyboards.findLayouts();
        keyboards.UseCzechKeyboard();
        QCOMPARE(service.activated, QList<quintptr>{7});

        // Without an English layout only the Czech one is activated.
        service.activated.clear();
        service.list = QList<KeyboardLayout>{{5, "Czech"}};
        keyboards.findLayouts();
        keyboards.UseCzechKeyboard();
        keyboards.UseForeignKeyboard();
        QCOMPARE(service.activated, QList<quintptr>{5});

        NullKeyboardLayoutService null;
        Keyboards none(null);
        none.findLayouts();
        none.UseCzechKeyboard();
        QCOMPARE(none.czech(), std::nullopt);
        QCOMPARE(none.english(), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
