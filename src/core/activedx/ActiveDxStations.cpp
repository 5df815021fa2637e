#include "activedx/ActiveDxStations.h"

#include "activedx/ActiveDxFeed.h"
#include "activedx/ActiveDxModel.h"
#include "dxcc/CountryFile.h"
#include "dxcc/CountryFileUpdate.h"
#include "activedx/DxSettings.h"
#include "log/LogLoader.h"
#include "log/LogSettings.h"

ActiveDxStations::ActiveDxStations(const QString& programDir, QObject* parent)
    : QObject(parent), m_programDir(programDir),
      m_update(new CountryFileUpdate(programDir, this)), m_model(new ActiveDxModel(this)),
      m_log(new LogLoader(this))
{
    readCountries();
    const DxSettings dxSettings(programDir);
    m_model->setMaxAgeMinutes(dxSettings.maxAgeMinutes());
    m_model->setLocator(dxSettings.locator());
    m_region = dxSettings.region();
    m_feed = std::make_unique<ActiveDxFeed>(m_model);

    connect(m_log, &LogLoader::indexChanged, m_model, &ActiveDxModel::setLogIndex);
    const LogSettings logSettings(programDir);
    m_log->setCountryTable(*m_countries);
    m_log->setOptions(logSettings.options());
    m_log->setFile(logSettings.file());

    // The new edition is beside the settings now, read before the others.
    connect(m_update, &CountryFileUpdate::finished, this,
            [this](const CountryFileUpdate::Outcome& outcome) {
                if (outcome.result != CountryFileUpdate::Result::Updated)
                    return;
                readCountries();
                m_log->setCountryTable(*m_countries);
                emit countriesChanged(m_countries, m_countryFileLine);
            });
}

void ActiveDxStations::readCountries()
{
    const CountryFile::Loaded countries =
        CountryFile::load(CountryFile::searchPaths(m_programDir), CountryFile::kMinEntities);
    m_countryFileLine = CountryFile::report(countries, m_programDir);
    m_countries = std::make_shared<const CountryTable>(countries.table);
    if (!countries.table.isEmpty())
        m_model->setCountryTable(m_countries);
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
