#include "qtspeaker.h"

#include <QDeadlineTimer>
#include <QLocale>
#include <QTextToSpeech>
#include <QThread>

#include <memory>

namespace lexitka {

// Lives in an engine's thread: starts the engine there and reads there.
class SpeechEngineWorker final : public QObject {
    Q_OBJECT
public:
    explicit SpeechEngineWorker(QString engine) : m_name(std::move(engine)) { }

    void start()
    {
        m_tts = std::make_unique<QTextToSpeech>(m_name);
        QStringList languages;
        if (m_tts->state() != QTextToSpeech::Error) {
            for (const QLocale &locale : m_tts->availableLocales()) {
                const QString language = locale.name().section(u'_', 0, 0);
                if (!languages.contains(language))
                    languages.append(language);
            }
        }
        emit started(languages);
    }

    void say(const QString &text, const QString &language)
    {
        if (!m_tts)
            return;
        m_tts->stop();
        const QLocale wanted(language);
        if (m_tts->locale().language() != wanted.language()) {
            // The language's own country first ("fr" is France's French).
            QLocale best;
            bool found = false;
            for (const QLocale &locale : m_tts->availableLocales()) {
                if (locale.language() != wanted.language())
                    continue;
                if (!found || locale.territory() == wanted.territory())
                    best = locale;
                found = true;
            }
            if (found)
                m_tts->setLocale(best);
        }
        m_tts->say(text);
    }

    void finish() { m_tts.reset(); }

signals:
    void started(const QStringList &languages);

private:
    QString m_name;
    std::unique_ptr<QTextToSpeech> m_tts;
};

QStringList QtSpeaker::installedEngines() { return QTextToSpeech::availableEngines(); }

void QtSpeaker::startEngines()
{
    m_starting = true;
    const QStringList installed = installedEngines();
    for (const QString &name : std::as_const(m_names)) {
        if (!installed.contains(name))
            continue;
        const int index = int(m_engines.size());
        Engine e;
        e.thread = new QThread;
        e.thread->setObjectName(QStringLiteral("speech-") + name);
        e.worker = new SpeechEngineWorker(name);
        e.worker->moveToThread(e.thread);
        connect(e.thread, &QThread::started, e.worker, &SpeechEngineWorker::start);
        // Emitted in the engine's thread as it ends: the engine goes there.
        connect(e.thread, &QThread::finished, e.worker, &SpeechEngineWorker::finish, Qt::DirectConnection);
        connect(e.worker, &SpeechEngineWorker::started, this,
                [this, index](const QStringList &languages) { engineStarted(index, languages); });
        e.thread->start();
        m_engines.push_back(e);
    }
}

QtSpeaker::~QtSpeaker()
{
    // One deadline for every engine, so that closing ends the program at
    // once whatever a speech daemon does.
    for (Engine &e : m_engines)
        e.thread->quit();
    const QDeadlineTimer deadline(kEndWithinMs);
    for (Engine &e : m_engines) {
        // An engine still inside the daemon's library (a socket that never
        // answers) is neither waited for nor cancelled, which could leave a
        // lock held that the exit needs: its thread, engine and objects stay
        // until the process ends (a running QThread may not be deleted).
        if (!e.thread->wait(deadline)) {
            static auto *const left = new std::vector<Engine>;
            left->push_back(e);
            continue;
        }
        delete e.worker;
        delete e.thread;
    }
}

void QtSpeaker::engineStarted(int index, const QStringList &languages)
{
    m_engines[size_t(index)].started = true;
    for (const QString &language : languages) {
        const auto it = m_voices.constFind(language);
        // An engine earlier in the order wins, whenever it answers.
        if (it == m_voices.cend() || *it > index)
            m_voices.insert(language, index);
    }
    if (changed)
        changed();
}

VoiceState QtSpeaker::voiceFor(const QString &language) const
{
    if (!m_starting)
        const_cast<QtSpeaker *>(this)->startEngines();
    // An engine earlier in the order may claim the language later; the one
    // that has it meanwhile reads it.
    if (m_voices.contains(language))
        return VoiceState::Ready;
    for (const Engine &e : m_engines) {
        if (!e.started)
            return VoiceState::Starting;
    }
    return m_voices.isEmpty() ? VoiceState::NoEngine : VoiceState::NoVoice;
}

void QtSpeaker::say(const QString &text, const QString &language)
{
    const auto it = m_voices.constFind(language);
    if (it == m_voices.cend())
        return;
    SpeechEngineWorker *worker = m_engines[size_t(*it)].worker;
    QMetaObject::invokeMethod(
        worker, [worker, text, language] { worker->say(text, language); }, Qt::QueuedConnection);
}

} // namespace lexitka

#include "qtspeaker.moc"
