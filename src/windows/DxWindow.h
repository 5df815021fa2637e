#pragma once

#include "spots/BandFilter.h"

#include <QWidget>

class ActiveDxFilter;
class ActiveDxModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QAbstractItemModel;
class QPushButton;
class QTableView;
class QTimer;

// The DX window: the stations active now, one row per callsign and band,
// with where they are, where to point the antenna and how far they are.
// It shows the main window's ActiveDxModel; a double-click or Enter on a
// row asks the main window to tune to that row's spot line.
class DxWindow : public QWidget
{
    Q_OBJECT
public:
    // countryFileLine: what the window says about the country file.
    // alerts: the lines of the alerts so far, newest last.
    DxWindow(ActiveDxModel* model, QString programDir, const QString& countryFileLine,
             QAbstractItemModel* alerts = nullptr, QWidget* parent = nullptr);

    // The band filter's states: rows of switched-off bands are hidden.
    void setBandStates(const BandFilter::States& states);

    QTableView* table() const { return m_table; }
    QListView* alertList() const { return m_alertList; }
    ActiveDxFilter* filter() const { return m_filter; }

signals:
    // The spot line of the row the user chose.
    void tuneRequested(const QString& line);
    // Shown or hidden (closed).
    void shownChanged(bool shown);
    // The user asked for the alert rules' editor.
    void alertsRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void applyLocator();
    void chooseRow(const QModelIndex& proxyIndex);
    void saveChoices();
    void announceRows(int first, int last);
    void announceAlert(int row);

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
    QTableView* m_table = nullptr;
    QLabel* m_newest = nullptr;
    QAbstractItemModel* m_alerts = nullptr;
    QListView* m_alertList = nullptr;
    QLabel* m_newestAlert = nullptr;
    QTimer* m_expiry = nullptr;
};
