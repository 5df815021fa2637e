#include "spots/NodeLine.h"

#include "spots/SpotReader.h"

NodeLine NodeLine::read(QStringView line, const SpotReader& reader)
{
    NodeLine out;
    if (line.isEmpty())
        return out;
    // The first character tells which reader may take the line, so each
    // line is read by one of them at most.
    const QChar first = line.front();
    if (first == u'D') {
        if ((out.spot = reader.read(line)))
            out.kind = Kind::Spot;
    } else if (first == u'W') {
        if ((out.solar = SolarReport::read(line)))
            out.kind = out.solar->source == SolarReport::Source::Wwv ? Kind::Wwv : Kind::Wcy;
    } else if (first == u'T') {
        if ((out.announcement = Announcement::read(line)))
            out.kind = Kind::Announcement;
    } else if (first == u' ' || (first >= u'0' && first <= u'9')) {
        if ((out.spot = reader.readListing(line)))
            out.kind = Kind::ListedSpot;
    }
    return out;
}
