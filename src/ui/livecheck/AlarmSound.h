#pragma once

#include <QByteArray>
#include <QObject>

class QAudioOutput;
class QBuffer;
class QMediaPlayer;

// Plays the alarm from memory: the WAVE image is handed to the media player
// through a buffer, so nothing is read from disk at alarm time. play()
// returns at once; a new alarm cuts off the one still sounding. Without an
// audio device the player fails quietly and the program goes on.
class AlarmSound : public QObject
{
    Q_OBJECT
public:
    explicit AlarmSound(QObject* parent = nullptr);
    ~AlarmSound() override;

    // Does nothing for an empty image.
    void play(const QByteArray& wave);

    // How many alarms were asked for, and the bytes of the last.
    int playRequests() const { return m_requests; }
    QByteArray requestedBytes() const { return m_requested; }
    // What the player holds (empty without an audio device).
    QByteArray playerBytes() const;

    QMediaPlayer* player() const { return m_player; }

private:
    QMediaPlayer* m_player = nullptr; // made at the first alarm
    QAudioOutput* m_output = nullptr;
    QBuffer* m_buffer = nullptr;
    int m_requests = 0;
    QByteArray m_requested;
};
