#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Raised by the form scaling component's setters when a value breaks a size
// rule, e.g. "Set this value equal to or less than the FormWidth".
class EInvalidOperation : public std::exception
{
public:
    explicit EInvalidOperation(const QString& message);

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
