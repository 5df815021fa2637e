#pragma once

#include "TestContext.h"

#include "app/Tform1.h"

#include <QStringList>

#include <functional>
#include <memory>

class TerminalPane;

// The main window on a temporary folder, shown, after its start has ended
// (the calendar window is made hidden after the first paint). tune may
// change the context before the window is made.
struct MainWindowFixture
{
    TestContext ctx;
    std::unique_ptr<Tform1> form;

    explicit MainWindowFixture(const std::function<void(AppContext&)>& tune = {});

    // The lines of a pane, the terminal pane unless another is named.
    QStringList lines(TerminalPane* pane = nullptr) const;
    bool waitForLine(const QString& line, int ms = 5000) const;

    // Connects to a node on 127.0.0.1 with the Connect button; false when
    // the session has not started within 5 s.
    [[nodiscard]] bool connectTo(quint16 port);
};
