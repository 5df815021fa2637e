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

    // A node that fails. A session drops after so many lines sent to it
    // (the greeting and the prompts count) or so many seconds after the
    // user connected, whichever comes first.
    enum class Drop
    {
        None,
        Close,  // a clean end of the stream (FIN)
        Reset,  // a TCP reset (RST)
        Silent, // stays open, reads what comes, never sends again
    };
    Drop drop = Drop::None;
    std::optional<int> dropAfterLines;
    std::optional<double> dropAfterSeconds;
    bool dropOnce = false; // only the first session drops
    bool mute = false;     // accepts and never sends a byte
    double refuseFor = 0;  // seconds after start in which connections are refused
    bool onePerAddress = false;
    double holdFor = 0; // seconds an address stays taken after its user has gone

    static QString dropName(Drop drop);

    static QStringList defaultDxpeditions();

    // Fills the options from the arguments; on a bad argument returns false
    // with a message in `error`.
    static bool parse(const QStringList& arguments, SimOptions& options, QString& error);
};
