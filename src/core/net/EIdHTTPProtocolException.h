#pragma once

#include "net/EIdException.h"

// The server answered, but not with a success. The message is the status
// line as it came ("HTTP/1.1 404 Not Found"); the error page's text is kept
// in ErrorMessage.
class EIdHTTPProtocolException : public EIdException
{
public:
    EIdHTTPProtocolException(const QString& statusLine, int errorCode, const QString& errorMessage);

    int ErrorCode() const { return m_errorCode; }
    const QString& ErrorMessage() const { return m_errorMessage; }

private:
    int m_errorCode;
    QString m_errorMessage;
};
