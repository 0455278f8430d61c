#pragma once

#include "data/dictionary.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace lexitka {

// Whether a voice can read a language now.
enum class VoiceState {
    Ready,
    Starting, // the speech engines are still being asked for their voices
    NoVoice,  // an engine runs, but has no voice for the language
    NoEngine, // no speech engine is installed, or none runs
};

// Reads text aloud. Neither call waits for the speech engine: a voice that
// is still starting is only reported as such.
class Speaker {
public:
    virtual ~Speaker() = default;
    // language: "en", "de", "fr", "es", "ru", "la".
    virtual VoiceState voiceFor(const QString &language) const = 0;
    // Starts reading and returns at once; what was being read stops.
    virtual void say(const QString &text, const QString &language) = 0;
    // Called on the user-interface thread whenever voiceFor may answer otherwise.
    std::function<void()> changed;
};

// The language a voice must speak for a dictionary language; empty for none.
QString speechLanguage(int languageCode);

// The foreign word of an entry as it is read: with its article where the
// language has one, without remarks in parentheses.
QString spokenWord(const WordRecord &word, int languageCode);

// What a test window reads: the foreign word on screen when the question
// shows it; while the question is Czech, the word answered last (the answer
// on screen is not given away); nothing before the first answer.
QString spokenInTest(int askedKind, const WordRecord &current, const std::optional<WordRecord> &answeredLast,
                     int languageCode);

// The mistake dialog's right answer, read only when it is foreign: a
// mistake of kind 0 expected the Czech translation.
QString spokenAnswer(const QByteArray &expected, int kind, int languageCode);

// How a control that reads text shows: enabled, or why not.
struct SpeechControl {
    bool enabled = false;
    QString toolTip;
};
// nothingToRead: the tooltip while text is empty.
SpeechControl speechControl(const Speaker &speaker, int languageCode, const QString &text,
                            const QString &nothingToRead);

// Reads text in the dictionary's language when a voice is ready for it;
// true when it was handed over.
bool speak(Speaker &speaker, int languageCode, const QString &text);

// No engine at all: where the program is given no speaker.
class SilentSpeaker final : public Speaker {
public:
    VoiceState voiceFor(const QString &) const override { return VoiceState::NoEngine; }
    void say(const QString &, const QString &) override { }
};

} // namespace lexitka
