#include "app/Tform1.h"
#include "ui_Tform1.h"

#include "alerts/AlertCenter.h"
#include "app/AppearanceController.h"
#include "app/DxWindowController.h"
#include "app/InfoTexts.h"
#include "app/LampShape.h"
#include "app/ListWidgetMirror.h"
#include "app/RigPanel.h"
#include "MarvixVersion.h"
#include "livecheck/AlarmSound.h"
#include "livecheck/LiveCheck.h"
#include "net/InternetCheck.h"
#include "rig/RigControl.h"
#include "rig/Tguidaomnirig.h"
#include "scaling/TResizeKit.h"
#include "session/NodeGrid.h"
#include "session/ClusterSession.h"
#include "session/SessionRules.h"
#include "session/TerminalPane.h"
#include "settings/BoundedFile.h"
#include "settings/DesignLook.h"
#include "settings/ThemeBoxGuard.h"
#include "spots/BandStrip.h"
#include "spots/ClickedLine.h"
#include "pipeline/SpotPipeline.h"
#include "windows/AlertsWindow.h"
#include "windows/DesignWindow.h"
#include "windows/DxWindow.h"
#include "windows/Tdxcalendar.h"
#include "windows/Tinfo.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace {

const QColor kLime = QColor::fromRgb(DesignLook::kLime);
const QColor kRed = QColor::fromRgb(DesignLook::kRed);
const QString kTrying =
    QStringLiteral("Trying Connection...if fail try another node or RESTART APP");

// The client area at 96 dpi; the form (Tform1.ui) holds the positions.
constexpr QSize kDesignSize(815, 647);

} // namespace

// The pictures live in the static UI library, whose resources are not
// registered by themselves.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

Tform1::Tform1(AppContext ctx, QWidget* parent)
    : QWidget(parent), m_ctx(std::move(ctx)), m_settings(m_ctx.programDir)
{
    initResources();
    DesignWindow::setUp(this, kDesignSize);
    createControls();
    createDxWindowControls();
    createAppearance();
    createRigControl();
    ResizeKit1 = DesignWindow::attachScaling(this, kDesignSize);
    // Below three quarters of its size the window's text gets too small to
    // read.
    ResizeKit1->setFormMinWidth(width() * 3 / 4);
    ResizeKit1->setFormMinHeight(height() * 3 / 4);
    FormCreate();
    createInfoWindow();
}

Tform1::~Tform1()
{
    // The end of the program closes an open session without ceremony.
    Session->disconnect(this);
    delete Session;
    // Its page file goes with it.
    delete dxcalendar;
}

