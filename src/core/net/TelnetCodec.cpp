#include "net/TelnetCodec.h"

TelnetCodec::TelnetCodec(const QString& terminal) : m_terminal(terminal) {}

void TelnetCodec::setTerminal(const QString& terminal)
{
    m_terminal = terminal;
}

void TelnetCodec::reset()
{
    m_state = State::Data;
    m_command = 0;
    m_subOption = 0;
    m_block.clear();
    m_sawIac = false;
}

void TelnetCodec::flush(QByteArray& accumulator, QList<Event>& events)
{
    if (accumulator.isEmpty())
        return;
    events.append({Event::Kind::Data, accumulator});
    accumulator.clear();
}

void TelnetCodec::handleBlock(QList<Event>& events) const
{
    // IAC SB 24 01 IAC SE asks for our terminal name; every other block is
    // ignored.
    if (m_subOption == kOptTerminalType && !m_block.isEmpty() &&
        quint8(m_block.at(0)) == kTtypeSend)
        events.append({Event::Kind::Reply, terminalTypeAnswer(m_terminal)});
}

QList<TelnetCodec::Event> TelnetCodec::feed(const QByteArray& input)
{
    QList<Event> events;
    QByteArray data;
    for (const char c : input) {
        const auto b = quint8(c);
        switch (m_state) {
        case State::Data:
            if (b == kIac) {
                m_sawIac = true;
                m_state = State::Iac;
            } else {
                data.append(c);
            }
            break;
        case State::Iac:
            m_state = State::Data;
            if (b == kIac) {
                data.append(c);
            } else if (b == kEor) {
                flush(data, events);
            } else if (b == kSb) {
                flush(data, events);
                m_block.clear();
                m_state = State::SubOption;
            } else if (b == kWill || b == kWont || b == kDo || b == kDont) {
                m_command = b;
                m_state = State::Option;
            }
            // NOP, GA and the other one-byte commands vanish with their IAC.
            break;
        case State::Option:
            // The data before the request keeps its place ahead of the reply,
            // however the bytes were split into reads.
            flush(data, events);
            events.append({Event::Kind::Reply, negotiationReply(m_command, b)});
            m_state = State::Data;
            break;
        case State::SubOption:
            m_subOption = b;
            m_state = State::SubData;
            break;
        case State::SubData:
            if (b == kIac) {
                m_state = State::SubIac;
            } else if (m_block.size() >= kMaxSubnegotiation) {
                // No real subnegotiation is this long: a stray IAC SB in the
                // node's output must not swallow the session (and memory).
                m_block.clear();
                m_state = State::Data;
                data.append(c);
            } else {
                m_block.append(c);
            }
            break;
        case State::SubIac:
            if (b == kIac) {
                m_block.append(c);
                m_state = State::SubData;
            } else if (b == kSe) {
                handleBlock(events);
                m_block.clear();
                m_state = State::Data;
            } else if (b == kSb) {
                // A new subnegotiation without SE: the old block still counts.
                handleBlock(events);
                m_block.clear();
                m_state = State::SubOption;
            } else {
                m_state = State::SubData;
            }
            break;
        }
    }
    flush(data, events);
    return events;
}

QByteArray TelnetCodec::negotiationReply(quint8 command, quint8 option)
{
    quint8 reply = 0;
    switch (command) {
    case kDo:
        reply = (option == kOptEcho || option == kOptTerminalType) ? kWill : kWont;
        break;
    case kDont:
        reply = kWont;
        break;
    case kWill:
        reply = (option == kOptEcho || option == kOptEndOfRecord) ? kDo : kDont;
        break;
    case kWont:
    default:
        reply = kDont;
        break;
    }
    QByteArray out;
    out.append(char(kIac)).append(char(reply)).append(char(option));
    return out;
}

QByteArray TelnetCodec::terminalTypeAnswer(const QString& terminal)
{
    QByteArray out;
    out.append(char(kIac)).append(char(kSb)).append(char(kOptTerminalType)).append(char(kTtypeIs));
    for (const QChar ch : terminal)
        out.append(ch.unicode() < 128 ? char(ch.unicode()) : '?');
    out.append(char(kIac)).append(char(kSe));
    return out;
}

QByteArray TelnetCodec::encodeForSending(const QString& text, bool iamTelnet)
{
    QByteArray out;
    out.reserve(text.size() + 2);
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\r' && !iamTelnet)
            out.append("\r\n", 2);
        else
            out.append(u < 128 ? char(u) : '?');
    }
    return out;
}
