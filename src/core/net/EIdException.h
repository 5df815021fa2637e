#pragma once

#include <QString>

#include <exception>

// The common root of the errors the network classes raise. The message is
// the text the user or the caller sees, e.g. "Unknown Protocol" or
// "Socket Error # 10061\r\nConnection refused."
class EIdException : public std::exception
{
public:
    explicit EIdException(const QString& message);

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
