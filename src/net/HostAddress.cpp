#include "net/HostAddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace HostAddress {

std::optional<quint32> literalIPv4(const QString& host)
{
    if (host.compare(QLatin1String("LOCALHOST"), Qt::CaseInsensitive) == 0)
        return quint32(INADDR_LOOPBACK);
    in_addr addr{};
    if (inet_pton(AF_INET, host.toLatin1().constData(), &addr) == 1)
        return ntohl(addr.s_addr);
    return std::nullopt;
}

} // namespace HostAddress
