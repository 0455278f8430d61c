#pragma once

#include "platform/speech.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <vector>

class QThread;

namespace lexitka {

class SpeechEngineWorker;

// Speaker over Qt TextToSpeech. Each engine lives in a thread of its own:
// an engine may take seconds to start (speech-dispatcher is spawned on
// first use) or never answer at all (a daemon without a sound device), and
// neither may hold up the windows. A language is read by the first engine,
// in the given order, that has a voice for it.
class QtSpeaker final : public QObject, public Speaker {
    Q_OBJECT
public:
    // Flite first: it starts at once but speaks English only; speech-dispatcher
    // with espeak-ng has every language.
    static QStringList defaultEngines() { return {QStringLiteral("flite"), QStringLiteral("speechd")}; }

    // The engines start when a voice is first asked for, so a program that
    // reads nothing never starts a speech daemon.
    explicit QtSpeaker(const QStringList &engines = defaultEngines()) : m_names(engines) { }
    static QStringList installedEngines();
    // Waits for the engines' threads at most kEndWithinMs in all.
    ~QtSpeaker() override;
    static constexpr int kEndWithinMs = 500;

    // The first call starts the engines (not const in effect, hence the cast).
    VoiceState voiceFor(const QString &language) const override;
    void say(const QString &text, const QString &language) override;

private:
    void startEngines();
    void engineStarted(int index, const QStringList &languages);

    struct Engine {
        QThread *thread = nullptr;
        SpeechEngineWorker *worker = nullptr;
        bool started = false;
    };
    QStringList m_names;
    bool m_starting = false;
    std::vector<Engine> m_engines;
    QHash<QString, int> m_voices; // language → engine
};

} // namespace lexitka
