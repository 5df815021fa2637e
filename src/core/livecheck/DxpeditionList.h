#pragma once

#include "livecheck/CallsignIndex.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The DXpedition check list: the monthly list file fetched at start-up,
// followed by the extra callsigns the user types into the calendar window's
// grid. The lists only grow while the program runs.
class DxpeditionList
{
public:
    // The lines of the downloaded file, in file order.
    QStringList StringListDolv;
    // The callsigns read from the calendar grid at its last close; cleared
    // each time the calendar window is opened from the main window.
    QStringList StringListShort;
    // What the live check compares spotted callsigns with.
    QStringList FinalstringListDolv;

    // Fetches the list at start-up. Never fails towards its caller: without
    // the file both lists stay empty and the program goes on.
    void ricevilistadolv(const QString& url);

    // Fetches url over TLS 1.2 and replaces the content of list with its
    // lines. Raises EIdException (or a subclass) on any failure.
    static void DownloadAndReadFileDolv(const QString& url, QStringList& list,
                                        int connectTimeoutMs = 10000, int requestTimeoutMs = 30000);

    // Appends the non-blank cells of the calendar grid, trimmed, to
    // StringListShort and then all of StringListShort to FinalstringListDolv.
    void leggoshorteaggiungoadolv(const QStringList& gridCells);

    // The entries of a list file. Each line is taken whole: "3Y0K\r\n"
    // gives "3Y0K", " e51d \n" gives " e51d ", an empty line an empty entry.
    static QStringList linesOfListFile(const QByteArray& bytes);

    // FinalstringListDolv ready for lookups. The list only grows (its
    // downloaded part is set once), so the index is rebuilt whenever its
    // length changed since the last lookup.
    const CallsignIndex& checkIndex() const;

    // Shorter limits for the tests; the program keeps 10 s and 30 s.
    void setTimeouts(int connectTimeoutMs, int requestTimeoutMs);

private:
    int m_connectTimeoutMs = 10000;
    int m_requestTimeoutMs = 30000;
    mutable CallsignIndex m_index;
    mutable qsizetype m_indexedCount = -1;
};