void Tform1::createControls()
{
    Ui::Tform1 form;
    form.setupUi(this);
    EditCommand = form.EditCommand;
    SpeedButton2 = form.SpeedButton2;
    SpeedButton5 = form.SpeedButton5;
    SpeedButton4 = form.SpeedButton4;
    SpeedButton6 = form.SpeedButton6;
    SpeedButton7 = form.SpeedButton7;
    SpeedButton3 = form.SpeedButton3;
    ShapeLED2 = form.ShapeLED2;
    Label2 = form.Label2;
    Label4 = form.Label4;
    ComboBox1 = form.ComboBox1;
    BitBtn4 = form.BitBtn4;
    Re1 = form.Re1;
    BitBtn6 = form.BitBtn6;
    Panel11 = form.Panel11;
    Re3 = form.Re3;
    ListView1 = form.ListView1;
    BitBtn2 = form.BitBtn2;
    ShapeLED = form.ShapeLED;
    Edit1 = form.Edit1;
    Label1 = form.Label1;
    Shape1 = form.Shape1;
    BitBtn3 = form.BitBtn3;
    StringGrid1 = form.StringGrid1;
    SpeedButton1 = form.SpeedButton1;
    BitBtn5 = form.BitBtn5;
    Label6 = form.Label6;
    SpeedButton8 = form.SpeedButton8;
    SpeedButton9 = form.SpeedButton9;
    SpeedButton10 = form.SpeedButton10;
    Shape2 = form.Shape2;
    BitBtn1 = form.BitBtn1;
    Memo1 = form.Memo1;

    // The banner covers its panel whole.
    form.Image1->setAttribute(Qt::WA_OpaquePaintEvent);
    // Captions take the width of their text in the font in use; a
    // substitute for the design font can be wider, and the theme caption
    // never gets narrower than designed.
    for (QLabel* caption : {form.Label3, Label1, Label6})
        caption->adjustSize();
    Label2->resize(std::max(130, Label2->sizeHint().width()), 15);

    // Fonts in pixels, which a form cannot give.
    Re3->setPaneFont(DesignWindow::pixelFont(15, false, true));
    ListView1->setFont(DesignWindow::pixelFont(13, false, false, true));
    Edit1->setFont(DesignWindow::pixelFont(12, true));
    for (QToolButton* b : {SpeedButton8, SpeedButton9})
        b->setFont(DesignWindow::pixelFont(13, false, false, true));
    Memo1->setFont(DesignWindow::pixelFont(11));

    ShapeLED2->setAccessibleSubject(QStringLiteral("Live check"), QStringLiteral("active"),
                                    QStringLiteral("not active"));
    ShapeLED->setAccessibleSubject(QStringLiteral("Session"), QStringLiteral("connected"),
                                   QStringLiteral("not connected"));
    Shape1->setAccessibleSubject(QStringLiteral("Dx sound"), QStringLiteral("on"),
                                 QStringLiteral("muted"));
    Shape1->setBrushColor(kLime);
    Shape2->setAccessibleSubject(QStringLiteral("Rig control"), QStringLiteral("connected"),
                                 QStringLiteral("not connected"));
    Shape2->setBrushColor(kRed);

    EditCommand->setMaxLength(SessionRules::kCommandMaxLength);
    EditCommand->installEventFilter(this);
    Re1->setLineLimit(kRe1MaxLines, kRe1DropBlock);
    Re1->setCharacterLimit(kRe1MaxChars);
    Panel11->setFilter(m_bands);
    Re3->setLineLimit(kRe3MaxLines, kRe3DropBlock);
    Re3->setCharacterLimit(kRe3MaxChars);
    Edit1->installEventFilter(this);
    Label1->installEventFilter(this);
    Memo1->viewport()->installEventFilter(this);

    connect(StringGrid1, &NodeGrid::nodeChosen, this,
            [this](const QString& name, const QString& address, const QString& port) {
                // Another node: the lost session's node is no longer wanted.
                if (Session && name != Edit1->text())
                    Session->cancelReconnect();
                Edit1->setText(name);
                portascelta = port;
                nodoscelto = address;
            });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer4 = new QTimer(this);
    Timer4->setObjectName(QStringLiteral("Timer4"));
    Timer5 = new QTimer(this);
    Timer5->setObjectName(QStringLiteral("Timer5"));

    connect(BitBtn1, &QPushButton::clicked, this, &Tform1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tform1::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tform1::BitBtn3Click);
    connect(BitBtn5, &QPushButton::clicked, this, &Tform1::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &Tform1::BitBtn6Click);
    connect(Panel11, &BandStrip::allRedClicked, this, &Tform1::BitBtn8Click);
    connect(Panel11, &BandStrip::allGreenClicked, this, &Tform1::BitBtn9Click);
    connect(Edit1, &QLineEdit::textChanged, this, &Tform1::Edit1Change);
    connect(EditCommand, &QLineEdit::returnPressed, this, &Tform1::EditCommandKeyPress);
    connect(Timer1, &QTimer::timeout, this, &Tform1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &Tform1::Timer2Timer);
    connect(Timer3, &QTimer::timeout, this, &Tform1::Timer3Timer);
    connect(Timer4, &QTimer::timeout, this, &Tform1::Timer4Timer);
    connect(Timer5, &QTimer::timeout, this, &Tform1::Timer5Timer);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tform1::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &Tform1::SpeedButton3Click);
    connect(ListView1, &QListWidget::itemClicked, this, &Tform1::ListView1Click);

    createSession();

    // The button states follow the session from the creation of the window on.
    Timer5->start(m_ctx.timings.buttonStatesMs);
}

