#include "app/DxWindowController.h"

#include "alerts/AlertCenter.h"
#include "alerts/AlertsFile.h"
#include "app/AppContext.h"
#include "activedx/ActiveDxModel.h"
#include "activedx/ActiveDxStations.h"
#include "log/LogLoader.h"
#include "pipeline/SpotEvent.h"
#include "pipeline/SpotPipeline.h"
#include "windows/AlertsWindow.h"
#include "windows/DxWindow.h"

#include <QAction>
#include <QDir>
#include <QToolButton>
#include <QWidget>

DxWindowController::DxWindowController(const AppContext& ctx, Setup setup, QObject* parent)
    : QObject(parent), m_setup(std::move(setup)), m_programDir(ctx.programDir)
{
    m_dx = new ActiveDxStations(ctx.programDir, this);
    createAlerts(ctx);
    createPipeline(ctx);

    QWidget* main = m_setup.mainWindow;
    // The picture button in the free space between the banner and the link
    // buttons (in the form).
    if (auto* button = main->findChild<QToolButton*>(QStringLiteral("DxWindowButton")))
        connect(button, &QToolButton::clicked, this, &DxWindowController::showDxWindow);
    const auto key = [this, main](const char* name, Qt::Key key, auto slot) {
        auto* action = new QAction(main);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        main->addAction(action);
    };
    key("DxWindowAction", Qt::Key_F3, &DxWindowController::showDxWindow);
    key("AlertsAction", Qt::Key_F4, &DxWindowController::showAlertsWindow);

    // The user's log judges the spots of the rules too.
    m_alerts->setLogIndex(m_dx->log()->index());
    connect(m_dx->log(), &LogLoader::indexChanged, m_alerts, &AlertCenter::setLogIndex);
    connect(m_dx, &ActiveDxStations::countriesChanged, this,
            [this](const std::shared_ptr<const CountryTable>& countries, const QString& line) {
                m_pipeline->setCountries(countries);
                if (m_dxWindow)
                    m_dxWindow->setCountryFileLine(line);
            });
}

// The alerts' editor is a window of its own (see showAlertsWindow).
DxWindowController::~DxWindowController()
{
    delete m_alertsWindow;
}

ActiveDxModel* DxWindowController::activeDx() const
{
    return m_dx->model();
}

void DxWindowController::bandsChanged()
{
    if (m_dxWindow)
        m_dxWindow->setBandStates(m_setup.bands->states());
}

// Every line from the node goes through the pipeline: the panes show what
// its designed path decides, and the one spot it reads goes to the DX
// window and the alerts (the rules after the designed paths, as always).
void DxWindowController::createPipeline(const AppContext& ctx)
{
    SpotPipeline::Setup setup;
    setup.book = m_setup.book;
    setup.bands = m_setup.bands;
    setup.countries = m_dx->countries();
    setup.region = m_dx->region();
    setup.nowUtc = ctx.nowUtc;
    m_pipeline = new SpotPipeline(std::move(setup), this);
    m_pipeline->setLocator(m_dx->model()->locator());
    connect(m_dx->model(), &ActiveDxModel::locatorChanged, m_pipeline, &SpotPipeline::setLocator);
    connect(m_pipeline, &SpotPipeline::spotRead, this, [this](const SpotEvent& event, bool hit) {
        m_dx->feed(event);
        const bool sound = m_setup.soundOn();
        if (hit)
            m_alerts->hitTaken(event, sound);
        m_alerts->spotTaken(event, sound);
    });
}

void DxWindowController::createAlerts(const AppContext& ctx)
{
    AlertCenter::Setup setup;
    setup.alertsPath = QDir(ctx.programDir).filePath(AlertsFile::fileName());
    setup.settingsPath = m_setup.settingsPath;
    setup.soundDir = ctx.workDir;
    setup.notificationBusAddress = ctx.notificationBusAddress;
    setup.speechEngine = ctx.speechEngine;
    setup.countries = m_dx->countries();
    setup.nowUtc = ctx.nowUtc;
    m_alerts = new AlertCenter(std::move(setup), this);
}

AlertsWindow* DxWindowController::showAlertsWindow()
{
    if (!m_alertsWindow) {
        // A broken file is reported once, in the editor.
        m_alertsWindow =
            new AlertsWindow(m_alerts->alertsPath(), m_alerts->rules(), m_alerts->takeProblems(),
                             m_alerts->countries(), m_alerts->speakHits(), nullptr);
        // A window of its own, not a child of the main window: the mnemonics
        // of a child window did not reach its buttons (Alt+A for Add). The
        // destructor deletes it; it never keeps the program running.
        m_alertsWindow->setAttribute(Qt::WA_QuitOnClose, false);
        connect(m_alertsWindow, &AlertsWindow::rulesSaved, m_alerts, &AlertCenter::setRules);
        connect(m_alertsWindow, &AlertsWindow::speakHitsChanged, this, [this](bool speak) {
            QString error;
            if (!m_alerts->setSpeakHits(speak, &error))
                emit message(error);
        });
    }
    m_alertsWindow->show();
    m_alertsWindow->raise();
    m_alertsWindow->activateWindow();
    return m_alertsWindow;
}

DxWindow* DxWindowController::showDxWindow()
{
    if (!m_dxWindow) {
        m_dxWindow = new DxWindow(m_dx->model(), m_programDir, m_dx->countryFileLine(),
                                  m_alerts->log(), m_setup.mainWindow);
        m_dxWindow->setBandStates(m_setup.bands->states());
        m_dxWindow->setLog(m_dx->log());
        m_dxWindow->setCountryFileUpdate(m_dx->countryUpdate());
        connect(m_dxWindow, &DxWindow::shownChanged, this,
                [this](bool shown) { m_dx->setLive(shown); });
        connect(m_dxWindow, &DxWindow::alertsRequested, this,
                &DxWindowController::showAlertsWindow);
        // By the spot's own mode, at its frequency in Hz.
        connect(m_dxWindow, &DxWindow::spotChosen, this, &DxWindowController::spotChosen);
    }
    m_dxWindow->present();
    return m_dxWindow;
}
