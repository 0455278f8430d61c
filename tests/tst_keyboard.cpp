#include "exam/typing.h"
#include "exam/typing_es.h"
#include "exam/typing_fr.h"
#include "exam/typing_ru.h"
#include "platform/keyboard.h"
#include "platform/keyboardfocus.h"
#include "support/fakes.h"

#include <QTest>
#include <QWidget>

using namespace lexitka;
using namespace lexitka::testing;

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void findingRule()
    {
        FakeKeyboardService service;
        service.list = QList<KeyboardLayout>{
            {0x0405, "Czech"},   {0x0409, "English (United States)"},
            {0x0407, "German"},  {0x0809, "english (United Kingdom)"},
            {0x0419, "Russian"}, {0x1405, "cz"},
            {0x0010, "E"},       {0x0011, ""},
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
        QVERIFY(!keyboards.canSwitch());

        // Without a Czech layout, or without an English one, nothing is
        // switched: the user keeps typing on his own layout.
        service.list = QList<KeyboardLayout>{{7, "English"}, {8, "Slovak"}};
        keyboards.findLayouts();
        keyboards.UseCzechKeyboard();
        keyboards.UseForeignKeyboard();
        service.list = QList<KeyboardLayout>{{5, "Czech"}, {6, "Russian"}};
        keyboards.findLayouts();
        keyboards.UseCzechKeyboard();
        keyboards.UseForeignKeyboard();
        QVERIFY(service.activated.isEmpty());
        QVERIFY(!keyboards.canSwitch());
        QVERIFY(!keyboards.switchedCzechUserToEnglish());

        NullKeyboardLayoutService null;
        Keyboards none(null);
        none.findLayouts();
        none.UseCzechKeyboard();
        QCOMPARE(none.czech(), std::nullopt);
        QCOMPARE(none.english(), std::nullopt);
    }

    void userLayoutComesBack()
    {
        FakeKeyboardService service;
        service.list = QList<KeyboardLayout>{{5, "Czech"}, {9, "English (US)"}};
        service.current = 5;
        {
            Keyboards keyboards(service);
            keyboards.findLayouts();
            keyboards.applicationActive(false); // nothing switched yet: nothing to give back
            keyboards.applicationActive(true);
            QVERIFY(service.activated.isEmpty());

            keyboards.UseForeignKeyboard();
            QVERIFY(keyboards.switchedCzechUserToEnglish());
            // Another program gets the keyboard, then the program again.
            keyboards.applicationActive(false);
            keyboards.applicationActive(false);
            QVERIFY(!keyboards.switchedCzechUserToEnglish());
            keyboards.applicationActive(true);
            keyboards.applicationActive(true);
            QCOMPARE(service.activated, (QList<quintptr>{9, 5, 9}));
            QVERIFY(keyboards.switchedCzechUserToEnglish());
            service.current = 5; // switched back by hand
            QVERIFY(!keyboards.switchedCzechUserToEnglish());

            // The user chose English elsewhere: that is what he gets back,
            // and y and z are his own then.
            keyboards.applicationActive(false);
            service.current = 9;
            keyboards.applicationActive(true);
            QVERIFY(!keyboards.switchedCzechUserToEnglish());
            keyboards.applicationActive(false);
            QCOMPARE(service.activated.mid(3), (QList<quintptr>{5, 9, 9}));

            service.current = 5;
            keyboards.UseForeignKeyboard();
            service.activated.clear();
        }
        // The end of the program gives the user's layout back.
        QCOMPARE(service.activated, QList<quintptr>{5});

        // Where the platform cannot tell the user's layout, nothing is given
        // back and nothing is put back again.
        service.activated.clear();
        service.current.reset();
        {
            Keyboards keyboards(service);
            keyboards.findLayouts();
            keyboards.UseForeignKeyboard();
            keyboards.applicationActive(false);
            keyboards.applicationActive(true);
            QVERIFY(!keyboards.switchedCzechUserToEnglish());
        }
        QCOMPARE(service.activated, QList<quintptr>{9});
    }

    void fieldLayoutAppliesOnlyAfterASwitch()
    {
        FakeKeyboardService service;
        service.list = QList<KeyboardLayout>{{1, "Czech"}, {2, "English (United States)"}};
        service.current = 2; // the user's own
        Keyboards keyboards(service);
        keyboards.findLayouts();
        // Nothing switched yet: a field leaves the user's layout alone.
        keyboards.fieldEntered(FieldKeyboard::Czech);
        QVERIFY(service.activated.isEmpty());

        keyboards.UseForeignKeyboard();
        service.activated.clear();
        keyboards.fieldEntered(FieldKeyboard::Czech);
        QCOMPARE(service.activated, (QList<quintptr>{2, 1}));
        QCOMPARE(service.current, std::optional<quintptr>(1));
        // Already in force: nothing more.
        service.activated.clear();
        keyboards.fieldEntered(FieldKeyboard::Czech);
        QVERIFY(service.activated.isEmpty());
        keyboards.fieldEntered(FieldKeyboard::Foreign);
        QCOMPARE(service.activated, QList<quintptr>{2});

        // Away and back: the field's layout again, and the user's own at the end.
        keyboards.applicationActive(false);
        QCOMPARE(service.current, std::optional<quintptr>(2));
        service.activated.clear();
        keyboards.fieldEntered(FieldKeyboard::Foreign);
        QCOMPARE(service.activated, QList<quintptr>{2});
        keyboards.restoreUserLayout();
        QCOMPARE(service.current, std::optional<quintptr>(2));

        // A marked window marks what lies in it, up to another mark.
        QWidget window;
        auto *field = new QWidget(&window);
        auto *dialog = new QWidget(&window, Qt::Dialog);
        auto *inDialog = new QWidget(dialog);
        QCOMPARE(fieldKeyboard(field), std::nullopt);
        setFieldKeyboard(&window, FieldKeyboard::Czech);
        setFieldKeyboard(dialog, FieldKeyboard::Foreign);
        QCOMPARE(fieldKeyboard(field), std::optional(FieldKeyboard::Czech));
        QCOMPARE(fieldKeyboard(inDialog), std::optional(FieldKeyboard::Foreign));
        QCOMPARE(fieldKeyboard(nullptr), std::nullopt);
    }

    void typingTablesFollowTheSwitch()
    {
        // Only the French y/z pairs are an exchange of keys; every other pair,
        // the Cyrillic y and z among them, is a letter of its own.
        for (const bool switched : {false, true}) {
            QCOMPARE(convertBeforeCaret("t0", 2, frenchTypingTable(), switched), QByteArray("t\xE9"));
            QCOMPARE(convertBeforeCaret("y", 1, cyrillicTypingTable(), switched), QByteArray("\xE7")); // з
        }
        for (const char *letter : {"z", "y", "Z", "Y"}) {
            QCOMPARE(convertBeforeCaret(letter, 1, frenchTypingTable(), false), QByteArray(letter));
            QVERIFY(convertBeforeCaret(letter, 1, frenchTypingTable(), true) != QByteArray(letter));
        }
        for (const auto &pair : spanishTypingTable())
            QVERIFY(!isYZExchange(pair));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
