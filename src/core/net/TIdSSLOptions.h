#pragma once

#include <optional>
#include <set>
#include <utility>

// The protocol versions a TLS client may be told to speak. sslvSSLv23 is not
// a version of its own: it stands for "any of the others".
enum class TIdSSLVersion
{
    sslvSSLv2,
    sslvSSLv23,
    sslvSSLv3,
    sslvTLSv1,
    sslvTLSv1_1,
    sslvTLSv1_2,
};

using TIdSSLVersions = std::set<TIdSSLVersion>;

// Method and SSLVersions describe the same choice twice and are kept in
// step: one version in the set is that Method, several are sslvSSLv23.
class TIdSSLOptions
{
public:
    TIdSSLVersion Method() const { return m_method; }
    void setMethod(TIdSSLVersion method);

    const TIdSSLVersions& SSLVersions() const { return m_versions; }
    void setSSLVersions(const TIdSSLVersions& versions);

    // The lowest and highest TLS version the set allows. SSL 2 and 3 are
    // gone from today's TLS libraries, so they add nothing; a set without
    // any TLS version gives no range at all.
    std::optional<std::pair<TIdSSLVersion, TIdSSLVersion>> tlsRange() const;

private:
    TIdSSLVersion m_method = TIdSSLVersion::sslvTLSv1;
    TIdSSLVersions m_versions{TIdSSLVersion::sslvTLSv1};
};
