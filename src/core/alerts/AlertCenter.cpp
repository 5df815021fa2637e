#include "alerts/AlertCenter.h"

#include "alerts/AlertBook.h"
#include "alerts/AlertSpot.h"
#include "alerts/AlertsFile.h"
#include "alerts/DesktopNotifier.h"
#include "alerts/SpeechAnnouncer.h"
#include "alerts/SpokenText.h"
#include "dxcc/CountryTable.h"
#include "log/LogIndex.h"
#include "settings/IniFile.h"
#include "pipeline/SpotEvent.h"

#include <QDBusConnection>
#include <QStringListModel>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

AlertCenter::AlertCenter(Setup setup, QObject* parent)
    : QObject(parent), m_setup(std::move(setup)), m_log(new QStringListModel(this)),
      m_sounds(m_setup.soundDir), m_notices(m_setup.noticeWindowMs),
      m_noticeTimer(new QTimer(this))
{
    m_clock.start();
    m_noticeTimer->setSingleShot(true);
    connect(m_noticeTimer, &QTimer::timeout, this, &AlertCenter::sendDueNotices);
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
    if (const std::optional<AlertSpot> spot = AlertSpot::fromLine(line, *m_setup.countries))
        check(*spot, line, soundOn);
}

void AlertCenter::spotTaken(const SpotEvent& event, bool soundOn)
{
    if (m_book->rules().isEmpty())
        return;
    AlertSpot spot = AlertSpot::fromSpot(event);
    if (m_logIndex && event.country)
        spot.status = m_logIndex->status(event.spot, *event.country);
    check(spot, event.line, soundOn);
}

void AlertCenter::hitTaken(const SpotEvent& event, bool soundOn)
{
    if (m_speakHits && soundOn) {
        AlertSpot spot = AlertSpot::fromSpot(event);
        if (m_logIndex && event.country)
            spot.status = m_logIndex->status(event.spot, *event.country);
        speak(spot, soundOn);
    }
}

void AlertCenter::check(const AlertSpot& spot, const QString& line, bool soundOn)
{
    const QDateTime now = m_setup.nowUtc();
    const QList<AlertRule> fired = m_book->check(spot, now);
    if (fired.isEmpty())
        return;
    const QString shown = line.simplified();
    const QString time = now.toUTC().toString(QStringLiteral("hh:mm"));
    QStringList entries;
    bool soundPlayed = false;
    bool spoken = false;
    for (const AlertRule& rule : fired) {
        entries.append(QStringLiteral("%1 %2: %3").arg(time, rule.name, shown));
        if (soundOn && !soundPlayed && rule.sound != AlertRule::Sound::None) {
            soundPlayed = true;
            if (rule.sound == AlertRule::Sound::Alarm)
                emit alarmWanted();
            else
                emit soundWanted(m_sounds.sound(rule.soundFile));
        }
        if (rule.notify)
            notice({rule.name, rule.name, shown, rule.name + u'|' + spot.callsign});
        // One voice says the spot once, however many rules asked for it.
        if (rule.speak && soundOn && !spoken) {
            spoken = true;
            speak(spot, soundOn);
        }
    }
    addToLog(entries);
}

// The entries of one line go in at once: a view of the log lays itself out
// once for them, not once for each of a thousand rules that fired.
void AlertCenter::addToLog(const QStringList& entries)
{
    const qsizetype fresh = std::min<qsizetype>(entries.size(), kLogMax);
    const int overflow = int(m_log->rowCount() + fresh - kLogMax);
    if (overflow > 0)
        m_log->removeRows(0, overflow);
    const int row = m_log->rowCount();
    m_log->insertRows(row, int(fresh));
    for (qsizetype i = 0; i < fresh; ++i)
        m_log->setData(m_log->index(row + int(i), 0), entries[entries.size() - fresh + i]);
}

void AlertCenter::notice(const NoticeThrottle::Notice& notice)
{
    const int held = m_notices.heldRules();
    if (const std::optional<NoticeThrottle::Notice> now = m_notices.offer(notice, m_clock.elapsed()))
        notifier()->notify(now->title, now->body, now->key);
    else if (m_notices.heldRules() != held)
        scheduleNotices(); // one more rule waits; an alert folded into a waiting one changes no time
}

// The folded notices, each with its count, when the minute lets them go.
void AlertCenter::sendDueNotices()
{
    for (const NoticeThrottle::Notice& due : m_notices.due(m_clock.elapsed()))
        notifier()->notify(due.title, due.body, due.key);
    scheduleNotices();
}

void AlertCenter::scheduleNotices()
{
    const std::optional<qint64> next = m_notices.nextDueMs();
    if (!next) {
        m_noticeTimer->stop();
        return;
    }
    m_noticeTimer->start(int(std::clamp<qint64>(*next - m_clock.elapsed(), 0, m_setup.noticeWindowMs)));
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
    speech(soundOn)->say(SpokenText::of(spot.status, spot.callsign, spot.entity,
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
