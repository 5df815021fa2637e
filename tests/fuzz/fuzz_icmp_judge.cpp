// The judge of received ICMP datagrams: any datagram gets a verdict; only an
// echo (or echo request) naming our sequence counts as an answer, nothing
// longer than the receive buffer is read, and our own request, sent back by
// the loopback, is an answer.

#include "FuzzSupport.h"

#include "net/IcmpEcho.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const bool hasIpHeader = in.byte() & 1;
    const QByteArray datagram = in.rest();

    using IcmpEcho::Verdict;
    const Verdict verdict = IcmpEcho::judgeDatagram(datagram, hasIpHeader);
    const qsizetype limit =
        hasIpHeader ? IcmpEcho::kReceiveBufferSize : IcmpEcho::kReceiveBufferSize - IcmpEcho::kIpHeaderSize;
    FUZZ_CHECK((verdict == Verdict::TooLong) == (datagram.size() > limit));
    if (verdict == Verdict::Reply) {
        const qsizetype header = hasIpHeader ? (quint8(datagram[0]) & 0x0F) * 4 : 0;
        const quint8 type = quint8(datagram[header]);
        FUZZ_CHECK(type == 0 || type == 8);
        FUZZ_CHECK(quint8(datagram[header + 6]) == 0xA1 && quint8(datagram[header + 7]) == 0x0D);
    }

    // Our request as the datagram socket hands it back.
    const QByteArray request = IcmpEcho::buildRequest(quint16(datagram.size() * 257), quint64(size) << 20);
    FUZZ_CHECK(request.size() == IcmpEcho::kRequestSize);
    FUZZ_CHECK(IcmpEcho::judgeDatagram(request, false) == Verdict::Reply);
    return 0;
}
