#include "alerts/AlertCenter.h"
#include "alerts/DesktopNotifier.h"
#include "alerts/SpeechAnnouncer.h"
#include "alerts/SpokenText.h"
#include "dxcc/CountryTable.h"

#include "LatencyProbe.h"
#include "PrivateBus.h"
#include "Sanitizers.h"
#include "TestFiles.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextToSpeech>

#include <memory>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A speech-dispatcher of the test's own on its own socket, with the given
// configuration (speechd.conf and module files), writable home and log.
class PrivateDispatcher
{
public:
    ~PrivateDispatcher()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(3000);
        }
    }

    bool running() const { return m_process.state() == QProcess::Running; }
    QString root() const { return m_root; }
    QString address() const { return QStringLiteral("unix_socket:") + m_root + "/speechd.sock"; }
    QString log() const
    {
        QFile file(m_root + QStringLiteral("/log/speech-dispatcher.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // files: path below the folder -> text; "%1" in a text is the folder.
    bool start(const QString& root, const QMap<QString, QString>& files)
    {
        const QString program =
            QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher"));
        if (program.isEmpty()
            || !QTextToSpeech::availableEngines().contains(QStringLiteral("speechd")))
            return false;
        m_root = root;
        for (const char* sub : {"conf/modules", "home", "log"})
            QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
        for (auto it = files.begin(); it != files.end(); ++it) {
            QFile file(root + QLatin1Char('/') + it.key());
            const QByteArray text = it.value().arg(root).toUtf8();
            if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
                return false;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QString socket = root + QStringLiteral("/speechd.sock");
        m_process.start(program, {"-s", "-t", "0", "-c", "unix_socket", "-S", socket, "-C",
                                  root + QStringLiteral("/conf")});
        return m_process.waitForStarted()
               && QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000);
    }

private:
    QProcess m_process;
    QString m_root;
};

} // namespace

class TestAnnounce : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void spokenText_data();
    void spokenText();
    void spokenStatus_data();
    void spokenStatus();

    void noticeReachesTheDesktop();
    void noticeBodyMarkup_data();
    void noticeBodyMarkup();
    void noticeWithoutService_data();
    void noticeWithoutService();
    void hungServiceHoldsFewCalls();
    void burstBeforeCapabilitiesIsKept();
    void floodOfAlertsIsFolded();

    void speechReachesTheEngine();
    void oneSpeaksOneWaits();
    void muteStopsAndForgets();
    void noEngineNoError_data();
    void noEngineNoError();
    void silentDispatcherHoldsNothingUp();

private:
    QDBusConnection connectTo(const QString& name);
    bool startSpeechDispatcher();

    QTemporaryDir m_dir;
    PrivateBus m_bus;
    PrivateDispatcher m_recorder;
    QString m_spokenFile;
};

// A bus of the test's own, so a desktop's notices are never touched and the
// test runs where there is no desktop at all.
void TestAnnounce::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (m_bus.address().isEmpty())
        QSKIP("dbus-daemon is not installed (package dbus)");
}

QDBusConnection TestAnnounce::connectTo(const QString& name)
{
    return m_bus.connect(name);
}

void TestAnnounce::spokenText_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("entity");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("spoken");

    QTest::newRow("20 m CW") << "3Y0K" << "Bouvet" << 140250 << "CW" << "3Y0K, Bouvet, 14 025, CW";
    QTest::newRow("tenths kept") << "T33T" << "Banaba Island" << 70055 << "FT8"
                                 << "T33T, Banaba Island, 7 005.5, FT8";
    QTest::newRow("VHF") << "DL1ABC" << "Germany" << 1443000 << "SSB"
                         << "DL1ABC, Germany, 144 300, SSB";
    QTest::newRow("top band") << "VP8PJ" << "Falkland Islands" << 18235 << "CW"
                              << "VP8PJ, Falkland Islands, 1 823.5, CW";
    QTest::newRow("under 1000 kHz") << "W1AW" << "United States" << 4750 << "CW"
                                    << "W1AW, United States, 475, CW";
    QTest::newRow("microwave") << "OK1KIR" << "Czech Republic" << 102680000 << ""
                               << "OK1KIR, Czech Republic, 10 268 000";
    QTest::newRow("no entity, no mode") << "ZZ9ZZ" << "" << 280745 << ""
                                        << "ZZ9ZZ, 28 074.5";
    QTest::newRow("no frequency") << "3Y0K" << "Bouvet" << 0 << "CW" << "3Y0K, Bouvet, CW";
}

