#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The DXpeditions spotted this run, as the small list of the main window
// shows them: at most twelve, newest first, each callsign once per run (the
// letters A-Z and a-z taken alike), spelled as first seen.
class SpottedList
{
public:
    static constexpr int kMaxItems = 12;

    // Every callsign ever listed this run; never cleared, so a callsign
    // pushed out at the bottom does not come back.
    QStringList PrintedResults;

    // The captions on show, newest first.
    const QStringList& items() const { return m_items; }

    // Lists the callsign unless it was listed before; true when the list
    // changed.
    bool PopulateListView(const QString& resultString);

    // The lookup page of a callsign: the base address with the callsign
    // appended to its path. Every character other than A-Z, a-z, 0-9, "/"
    // and the unreserved "-._~" is percent-encoded, so the text a node sent
    // cannot reach another site, a query or a fragment:
    //   ("https://www.qrz.com/db/", "VP2M/W1AW") -> https://www.qrz.com/db/VP2M/W1AW
    //   ("https://www.qrz.com/db/", "X?a#b")     -> https://www.qrz.com/db/X%3Fa%23b
    // A word with a path step "." or ".." gets no link (an empty QUrl).
    static QUrl lookupLink(const QString& base, const QString& callsign);

private:
    QStringList m_items;
};
