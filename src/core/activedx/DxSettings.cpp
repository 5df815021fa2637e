#include "activedx/DxSettings.h"

#include "activedx/ActiveDxModel.h"
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

// The window's saved geometry is a few dozen bytes; a hand-edited giant is
// no geometry.
QByteArray DxSettings::geometry() const
{
    const QString text = settings2Ini(m_programDir).readString(kWindow, QStringLiteral("Geometry"));
    if (text.size() > 4096)
        return {};
    return QByteArray::fromBase64(text.toLatin1());
}

namespace {

//   "50,70,90,180" -> 50, 70, 90, 180; at most max numbers, each one checked
// by valid; a word that is no number ends the list.
template <typename Valid>
QList<int> listedNumbers(const QString& text, int max, Valid valid)
{
    QList<int> list;
    for (const QString& word : text.left(400).split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = word.trimmed().toInt(&ok);
        if (!ok || list.size() >= max)
            break;
        if (valid(n, list))
            list.append(n);
    }
    return list;
}

} // namespace

QList<int> DxSettings::columnWidths() const
{
    const QString text =
        settings2Ini(m_programDir).readString(kWindow, QStringLiteral("ColumnWidths"));
    QList<int> widths = listedNumbers(text, ActiveDxModel::ColumnCount, [](int, const QList<int>&) {
        return true;
    });
    for (int& w : widths)
        w = qBound(MinColumnWidth, w, MaxColumnWidth);
    return widths;
}

//   SizedColumns=3,12
QList<int> DxSettings::sizedColumns() const
{
    const QString text =
        settings2Ini(m_programDir).readString(kWindow, QStringLiteral("SizedColumns"));
    return listedNumbers(text, ActiveDxModel::ColumnCount, [](int c, const QList<int>& soFar) {
        return c >= 0 && c < ActiveDxModel::ColumnCount && !soFar.contains(c);
    });
}

std::optional<DxSettings::Sort> DxSettings::sort() const
{
    const IniFile ini = settings2Ini(m_programDir);
    const std::optional<int> column =
        IniFile::parseInteger(ini.readString(kWindow, QStringLiteral("SortColumn")));
    if (!column || *column < 0 || *column >= ActiveDxModel::ColumnCount)
        return std::nullopt;
    return Sort{*column, ini.readInteger(kWindow, QStringLiteral("SortDescending"), 1) != 0};
}

bool DxSettings::saveChoices(const Choices& choices) const
{
    const auto join = [](const QList<int>& list) {
        QStringList words;
        for (const int n : list)
            words.append(QString::number(n));
        return words.join(u',');
    };
    return settings2Ini(m_programDir)
        .writeStrings(kWindow, {{QStringLiteral("Continent"), choices.continent},
                                {QStringLiteral("Mode"), choices.mode},
                                {QStringLiteral("Filter"), choices.filterText},
                                {QStringLiteral("Geometry"),
                                 QString::fromLatin1(choices.geometry.toBase64())},
                                {QStringLiteral("ColumnWidths"), join(choices.columnWidths)},
                                {QStringLiteral("SizedColumns"), join(choices.sizedColumns)},
                                {QStringLiteral("SortColumn"),
                                 QString::number(choices.sort.column)},
                                {QStringLiteral("SortDescending"),
                                 choices.sort.descending ? QStringLiteral("1")
                                                         : QStringLiteral("0")}});
}
