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
    return Locator::normalized(stored).value_or(QString());
}

bool DxSettings::saveLocator(const QString& locator, QString* error) const
{
    return settingsIni(m_programDir)
        .writeString(QStringLiteral("Station"), QStringLiteral("Locator"), locator, error);
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

QByteArray DxSettings::geometry() const
{
    const QString text = settings2Ini(m_programDir).readString(kWindow, QStringLiteral("Geometry"));
    return QByteArray::fromBase64(text.left(4096).toLatin1());
}

bool DxSettings::saveChoices(const QString& continent, const QString& mode,
                             const QString& filterText, const QByteArray& geometry) const
{
    const IniFile ini = settings2Ini(m_programDir);
    return ini.writeString(kWindow, QStringLiteral("Continent"), continent)
           && ini.writeString(kWindow, QStringLiteral("Mode"), mode)
           && ini.writeString(kWindow, QStringLiteral("Filter"), filterText)
           && ini.writeString(kWindow, QStringLiteral("Geometry"),
                              QString::fromLatin1(geometry.toBase64()));
}
