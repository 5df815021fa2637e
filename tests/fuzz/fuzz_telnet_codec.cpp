// The Telnet codec: whatever a node sends, the events are the same however
// the bytes were cut into reads, no command ever reaches the data, and the
// codec holds at most one bounded subnegotiation between reads.

#include "FuzzSupport.h"

#include "net/TelnetCodec.h"

namespace {

using Event = TelnetCodec::Event;

// Data events merged where they touch: how the data is cut into chunks
// depends on the reads, its bytes and their place among the replies do not.
QList<Event> merged(const QList<Event>& events)
{
    QList<Event> out;
    for (const Event& e : events) {
        if (e.kind == Event::Kind::Data && !out.isEmpty() && out.last().kind == Event::Kind::Data)
            out.last().bytes += e.bytes;
        else
            out << e;
    }
    return out;
}

bool isReply(const QByteArray& bytes, const QString& terminal)
{
    if (bytes == TelnetCodec::terminalTypeAnswer(terminal))
        return true;
    return bytes.size() == 3 && quint8(bytes[0]) == TelnetCodec::kIac &&
           quint8(bytes[1]) >= TelnetCodec::kWill && quint8(bytes[1]) <= TelnetCodec::kDont;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 seed = in.byte();
    const QByteArray bytes = in.rest();

    QList<Event> reference;
    forEachChunking(bytes, seed, [&](int way, const QList<QByteArray>& chunks) {
        TelnetCodec codec;
        QList<Event> events;
        for (const QByteArray& chunk : chunks) {
            for (const Event& e : codec.feed(chunk)) {
                FUZZ_CHECK(e.kind == Event::Kind::Reply || !e.bytes.isEmpty());
                FUZZ_CHECK(e.kind == Event::Kind::Data || isReply(e.bytes, codec.terminal()));
                events << e;
            }
            FUZZ_CHECK(codec.heldBytes() <= TelnetCodec::kMaxSubnegotiation);
        }
        FUZZ_CHECK(codec.sawIac() == bytes.contains(char(TelnetCodec::kIac)));
        if (way == 0)
            reference = merged(events);
        else
            FUZZ_CHECK(merged(events) == reference);
    });

    // The data is plain data: sent back with every 255 doubled, a fresh codec
    // gives exactly the same bytes and nothing to answer.
    QByteArray data_;
    for (const Event& e : reference) {
        if (e.kind == Event::Kind::Data)
            data_ += e.bytes;
    }
    FUZZ_CHECK(data_.size() <= bytes.size());
    QByteArray escaped = data_;
    escaped.replace("\xff", "\xff\xff");
    TelnetCodec again;
    QByteArray back;
    for (const Event& e : again.feed(escaped)) {
        FUZZ_CHECK(e.kind == Event::Kind::Data);
        back += e.bytes;
    }
    FUZZ_CHECK(back == data_);
    return 0;
}
