#pragma once

#include "net/TIdSSLOptions.h"

// The TLS layer of an HTTPS request. Attached to a TIdHTTP as its IOHandler
// for one request; the TLS work itself is done by libcurl over OpenSSL.
// Certificates are never verified: the list host may well use a
// self-signed one.
class TIdSSLIOHandlerSocketOpenSSL
{
public:
    TIdSSLOptions& SSLOptions() { return m_options; }
    const TIdSSLOptions& SSLOptions() const { return m_options; }

private:
    TIdSSLOptions m_options;
};
