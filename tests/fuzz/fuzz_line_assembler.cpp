// The line assembler: the same bytes give the same lines however TCP cut
// them, no line holds a line end, and the unfinished tail never exceeds its
// bound. Inputs may ask for their bytes to be repeated past the bound, so
// endless lines are exercised too.

#include "FuzzSupport.h"

#include "session/LineAssembler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 seed = in.byte();
    QByteArray bytes = in.rest();
    // Bit 0 of the seed: repeat the bytes until they pass the bound, by up
    // to one more bound's worth.
    if ((seed & 1) && !bytes.isEmpty()) {
        const QByteArray unit = bytes;
        const qsizetype length = LineAssembler::MaxTail + 1 + (seed >> 1) * 512;
        while (bytes.size() < length)
            bytes += unit;
    }
    const bool endless = bytes.size() > 4096;

    QList<QString> reference;
    QString referenceTail;
    forEachChunking(bytes, seed, [&](int way, const QList<QByteArray>& chunks) {
        // One byte at a time over hundreds of kilobytes only costs time.
        if (way == 1 && endless)
            return;
        LineAssembler assembler;
        QList<QString> lines;
        for (const QByteArray& chunk : chunks) {
            lines += assembler.feed(chunk);
            FUZZ_CHECK(assembler.tail().size() <= LineAssembler::MaxTail);
        }
        const QString tail = assembler.takeTail().value_or(QStringLiteral("<none>"));
        FUZZ_CHECK(!assembler.hasTail());
        if (way == 0) {
            reference = lines;
            referenceTail = tail;
            for (const QString& line : lines) {
                FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
                // A piece of at most MaxTail bytes never decodes to more
                // characters than bytes.
                FUZZ_CHECK(line.size() <= LineAssembler::MaxTail);
            }
        } else {
            FUZZ_CHECK(lines == reference);
            FUZZ_CHECK(tail == referenceTail);
        }
    });
    return 0;
}
