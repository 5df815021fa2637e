#include "dxcc/ActiveDxStations.h"

#include "dxcc/ActiveDxFeed.h"
#include "dxcc/ActiveDxModel.h"
#include "dxcc/CountryFile.h"
#include "dxcc/DxSettings.h"

ActiveDxStations::ActiveDxStations(const QString& programDir, QObject* parent)
    : QObject(parent), m_model(new ActiveDxModel(this))
{
    const CountryFile::Loaded countries =
        CountryFile::load(CountryFile::searchPaths(programDir), CountryFile::kMinEntities);
    m_countryFileLine = CountryFile::report(countries, programDir);
    m_countries = std::make_shared<const CountryTable>(countries.table);
    if (!countries.table.isEmpty())
        m_model->setCountryTable(m_countries);
    const DxSettings dxSettings(programDir);
    m_model->setMaxAgeMinutes(dxSettings.maxAgeMinutes());
    m_model->setLocator(dxSettings.locator());
    m_region = dxSettings.region();
    m_feed = std::make_unique<ActiveDxFeed>(m_model);
}

ActiveDxStations::~ActiveDxStations() = default;

void ActiveDxStations::feed(const SpotEvent& event)
{
    m_feed->feed(event);
}

void ActiveDxStations::setLive(bool live)
{
    m_feed->setLive(live);
}
