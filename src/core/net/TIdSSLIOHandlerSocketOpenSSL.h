#pragma once

#include "net/TIdSSLOptions.h"

#include <QString>

// The TLS layer of an HTTPS request. Attached to a TIdHTTP as its IOHandler
// for one request; the TLS work itself is done by libcurl over OpenSSL.
// By default certificates are not verified: the list host may well use a
// self-signed one. A download that replaces a file the program trusts (the
// country file) asks for the check: the chain up to a trusted authority
// and the host's name.
class TIdSSLIOHandlerSocketOpenSSL
{
public:
    TIdSSLOptions& SSLOptions() { return m_options; }
    const TIdSSLOptions& SSLOptions() const { return m_options; }

    void setVerifyPeer(bool verify) { m_verifyPeer = verify; }
    bool verifyPeer() const { return m_verifyPeer; }
    // The authorities trusted when verifying, as a PEM file; empty: the
    // system's.
    void setCaFile(const QString& path) { m_caFile = path; }
    QString caFile() const { return m_caFile; }

private:
    TIdSSLOptions m_options;
    bool m_verifyPeer = false;
    QString m_caFile;
};
