#include "net/EIdException.h"

EIdException::EIdException(const QString& message) : m_message(message), m_utf8(message.toUtf8()) {}
