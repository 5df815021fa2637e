#pragma once

#include "app/AppContext.h"
#include "livecheck/LiveCheckBook.h"
#include "session/PaneLimits.h"
#include "settings/SettingsFiles.h"
#include "spots/BandFilter.h"
#include "spots/ClickedLine.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

class AlarmSound;
class LampShape;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class AlertCenter;
class AlertsWindow;
class QTimer;
class QToolButton;
class ClusterSession;
class AppearanceController;
class RigPanel;
class Tinfo;
class TResizeKit;
class TerminalPane;
class BandStrip;
class NodeGrid;
class Tdxcalendar;
class QAction;
class RigControl;
class Tguidaomnirig;
class ActiveDxModel;
class DxWindowController;
class DxWindow;
class SpotPipeline;

// The main window. It owns the shared state of the whole cluster session
// under the names every subsystem uses, builds its controls at their design
// positions, and forwards events to the core classes.
class Tform1 : public QWidget
{
    Q_OBJECT
public:
    explicit Tform1(AppContext ctx, QWidget* parent = nullptr);
    ~Tform1() override;

    const AppContext& context() const { return m_ctx; }

private:
    // The live check's lists; declared ahead of Dolv, which refers into it.
    LiveCheckBook m_book;

public:
    LiveCheckBook& book() { return m_book; }

    // What the window's state says, read only: tests and benchmarks arrange
    // it through the node list, the buttons and the context.
    bool isConnected() const { return connesso; }
    const QString& chosenAddress() const { return nodoscelto; }
    const QString& chosenPort() const { return portascelta; }
    qint32 countedLines() const { return re1dim; }
    bool liveCheckOn() const { return livecliccato; }
    bool soundOn() const { return sound; }
    bool rigOpen() const;
    bool rigChosen(int rigNumber) const;
    int infoTextIndex() const { return CurrentTextIndex; }
    const std::optional<QByteArray>& alarmSound() const { return WaveData; }
    const DxpeditionList& dxpeditions() const { return Dolv; }
    ClusterSession* session() const { return Session; }
    const FontSettings& terminalFont() const;

    // --- controls ---------------------------------------------------------
    TerminalPane* Re1 = nullptr;
    TerminalPane* Re3 = nullptr;
    QLineEdit* EditCommand = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // Exit  Terminal
    QPushButton* BitBtn2 = nullptr; // Connect
    QPushButton* BitBtn3 = nullptr; // Disconnect
    QPushButton* BitBtn4 = nullptr; // Font
    QPushButton* BitBtn5 = nullptr; // Send Text (commands)
    QPushButton* BitBtn6 = nullptr; // Bands Filtering
    NodeGrid* StringGrid1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QListWidget* ListView1 = nullptr;
    BandStrip* Panel11 = nullptr; // the band strip
    LampShape* ShapeLED = nullptr;
    LampShape* ShapeLED2 = nullptr;
    LampShape* Shape1 = nullptr;
    LampShape* Shape2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QToolButton* SpeedButton10 = nullptr;
    Tinfo* info = nullptr;                     // the info window
    QTimer* Timer1 = nullptr; // keep-alive
    QTimer* Timer2 = nullptr; // session lamp
    QTimer* Timer3 = nullptr; // live-check lamp
    QTimer* Timer4 = nullptr; // information texts
    QTimer* Timer5 = nullptr; // Connect / Disconnect states
    TResizeKit* ResizeKit1 = nullptr; // keeps the controls in proportion

    // The DX calendar window, made hidden as soon as this window has first
    // been painted (its browser takes a good part of a second to start, and
    // the window comes first); null until then.
    Tdxcalendar* dxcalendar = nullptr;
    // The calendar window, made now if it was not made yet.
    Tdxcalendar* calendarWindow();
    AlarmSound* alarm = nullptr;

    // --- handlers ---------------------------------------------------------
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn5Click();
    void TelnetConnect();
    void TelnetDisconnect();
    void TelnetDataAvailable(const QString& line);
    void EditCommandKeyPress();
    void EditCommandEnter();
    void Edit1Click();
    void Edit1Change();
    void FormActivate();
    void FormResize();
    void PopulateServers();
    void Memo1Click();
    bool CheckInternetConnection();
    void BitBtn6Click();
    void BitBtn8Click();
    void BitBtn9Click();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void Timer4Timer();
    void Timer5Timer();
    // Appearance and links.
    void ComboBox1Change();
    void BitBtn4Click();
    void SpeedButton1Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton7Click();

