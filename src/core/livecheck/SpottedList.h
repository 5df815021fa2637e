#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// The DXpeditions spotted this run, as the small list of the main window
// shows them: at most twelve, newest first, each callsign once per run (the
// letters A-Z and a-z taken alike), spelled as first seen. The list is the
// model the window's list view shows: each row's text is the callsign, and
// it carries its tag and its lookup link, made once when the row comes in.
class SpottedList : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int kMaxItems = 12;
    // A row's tag (1: the row carries a lookup link; 0: nothing to open) and
    // its link.
    static constexpr int kTagRole = Qt::UserRole;
    static constexpr int kLinkRole = Qt::UserRole + 1;

    explicit SpottedList(QObject* parent = nullptr);

    // Every callsign ever listed this run; never cleared, so a callsign
    // pushed out at the bottom does not come back.
    QStringList PrintedResults;

    // The captions on show, newest first.
    const QStringList& items() const { return m_items; }

    // The address a row's link is made from (the callsign is appended).
    // Rows already listed keep theirs.
    void setLookupBase(const QString& base) { m_lookupBase = base; }

    // Lists the callsign unless it was listed before; true when the list
    // changed. A full list loses its oldest row first.
    bool PopulateListView(const QString& resultString);
    // True when the callsign was listed before this run.
    bool listedBefore(const QString& resultString) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The lookup page of a callsign: the base address with the callsign
    // appended to its path. Every character other than A-Z, a-z, 0-9, "/"
    // and the unreserved "-._~" is percent-encoded, so the text a node sent
    // cannot reach another site, a query or a fragment:
    //   ("https://www.qrz.com/db/", "VP2M/W1AW") -> https://www.qrz.com/db/VP2M/W1AW
    //   ("https://www.qrz.com/db/", "X?a#b")     -> https://www.qrz.com/db/X%3Fa%23b
    // A word with a path step "." or ".." gets no link (an empty QUrl).
    static QUrl lookupLink(const QString& base, const QString& callsign);

private:
    // Inserts one row at the top.
    void AddListViewItem(const QString& value, const QUrl& link);

    QStringList m_items;
    QList<QUrl> m_links; // row by row with m_items
    QString m_lookupBase;
};
