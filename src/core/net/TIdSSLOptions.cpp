#include "net/TIdSSLOptions.h"

namespace {

TIdSSLVersions everyVersion()
{
    return {TIdSSLVersion::sslvSSLv2, TIdSSLVersion::sslvSSLv3, TIdSSLVersion::sslvTLSv1,
            TIdSSLVersion::sslvTLSv1_1, TIdSSLVersion::sslvTLSv1_2};
}

bool isTls(TIdSSLVersion v)
{
    return v == TIdSSLVersion::sslvTLSv1 || v == TIdSSLVersion::sslvTLSv1_1 ||
           v == TIdSSLVersion::sslvTLSv1_2;
}

} // namespace

void TIdSSLOptions::setMethod(TIdSSLVersion method)
{
    m_method = method;
    m_versions = method == TIdSSLVersion::sslvSSLv23 ? everyVersion() : TIdSSLVersions{method};
}

void TIdSSLOptions::setSSLVersions(const TIdSSLVersions& versions)
{
    // "Any" inside a set means every real version.
    m_versions = versions.contains(TIdSSLVersion::sslvSSLv23) ? everyVersion() : versions;
    m_method = m_versions.size() == 1 ? *m_versions.begin() : TIdSSLVersion::sslvSSLv23;
}

std::optional<std::pair<TIdSSLVersion, TIdSSLVersion>> TIdSSLOptions::tlsRange() const
{
    std::optional<TIdSSLVersion> low;
    std::optional<TIdSSLVersion> high;
    for (TIdSSLVersion v : m_versions) { // ordered from oldest to newest
        if (!isTls(v))
            continue;
        if (!low)
            low = v;
        high = v;
    }
    if (!low)
        return std::nullopt;
    return std::make_pair(*low, *high);
}
