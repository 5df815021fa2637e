#include "MainWindowFixture.h"

#include "FakeClusterNode.h"
#include "TestFiles.h"

#include "session/NodeGrid.h"
#include "session/TerminalPane.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

MainWindowFixture::MainWindowFixture(const std::function<void(AppContext&)>& tune)
{
    AppContext app = ctx.make();
    if (tune)
        tune(app);
    form = std::make_unique<Tform1>(app);
    form->show();
    form->activateWindow();
    (void)QTest::qWaitForWindowActive(form.get());
    (void)QTest::qWaitForWindowExposed(form.get());
    if (app.calendarAtStart)
        (void)QTest::qWaitFor([&] { return form->dxcalendar != nullptr; }, 10000);
}

QStringList MainWindowFixture::lines(TerminalPane* pane) const
{
    pane = pane ? pane : form->Re1;
    QStringList out;
    for (int i = 0; i < pane->lineCount(); ++i)
        out << pane->line(i);
    return out;
}

bool MainWindowFixture::waitForLine(const QString& line, int ms) const
{
    return QTest::qWaitFor([&] { return lines().contains(line); }, ms);
}

void MainWindowFixture::choose(const QString& address, const QString& port)
{
    chooseNode(*form, address, port);
}

void MainWindowFixture::chooseNode(Tform1& form, const QString& address, const QString& port)
{
    // The list as the user keeps it, the heading first, then the node:
    //   name_of_node;address;port
    //   GB7DJK;127.0.0.1;41234
    const QString name = form.Edit1->text();
    writeFile(QDir(form.context().workDir).filePath(QStringLiteral("nodes.txt")),
              QStringLiteral("name_of_node;address;port\r\n%1;%2;%3\r\n")
                  .arg(name, address, port)
                  .toUtf8());
    // What the window gets when the user comes back to it from the editor.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form, &activate);
    NodeGrid* grid = form.StringGrid1;
    const QTableWidgetItem* cell = grid->item(1, NodeGrid::kNameColumn);
    QVERIFY2(cell, "the window did not load the node list");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(cell).center());
    QCOMPARE(grid->currentRow(), 1);
}

bool MainWindowFixture::connectTo(quint16 port)
{
    choose(QStringLiteral("127.0.0.1"), QString::number(port));
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
    return QTest::qWaitFor([&] { return form->isConnected(); }, 5000);
}

bool MainWindowFixture::connectTo(FakeClusterNode& node)
{
    return connectTo(node.port()) && node.waitForClient();
}

void MainWindowFixture::type(const QString& text)
{
    form->EditCommand->setFocus();
    form->EditCommand->clear();
    QTest::keyClicks(form->EditCommand, text);
}
