// Alerts as the user meets them, in the real window: a rule made in the
// editor with the keyboard alone, a spot from a real node, the notice as a
// desktop's notification service on a private bus receives it, and the
// alert's line in the DX window's list, read through accessibility.

#include "TestFiles.h"
#include "FakeClusterNode.h"
#include "MainWindowFixture.h"
#include "PrivateBus.h"

#include "alerts/AlertsFile.h"
#include "app/Tform1.h"
#include "dxcc/CountryTable.h"
#include "session/TerminalPane.h"
#include "windows/AlertsWindow.h"
#include "windows/DxWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QListView>
#include <QListWidget>
#include <QtTest>

namespace {

const QByteArray kSpot =
    "DX de W3LPL:     14025.0  3Y0K         CW 599 up 2                    0712Z\r\n";

QString focusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}


} // namespace

class TestAlertsWindow : public QObject
{
    Q_OBJECT
private slots:
    void ruleFromTheKeyboardAlertsOnASpot();
    void brokenFileIsReportedInTheEditor();
    void neededIsSavedToAlertsIni();
};

void TestAlertsWindow::ruleFromTheKeyboardAlertsOnASpot()
{
    PrivateBus bus;
    if (bus.address().isEmpty())
        QSKIP("dbus-daemon is not installed (package dbus)");
    QDBusConnection serviceBus = bus.connect(QStringLiteral("service"));
    NotificationService service;
    QVERIFY(service.registerOn(serviceBus));
    FakeClusterNode node;
    node.setGreeting("login: ");
    MainWindowFixture w([&](AppContext& app) { app.notificationBusAddress = bus.address(); });
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));

    // F4, then Alt+A (Add): the new rule's name has the focus.
    QTest::keyClick(w.form.get(), Qt::Key_F4);
    QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow()->objectName() == "AlertsWindow");
    auto* editor = w.form->showAlertsWindow();
    QVERIFY(editor);
    QVERIFY(QTest::qWaitForWindowActive(editor));
    QTest::keyClick(editor, Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(focusName(), QStringLiteral("RuleName"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Bouvet"));
    QTest::keyClick(editor, Qt::Key_C, Qt::AltModifier);
    QTRY_COMPARE(focusName(), QStringLiteral("RuleCall"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3y*"));
    QTest::keyClick(editor, Qt::Key_V, Qt::AltModifier);
    const QString alertsIni = QDir(w.ctx.dir()).filePath(QStringLiteral("alerts.ini"));
    QTRY_VERIFY(readFile(alertsIni).contains("Name=Bouvet"));
    QVERIFY(readFile(alertsIni).contains("Call=3y*"));
    QCOMPARE(editor->ruleList()->item(0)->text(), QStringLiteral("Bouvet"));
    QCOMPARE(editor->ruleList()->item(0)->checkState(), Qt::Checked);

    // A spot from the node: one notice, one line in the alert list.
    QVERIFY(w.connectTo(node.port()));
    QVERIFY(w.waitForLine(QStringLiteral("login:")));
    node.send(kSpot);
    QTRY_COMPARE(service.calls.size(), 1);
    QCOMPARE(service.calls[0].appName, QStringLiteral("Marvix Terminal"));
    QCOMPARE(service.calls[0].summary, QStringLiteral("Bouvet"));
    QVERIFY2(service.calls[0].body.contains(QStringLiteral("3Y0K")), qPrintable(service.calls[0].body));
    // The spot itself is shown as before.
    QVERIFY(!w.lines().filter(QStringLiteral("3Y0K")).isEmpty());

    DxWindow* dx = w.form->showDxWindow();
    QVERIFY(QTest::qWaitForWindowExposed(dx));
    auto* told = dx->findChild<QLabel*>(QStringLiteral("NewestAlert"));
    QVERIFY(told);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(dx->alertList());
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Alerts"));
    QCOMPARE(list->childCount(), 1);
    const QString read = list->child(0)->text(QAccessible::Name);
    QVERIFY2(read.contains(QStringLiteral("Bouvet")) && read.contains(QStringLiteral("3Y0K")),
             qPrintable(read));

    // With the window open, a new alert is told in words, text included.
    node.send("DX de W3LPL:      7005.0  3Y0K         CW 599 up 2                    0713Z\r\n");
    QTRY_COMPARE(list->childCount(), 2);
    QTRY_VERIFY2(told->text().startsWith(QStringLiteral("Alert: ")) &&
                     told->text().contains(QStringLiteral("7005.0")),
                 qPrintable(told->text()));

    // The same station on the same band within ten minutes: quiet.
    node.send(kSpot);
    QTRY_COMPARE(w.lines().filter(QStringLiteral("3Y0K")).size(), 3);
    QTest::qWait(200);
    QCOMPARE(service.calls.size(), 2);
    QCOMPARE(list->childCount(), 2);
}

// A hand-edited file with a broken rule: the good rule works, the editor
// says what was wrong, once.
void TestAlertsWindow::brokenFileIsReportedInTheEditor()
{
    MainWindowFixture w([](AppContext& app) {
        QFile f(QDir(app.programDir).filePath(QStringLiteral("alerts.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Rule1]\r\nName=Good\r\nOn=1\r\nCall=T3*\r\n"
                "[Rule2]\r\nName=Bad\r\nOn=1\r\nBands=11m\r\n");
    });
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    AlertsWindow* editor = w.form->showAlertsWindow();
    QCOMPARE(editor->rules().size(), 1);
    QCOMPARE(editor->rules()[0].name, QStringLiteral("Good"));
    auto* problems = editor->findChild<QLabel*>(QStringLiteral("AlertProblems"));
    QVERIFY(problems && problems->isVisible());
    QVERIFY2(problems->text().contains(QStringLiteral("11m")), qPrintable(problems->text()));
    QVERIFY(w.ctx.messages.isEmpty());
}

// The Needed boxes, as a screen reader names them, reach alerts.ini and
// come back when the file is read again.
void TestAlertsWindow::neededIsSavedToAlertsIni()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alerts.ini"));
    AlertsWindow editor(path, {}, {}, std::make_shared<const CountryTable>(), false);
    editor.show();
    editor.findChild<QPushButton*>(QStringLiteral("AddRule"))->click();
    const auto box = [&](const QString& name) -> QCheckBox* {
        for (QCheckBox* b : editor.findChildren<QCheckBox*>())
            if (b->accessibleName() == name)
                return b;
        return nullptr;
    };
    QVERIFY(box(QStringLiteral("Needed entity")) && box(QStringLiteral("Needed slot")));
    box(QStringLiteral("Needed entity"))->click();
    box(QStringLiteral("Needed slot"))->click();
    editor.findChild<QPushButton*>(QStringLiteral("SaveRules"))->click();
    QVERIFY2(readFile(path).contains("Needed=entity,slot\r\n"), readFile(path).constData());

    const AlertsFile::Contents loaded = AlertsFile::read(path);
    QCOMPARE(loaded.rules.size(), 1);
    QCOMPARE(loaded.rules[0].needed, quint8(1u << 0 | 1u << 3));
}

QTEST_MAIN(TestAlertsWindow)
#include "tst_alerts_window.moc"
