#pragma once

#include "spots/BandFilter.h"
#include "spots/Spot.h"

#include <QList>
#include <QWidget>

class ActiveDxAlerts;
class ActiveDxFilter;
class ActiveDxModel;
class CountryFileUpdate;
class LogLoader;
class LogPanel;
class QCheckBox;
class CoalescedAnnouncer;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QAbstractItemModel;
class QPushButton;
class QTableView;
class QTimer;
class StillRows;

// The DX window: the stations active now, one row per callsign and band,
// with where they are, where to point the antenna and how far they are.
// It shows the main window's ActiveDxModel; a double-click or Enter on a
// row asks the main window to tune to that row's spot line.
//
// It keeps its place, size, column widths and sort in settings2.ini. It
// opens wholly on a screen: the first time centred on the main window. Its
// columns grow to fit what they show until the user sizes one. A new row and
// a new alert are told to a screen reader in words, at most once a second.
class DxWindow : public QWidget
{
    Q_OBJECT
public:
    // countryFileLine: what the window says about the country file.
    // alerts: the lines of the alerts so far, newest last; new ones come at
    // its end.
    DxWindow(ActiveDxModel* model, QString programDir, const QString& countryFileLine,
             QAbstractItemModel* alerts = nullptr, QWidget* parent = nullptr);
    ~DxWindow() override;

    // Shows the window in front, from closed or minimised alike.
    void present();

    // The band filter's states: rows of switched-off bands are hidden; with
    // every band off the window says so in place of the table.
    void setBandStates(const BandFilter::States& states);

    // The user's log: the line about it and the row to choose it go on top,
    // and the Status column comes with the log's index.
    void setLog(LogLoader* loader);
    LogPanel* logPanel() const { return m_logPanel; }
    // "Update country file" runs this update.
    void setCountryFileUpdate(CountryFileUpdate* update);
    // The country file in use changed.
    void setCountryFileLine(const QString& line);

    QTableView* table() const { return m_table; }
    QListView* alertList() const { return m_alertList; }
    ActiveDxFilter* filter() const { return m_filter; }

signals:
    // The spot line of the row the user chose, and the spot itself: the
    // rig is tuned by the spot's own mode and frequency.
    void tuneRequested(const QString& line);
    void spotChosen(const Spot& spot);
    // Shown or hidden (closed).
    void shownChanged(bool shown);
    // The user asked for the alert rules' editor.
    void alertsRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyLocator();
    void chooseRow(const QModelIndex& proxyIndex);
    void saveChoices();
    void saveSoon();
    void announceRows(int first, int last);
    void alertsAdded(int count, const QString& newest);
    void fitOnScreen();
    void fitColumns();
    void placeStatusColumn();

    ActiveDxModel* m_model;
    ActiveDxFilter* m_filter;
    QString m_programDir;
    QLabel* m_countryLine = nullptr;
    QLineEdit* m_locator = nullptr;
    QPushButton* m_setLocator = nullptr;
    QLabel* m_locatorMessage = nullptr;
    QComboBox* m_continent = nullptr;
    QComboBox* m_mode = nullptr;
    QLineEdit* m_text = nullptr;
    QCheckBox* m_neededOnly = nullptr;
    LogPanel* m_logPanel = nullptr;
    QPushButton* m_updateCountries = nullptr;
    QLabel* m_countryMessage = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_newest = nullptr;
    QLabel* m_emptyReason = nullptr;
    ActiveDxAlerts* m_alerts = nullptr;
    QListView* m_alertList = nullptr;
    QLabel* m_newestAlert = nullptr;
    CoalescedAnnouncer* m_rowNews = nullptr;
    StillRows* m_stillRows = nullptr; // rows under the pointer stay put
    CoalescedAnnouncer* m_alertNews = nullptr;
    QTimer* m_expiry = nullptr;
    QTimer* m_fitColumns = nullptr; // new rows' widths, at most once a batch
    QTimer* m_save = nullptr;       // moves and column changes, saved together
    QList<int> m_sizedColumns;      // set by the user: they keep their width
    int m_unmeasured = 0;           // first model row whose widths were not looked at
    bool m_fittingColumns = false;  // the widths change by our hand
    bool m_placed = false;          // a place of its own, kept or chosen
    bool m_shown = false;           // shown at least once
    bool m_opening = false;         // the rows that waited come in
    bool m_followAlerts = true;     // the alert list keeps its end in view
};
