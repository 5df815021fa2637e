#pragma once

#include "alerts/AlertRule.h"
#include "alerts/NoticeThrottle.h"
#include "alerts/SoundCache.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class AlertBook;
struct AlertSpot;
class CountryTable;
class LogIndex;
class DesktopNotifier;
class QAbstractItemModel;
class QStringListModel;
class QTimer;
class SpeechAnnouncer;
struct SpotEvent;

// The alert rules at work: it reads alerts.ini and the SpeakHits switch at
// start, checks every shown spot line against the rules, lists what fired
// for the DX window, and gives each fired rule its sound, notice and speech.
// The main window feeds it the shown lines and the live check's hits, and
// plays the sounds it asks for (the alarm player is the window's).
class AlertCenter : public QObject
{
    Q_OBJECT
public:
    // The alerts' lines the DX window lists, at most this many.
    static constexpr int kLogMax = 1000;

    struct Setup
    {
        QString alertsPath;   // alerts.ini
        QString settingsPath; // settings.ini, which holds [Alerts] SpeakHits
        QString soundDir;     // the rules' own WAV files, beside dx.wav
        QString notificationBusAddress; // empty: the session bus
        QString speechEngine;           // empty: the system's default
        std::shared_ptr<const CountryTable> countries; // never null
        std::function<QDateTime()> nowUtc;
        // The minute over which each rule gives a few desktop notices.
        qint64 noticeWindowMs = NoticeThrottle::kWindowMs;
    };

    explicit AlertCenter(Setup setup, QObject* parent = nullptr);
    ~AlertCenter() override;

    // A line the window has shown; soundOn is the window's Dx sound switch.
    // Each rule that fires for it adds a line to the log, such as
    //   "23:30 Bouvet: DX de W3LPL: 21021.0 3Y0K CW 579"
    // and gets its notice (a few a minute per rule, the rest folded into
    // one); the line gets one sound and is spoken once, whatever number of
    // rules fired.
    void spotShown(const QString& line, bool soundOn);
    // A live-check hit, spoken when SpeakHits is on and the sound is on.
    void hitShown(const QString& line, bool soundOn);
    // The same for a spot the pipeline read and placed: nothing is read or
    // looked up again.
    void spotTaken(const SpotEvent& event, bool soundOn);
    void hitTaken(const SpotEvent& event, bool soundOn);
    // The index of the user's log: rules with Needed= match by it, and a
    // needed spot is spoken with its status first. None: no log.
    void setLogIndex(std::shared_ptr<const LogIndex> index) { m_logIndex = std::move(index); }
    // The Dx sound switch: muted, the alerts say nothing either.
    void setMuted(bool muted);

    const QList<AlertRule>& rules() const;
    // The problems of alerts.ini, handed out once (the editor shows them).
    QStringList takeProblems();
    bool speakHits() const { return m_speakHits; }
    // What fired, one line a row, newest last: the DX window lists it.
    QAbstractItemModel* log() const;
    const QString& alertsPath() const { return m_setup.alertsPath; }
    const std::shared_ptr<const CountryTable>& countries() const { return m_setup.countries; }

    // The editor saved new rules.
    void setRules(const QList<AlertRule>& rules);
    // The editor switched SpeakHits; it is stored in settings.ini at once.
    // False, with the reason in error, when the file refused it.
    bool setSpeakHits(bool speak, QString* error);

signals:
    // A fired rule wants the alarm, dx.wav.
    void alarmWanted();
    // A fired rule wants its own sound (empty when its file is missing).
    void soundWanted(const QByteArray& wav);

private:
    void check(const AlertSpot& spot, const QString& line, bool soundOn);
    void speak(const AlertSpot& spot, bool soundOn);
    void addToLog(const QStringList& entries);
    void notice(const NoticeThrottle::Notice& notice);
    void sendDueNotices();
    void scheduleNotices();
    DesktopNotifier* notifier();
    SpeechAnnouncer* speech(bool soundOn);

    Setup m_setup;
    std::shared_ptr<const LogIndex> m_logIndex;
    std::unique_ptr<AlertBook> m_book;
    QStringList m_problems;
    bool m_speakHits = false;
    QStringListModel* m_log = nullptr; // newest last
    DesktopNotifier* m_notifier = nullptr;
    SpeechAnnouncer* m_speech = nullptr;
    SoundCache m_sounds;
    NoticeThrottle m_notices;
    QElapsedTimer m_clock; // the throttle's time: steady, whatever the UTC clock does
    QTimer* m_noticeTimer = nullptr;
};
