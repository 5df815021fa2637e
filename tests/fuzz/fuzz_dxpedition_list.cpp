// The DXpedition list file: every line is one entry, taken whole; no entry
// holds a line end, and the entries written back as a file read the same.

#include "FuzzSupport.h"

#include "livecheck/DxpeditionList.h"

#include <QStringEncoder>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList entries = DxpeditionList::linesOfListFile(bytes);
    FUZZ_CHECK(entries.size() <= bytes.size());
    for (const QString& entry : entries)
        FUZZ_CHECK(!entry.contains(QLatin1Char('\r')) && !entry.contains(QLatin1Char('\n')));

    // UTF-16 carries any code unit, lone surrogates included.
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray written = encoder.encode(entries.join(QStringLiteral("\r\n")) +
                                              (entries.isEmpty() ? "" : "\r\n"));
    FUZZ_CHECK(DxpeditionList::linesOfListFile(written) == entries);
    return 0;
}
