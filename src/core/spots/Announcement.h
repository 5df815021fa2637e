#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// A message a user of the network sends to everyone, to the users of one
// node, or to the sysops:
//
//   To ALL de EA8ABC: Contest starts at 0000Z, pse QRX on 14025
//   To LOCAL de G1TLH <1357Z>: node down for a restart at 1400Z
struct Announcement
{
    QString audience; // "ALL", "LOCAL" or "SYSOP"
    QString from;     // "EA8ABC"
    QString text;     // after the colon, trimmed

    // None for any other line, and for one longer than 512 characters.
    static std::optional<Announcement> read(QStringView line);

    friend bool operator==(const Announcement&, const Announcement&) = default;
};
