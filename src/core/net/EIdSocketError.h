#pragma once

#include "net/EIdException.h"

// A failure of the socket itself, numbered the Windows Sockets way:
// "Socket Error # 10060\r\nConnection timed out."
class EIdSocketError : public EIdException
{
public:
    explicit EIdSocketError(int lastError);

    int LastError() const { return m_lastError; }

private:
    int m_lastError;
};
