// The node list: any nodes.txt gives rows whose fields hold no separator and
// no line end, within the line limit; an address the program connects to
// without a resolver is exactly a dotted address (or LOCALHOST); a port is
// a number from 0 to 65535 or a message.

#include "FuzzSupport.h"

#include "net/HostAddress.h"
#include "session/NodeList.h"
#include "session/SessionRules.h"

#include <QHostAddress>

namespace {

bool plainField(const QString& field)
{
    return !field.contains(QLatin1Char(';')) && !field.contains(QLatin1Char('\r')) &&
           !field.contains(QLatin1Char('\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<NodeRow> rows = NodeList::parse(bytes);
    FUZZ_CHECK(rows.size() <= NodeList::kMaxLines);
    FUZZ_CHECK(rows.size() <= bytes.size());

    for (const NodeRow& row : rows) {
        FUZZ_CHECK(plainField(row.name) && plainField(row.address) && plainField(row.port));

        if (const std::optional<quint32> ipv4 = HostAddress::literalIPv4(row.address)) {
            const bool localhost =
                row.address.compare(QLatin1String("LOCALHOST"), Qt::CaseInsensitive) == 0;
            FUZZ_CHECK(localhost ? *ipv4 == 0x7F000001u
                                 : QHostAddress(*ipv4).toString() == row.address);
        }

        QString error;
        const std::optional<quint16> port = SessionRules::parsePort(row.port, &error);
        FUZZ_CHECK(port.has_value() == error.isEmpty());
        if (port)
            FUZZ_CHECK(row.port.toUInt() == *port);
    }
    return 0;
}
