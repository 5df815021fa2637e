#include "livecheck/AlarmSound.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMediaPlayer>

AlarmSound::AlarmSound(QObject* parent) : QObject(parent) {}

AlarmSound::~AlarmSound()
{
    if (m_player)
        m_player->stop();
}

void AlarmSound::play(const QByteArray& wave)
{
    if (wave.isEmpty())
        return;
    ++m_requests;
    m_requested = wave;
    // Without an output the player blocks for about a second at each start
    // while it looks for one; the alarm is skipped instead.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return;
    if (!m_player) {
        m_player = new QMediaPlayer(this);
        m_output = new QAudioOutput(this);
        m_player->setAudioOutput(m_output);
    }
    m_player->stop();
    m_player->setSourceDevice(nullptr);
    delete m_buffer;
    m_buffer = new QBuffer(this);
    m_buffer->setData(wave);
    m_buffer->open(QIODevice::ReadOnly);
    // The name only tells the player what kind of data the device holds.
    m_player->setSourceDevice(m_buffer, QUrl(QStringLiteral("dx.wav")));
    m_player->play();
}

QByteArray AlarmSound::playerBytes() const
{
    if (!m_player)
        return {};
    const auto* buffer = qobject_cast<const QBuffer*>(m_player->sourceDevice());
    return buffer ? buffer->data() : QByteArray();
}
