#include "session/SessionRules.h"

#include "dxcc/SpotFields.h"
#include "session/IncomingLine.h"

namespace SessionRules {

Command classifyCommand(const QString& commandLine)
{
    const QString command = commandLine.size() >= 2 ? commandLine : QString();
    if (!command.startsWith(QLatin1String("//")))
        return {CommandKind::Send, command};
    if (command.left(4) == QLatin1String("//lc"))
        return {CommandKind::LineCounter, command};
    return {CommandKind::UnknownLocal, command};
}

std::optional<quint16> parsePort(const QString& portText, QString* error)
{
    auto fail = [error](const QString& message) -> std::optional<quint16> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (portText.isEmpty())
        return fail(QStringLiteral("no port given; choose a node in the list"));
    bool allDigits = true;
    for (const QChar c : portText)
        allDigits = allDigits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!allDigits)
        return fail(QStringLiteral("'%1' is not a valid port number").arg(portText));
    bool ok = false;
    const qulonglong value = portText.toULongLong(&ok);
    if (!ok || value > 65535)
        return fail(QStringLiteral("port %1 is outside 0 to 65535").arg(portText));
    return static_cast<quint16>(value);
}

bool isLoginPrompt(const QString& text)
{
    return text.contains(QLatin1String("login:"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("call:"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("callsign"), Qt::CaseInsensitive);
}

bool isServingLine(const QString& line)
{
    // A spot's fields lie at the start of its line: the rest of a long
    // line is not looked at.
    return SpotFields::read(IncomingLine::clean(line.left(256))).has_value();
}

QString commandLineAfterSend(const QString& sent, const QString& now)
{
    return now.startsWith(sent) ? now.mid(sent.size()) : now;
}

} // namespace SessionRules
