#pragma once

#include "TestContext.h"

#include "app/Tform1.h"

#include <QStringList>

#include <functional>
#include <memory>

class FakeClusterNode;
class TerminalPane;

// The main window on a temporary folder, shown and active, after its start
// has ended (the calendar window is made hidden after the first paint when
// the context asks for it). tune may change the context before the window
// is made. Every state is arranged the way a user or the outside world
// would: the node list, the buttons, the keyboard, the context.
struct MainWindowFixture
{
    TestContext ctx;
    std::unique_ptr<Tform1> form;

    explicit MainWindowFixture(const std::function<void(AppContext&)>& tune = {});

    // The lines of a pane, the terminal pane unless another is named.
    QStringList lines(TerminalPane* pane = nullptr) const;
    bool waitForLine(const QString& line, int ms = 5000) const;

    // Chooses a node as the user does: it is written into nodes.txt under
    // the name the node box shows (so the box and the saved settings stay as
    // they are), the window loads the list again at its activation, and a
    // click on the row chooses it. Address and port are taken byte for byte,
    // empty or wrong ones included.
    void choose(const QString& address, const QString& port);
    // The same for a window made without the fixture.
    static void chooseNode(Tform1& form, const QString& address, const QString& port);

    // Chooses the node on 127.0.0.1 and presses Connect; false when the
    // session has not started within 5 s.
    [[nodiscard]] bool connectTo(quint16 port);
    // The same, and the node has its client.
    [[nodiscard]] bool connectTo(FakeClusterNode& node);

    // Types into the command line, replacing what it held.
    void type(const QString& text);
};
