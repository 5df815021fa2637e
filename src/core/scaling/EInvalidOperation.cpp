#include "scaling/EInvalidOperation.h"

EInvalidOperation::EInvalidOperation(const QString& message)
    : m_message(message), m_utf8(message.toUtf8())
{}