void TestAnnounce::spokenText()
{
    QFETCH(QString, call);
    QFETCH(QString, entity);
    QFETCH(int, frequency);
    QFETCH(QString, mode);
    QFETCH(QString, spoken);
    QCOMPARE(SpokenText::of(call, entity, frequency, mode), spoken);
}

// A spot the user's log still needs is said with its status first.
void TestAnnounce::spokenStatus_data()
{
    QTest::addColumn<int>("kind"); // -1: no log
    QTest::addColumn<QString>("spoken");
    const QString spot = QStringLiteral("3Y0J, Bouvet, 14 025, CW");
    QTest::newRow("new one") << int(SpotStatus::Kind::NewOne) << "New one: " + spot;
    QTest::newRow("new slot") << int(SpotStatus::Kind::NewSlot) << "New slot: " + spot;
    QTest::newRow("worked") << int(SpotStatus::Kind::Worked) << spot;
    QTest::newRow("confirmed") << int(SpotStatus::Kind::Confirmed) << spot;
    QTest::newRow("no log") << -1 << spot;
}

void TestAnnounce::spokenStatus()
{
    QFETCH(int, kind);
    std::optional<SpotStatus> status;
    if (kind >= 0)
        status = SpotStatus{SpotStatus::Kind(kind), true};
    QTEST(SpokenText::of(status, QStringLiteral("3Y0J"), QStringLiteral("Bouvet"), 140250,
                         QStringLiteral("CW")),
          "spoken");
}

void TestAnnounce::noticeReachesTheDesktop()
{
    QDBusConnection serviceBus = connectTo(QStringLiteral("service"));
    NotificationService service;
    QVERIFY(service.registerOn(serviceBus));

    DesktopNotifier notifier(connectTo(QStringLiteral("client")));
    QSignalSpy shown(&notifier, &DesktopNotifier::shown);
    notifier.notify(QStringLiteral("Kiribati"),
                    QStringLiteral("DX de W3LPL: 14025.0 T30L CW 599 0712Z"),
                    QStringLiteral("Kiribati T30L"));
    QTRY_COMPARE(service.calls.size(), 1);
    const NotificationService::Call first = service.calls.at(0);
    QCOMPARE(first.appName, QStringLiteral("Marvix Terminal"));
    QCOMPARE(first.summary, QStringLiteral("Kiribati"));
    QCOMPARE(first.body, QStringLiteral("DX de W3LPL: 14025.0 T30L CW 599 0712Z"));
    QCOMPARE(first.replacesId, 0u);
    QCOMPARE(first.icon, QStringLiteral("marvix-terminal"));
    QCOMPARE(first.hints.value(QStringLiteral("desktop-entry")).toString(),
             QStringLiteral("marvix-terminal"));
    QTRY_COMPARE(shown.size(), 1);

    // The same rule and station again takes the first notice's place; another
    // station gets a notice of its own.
    notifier.notify(QStringLiteral("Kiribati"),
                    QStringLiteral("DX de K1TTT: 7005.0 T30L CW 0714Z"),
                    QStringLiteral("Kiribati T30L"));
    notifier.notify(QStringLiteral("Kiribati"),
                    QStringLiteral("DX de K1TTT: 7010.0 T31A CW 0714Z"),
                    QStringLiteral("Kiribati T31A"));
    QTRY_COMPARE(service.calls.size(), 3);
    QCOMPARE(service.calls.at(1).replacesId, shown.at(0).at(0).toUInt());
    QCOMPARE(service.calls.at(1).body, QStringLiteral("DX de K1TTT: 7005.0 T30L CW 0714Z"));
    QCOMPARE(service.calls.at(2).replacesId, 0u);
    QTRY_COMPARE(notifier.pending(), 0);

    serviceBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
}

