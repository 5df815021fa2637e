#pragma once

#include <QHostAddress>
#include <QStringList>

#include <optional>

// The simulator's command line. Every option is off unless given.
struct SimOptions
{
    quint16 port = 0; // 0: a free port, printed on stdout
    QHostAddress listen = QHostAddress(QHostAddress::LocalHost);
    double rate = 0; // spots per second; 0: no stream, only answers
    std::optional<quint32> seed;
    bool telnet = false;
    bool bell = false;
    int burst = 1; // lines per write
    bool split = false;
    QStringList dxpeditions;
    std::optional<int> count;
    QString node = QStringLiteral("SIM-1");

    static QStringList defaultDxpeditions();

    // Fills the options from the arguments; on a bad argument returns false
    // with a message in `error`.
    static bool parse(const QStringList& arguments, SimOptions& options, QString& error);
};
