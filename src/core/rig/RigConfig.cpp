#include "rig/RigConfig.h"

#include "settings/IniFile.h"

#include <QDir>

namespace {

void applySection(const IniFile& ini, const QString& section, RigConfig& rig)
{
    rig.model = ini.readInteger(section, QStringLiteral("Model"), rig.model);
    const QString port = ini.readString(section, QStringLiteral("Port")).trimmed();
    if (!port.isEmpty())
        rig.port = port;
    rig.speed = ini.readInteger(section, QStringLiteral("Speed"), rig.speed);
}

} // namespace

RigBackend loadRigBackend(const QString& programDir)
{
    RigBackend backend;
    const IniFile ini(QDir(programDir).filePath(QStringLiteral("settings.ini")));
    applySection(ini, QStringLiteral("Rig1"), backend.rig1);
    applySection(ini, QStringLiteral("Rig2"), backend.rig2);
    return backend;
}
