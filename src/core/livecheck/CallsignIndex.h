#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// A check list made ready for lookups. A spotted callsign is in the list when
// it equals a whole entry with the letters A-Z and a-z taken alike; nothing
// else is folded and nothing is trimmed: "vp8/g4abc" finds "VP8/G4ABC", but
// "é" never finds "É" and " 3Y0K" never finds "3Y0K".
//
// The calendar list holds tens of thousands of entries and every spot line is
// checked against it, so the folded entries are kept in a hash set, rebuilt
// whenever the list changes.
class CallsignIndex
{
public:
    CallsignIndex() = default;
    explicit CallsignIndex(const QStringList& entries) { rebuild(entries); }

    // Upper-cases a-z and leaves every other code unit as it is.
    //   "vp8/g4abc" -> "VP8/G4ABC";  "straße" -> "STRAßE"
    static QString fold(const QString& text);

    void rebuild(const QStringList& entries);

    // For a list of millions of entries: empties the index and keeps
    // foldedText, which the entries inserted next may point into
    // (QString::fromRawData) instead of each holding a copy.
    void restart(const QString& foldedText);
    // An entry already folded.
    void insertFolded(const QString& folded) { m_folded.insert(folded); }
    // False for an empty callsign: an empty entry matches nothing.
    bool contains(const QString& callsign) const;
    qsizetype size() const { return m_folded.size(); }

private:
    QSet<QString> m_folded;
    QString m_foldedText; // what raw entries point into
};
