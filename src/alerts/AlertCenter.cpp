#include "alerts/AlertCenter.h"

#include "alerts/AlertBook.h"
#include "alerts/AlertSpot.h"
#include "alerts/AlertsFile.h"
#include "alerts/DesktopNotifier.h"
#include "alerts/SpeechAnnouncer.h"
#include "alerts/SpokenText.h"
#include "dxcc/CountryTable.h"
#include "settings/BoundedFile.h"
#include "settings/IniFile.h"

#include <QDBusConnection>
#include <QDir>
#include <QStringListModel>

#include <cmath>
#include <utility>

AlertCenter::AlertCenter(Setup setup, QObject* parent)
    : QObject(parent), m_setup(std::move(setup)), m_log(new QStringListModel(this))
{
    const AlertsFile::Contents contents = AlertsFile::read(m_setup.alertsPath);
    m_book = std::make_unique<AlertBook>(contents.rules);
    m_problems = contents.problems;
    m_speakHits = IniFile(m_setup.settingsPath)
                      .readInteger(QStringLiteral("Alerts"), QStringLiteral("SpeakHits"), 0) != 0;
}

AlertCenter::~AlertCenter() = default;

const QList<AlertRule>& AlertCenter::rules() const
{
    return m_book->rules();
}

QAbstractItemModel* AlertCenter::log() const
{
    return m_log;
}

QStringList AlertCenter::takeProblems()
{
    return std::exchange(m_problems, {});
}

void AlertCenter::setRules(const QList<AlertRule>& rules)
{
    m_book->setRules(rules);
}

bool AlertCenter::setSpeakHits(bool speak, QString* error)
{
    m_speakHits = speak;
    return IniFile(m_setup.settingsPath)
        .writeInteger(QStringLiteral("Alerts"), QStringLiteral("SpeakHits"), speak ? 1 : 0, error);
}

//   "DX de W3LPL:     21021.0  3Y0K         CW 579"
// against the rules; only a line that begins with "DX" can fire one.
void AlertCenter::spotShown(const QString& line, bool soundOn)
{
    if (m_book->rules().isEmpty() || !line.startsWith(QLatin1String("DX")))
        return;
    const std::optional<AlertSpot> spot = AlertSpot::fromLine(line, *m_setup.countries);
    if (!spot)
        return;
    const QDateTime now = m_setup.nowUtc();
    const QList<AlertRule> fired = m_book->check(*spot, now);
    bool soundPlayed = false;
    for (const AlertRule& rule : fired) {
        const QString entry = QStringLiteral("%1 %2: %3")
                                  .arg(now.toUTC().toString(QStringLiteral("hh:mm")), rule.name,
                                       line.simplified());
        const int row = m_log->rowCount();
        m_log->insertRows(row, 1);
        m_log->setData(m_log->index(row, 0), entry);
        if (m_log->rowCount() > kLogMax)
            m_log->removeRows(0, m_log->rowCount() - kLogMax);
        if (soundOn && !soundPlayed && rule.sound != AlertRule::Sound::None) {
            soundPlayed = true;
            if (rule.sound == AlertRule::Sound::Alarm)
                emit alarmWanted();
            else
                emit soundWanted(ruleSound(rule.soundFile));
        }
        if (rule.notify)
            notifier()->notify(rule.name, line.simplified(), rule.name + u'|' + spot->callsign);
        if (rule.speak && soundOn)
            speak(*spot, soundOn);
    }
}

void AlertCenter::hitShown(const QString& line, bool soundOn)
{
    if (!m_speakHits || !soundOn)
        return;
    if (const std::optional<AlertSpot> spot = AlertSpot::fromLine(line, *m_setup.countries))
        speak(*spot, soundOn);
}

void AlertCenter::setMuted(bool muted)
{
    if (m_speech)
        m_speech->setMuted(muted);
}

// The spot is read from its line once, by the caller.
void AlertCenter::speak(const AlertSpot& spot, bool soundOn)
{
    speech(soundOn)->say(SpokenText::of(spot.callsign, spot.entity,
                                        int(std::lround(spot.frequencyKhz * 10)), spot.mode));
}

// The notifier and the speech engine are made at their first use: most runs
// never need them, and the speech engine may start a service of its own.
DesktopNotifier* AlertCenter::notifier()
{
    if (!m_notifier) {
        m_notifier = m_setup.notificationBusAddress.isEmpty()
                         ? new DesktopNotifier(this)
                         : new DesktopNotifier(QDBusConnection::connectToBus(
                                                   m_setup.notificationBusAddress,
                                                   QStringLiteral("marvix-notices")),
                                               this);
    }
    return m_notifier;
}

SpeechAnnouncer* AlertCenter::speech(bool soundOn)
{
    if (!m_speech) {
        m_speech = new SpeechAnnouncer(m_setup.speechEngine, this);
        m_speech->setMuted(!soundOn);
    }
    return m_speech;
}

// A rule's own WAV file, beside dx.wav, read once (bounded like dx.wav). A
// name with a folder in it ("../x.wav", "C:\x.wav") is no sound.
QByteArray AlertCenter::ruleSound(const QString& fileName)
{
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(u'\\'))
        return {};
    auto it = m_sounds.find(fileName);
    if (it == m_sounds.end()) {
        const BoundedFile::Result file = BoundedFile::read(
            QDir(m_setup.soundDir).filePath(fileName), BoundedFile::kSoundMaxBytes);
        it = m_sounds.insert(fileName, file.status == BoundedFile::Status::Read ? file.bytes
                                                                                : QByteArray());
    }
    return *it;
}