    // --- live check -------------------------------------------------------
    void PopulateListView(const QString& ResultString);
    void ListView1Click();
    void Label1Click();
    void LoadWavFileToMemory(const QString& FileName);
    void PlayWavFromMemory();
    void SpeedButton2Click();
    void SpeedButton3Click();
    // --- rig control ------------------------------------------------------
    // The rig-control layer; the connection object itself lives on its worker
    // thread. The rig buttons and the rig state are the RigPanel's.
    RigControl* OmniRig = nullptr;
    Tguidaomnirig* guidaomnirig = nullptr;
    QAction* Action1 = nullptr; // Alt+F2
    void SpeedButton6Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void Label6Click();
    void TuneRig(const QString& stringafreq);
    void Re1MouseUp();
    void Leggiriga_re1();
    void Re3MouseUp();
    void Leggiriga_re3();
    void Action1Execute();

    // Adds one entry to the terminal pane, in the terminal font.
    void addRe1(const QString& text);

    // The band filter the strip shows and the incoming text obeys.
    BandFilter& bands() { return m_bands; }

    // --- DX window (beyond the design) --------------------------------------
    // The stations active now, fed from the shown spot lines (while the
    // window is closed they wait, unread, until it opens).
    ActiveDxModel* activeDx() const;
    // Made at first use, then shown and raised: F3 and the picture button.
    DxWindow* showDxWindow();
    // The alert rules' editor (F4, or from the DX window).
    AlertsWindow* showAlertsWindow();

    // The panes' limits under the names the window uses (see PaneLimits.h).
    static constexpr qint32 kRe1Warning = kTerminalPaneWarning;
    static constexpr int kRe1MaxLines = kTerminalPaneLimits.maxLines;
    static constexpr int kRe1DropBlock = kTerminalPaneLimits.dropBlock;
    static constexpr qint64 kRe1MaxChars = kTerminalPaneLimits.maxChars;
    static constexpr int kRe3MaxLines = kSpotPaneLimits.maxLines;
    static constexpr int kRe3DropBlock = kSpotPaneLimits.dropBlock;
    static constexpr qint64 kRe3MaxChars = kSpotPaneLimits.maxChars;

    // ListView1's item data: the tag (1: the item carries a lookup link)
    // and the link.
    static constexpr int kTagRole = SpottedList::kTagRole;
    static constexpr int kLinkRole = SpottedList::kLinkRole;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void FormCreate();
    void createSession();
    void telnetConnectFinished(const QString& failure);
    void sendWaitingLines();
    void endSession();
    void nodeHasGone();
    void telnetPeerClosed();
    void afterConnectAttempt(const QString& failure);
    void showMessage(const QString& text);
    void showInfoText();
    void showLine(const QString& stringaricevuta);
    void createLiveCheck();
    void createAppearance();
    void createInfoWindow();
    void openLink(const QString& address);
    void sendCommandLine(const QString& commandLine);
    void hitPath(const QString& stringaricevuta, const QString& resultString);
    void createRigControl();
    void tuneFromPane(TerminalPane* pane, ClickedLine::Pane kind);
    void createDxWindowControls();

    // --- shared state, changed only by the window --------------------------
    bool livecliccato = false; // the live check is active
    bool sound = true;         // the alarm sound is on
    QStringList Texts;
    qint32 CurrentTextIndex = 0;
    std::optional<QByteArray> WaveData;
    // StringListDolv, StringListShort and FinalstringListDolv, kept by the
    // live-check book.
    DxpeditionList& Dolv = m_book.dxpeditions();
    // The session with the node: its client, lines, pauses and reconnects.
    ClusterSession* Session = nullptr;
    bool connesso = false; // a Telnet session is open
    QString nodoscelto;    // address of the chosen node
    QString portascelta;   // port of the chosen node, as written in the list
    qint32 re1dim = 0;     // entries the normal path added to Re1

    AppContext m_ctx;
    BandFilter m_bands;
    SettingsFiles m_settings;
    bool m_nodesReported = false;
    bool m_shownOnce = false;
    bool m_calendarQueued = false;
    // The pipeline, the DX window's stations, the alerts and their windows.
    DxWindowController* m_dxc = nullptr;
    RigPanel* m_rig = nullptr; // the rig buttons, omni, sceltorig1 and sceltorig2
    AppearanceController* m_appearance = nullptr; // the theme and the terminal font
};
