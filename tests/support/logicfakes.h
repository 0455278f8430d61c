#pragma once

#include "platform/keyboard.h"
#include "platform/services.h"
#include "support/recordingmessenger.h"

#include <QByteArray>
#include <QDate>
#include <QTemporaryDir>

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

// A temporary program folder with fakes for every service.
struct TestFolder {
    QTemporaryDir dir;
    RecordingMessenger messenger;
    FakeKeyboardService keyboard;
    StdRandomSource random{12345, false};
    FixedClock clock;

    QString folder() const { return dir.path(); }
    QString path(const QString &name) const { return dir.filePath(name); }
};

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);
// Czech text in windows-1250, as the files hold it.
QByteArray cz(const QString &text);

} // namespace lexitka::testing
