#pragma once

#include <QString>

#include <optional>

namespace HostAddress {

// The node addresses that need no resolver, as every connection of the
// program reads them: "LOCALHOST" in any case is 127.0.0.1, and a dotted IPv4
// address such as "192.168.1.20" is taken as it stands. The result is in host
// byte order; any other text (a host name) gives none.
std::optional<quint32> literalIPv4(const QString& host);

} // namespace HostAddress
