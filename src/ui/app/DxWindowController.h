#pragma once

#include "spots/Spot.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class ActiveDxModel;
class ActiveDxStations;
class AlertCenter;
class AlertsWindow;
class BandFilter;
class DxWindow;
class LiveCheckBook;
class QWidget;
class SpotPipeline;
struct AppContext;

// What the main window feeds beyond its designed panes: every node line
// through the spot pipeline, the spots it reads to the DX window's stations
// and the alert center, the user's log and the country file update, and
// the DX window (F3, the picture button) and the alert rules' editor (F4),
// each made when first opened.
class DxWindowController : public QObject
{
    Q_OBJECT
public:
    struct Setup
    {
        QWidget* mainWindow = nullptr; // takes the F3 and F4 keys; parent of the DX window
        LiveCheckBook* book = nullptr;
        BandFilter* bands = nullptr;
        QString settingsPath;          // settings.ini
        std::function<bool()> soundOn; // the window's Dx sound switch
    };

    DxWindowController(const AppContext& ctx, Setup setup, QObject* parent = nullptr);
    ~DxWindowController() override;

    SpotPipeline* pipeline() const { return m_pipeline; }
    AlertCenter* alerts() const { return m_alerts; }
    ActiveDxModel* activeDx() const;

    DxWindow* showDxWindow();
    AlertsWindow* showAlertsWindow();
    // The band strip changed the states.
    void bandsChanged();

signals:
    // The user chose a spot in the DX window: the rig tunes to it.
    void spotChosen(const Spot& spot);
    // Something went wrong that the user should read.
    void message(const QString& text);

private:
    void createAlerts(const AppContext& ctx);
    void createPipeline(const AppContext& ctx);

    Setup m_setup;
    QString m_programDir;
    ActiveDxStations* m_dx = nullptr;
    AlertCenter* m_alerts = nullptr;
    SpotPipeline* m_pipeline = nullptr;
    DxWindow* m_dxWindow = nullptr;
    AlertsWindow* m_alertsWindow = nullptr;
};
