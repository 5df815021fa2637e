#include "net/EIdSocketError.h"

#include "net/SocketErrors.h"

EIdSocketError::EIdSocketError(int lastError)
    : EIdException(SocketErrors::message(lastError)), m_lastError(lastError)
{}
