#pragma once

#include "app/application.h"
#include "platform/keyboard.h"
#include "platform/services.h"
#include "support/recordingmessenger.h"

#include <QAbstractItemView>
#include <QByteArray>
#include <QDate>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace lexitka::testing {

// A platform whose layouts the test sets; `current` is the one in force
// (nullopt: the platform cannot tell), changed by every activation.
class FakeKeyboardService final : public KeyboardLayoutService {
public:
    std::optional<QList<KeyboardLayout>> list;
    QList<quintptr> activated;
    std::optional<quintptr> current;
    std::optional<QList<KeyboardLayout>> layouts() override { return list; }
    void activate(quintptr handle) override
    {
        activated.append(handle);
        current = handle;
    }
    std::optional<quintptr> active() override { return current; }
};

class FixedClock final : public Clock {
public:
    QDate date{2026, 12, 6};
    QDate today() const override { return date; }
};

// A temporary program folder with fakes wired in; builds the application on demand.
struct Fixture {
    QTemporaryDir dir;
    RecordingMessenger messenger;
    FakeKeyboardService keyboard;
    StdRandomSource random{12345, false};
    FixedClock clock;

    QString folder() const { return dir.path(); }
    QString path(const QString &name) const { return dir.filePath(name); }
    Services services() { return Services{dir.path(), &messenger, &keyboard, &random, &clock}; }
    std::unique_ptr<LexitkaApp> makeApp(const QString &argument = {})
    {
        return std::make_unique<LexitkaApp>(services(), argument);
    }
};

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);
// Czech text in windows-1250, as the files hold it.
QByteArray cz(const QString &text);

// The rows of a list as the user sees and ticks them, whatever its model.
int rowCount(const QAbstractItemView *view);
QStringList itemTexts(const QAbstractItemView *view);
void setTicked(QAbstractItemView *view, int row, bool ticked);
// Ticks exactly these rows.
void tick(QAbstractItemView *view, std::initializer_list<int> rows);

} // namespace lexitka::testing
