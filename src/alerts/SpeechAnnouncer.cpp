#include "alerts/SpeechAnnouncer.h"

namespace {

// An engine that took a text and never tells it has finished would hold up
// every later alert: speech-dispatcher on a machine without a sound device
// logs "Opening audio failed" and sends no end of the message. After this
// long the next one goes anyway. An alert such as "3Y0K, Bouvet, 14 025, CW"
// takes about three seconds.
constexpr int longestUtteranceMs = 15000;

} // namespace

SpeechAnnouncer::SpeechAnnouncer(const QString& engine, QObject* parent)
    : QObject(parent), m_speech(engine)
{
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(longestUtteranceMs);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        m_speech.stop();
        finished();
    });
    connect(&m_speech, &QTextToSpeech::stateChanged, this, &SpeechAnnouncer::stateChanged);

    m_usable = m_speech.state() != QTextToSpeech::Error;
    if (!m_usable) {
        // Qt's speech-dispatcher engine gives up when it has no voice for
        // the system's locale; with LANG=C.UTF-8, the default of many
        // systems, that is "C", which no voice has. Its voices still work
        // once a locale they speak is chosen.
        const QList<QLocale> offered = m_speech.availableLocales();
        if (!offered.isEmpty()) {
            QLocale chosen = offered.first();
            for (const QLocale& locale : offered) {
                if (locale == QLocale::system()) {
                    chosen = locale;
                    break;
                }
                if (locale.language() == QLocale::English && chosen.language() != QLocale::English)
                    chosen = locale;
            }
            m_speech.setLocale(chosen);
            m_usable = !m_speech.voice().name().isEmpty();
        }
    }
}

bool SpeechAnnouncer::available() const
{
    return m_usable;
}

void SpeechAnnouncer::say(const QString& text)
{
    if (m_muted || text.trimmed().isEmpty() || !available())
        return;
    if (m_speaking.isEmpty())
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
        m_speech.stop();
    }
}

void SpeechAnnouncer::start(const QString& text)
{
    m_speaking = text;
    m_engineBegan = false;
    m_watchdog.start();
    m_speech.say(text);
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