void Tform1::FormCreate()
{
    re1dim = m_ctx.countedLinesAtStart;
    connesso = false;
    livecliccato = false;
    sound = true;

    createLiveCheck();

    alarm = new AlarmSound(this);
    alarm->setObjectName(QStringLiteral("alarm"));
    LoadWavFileToMemory(QStringLiteral("dx.wav"));

    Re1->appendEntry(QStringLiteral("Press 'Connect'"));

    // This month's DXpeditions; silent when the list cannot be fetched.
    Dolv.setTimeouts(m_ctx.httpConnectTimeoutMs, m_ctx.httpRequestTimeoutMs);
    Dolv.ricevilistadolv(m_ctx.hosts.dxpeditionList);

    if (m_ctx.startupPauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(m_ctx.startupPauseMs));

    // The style names, the stored theme, then the terminal font.
    m_appearance = new AppearanceController(
        {this, ComboBox1, Re1, ResizeKit1, &m_settings,
         [this](const QString& text) { showMessage(text); }, [this] { m_ctx.quit(); }},
        this);
    m_appearance->restore();

    // The chosen node of the last run. Replacing the design text counts as a
    // change and is saved at once, an empty name included.
    Edit1->setText(m_settings.LoadNode());

    ShapeLED->setBrushColor(kRed);
    ShapeLED2->setBrushColor(kRed);
    Timer2->start(m_ctx.timings.sessionLampMs);
    Timer3->start(m_ctx.timings.liveCheckLampMs);
    Timer1->start(m_ctx.timings.keepAliveMs);

    EditCommand->setText(SessionRules::kLoginHint);
    QPalette grey = EditCommand->palette();
    grey.setColor(QPalette::Text, palette().color(QPalette::Disabled, QPalette::WindowText));
    EditCommand->setPalette(grey);

    Timer4->start(m_ctx.timings.infoTextMs);

    Texts = InfoTexts::texts();
    CurrentTextIndex = 0;
    showInfoText();

    if (!CheckInternetConnection()) {
        showMessage(QStringLiteral("Internet connection not available, check also firewall rules, "
                                   "note that this app must be free to trasmit and receive data"));
        showMessage(QStringLiteral("Now application will close"));
        m_ctx.quit();
    }

    Action1 = new QAction(this);
    Action1->setObjectName(QStringLiteral("Action1"));
    Action1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F2));
    Action1->setShortcutContext(Qt::WindowShortcut);
    connect(Action1, &QAction::triggered, this, &Tform1::Action1Execute);
    addAction(Action1);

    Re3->appendEntry(
        QStringLiteral("Press CONNECT BUTTON, then WRITE your CALL SIGN and press ENTER"));
    Re3->appendEntry(QStringLiteral("Remember also that you must SET ACTIVE LIVE CHECK option"));
}

bool Tform1::CheckInternetConnection()
{
    return m_ctx.internetCheck(m_ctx.hosts.probe, m_ctx.httpConnectTimeoutMs,
                               m_ctx.httpRequestTimeoutMs);
}