// Spot comments are written by strangers; a service that reads markup must
// get them escaped, one that does not must get them as they are.
void TestAnnounce::noticeBodyMarkup_data()
{
    QTest::addColumn<QStringList>("capabilities");
    QTest::addColumn<QString>("body");

    const QString comment = QStringLiteral("DX de N0CALL: 14025.0 3Y0K <b>big</b> & <a href=x>");
    QTest::newRow("markup") << QStringList{"body", "body-markup"}
                            << "DX de N0CALL: 14025.0 3Y0K &lt;b&gt;big&lt;/b&gt; &amp; "
                               "&lt;a href=x&gt;";
    QTest::newRow("plain text") << QStringList{"body"} << comment;
}

void TestAnnounce::noticeBodyMarkup()
{
    QFETCH(QStringList, capabilities);
    QFETCH(QString, body);

    QDBusConnection serviceBus = connectTo(QStringLiteral("service"));
    NotificationService service;
    service.capabilities = capabilities;
    QVERIFY(service.registerOn(serviceBus));

    DesktopNotifier notifier(connectTo(QStringLiteral("client")));
    notifier.notify(QStringLiteral("3Y0K"),
                    QStringLiteral("DX de N0CALL: 14025.0 3Y0K <b>big</b> & <a href=x>"));
    QTRY_COMPARE(service.calls.size(), 1);
    QCOMPARE(service.calls.at(0).body, body);
    serviceBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
}

// Without the service (a bare window manager) or without any session bus
// (a console login), a notice is nothing: no message, no wait, no call left
// behind; a service that appears later is used.
void TestAnnounce::noticeWithoutService_data()
{
    QTest::addColumn<bool>("bus");
    QTest::newRow("bus without the service") << true;
    QTest::newRow("no bus at all") << false;
}

void TestAnnounce::noticeWithoutService()
{
    QFETCH(bool, bus);
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));

    DesktopNotifier notifier(bus ? connectTo(QStringLiteral("client"))
                                 : QDBusConnection(QStringLiteral("never connected")));
    QSignalSpy shown(&notifier, &DesktopNotifier::shown);
    notifier.notify(QStringLiteral("Kiribati"), QStringLiteral("DX de W3LPL: 14025.0 T30L CW"));
    QTRY_COMPARE(notifier.pending(), 0);
    QTest::qWait(200);
    QCOMPARE(shown.size(), 0);
    if (!bus)
        return;

    QDBusConnection serviceBus = connectTo(QStringLiteral("service"));
    NotificationService service;
    QVERIFY(service.registerOn(serviceBus));
    notifier.notify(QStringLiteral("Kiribati"), QStringLiteral("DX de K1TTT: 7005.0 T30L CW"));
    QTRY_COMPARE(service.calls.size(), 1);
    QCOMPARE(service.calls.at(0).body, QStringLiteral("DX de K1TTT: 7005.0 T30L CW"));
    serviceBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
}

// A service that takes calls and never answers must not make the notifier
// keep every alert of a busy evening.
void TestAnnounce::hungServiceHoldsFewCalls()
{
    QDBusConnection serviceBus = connectTo(QStringLiteral("service"));
    NotificationService service;
    service.answers = false;
    QVERIFY(service.registerOn(serviceBus));

    DesktopNotifier notifier(connectTo(QStringLiteral("client")));
    notifier.notify(QStringLiteral("first"), QStringLiteral("first"));
    QTRY_COMPARE(service.calls.size(), 1);
    for (int i = 0; i < 500; ++i)
        notifier.notify(QStringLiteral("Kiribati"), QString::number(i));
    QVERIFY(notifier.pending() <= 16);
    QTest::qWait(300);
    QVERIFY(service.calls.size() <= 16);
    serviceBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
}

