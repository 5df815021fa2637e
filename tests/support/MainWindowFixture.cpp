#include "MainWindowFixture.h"

#include "session/TerminalPane.h"

#include <QPushButton>
#include <QTest>

MainWindowFixture::MainWindowFixture(const std::function<void(AppContext&)>& tune)
{
    AppContext app = ctx.make();
    if (tune)
        tune(app);
    form = std::make_unique<Tform1>(app);
    form->show();
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

bool MainWindowFixture::connectTo(quint16 port)
{
    form->nodoscelto = QStringLiteral("127.0.0.1");
    form->portascelta = QString::number(port);
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
    return QTest::qWaitFor([&] { return form->connesso; }, 5000);
}
