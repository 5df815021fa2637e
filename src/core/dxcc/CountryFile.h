#pragma once

#include "dxcc/CountryTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Finding and reading the country file cty.dat. The user's own copy comes
// first, so that a newer edition downloaded by hand overrides the one the
// system package brings.
class CountryFile
{
public:
    // The real file is about 333 KB; a file many times larger is no country
    // file and is not read.
    static constexpr qint64 MaxBytes = 4 * 1024 * 1024;

    // Debian's copy, from the package hamradio-files.
    static QString systemPath();

    // The places searched, in order: cty.dat in the program folder (for an
    // installed program that is ~/.config/marvix-terminal), then Debian's.
    static QStringList searchPaths(const QString& programDir);

    // The bytes of a regular file of at most maxBytes; none for a missing
    // file, a folder, a device or pipe (which could block), a larger file or
    // one that cannot be read.
    static std::optional<QByteArray> readBounded(const QString& path, qint64 maxBytes = MaxBytes);

    struct Loaded
    {
        CountryTable table; // empty when no file could be used
        QString path;       // the file read, empty when none
        // Files passed over on the way, each "path: reason".
        QStringList skipped;
    };

    // A country file lists some 340 entities; fewer than this is a damaged
    // or foreign file (one whose aliases did not read looks up nothing), and
    // the program passes over it to the next place.
    static constexpr int kMinEntities = 300;

    // The first of the paths that reads and holds at least minEntities
    // entities (at least one record when not given).
    static Loaded load(const QStringList& paths, int minEntities = 1);

    // The line the DX window shows about the country file:
    //   "Country file cty.dat of 2023-05-02 (/usr/share/hamradio-files/cty.dat)"
    //   "No country file: install hamradio-files or put cty.dat in /home/op/.config/marvix-terminal"
    static QString describe(const Loaded& loaded, const QString& programDir);
    // That line, and one more for each file passed over:
    //   "Not used: /home/op/.config/marvix-terminal/cty.dat: only 1 entity in it (at least 300)"
    static QString report(const Loaded& loaded, const QString& programDir);
};