void Tform1::showInfoText()
{
    Memo1->setPlainText(
        Texts.value(CurrentTextIndex).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void Tform1::showMessage(const QString& text)
{
    m_ctx.showMessage(text);
}

void Tform1::addRe1(const QString& text)
{
    Re1->appendEntry(text);
}

// --- exit ---------------------------------------------------------------

void Tform1::BitBtn1Click()
{
    m_ctx.quit();
    close();
}

// --- session ------------------------------------------------------------

void Tform1::BitBtn2Click()
{
    // One attempt at a time, and none while a session is open or the pause
    // after a disconnect runs: the button stays off meanwhile, and Timer5
    // turns it on again when the session did not open.
    if (connesso || Session->isConnecting() || Session->isPausing())
        return;
    BitBtn2->setEnabled(false);
    TelnetConnect();
}

// The session object behind the designed handlers: each of its signals is
// answered by one of them.
void Tform1::createSession()
{
    Session = new ClusterSession(m_ctx.timings, this);
    Session->setAutoReconnect(m_settings.LoadAutoReconnect());
    connect(Session, &ClusterSession::connectFinished, this, &Tform1::telnetConnectFinished);
    connect(Session, &ClusterSession::lineReady, this, &Tform1::TelnetDataAvailable);
    connect(Session, &ClusterSession::ended, this, &Tform1::telnetPeerClosed);
    connect(Session, &ClusterSession::pauseOver, this, [this] {
        addRe1(QStringLiteral("Disconnected "));
        BitBtn2->setEnabled(true);
    });
    connect(Session, &ClusterSession::watchdogFired, this, [this](int seconds) {
        addRe1(QStringLiteral("Nothing received for %1 s: connection lost").arg(seconds));
    });
    connect(Session, &ClusterSession::reconnectScheduled, this,
            [this](const QString& node, int seconds) {
                addRe1(QStringLiteral("Connection lost: reconnecting to %1 in %2 s")
                           .arg(node)
                           .arg(seconds));
            });
    connect(Session, &ClusterSession::reconnectFailed, this, [this](const QString& failure) {
        addRe1(QStringLiteral("Connection failed: ") + failure);
    });
    connect(Session, &ClusterSession::reconnected, this, [this](const QString& node) {
        connesso = true;
        addRe1(QStringLiteral("Reconnected to ") + node);
        sendWaitingLines();
    });
    connect(Session, &ClusterSession::loginSent, this,
            [this](const QString& text) { addRe1(QStringLiteral("> ") + text); });
}

// The chosen node, and the others of the grid in their order with their
// ping marks, for the session to fail over to.
void Tform1::TelnetConnect()
{
    ClusterSession::Node chosen{Edit1->text(), nodoscelto, portascelta, false};
    if (chosen.name.isEmpty())
        chosen.name = nodoscelto;
    connesso = false;
    Session->connectTo(chosen, StringGrid1->otherNodes(nodoscelto, portascelta));
}

void Tform1::telnetConnectFinished(const QString& failure)
{
    if (failure.isNull())
        connesso = true;
    afterConnectAttempt(failure);
    sendWaitingLines();
}

// What the user sent while the attempt ran goes now, as it would have after
// a connect that held the window until it was done.
void Tform1::sendWaitingLines()
{
    for (const QString& commandLine : Session->takeWaitingLines())
        sendCommandLine(commandLine);
}

// The lines of a connect attempt, once its outcome is known: the failure (if
// any) first, then the "Trying" line below it.
void Tform1::afterConnectAttempt(const QString& failure)
{
    if (!failure.isNull())
        addRe1(QStringLiteral("Connection failed: ") + failure);
    addRe1(kTrying);
}

void Tform1::BitBtn3Click()
{
    // Between a lost session and its reconnect there is nothing to end but
    // the wait.
    if (!connesso && !Session->hasClient() && Session->reconnectPending()) {
        Session->cancelReconnect();
        addRe1(QStringLiteral("Reconnect cancelled"));
        return;
    }
    Session->cancelReconnect();
    endSession();
}

// The end of a session: the pause keeps "Connect" off, so no new session can
// start before the line that ends this one.
void Tform1::endSession()
{
    TelnetDisconnect();
    BitBtn2->setEnabled(false);
    Session->startDisconnectPause();
}

void Tform1::TelnetDisconnect()
{
    connesso = false;
    Session->disconnectFromNode();
}

// The node closed or reset the connection, or went silent: the session ends
// at once, as a Disconnect does, so the lamp and the buttons never show a
// dead session as alive.
void Tform1::telnetPeerClosed()
{
    endSession();
}

void Tform1::TelnetDataAvailable(const QString& line)
{
    m_dxc->pipeline()->takeLine(line, livecliccato);
}

// The pane's normal path for a line the pipeline lets through.
void Tform1::showLine(const QString& stringaricevuta)
{
    if (re1dim == kRe1Warning)
        showMessage(QStringLiteral("CAUTION: more than 200.000 lines received, please disconnect "
                                   "and restart application"));
    addRe1(stringaricevuta);
    ++re1dim;
    Label4->setText(QString::number(re1dim));
}

// A send found the node gone: the session ends as the Disconnect button
// ends it.
void Tform1::nodeHasGone()
{
    addRe1(QStringLiteral("Telnet connection is not active"));
    connesso = false;
    // A line typed while a lost session waits to come back leaves the wait
    // as it is.
    if (!Session->hasClient() && Session->reconnectPending())
        return;
    BitBtn3Click();
}

void Tform1::BitBtn5Click()
{
    // A connect attempt runs: the line waits for its outcome, as the keys
    // would have waited for a connect that held the window.
    if (Session->isConnecting()) {
        Session->holdLine(EditCommand->text());
        return;
    }
    sendCommandLine(EditCommand->text());
}

void Tform1::sendCommandLine(const QString& commandLine)
{
    // The command line is emptied of what was sent; what the user typed
    // after a waiting line stays.
    const auto clearSent = [this, &commandLine] {
        EditCommand->setText(SessionRules::commandLineAfterSend(commandLine, EditCommand->text()));
    };
    const SessionRules::Command command = SessionRules::classifyCommand(commandLine);
    switch (command.kind) {
    case SessionRules::CommandKind::Send:
        if (Session->linkUp()) {
            addRe1(QStringLiteral("> ") + command.text);
            Session->sendLine(command.text);
            clearSent();
        } else {
            nodeHasGone();
        }
        break;
    case SessionRules::CommandKind::LineCounter:
        Label4->setVisible(true);
        showMessage(QStringLiteral("Contatore linee attivo"));
        clearSent();
        break;
    case SessionRules::CommandKind::UnknownLocal:
        clearSent();
        showMessage(QStringLiteral("Command not recognized"));
        break;
    }
}

void Tform1::EditCommandKeyPress()
{
    BitBtn5Click();
    if (EditCommand->text() == SessionRules::kLoginHint)
        EditCommand->clear();
}

void Tform1::EditCommandEnter()
{
    QPalette black = EditCommand->palette();
    black.setColor(QPalette::Text, Qt::black);
    EditCommand->setPalette(black);
    if (EditCommand->text() == SessionRules::kLoginHint)
        EditCommand->clear();
}

// --- node list ----------------------------------------------------------

bool Tform1::event(QEvent* event)
{
    // The first show counts as an activation even where no window manager
    // activates the window.
    if (event->type() == QEvent::WindowActivate ||
        (event->type() == QEvent::Show && !m_shownOnce && (m_shownOnce = true)))
        FormActivate();
    // The calendar window and its browser are made once this window is on
    // screen: the call is queued, so it runs after the first paint has been
    // sent to the display.
    if (event->type() == QEvent::Paint && m_ctx.calendarAtStart && !dxcalendar &&
        !m_calendarQueued) {
        m_calendarQueued = true;
        QMetaObject::invokeMethod(this, &Tform1::calendarWindow, Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

void Tform1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

// Every activation reloads the list, so an edited nodes.txt takes effect
// without a restart.
void Tform1::FormActivate()
{
    PopulateServers();
}

void Tform1::FormResize()
{
    StringGrid1->adjustColumnWidths();
}

void Tform1::PopulateServers()
{
    const QString path = QDir(m_ctx.workDir).filePath(QStringLiteral("nodes.txt"));
    if (StringGrid1->PopulateServers(path, Edit1->text()) || m_nodesReported)
        return;
    // Said once a run: a message box here would activate the window again
    // and come straight back.
    m_nodesReported = true;
    addRe1(QStringLiteral("The node list %1 is missing or unreadable: write one node per line "
                          "as name_of_node;address;port")
               .arg(QDir::toNativeSeparators(path)));
}

void Tform1::Edit1Change()
{
    QString error;
    if (!m_settings.SaveNode(Edit1->text(), &error))
        showMessage(error);
}

void Tform1::Edit1Click()
{
    EditCommand->setFocus();
}

void Tform1::Memo1Click()
{
    EditCommand->setFocus();
}

bool Tform1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == EditCommand && event->type() == QEvent::FocusIn)
        EditCommandEnter();
    else if (watched == Edit1 && event->type() == QEvent::MouseButtonRelease)
        Edit1Click();
    else if (watched == Label1 && event->type() == QEvent::MouseButtonRelease)
        Label1Click();
    else if (Memo1 && watched == Memo1->viewport() && event->type() == QEvent::MouseButtonRelease)
        Memo1Click();
    return QWidget::eventFilter(watched, event);
}

// --- band filter ------------------------------------------------------

void Tform1::BitBtn6Click()
{
    Panel11->setVisible(Panel11->isHidden());
}

void Tform1::BitBtn8Click()
{
    m_bands.allOff();
    Panel11->refresh();
    addRe1(QStringLiteral("-----> Total Local Filtering, All Bands are Inactive"));
}

void Tform1::BitBtn9Click()
{
    m_bands.allOn();
    Panel11->refresh();
    addRe1(QStringLiteral("-----> Local Filtering Reset, All Bands are Active"));
}

// --- timers -------------------------------------------------------------

// The keep-alive sends a bare line end of its own. It never touches the
// command line: sending what it holds would send half a typed command, or the
// grey login hint as a callsign.
void Tform1::Timer1Timer()
{
    if (!connesso)
        return;
    if (Session->linkUp()) {
        addRe1(QStringLiteral("> "));
        Session->sendKeepAlive();
    } else {
        nodeHasGone();
    }
}

void Tform1::Timer2Timer()
{
    ShapeLED->setBrushColor(connesso ? kLime : kRed);
}

void Tform1::Timer3Timer()
{
    ShapeLED2->setBrushColor(connesso && livecliccato ? kLime : kRed);
}

void Tform1::Timer4Timer()
{
    CurrentTextIndex = (CurrentTextIndex + 1) % 4;
    showInfoText();
}

void Tform1::Timer5Timer()
{
    BitBtn2->setEnabled(!connesso && !Session->isConnecting() && !Session->isPausing());
    // Disconnect also ends the wait for a reconnect.
    BitBtn3->setEnabled(connesso || Session->reconnectPending());
}

// --- appearance and links -----------------------------------------------

void Tform1::createAppearance()
{
    // A theme is chosen with the mouse only.
    new ThemeBoxGuard(ComboBox1);
    connect(ComboBox1, &QComboBox::activated, this, &Tform1::ComboBox1Change);

    connect(BitBtn4, &QPushButton::clicked, this, &Tform1::BitBtn4Click);

    connect(SpeedButton1, &QToolButton::clicked, this, &Tform1::SpeedButton1Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &Tform1::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &Tform1::SpeedButton5Click);
    connect(SpeedButton7, &QToolButton::clicked, this, &Tform1::SpeedButton7Click);
    // SpeedButton2 (the DX calendar) and SpeedButton3 (the live check) are
    // connected with the live check, SpeedButton6 with the rig control.
}

const FontSettings& Tform1::terminalFont() const
{
    return m_appearance->terminalFont();
}

void Tform1::ComboBox1Change()
{
    m_appearance->themeChosen();
}

void Tform1::BitBtn4Click()
{
    m_appearance->chooseFont();
}

void Tform1::createInfoWindow()
{
    InfoText::Facts facts;
    facts.version = QStringLiteral(MARVIX_VERSION);
    facts.nodeListPath = QDir(m_ctx.workDir).filePath(QStringLiteral("nodes.txt"));
    facts.settingsFolder = m_ctx.programDir;
    info = new Tinfo(facts, m_ctx.hosts, m_ctx.openUrl, this);
}

void Tform1::openLink(const QString& address)
{
    const QUrl url = linkUrl(address);
    if (!url.isEmpty())
        m_ctx.openUrl(url);
}

void Tform1::SpeedButton1Click()
{
    openLink(m_ctx.hosts.clusterCommands);
}

void Tform1::SpeedButton4Click()
{
    openLink(m_ctx.hosts.weatherMap);
}

void Tform1::SpeedButton5Click()
{
    openLink(m_ctx.hosts.dayNightMap);
}

// Modal: the main window takes no input until the info window is closed.
void Tform1::SpeedButton7Click()
{
    info->setWindowModality(Qt::ApplicationModal);
    info->show();
    info->raise();
    info->activateWindow();
}

// --- live check ---------------------------------------------------------

// The spotted list is the book's; ListView1 shows it row for row, each row
// with its tag and link.
void Tform1::createLiveCheck()
{
    m_book.spotted().setLookupBase(m_ctx.hosts.callsignLookup);
    new ListWidgetMirror(&m_book.spotted(), ListView1, {kTagRole, kLinkRole});
}

Tdxcalendar* Tform1::calendarWindow()
{
    if (dxcalendar)
        return dxcalendar;
    CalendarWindowContext calendar;
    calendar.programDir = m_ctx.programDir;
    calendar.widgetUrl = m_ctx.hosts.calendarWidget;
    calendar.printableUrl = m_ctx.hosts.printableCalendar;
    calendar.showMessage = m_ctx.showMessage;
    calendar.openUrl = m_ctx.openUrl;
    dxcalendar = new Tdxcalendar(calendar, m_book);
    connect(dxcalendar, &Tdxcalendar::liveCheckActivated, this, [this] { livecliccato = true; });
    return dxcalendar;
}

// A DXpedition spotted while the live check is on: marked in the terminal
// pane, copied with the time into the spot pane, listed, announced.
//   "DX de W3LPL:     21021.0  3Y0K         CW 579 <------"
//   "DX de W3LPL:     21021.0  3Y0K         CW 579  23:30"
void Tform1::hitPath(const QString& stringaricevuta, const QString& resultString)
{
    addRe1(stringaricevuta + QStringLiteral(" <------"));
    if (const std::optional<QString> copy =
            LiveCheck::spotPaneCopy(stringaricevuta, m_ctx.nowUtc()))
        Re3->appendEntry(*copy);
    PopulateListView(resultString);
    ListView1->repaint();
    if (sound && livecliccato)
        PlayWavFromMemory();
}

void Tform1::PopulateListView(const QString& ResultString)
{
    if (m_book.spotted().PopulateListView(ResultString))
        ListView1->repaint();
}

void Tform1::ListView1Click()
{
    const QList<QListWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty() || selected.first()->data(kTagRole).toInt() != 1)
        return;
    m_ctx.openUrl(selected.first()->data(kLinkRole).toUrl());
}

void Tform1::Label1Click()
{
    if (Shape1->brushColor() == kLime) {
        Shape1->setBrushColor(kRed);
        sound = false;
    } else {
        Shape1->setBrushColor(kLime);
        sound = true;
    }
    // Muted, the alerts say nothing either.
    m_dxc->alerts()->setMuted(!sound);
}

// "dx.wav" is looked up in the working folder, once, at start.
void Tform1::LoadWavFileToMemory(const QString& FileName)
{
    WaveData.reset();
    // A sound over its limit, or anything but a regular file, counts as
    // missing: no alarm sound.
    const BoundedFile::Result file =
        BoundedFile::read(QDir(m_ctx.workDir).filePath(FileName), BoundedFile::kSoundMaxBytes);
    if (file.status == BoundedFile::Status::Read)
        WaveData = file.bytes;
}

void Tform1::PlayWavFromMemory()
{
    if (WaveData && !WaveData->isEmpty())
        alarm->play(*WaveData);
}

void Tform1::SpeedButton2Click()
{
    m_book.clearOwnCalls();
    Tdxcalendar* calendar = calendarWindow();
    calendar->setActivationVisible(true);
    calendar->bringToFront();
}

void Tform1::SpeedButton3Click()
{
    m_book.clearOwnCalls();
    SpeedButton2Click();
    dxcalendar->setActivationVisible(false);
    showMessage(QStringLiteral("Live check activated"));
    dxcalendar->Button1Click();
}

// --- rig control --------------------------------------------------------

void Tform1::createRigControl()
{
    m_rig = new RigPanel(m_ctx.rig, {SpeedButton8, SpeedButton9, SpeedButton10, Shape2}, this);
    OmniRig = m_rig->rigControl();
    guidaomnirig = new Tguidaomnirig(this);
    connect(SpeedButton6, &QToolButton::clicked, this, &Tform1::SpeedButton6Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &Tform1::SpeedButton8Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &Tform1::SpeedButton9Click);
    connect(SpeedButton10, &QToolButton::clicked, this, &Tform1::SpeedButton10Click);
    connect(Re1, &TerminalPane::mouseReleased, this, &Tform1::Re1MouseUp);
    connect(Re3, &TerminalPane::mouseReleased, this, &Tform1::Re3MouseUp);
    connect(m_dxc, &DxWindowController::spotChosen, m_rig, &RigPanel::tuneToSpot);
}

bool Tform1::rigOpen() const
{
    return m_rig->isOpen();
}

bool Tform1::rigChosen(int rigNumber) const
{
    return m_rig->isChosen(rigNumber);
}

void Tform1::SpeedButton6Click()
{
    guidaomnirig->show();
    guidaomnirig->raise();
    guidaomnirig->activateWindow();
}

void Tform1::SpeedButton8Click()
{
    m_rig->open(1);
}

void Tform1::SpeedButton9Click()
{
    m_rig->open(2);
}

void Tform1::SpeedButton10Click()
{
    m_rig->close();
}

void Tform1::Label6Click() {}

void Tform1::TuneRig(const QString& stringafreq)
{
    m_rig->TuneRig(stringafreq);
}

// Any button, anywhere over the pane: the line that holds the start of the
// selection tunes, and the focus goes back to the command line.
void Tform1::Re1MouseUp()
{
    Leggiriga_re1();
    QCoreApplication::processEvents();
    EditCommand->setFocus();
}

void Tform1::Leggiriga_re1()
{
    tuneFromPane(Re1, ClickedLine::Pane::Terminal);
}

void Tform1::Re3MouseUp()
{
    Leggiriga_re3();
    QCoreApplication::processEvents();
    EditCommand->setFocus();
}

void Tform1::Leggiriga_re3()
{
    tuneFromPane(Re3, ClickedLine::Pane::Spots);
}

// A spot line of the terminal pane, or of the spot pane, whose lines carry
// the time at their end.
void Tform1::tuneFromPane(TerminalPane* pane, ClickedLine::Pane kind)
{
    const int ClickedLineIndex = pane->selectionStartLine();
    if (!rigOpen() || ClickedLineIndex < 0 || ClickedLineIndex >= pane->lineCount())
        return;
    if (const std::optional<QString> stringafreq =
            ClickedLine::tuningDigits(pane->line(ClickedLineIndex), kind))
        TuneRig(*stringafreq);
}

void Tform1::Action1Execute()
{
    m_rig->cycleMode();
}

// --- DX window and alerts -------------------------------------------------

void Tform1::createDxWindowControls()
{
    DxWindowController::Setup setup;
    setup.mainWindow = this;
    setup.book = &m_book;
    setup.bands = &m_bands;
    setup.settingsPath = m_settings.settingsPath();
    setup.soundOn = [this] { return sound; };
    m_dxc = new DxWindowController(m_ctx, std::move(setup), this);
    connect(m_dxc->pipeline(), &SpotPipeline::lineShown, this, &Tform1::showLine);
    connect(m_dxc->pipeline(), &SpotPipeline::hitFound, this, &Tform1::hitPath);
    connect(m_dxc->alerts(), &AlertCenter::alarmWanted, this, &Tform1::PlayWavFromMemory);
    connect(m_dxc->alerts(), &AlertCenter::soundWanted, this,
            [this](const QByteArray& wav) { alarm->play(wav); });
    connect(m_dxc, &DxWindowController::message, this, &Tform1::showMessage);
    // After the strip's own handlers have changed the states.
    for (auto signal : {&BandStrip::allRedClicked, &BandStrip::allGreenClicked})
        connect(Panel11, signal, m_dxc, &DxWindowController::bandsChanged);
    connect(Panel11, &BandStrip::bandToggled, m_dxc, &DxWindowController::bandsChanged);
}

ActiveDxModel* Tform1::activeDx() const
{
    return m_dxc->activeDx();
}

AlertsWindow* Tform1::showAlertsWindow()
{
    return m_dxc->showAlertsWindow();
}

DxWindow* Tform1::showDxWindow()
{
    return m_dxc->showDxWindow();
}
