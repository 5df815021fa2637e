#include "dxcc/DxSettings.h"

#include "dxcc/ActiveDxModel.h"
#include "dxcc/Locator.h"
#include "settings/IniFile.h"

#include <QDir>

namespace {

const QString kWindow = QStringLiteral("DxWindow");

} // namespace

DxSettings::DxSettings(QString programDir) : m_programDir(std::move(programDir)) {}

static IniFile settingsIni(const QString& dir)
{
    return IniFile(QDir(dir).filePath(QStringLiteral("settings.ini")));
}

static IniFile settings2Ini(const QString& dir)
{
    return IniFile(QDir(dir).filePath(QStringLiteral("settings2.ini")));
}

QString DxSettings::locator() const
{
    const QString stored = settingsIni(m_programDir).readString(QStringLiteral("Station"),
                                                                 QStringLiteral("Locator"));
    if (const std::optional<QString> locator = Locator::normalized(stored))
        return *locator;
    const QString kept = settings2Ini(m_programDir).readString(kWindow, QStringLiteral("Locator"));
    return Locator::normalized(kept).value_or(QString());
}

bool DxSettings::saveLocator(const QString& locator, QString* error) const
{
    const bool station = settingsIni(m_programDir)
                             .writeString(QStringLiteral("Station"), QStringLiteral("Locator"),
                                          locator, error);
    const bool kept = settings2Ini(m_programDir)
                          .writeString(kWindow, QStringLiteral("Locator"), locator,
                                       station ? error : nullptr);
    return station && kept;
}

BandPlan::Region DxSettings::region() const
{
    const QString stored = settingsIni(m_programDir).readString(QStringLiteral("Station"),
                                                                 QStringLiteral("Region"));
    return BandPlan::regionFromSetting(stored).value_or(BandPlan::Region::One);
}

int DxSettings::maxAgeMinutes() const
{
    const int v = settingsIni(m_programDir)
                      .readInteger(kWindow, QStringLiteral("MaxAgeMinutes"),
                                   ActiveDxModel::DefaultMaxAgeMinutes);
    return qBound(1, v, 24 * 60);
}

QString DxSettings::continent() const
{
    const QString c = settings2Ini(m_programDir).readString(kWindow, QStringLiteral("Continent"));
    static const QStringList known = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};
    return known.contains(c) ? c : QString();
}

QString DxSettings::mode() const
{
    const QString m = settings2Ini(m_programDir).readString(kWindow, QStringLiteral("Mode"));
    static const QStringList known = {"CW", "Phone", "Digital"};
    return known.contains(m) ? m : QString();
}

QString DxSettings::filterText() const
{
    return settings2Ini(m_programDir).readString(kWindow, QStringLiteral("Filter")).left(40);
}

// A window's or a header's state is a few hundred bytes; a hand-edited
// giant is no state.
static QByteArray readState(const QString& dir, const QString& key)
{
    const QString text = settings2Ini(dir).readString(kWindow, key);
    if (text.size() > 4096)
        return {};
    return QByteArray::fromBase64(text.toLatin1());
}

QByteArray DxSettings::geometry() const
{
    return readState(m_programDir, QStringLiteral("Geometry"));
}

QByteArray DxSettings::columns() const
{
    return readState(m_programDir, QStringLiteral("Columns"));
}

//   SizedColumns=3,12
QList<int> DxSettings::sizedColumns() const
{
    const QString text =
        settings2Ini(m_programDir).readString(kWindow, QStringLiteral("SizedColumns")).left(200);
    QList<int> columns;
    for (const QString& word : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int c = word.trimmed().toInt(&ok);
        if (ok && c >= 0 && c < ActiveDxModel::ColumnCount && !columns.contains(c))
            columns.append(c);
    }
    return columns;
}

bool DxSettings::saveChoices(const Choices& choices) const
{
    QStringList sized;
    for (const int c : choices.sizedColumns)
        sized.append(QString::number(c));
    return settings2Ini(m_programDir)
        .writeStrings(kWindow, {{QStringLiteral("Continent"), choices.continent},
                                {QStringLiteral("Mode"), choices.mode},
                                {QStringLiteral("Filter"), choices.filterText},
                                {QStringLiteral("Geometry"),
                                 QString::fromLatin1(choices.geometry.toBase64())},
                                {QStringLiteral("Columns"),
                                 QString::fromLatin1(choices.columns.toBase64())},
                                {QStringLiteral("SizedColumns"), sized.join(u',')}});
}
