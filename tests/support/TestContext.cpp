#include "TestContext.h"

#include "FakeClusterNode.h"

#include <QFile>

TestContext::TestContext()
{
    // A node list with its heading only; tests that need nodes write their own.
    QFile nodes(m_dir.filePath(QStringLiteral("nodes.txt")));
    if (nodes.open(QIODevice::WriteOnly))
        nodes.write("name_of_node;address;port\r\n");

    timings.keepAliveMs = 3600000;
    timings.sessionLampMs = 20;
    timings.liveCheckLampMs = 20;
    timings.infoTextMs = 3600000;
    timings.buttonStatesMs = 20;
    timings.disconnectPauseMs = 50;
    timings.lineTailFlushMs = 50;
    timings.spotTailFlushMs = 300;

    // No test may reach a rigctld of the machine on the default ports.
    const QString dead = QStringLiteral("127.0.0.1:%1").arg(FakeClusterNode::refusingPort());
    rig.rig1.port = dead;
    rig.rig2.port = dead;
    rig.shutdownWaitMs = 500;
}

AppContext TestContext::make()
{
    AppContext ctx;
    ctx.programDir = m_dir.path();
    ctx.workDir = m_dir.path();
    const QString dead = QStringLiteral("127.0.0.1:%1").arg(FakeClusterNode::refusingPort());
    ctx.hosts.probe = QStringLiteral("http://%1/").arg(dead);
    ctx.hosts.dxpeditionList = QStringLiteral("https://%1/listadxdolv.txt").arg(dead);
    ctx.hosts.calendarWidget = QStringLiteral("http://%1/calendar.php?width=21&lang=en").arg(dead);
    ctx.nowUtc = [this] { return now; };
    ctx.showMessage = [this](const QString& text) { messages.append(text); };
    ctx.openUrl = [this](const QUrl& url) { openedUrls.append(url); };
    ctx.internetCheck = [this](const QString&, int, int) { return internetPresent; };
    ctx.quit = [this] { ++quitRequests; };
    // Alerts go to a bus nobody listens on, never to the desktop's own
    // notifications; a test that looks at them gives its private bus.
    ctx.notificationBusAddress =
        QStringLiteral("unix:path=%1").arg(m_dir.filePath(QStringLiteral("no-bus")));
    ctx.startupPauseMs = 0;
    ctx.calendarAtStart = calendarAtStart;
    ctx.rig = rig;
    ctx.timings = timings;
    return ctx;
}