// The first alerts of a session come before the service has said what it
// reads; none of them is lost.
void TestAnnounce::burstBeforeCapabilitiesIsKept()
{
    QDBusConnection serviceBus = connectTo(QStringLiteral("service"));
    NotificationService service;
    QVERIFY(service.registerOn(serviceBus));

    DesktopNotifier notifier(connectTo(QStringLiteral("client")));
    const QStringList calls{"3Y0K", "T30L", "VP8PJ", "FT5ZM"};
    for (const QString& call : calls)
        notifier.notify(call, QStringLiteral("DX de W3LPL: 14025.0 %1 CW").arg(call), call);
    QTRY_COMPARE(service.calls.size(), 4);
    for (int i = 0; i < calls.size(); ++i)
        QCOMPARE(service.calls.at(i).summary, calls.at(i));
    QTRY_COMPARE(notifier.pending(), 0);
    serviceBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
}

// "Call=* Notify=1" and a flood of distinct calls: the desktop gets each
// rule's first few notices, then, once the minute allows, one more that
// stands for the rest; another rule keeps its own few meanwhile.
void TestAnnounce::floodOfAlertsIsFolded()
{
    QDBusConnection serviceBus = connectTo(QStringLiteral("service"));
    NotificationService service;
    QVERIFY(service.registerOn(serviceBus));

    QTemporaryDir dir;
    AlertCenter::Setup setup;
    setup.alertsPath = dir.filePath(QStringLiteral("alerts.ini"));
    setup.settingsPath = dir.filePath(QStringLiteral("settings.ini"));
    setup.soundDir = dir.path();
    setup.notificationBusAddress = m_bus.address();
    setup.countries = std::make_shared<const CountryTable>();
    setup.nowUtc = [] { return QDateTime(QDate(2026, 12, 11), QTime(7, 12), Qt::UTC); };
    // The minute, shortened for the test; the sanitizer build runs the flood
    // several times slower.
    const int window = kAddressSanitizer ? 5000 : 2000;
    setup.noticeWindowMs = window;
    QVERIFY(writeFile(setup.alertsPath, "[Rule1]\nName=Anything\nCall=*\nNotify=1\n"
                                        "[Rule2]\nName=Friend\nCall=DL1ABC\nNotify=1\n"));
    AlertCenter alerts(std::move(setup));

    //   DX de W3LPL:     14025.0  Q0A          CW 599 0712Z
    const auto line = [](const QString& call) {
        return QStringLiteral("DX de W3LPL:     14025.0  %1 CW 599 0712Z").arg(call, -12);
    };
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 200; ++i) {
        alerts.spotShown(line(QStringLiteral("Q%1A").arg(i)), true);
        if (i == 100)
            alerts.spotShown(line(QStringLiteral("DL1ABC")), true);
    }
    QVERIFY2(clock.elapsed() < window / 2,
             qPrintable(QStringLiteral("the flood took %1 ms of the window: the test proves nothing")
                            .arg(clock.elapsed())));
    QTest::qWait(300);
    QCOMPARE(service.calls.size(), 4);
    QStringList bodies;
    for (const NotificationService::Call& call : std::as_const(service.calls))
        bodies.append(call.summary + u'|' + call.body.section(u' ', 4, 4));
    QCOMPARE(bodies, QStringList({"Anything|Q0A", "Anything|Q1A", "Anything|Q2A", "Friend|DL1ABC"}));

    // 201 alerts of the first rule, three shown: the fourth notice is the
    // newest of the other 198, counting the 197 before it.
    QTRY_COMPARE_WITH_TIMEOUT(service.calls.size(), 5, 2 * window);
    QCOMPARE(service.calls.at(4).summary, QStringLiteral("Anything"));
    QCOMPARE(service.calls.at(4).body,
             QStringLiteral("DX de W3LPL: 14025.0 Q199A CW 599 0712Z\nand 197 more"));
    QTest::qWait(window + 300);
    QCOMPARE(service.calls.size(), 5);

    // With the minute past, a new alert is shown at once.
    alerts.spotShown(line(QStringLiteral("Q9999A")), true);
    QTRY_COMPARE(service.calls.size(), 6);
    QVERIFY(service.calls.at(5).body.contains(QStringLiteral("Q9999A")));
    serviceBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
}

