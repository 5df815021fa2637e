#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// A callsign pattern of an alert rule, matched against the whole spotted
// call without regard to case:
//
//   "T3*"     T30ABC, T32AZ, t33a        not KH6/T30X
//   "3Y?K"    3Y0K                       not 3Y0KA
//   "*/P"     DL1ABC/P
//
// "*" stands for any run of characters (none included), "?" for exactly one.
// The pattern is checked and upper-cased once when it is made, so matching a
// spot allocates nothing and needs no regular expression.
class CallPattern
{
public:
    // The empty pattern: matches every call.
    CallPattern() = default;

    // None for text with other characters than letters, digits, "/", "*"
    // and "?", or longer than kMaxLength. Blanks around it do not count.
    static std::optional<CallPattern> compile(const QString& text);

    static constexpr int kMaxLength = 32;

    bool isEmpty() const { return m_pattern.isEmpty(); }
    // As the user wrote it (trimmed), for the editor and the file.
    const QString& text() const { return m_text; }

    bool matches(QStringView call) const;

    bool operator==(const CallPattern& other) const { return m_text == other.m_text; }

private:
    QString m_text;
    QString m_pattern; // upper case, runs of "*" made one
};
