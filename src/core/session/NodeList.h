#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One line of nodes.txt as the node grid shows it:
//
//   GB7DJK;gb7djk.dxcluster.net;7300
//
// gives name "GB7DJK", address "gb7djk.dxcluster.net", port "7300", each
// exactly as written. A line with fewer than three fields is an empty row.
struct NodeRow
{
    QString name;
    QString address;
    QString port;

    bool operator==(const NodeRow&) const = default;
};

namespace NodeList {

// The file holds at most this many lines; any further lines are ignored.
constexpr int kMaxLines = 32768;

// The rows of nodes.txt, one per line, the heading line first. Lines end in
// CR LF, LF or a lone CR; a line break at the very end of the file ends the
// last line and adds no row, so an empty file has no rows at all.
QList<NodeRow> parse(const QByteArray& fileBytes);

// One line split at ";".
NodeRow parseLine(const QString& line);

} // namespace NodeList
