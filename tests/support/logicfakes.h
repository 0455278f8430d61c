#pragma once

#include "platform/keyboard.h"
#include "platform/services.h"
#include "platform/speech.h"
#include "support/recordingmessenger.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
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

// Voices the test sets per language ("en"…); none at first. Records what it reads.
class FakeSpeaker final : public Speaker {
public:
    QHash<QString, VoiceState> voices;
    VoiceState otherwise = VoiceState::NoEngine;
    QList<std::pair<QString, QString>> said; // text, language
    VoiceState voiceFor(const QString &language) const override { return voices.value(language, otherwise); }
    void say(const QString &text, const QString &language) override { said.append({text, language}); }
    // Every voice ready, and the windows told so.
    void allReady()
    {
        otherwise = VoiceState::Ready;
        if (changed)
            changed();
    }
};

// A temporary program folder with fakes for every service.
struct TestFolder {
    QTemporaryDir dir;
    RecordingMessenger messenger;
    FakeKeyboardService keyboard;
    StdRandomSource random{12345, false};
    FixedClock clock;
    FakeSpeaker speaker;

    QString folder() const { return dir.path(); }
    QString path(const QString &name) const { return dir.filePath(name); }
};

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);
// Czech text in windows-1250, as the files hold it.
QByteArray cz(const QString &text);

} // namespace lexitka::testing
