#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The byte side of a Telnet session with a cluster node: takes the commands
// out of the received stream, answers option negotiation and the terminal-type
// request, and hands back the plain data. It holds no socket, so every rule is
// exercised on byte arrays.
//
// Negotiation is answered without memory: the same request always gets the
// same reply, so a node that repeats itself is never left waiting.
class TelnetCodec
{
public:
    static constexpr quint8 kIac = 255;
    static constexpr quint8 kDont = 254;
    static constexpr quint8 kDo = 253;
    static constexpr quint8 kWont = 252;
    static constexpr quint8 kWill = 251;
    static constexpr quint8 kSb = 250;
    static constexpr quint8 kSe = 240;
    static constexpr quint8 kEor = 239;

    static constexpr quint8 kOptBinary = 0;
    static constexpr quint8 kOptEcho = 1;
    static constexpr quint8 kOptSuppressGoAhead = 3;
    static constexpr quint8 kOptTerminalType = 24;
    static constexpr quint8 kOptEndOfRecord = 25;

    static constexpr quint8 kTtypeIs = 0;
    static constexpr quint8 kTtypeSend = 1;

    struct Event
    {
        enum class Kind
        {
            Data,  // bytes for the session, never empty
            Reply, // bytes to write back to the node
        };
        Kind kind;
        QByteArray bytes;

        bool operator==(const Event&) const = default;
    };

    explicit TelnetCodec(const QString& terminal = QStringLiteral("dumb"));

    void setTerminal(const QString& terminal);
    QString terminal() const { return m_terminal; }

    // Takes the next bytes from the node and returns what they mean, in order.
    // A command cut off at the end of the input is finished by the next call;
    // the data before it is still handed out now.
    QList<Event> feed(const QByteArray& input);

    // Bytes held between calls: an unfinished subnegotiation block, never
    // more than kMaxSubnegotiation.
    qsizetype heldBytes() const { return m_block.size(); }
    static constexpr qsizetype kMaxSubnegotiation = 4096;

    // True once any IAC has come from the node since construction or reset().
    bool sawIac() const { return m_sawIac; }

    // Forgets everything, for a new connection.
    void reset();

    // The three reply bytes to IAC <command> <option>, where command is one
    // of WILL, WONT, DO, DONT.
    static QByteArray negotiationReply(quint8 command, quint8 option);

    // IAC SB TERMINAL-TYPE IS <name> IAC SE; "dumb" gives
    // FF FA 18 00 64 75 6D 62 FF F0.
    static QByteArray terminalTypeAnswer(const QString& terminal);

    // The bytes of a command line for the node. Until the node has shown it
    // speaks Telnet, a CR goes out as CR LF (line-based nodes wait for the LF);
    // afterwards a CR is sent alone. Code units above 127 become '?', so a
    // character outside the BMP gives "??".
    static QByteArray encodeForSending(const QString& text, bool iamTelnet);

private:
    enum class State
    {
        Data,
        Iac,       // IAC seen in the data
        Option,    // IAC WILL/WONT/DO/DONT seen, option byte next
        SubOption, // IAC SB seen, option byte next
        SubData,   // collecting the subnegotiation block
        SubIac,    // IAC seen inside the block
    };

    void handleBlock(QList<Event>& events) const;
    static void flush(QByteArray& accumulator, QList<Event>& events);

    QString m_terminal;
    State m_state = State::Data;
    quint8 m_command = 0;
    quint8 m_subOption = 0;
    QByteArray m_block;
    bool m_sawIac = false;
};
