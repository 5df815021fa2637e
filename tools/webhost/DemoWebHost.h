#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTcpServer>
#include <QTemporaryDir>

// The program's web host, for the demo and offline use: the probe's site
// root and the calendar widget over plain HTTP, and the DXpedition list over HTTPS through
// `openssl s_server` with a certificate made when the host starts.
class DemoWebHost : public QObject
{
    Q_OBJECT
public:
    explicit DemoWebHost(QObject* parent = nullptr);
    ~DemoWebHost() override;

    // Port 0 lets the system choose. Returns false with errorString() set.
    bool start(const QByteArray& listFile, quint16 httpPort, quint16 httpsPort);
    QString errorString() const { return m_error; }

    QString probeUrl() const;
    QString listUrl() const;

    // The calendar widget script served as /calendar.php (empty: 404).
    void setCalendarWidget(const QByteArray& script) { m_calendar = script; }
    QString calendarUrl() const;

private:
    void onNewConnection();
    bool startTls(const QByteArray& listFile, quint16 httpsPort);

    QTcpServer m_http;
    QProcess m_tls;
    QTemporaryDir m_dir;
    QByteArray m_list;
    QByteArray m_calendar;
    quint16 m_httpsPort = 0;
    QString m_error;
};
