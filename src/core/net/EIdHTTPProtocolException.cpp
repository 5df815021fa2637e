#include "net/EIdHTTPProtocolException.h"

EIdHTTPProtocolException::EIdHTTPProtocolException(const QString& statusLine, int errorCode,
                                                   const QString& errorMessage)
    : EIdException(statusLine), m_errorCode(errorCode), m_errorMessage(errorMessage)
{}
