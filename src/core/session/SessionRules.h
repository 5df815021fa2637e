#pragma once

#include <QString>

#include <optional>

// Rules of the command line and of the connect step, kept apart from the
// window so they can be checked on their own.
namespace SessionRules {

inline const QString kLoginHint = QStringLiteral("Your Call for Login");
constexpr int kCommandMaxLength = 35;

enum class CommandKind
{
    Send,
    LineCounter,
    UnknownLocal
};

struct Command
{
    CommandKind kind;
    QString text; // what goes to the node (Send), without the line end
};

// What "Send" does with the command line. A single character counts as an
// empty line, so a stray key press sends a bare line end ("> " is echoed);
// a line beginning with "//" is a local command and never reaches the node:
//   "//lc"      -> the line counter is shown
//   "//LC", "//x" -> unknown local command
Command classifyCommand(const QString& commandLine);

// The command line once its text has been sent (or taken as a local
// command): the sent text comes off its start, and what the user typed
// after it, while the line waited for a connect, stays. A line that no
// longer begins with the sent text is left whole.
//   ("sh/dx", "sh/dx")        -> ""
//   ("sh/dx", "sh/dxsh/wwv")  -> "sh/wwv"
//   ("sh/dx", "bye")          -> "bye"
QString commandLineAfterSend(const QString& sent, const QString& now);

// The port column of the node list read as a TCP port: decimal, 0 to 65535.
// Returns the port, or sets *error to a message for "Connection failed: ".
std::optional<quint16> parsePort(const QString& portText, QString* error);

// Whether a text from the node asks for the callsign, so a login can be sent
// again after a reconnect:
//   "login: "                   (DXSpider, no line end)
//   "Please enter your call:"   (AR-Cluster, CC Cluster)
//   "Enter your callsign"
bool isLoginPrompt(const QString& text);

// Whether a line shows that a node serves the session, as its spots do:
//   "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z"
// while "login: ", "Hello N0CALL" or "Sorry, you are already connected" say
// nothing of the kind.
bool isServingLine(const QString& line);

} // namespace SessionRules
