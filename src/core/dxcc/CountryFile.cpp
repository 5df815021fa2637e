#include "dxcc/CountryFile.h"

#include "settings/BoundedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString CountryFile::systemPath()
{
    return QStringLiteral("/usr/share/hamradio-files/cty.dat");
}

QStringList CountryFile::searchPaths(const QString& programDir)
{
    QStringList paths;
    if (!programDir.isEmpty())
        paths << QDir(programDir).filePath(QStringLiteral("cty.dat"));
    paths << systemPath();
    return paths;
}

std::optional<QByteArray> CountryFile::readBounded(const QString& path, qint64 maxBytes)
{
    BoundedFile::Result file = BoundedFile::read(path, maxBytes);
    if (file.status != BoundedFile::Status::Read)
        return std::nullopt;
    return std::move(file.bytes);
}

CountryFile::Loaded CountryFile::load(const QStringList& paths, int minEntities)
{
    Loaded loaded;
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path))
            continue;
        const std::optional<QByteArray> bytes = readBounded(path);
        if (!bytes) {
            loaded.skipped << QStringLiteral("%1: not a readable file of at most %2 bytes")
                                  .arg(QDir::toNativeSeparators(path))
                                  .arg(MaxBytes);
            continue;
        }
        CountryTable table = CountryTable::parse(*bytes);
        if (table.isEmpty()) {
            loaded.skipped << QStringLiteral("%1: no country records in it")
                                  .arg(QDir::toNativeSeparators(path));
            continue;
        }
        if (table.entityCount() < minEntities) {
            loaded.skipped << QStringLiteral("%1: only %2 %3 in it (at least %4)")
                                  .arg(QDir::toNativeSeparators(path))
                                  .arg(table.entityCount())
                                  .arg(table.entityCount() == 1 ? QStringLiteral("entity")
                                                                : QStringLiteral("entities"))
                                  .arg(minEntities);
            continue;
        }
        loaded.table = std::move(table);
        loaded.path = path;
        return loaded;
    }
    return loaded;
}

QString CountryFile::describe(const Loaded& loaded, const QString& programDir)
{
    if (loaded.path.isEmpty())
        return QStringLiteral("No country file: install hamradio-files or put cty.dat in %1")
            .arg(QDir::toNativeSeparators(programDir));
    const QString v = loaded.table.version();
    const QString edition = v.size() == 8
                                ? QStringLiteral(" of %1-%2-%3").arg(v.left(4), v.mid(4, 2), v.mid(6))
                                : QStringLiteral(" (edition not named)");
    return QStringLiteral("Country file cty.dat%1 (%2)")
        .arg(edition, QDir::toNativeSeparators(loaded.path));
}

QString CountryFile::report(const Loaded& loaded, const QString& programDir)
{
    QString text = describe(loaded, programDir);
    for (const QString& skipped : loaded.skipped)
        text += QStringLiteral("\nNot used: ") + skipped;
    return text;
}