// The real engine chain (Qt's speechd engine, libspeechd, the dispatcher, an
// output module) on a machine without a sound device: the module writes each
// text it is given to a file and takes a second to "say" it, and the null
// driver of libao stands in for the device the dispatcher insists on opening.
bool TestAnnounce::startSpeechDispatcher()
{
    if (m_recorder.running())
        return true;
    m_spokenFile = m_dir.filePath(QStringLiteral("recorder/spoken.txt"));
    return m_recorder.start(
        m_dir.filePath(QStringLiteral("recorder")),
        {{"conf/speechd.conf", "LogLevel 3\nLogDir \"%1/log\"\nAudioOutputMethod \"libao\"\n"
                               "AddModule \"recorder\" \"sd_generic\" \"recorder.conf\"\n"
                               "DefaultModule recorder\n"},
         {"conf/modules/recorder.conf",
          "GenericExecuteSynth \"printf '%s\\\\n' \\'$DATA\\' >> %1/spoken.txt; sleep 1\"\n"
          "AddVoice \"en\" \"MALE1\" \"x\"\n"},
         {"home/.libao", "default_driver=null\n"}});
}

static QStringList spokenLines(const QString& file)
{
    QFile spoken(file);
    if (!spoken.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(spoken.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestAnnounce::speechReachesTheEngine()
{
    if (!startSpeechDispatcher())
        QSKIP("speech-dispatcher or Qt's speechd engine is not installed");
    qputenv("SPEECHD_ADDRESS", m_recorder.address().toUtf8());
    QFile::remove(m_spokenFile);

    SpeechAnnouncer announcer(QStringLiteral("speechd"));

    QTRY_VERIFY(announcer.ready()); // the engine opens on its own thread
    QVERIFY(announcer.available());
    announcer.say(SpokenText::of(QStringLiteral("3Y0K"), QStringLiteral("Bouvet"), 140250,
                                 QStringLiteral("CW")));
    QTRY_COMPARE_WITH_TIMEOUT(spokenLines(m_spokenFile),
                              QStringList{QStringLiteral("3Y0K, Bouvet, 14 025, CW")}, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(announcer.speaking(), QString(), 10000);
}

// A burst of alerts: the first plays, the second waits and is replaced by
// the third; the engine hears the first and the third, nothing else.
void TestAnnounce::oneSpeaksOneWaits()
{
    if (!startSpeechDispatcher())
        QSKIP("speech-dispatcher or Qt's speechd engine is not installed");
    qputenv("SPEECHD_ADDRESS", m_recorder.address().toUtf8());
    QFile::remove(m_spokenFile);

    SpeechAnnouncer announcer(QStringLiteral("speechd"));

    QTRY_VERIFY(announcer.ready()); // the engine opens on its own thread
    QSignalSpy started(&announcer, &SpeechAnnouncer::started);
    announcer.say(QStringLiteral("3Y0K, Bouvet, 14 025, CW"));
    announcer.say(QStringLiteral("T30L, Western Kiribati, 7 005, CW"));
    QCOMPARE(announcer.speaking(), QStringLiteral("3Y0K, Bouvet, 14 025, CW"));
    QCOMPARE(announcer.waiting(), QStringLiteral("T30L, Western Kiribati, 7 005, CW"));
    announcer.say(QStringLiteral("VP8PJ, Falkland Islands, 1 823.5, CW"));
    QCOMPARE(announcer.waiting(), QStringLiteral("VP8PJ, Falkland Islands, 1 823.5, CW"));

    QTRY_COMPARE_WITH_TIMEOUT(spokenLines(m_spokenFile),
                              (QStringList{QStringLiteral("3Y0K, Bouvet, 14 025, CW"),
                                           QStringLiteral("VP8PJ, Falkland Islands, 1 823.5, CW")}),
                              10000);
    QTRY_COMPARE_WITH_TIMEOUT(announcer.speaking(), QString(), 10000);
    QCOMPARE(started.size(), 2);
    QCOMPARE(announcer.waiting(), QString());
}

void TestAnnounce::muteStopsAndForgets()
{
    if (!startSpeechDispatcher())
        QSKIP("speech-dispatcher or Qt's speechd engine is not installed");
    qputenv("SPEECHD_ADDRESS", m_recorder.address().toUtf8());
    QFile::remove(m_spokenFile);

    SpeechAnnouncer announcer(QStringLiteral("speechd"));

    QTRY_VERIFY(announcer.ready()); // the engine opens on its own thread
    announcer.say(QStringLiteral("3Y0K, Bouvet, 14 025, CW"));
    announcer.say(QStringLiteral("T30L, Western Kiribati, 7 005, CW"));
    QTRY_COMPARE_WITH_TIMEOUT(spokenLines(m_spokenFile).size(), 1, 10000);
    announcer.setMuted(true);
    QCOMPARE(announcer.speaking(), QString());
    QCOMPARE(announcer.waiting(), QString());
    announcer.say(QStringLiteral("VP8PJ, Falkland Islands, 1 823.5, CW"));
    QCOMPARE(announcer.speaking(), QString());
    QTest::qWait(2500);
    QCOMPARE(spokenLines(m_spokenFile), QStringList{QStringLiteral("3Y0K, Bouvet, 14 025, CW")});

    // Unmuted, the next alert is spoken again.
    announcer.setMuted(false);
    announcer.say(QStringLiteral("VP8PJ, Falkland Islands, 1 823.5, CW"));
    QTRY_COMPARE_WITH_TIMEOUT(spokenLines(m_spokenFile).size(), 2, 10000);
    QCOMPARE(spokenLines(m_spokenFile).last(), QStringLiteral("VP8PJ, Falkland Islands, 1 823.5, CW"));
}

// No engine to be had: the program stays quiet and carries on.
void TestAnnounce::noEngineNoError_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("address");
    QTest::newRow("engine not installed") << "no-such-engine" << QString();
    QTest::newRow("speech-dispatcher not running")
        << "speechd" << QStringLiteral("unix_socket:%1/nobody-listens.sock");
}

void TestAnnounce::noEngineNoError()
{
    QFETCH(QString, engine);
    QFETCH(QString, address);
    if (engine == QStringLiteral("speechd")
        && !QTextToSpeech::availableEngines().contains(QStringLiteral("speechd")))
        QSKIP("Qt's speechd engine is not installed");
    if (!address.isEmpty())
        qputenv("SPEECHD_ADDRESS", address.arg(m_dir.path()).toUtf8());

    SpeechAnnouncer announcer(engine);

    QTRY_VERIFY(announcer.ready()); // the engine opens on its own thread
    QVERIFY(!announcer.available());
    QSignalSpy started(&announcer, &SpeechAnnouncer::started);
    announcer.say(QStringLiteral("3Y0K, Bouvet, 14 025, CW"));
    announcer.say(QStringLiteral("T30L, Western Kiribati, 7 005, CW"));
    QCOMPARE(started.size(), 0);
    QCOMPARE(announcer.speaking(), QString());
    QCOMPARE(announcer.waiting(), QString());
    announcer.setMuted(true);
    announcer.setMuted(false);
}

// A dispatcher that takes the connection and never answers (as one stuck
// on a sound device that cannot be opened): the engine's thread waits for
// it, the caller's thread never does, and the end does not wait long.
void TestAnnounce::silentDispatcherHoldsNothingUp()
{
    if (!QTextToSpeech::availableEngines().contains(QStringLiteral("speechd")))
        QSKIP("Qt's speechd engine is not installed");
    const QString path = m_dir.filePath(QStringLiteral("silent.sock"));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path);
    QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0);
    QVERIFY(::listen(listener, 8) == 0); // connects complete; nothing is ever read or said
    qputenv("SPEECHD_ADDRESS", QByteArray("unix_socket:") + QFile::encodeName(path));

    QElapsedTimer clock;
    clock.start();
    {
        LatencyProbe probe;
        probe.start();
        SpeechAnnouncer announcer(QStringLiteral("speechd"));
        announcer.say(QStringLiteral("3Y0K, Bouvet, 14 025, CW"));
        announcer.setMuted(true);
        announcer.setMuted(false);
        QTest::qWait(1000);
        probe.stop();
        QVERIFY2(probe.worstMs() <= LatencyProbe::kLimitMs, qPrintable(QString::number(probe.worstMs())));
        QVERIFY(!announcer.ready());
    }
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    ::close(listener);
}

QTEST_GUILESS_MAIN(TestAnnounce)
#include "tst_announce.moc"
