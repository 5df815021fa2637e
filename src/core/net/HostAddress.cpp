#include "net/HostAddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace HostAddress {

namespace {

// Only digits and points may reach inet_pton: it reads a C string, so a NUL
// inside the text ("127.0.0.1\0evil" from a damaged nodes.txt) would end the
// address early, and a character outside Latin-1 would arrive as '?'.
bool onlyDigitsAndPoints(const QString& host)
{
    for (const QChar c : host) {
        if (c != u'.' && (c < u'0' || c > u'9'))
            return false;
    }
    return !host.isEmpty();
}

} // namespace

std::optional<quint32> literalIPv4(const QString& host)
{
    if (host.compare(QLatin1String("LOCALHOST"), Qt::CaseInsensitive) == 0)
        return quint32(INADDR_LOOPBACK);
    if (!onlyDigitsAndPoints(host))
        return std::nullopt;
    in_addr addr{};
    if (inet_pton(AF_INET, host.toLatin1().constData(), &addr) == 1)
        return ntohl(addr.s_addr);
    return std::nullopt;
}

} // namespace HostAddress
