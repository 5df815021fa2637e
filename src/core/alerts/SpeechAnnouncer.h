#pragma once

#include <QObject>
#include <QString>
#include <QTextToSpeech>
#include <QThread>
#include <QTimer>

#include <utility>

// Speaks alerts aloud through the system's speech engine (on Debian
// speech-dispatcher, which drives espeak-ng). Alerts come in bursts when a
// DXpedition is spotted by many stations, so at most one utterance plays
// and one waits: a newer alert takes the waiting one's place, and what is
// said is never more than one alert behind.
//
// A machine without a speech engine, without speech-dispatcher or without
// an audio device says nothing and shows no message; available() tells.
//
// The engine lives on a thread of its own: speech-dispatcher is reached
// through calls that wait for its answer, and one that cannot open the
// sound device may never answer. The window must not wait with it.
class SpeechAnnouncer : public QObject
{
    Q_OBJECT

public:
    // engine: a Qt text-to-speech engine by name ("speechd", ...), empty for
    // the system's default.
    explicit SpeechAnnouncer(const QString& engine = {}, QObject* parent = nullptr);
    ~SpeechAnnouncer() override;

    void say(const QString& text);

    // Muted, it stops what is being said and forgets the waiting one.
    void setMuted(bool muted);
    bool muted() const { return m_muted; }

    // How long one utterance may take before the next one goes anyway
    // (15 s unless set): a dispatcher that cannot open the sound device
    // takes the text and never says it has finished.
    void setLongestUtterance(int milliseconds) { m_watchdog.setInterval(milliseconds); }

    // Whether an engine was found and can speak; false until the engine's
    // thread has said so (see ready).
    bool available() const;
    bool ready() const { return m_ready; }

    // The utterance being spoken and the one waiting, empty when none.
    QString speaking() const { return m_speaking; }
    QString waiting() const { return m_waiting; }

signals:
    // An utterance went to the engine.
    void started(const QString& text);
    // The engine's thread found out whether it can speak.
    void engineReady(bool usable);

private:
    void stateChanged(QTextToSpeech::State state);
    void onEngineReady(bool usable);
    void finished();
    void start(const QString& text);

    class Engine;
    QThread* m_thread = nullptr;
    Engine* m_engine = nullptr; // lives on m_thread
    QTimer m_watchdog;
    bool m_ready = false;
    QString m_speaking;
    QString m_waiting;
    bool m_usable = false;
    bool m_engineBegan = false;
    bool m_muted = false;
};
