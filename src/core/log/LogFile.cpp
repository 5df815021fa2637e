#include "log/LogFile.h"

#include "log/AdiReader.h"
#include "log/AdxReader.h"
#include "settings/BoundedFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

LogFile::Format LogFile::formatOf(QByteArrayView bytes)
{
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (at < bytes.size() &&
           (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n'))
        ++at;
    const QByteArrayView head = bytes.sliced(at).first(qMin<qsizetype>(5, bytes.size() - at));
    const auto startsWith = [&](const char* word) {
        return QLatin1StringView(head).startsWith(QLatin1StringView(word), Qt::CaseInsensitive);
    };
    return startsWith("<?xml") || startsWith("<adx") ? Format::Adx : Format::Adi;
}

LogReadReport LogFile::read(QByteArrayView bytes, const std::function<void(LogQso&&)>& sink)
{
    return formatOf(bytes) == Format::Adx ? AdxReader::read(bytes, sink)
                                          : AdiReader::read(bytes, sink);
}

LogFile::Loaded LogFile::load(const QString& path, const LogOptions& options,
                              const CountryTable& countries)
{
    Loaded loaded;
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const BoundedFile::Result file = BoundedFile::read(path, MaxBytes);
    if (file.status == BoundedFile::Status::Missing) {
        loaded.error = QStringLiteral("%1: no such file").arg(shown);
        return loaded;
    }
    if (file.status != BoundedFile::Status::Read) {
        loaded.error =
            QStringLiteral("%1 cannot be read: a log must be a file of at most 256 MiB").arg(shown);
        return loaded;
    }
    auto index = std::make_shared<LogIndex>(options);
    loaded.report = read(file.bytes, [&](LogQso&& qso) { index->add(qso, countries); });
    if (loaded.report.refused()) {
        loaded.error =
            QStringLiteral("%1 is not an ADIF log: %2").arg(shown, loaded.report.refusal);
        return loaded;
    }
    index->setSource(QFileInfo(path).fileName(), QDateTime::currentDateTime(),
                     loaded.report.skipped);
    loaded.index = std::move(index);
    return loaded;
}
