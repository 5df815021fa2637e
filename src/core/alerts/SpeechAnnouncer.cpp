#include "alerts/SpeechAnnouncer.h"

namespace {

// An engine that took a text and never tells it has finished would hold up
// every later alert: speech-dispatcher on a machine without a sound device
// logs "Opening audio failed" and sends no end of the message. After this
// long the next one goes anyway. An alert such as "3Y0K, Bouvet, 14 025, CW"
// takes about three seconds.
constexpr int longestUtteranceMs = 15000;

} // namespace

// The engine on its own thread: it is made there, speaks and stops there,
// and tells its state back by queued signals.
class SpeechAnnouncer::Engine : public QObject
{
    Q_OBJECT
public:
    explicit Engine(QString name) : m_name(std::move(name)) {}

    void open()
    {
        m_speech = new QTextToSpeech(m_name, this);
        connect(m_speech, &QTextToSpeech::stateChanged, this, &Engine::stateChanged);
        bool usable = m_speech->state() != QTextToSpeech::Error;
        if (!usable) {
            // Qt's speech-dispatcher engine gives up when it has no voice
            // for the system's locale; with LANG=C.UTF-8, the default of
            // many systems, that is "C", which no voice has. Its voices
            // still work once a locale they speak is chosen.
            const QList<QLocale> offered = m_speech->availableLocales();
            if (!offered.isEmpty()) {
                QLocale chosen = offered.first();
                for (const QLocale& locale : offered) {
                    if (locale == QLocale::system()) {
                        chosen = locale;
                        break;
                    }
                    if (locale.language() == QLocale::English &&
                        chosen.language() != QLocale::English)
                        chosen = locale;
                }
                m_speech->setLocale(chosen);
                usable = !m_speech->voice().name().isEmpty();
            }
        }
        emit opened(usable);
    }
    void say(const QString& text)
    {
        if (m_speech)
            m_speech->say(text);
    }
    void stop()
    {
        if (m_speech)
            m_speech->stop();
    }

signals:
    void opened(bool usable);
    void stateChanged(QTextToSpeech::State state);

private:
    QString m_name;
    QTextToSpeech* m_speech = nullptr;
};

SpeechAnnouncer::SpeechAnnouncer(const QString& engine, QObject* parent)
    : QObject(parent), m_thread(new QThread), m_engine(new Engine(engine))
{
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(longestUtteranceMs);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        QMetaObject::invokeMethod(m_engine, &Engine::stop, Qt::QueuedConnection);
        finished();
    });
    m_thread->setObjectName(QStringLiteral("speech"));
    m_engine->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_engine, &QObject::deleteLater);
    connect(m_engine, &Engine::stateChanged, this, &SpeechAnnouncer::stateChanged);
    connect(m_engine, &Engine::opened, this, &SpeechAnnouncer::onEngineReady);
    m_thread->start();
    QMetaObject::invokeMethod(m_engine, &Engine::open, Qt::QueuedConnection);
}

SpeechAnnouncer::~SpeechAnnouncer()
{
    disconnect(m_engine, nullptr, this, nullptr);
    m_thread->quit();
    // A dispatcher that never answers holds the engine's thread; the
    // program's end does not wait for it (the thread is left to the end
    // of the process rather than destroyed while it runs).
    if (m_thread->wait(2000)) {
        delete m_thread;
        return;
    }
    // Kept, and reachable, to the end of the process.
    static auto* const stuck = new QList<QThread*>; // never destroyed
    stuck->append(m_thread);
}

void SpeechAnnouncer::onEngineReady(bool usable)
{
    m_ready = true;
    m_usable = usable;
    emit engineReady(usable);
    // What was said before the engine was ready.
    if (usable && !m_muted && m_speaking.isEmpty() && !m_waiting.isEmpty())
        start(std::exchange(m_waiting, QString()));
    else if (!usable)
        m_waiting.clear();
}

bool SpeechAnnouncer::available() const
{
    return m_usable;
}

void SpeechAnnouncer::say(const QString& text)
{
    if (m_muted || text.trimmed().isEmpty() || (m_ready && !m_usable))
        return;
    // Until the engine is ready the text waits, as behind an utterance.
    if (m_speaking.isEmpty() && m_ready)
        start(text);
    else
        m_waiting = text;
}

void SpeechAnnouncer::setMuted(bool muted)
{
    m_muted = muted;
    if (!muted)
        return;
    m_waiting.clear();
    if (!m_speaking.isEmpty()) {
        m_speaking.clear();
        m_watchdog.stop();
        QMetaObject::invokeMethod(m_engine, &Engine::stop, Qt::QueuedConnection);
    }
}

void SpeechAnnouncer::start(const QString& text)
{
    m_speaking = text;
    m_engineBegan = false;
    m_watchdog.start();
    QMetaObject::invokeMethod(m_engine, [engine = m_engine, text] { engine->say(text); },
                              Qt::QueuedConnection);
    emit started(text);
}

void SpeechAnnouncer::stateChanged(QTextToSpeech::State state)
{
    if (m_speaking.isEmpty())
        return;
    if (state == QTextToSpeech::Speaking) {
        m_engineBegan = true;
    } else if (state == QTextToSpeech::Error
               || (state == QTextToSpeech::Ready && m_engineBegan)) {
        // An utterance the engine failed on ends here; the next one is
        // tried again, since the failure may be passing (a sound server
        // restarting).
        // A Ready before the engine began speaking ours is the end of an
        // utterance stopped earlier (by the mute), not of this one.
        finished();
    }
}

void SpeechAnnouncer::finished()
{
    m_watchdog.stop();
    m_speaking.clear();
    if (!m_waiting.isEmpty() && !m_muted && available())
        start(std::exchange(m_waiting, QString()));
}

#include "SpeechAnnouncer.moc"
