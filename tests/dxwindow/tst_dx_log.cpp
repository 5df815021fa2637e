// The user's log in the DX window, as the user meets it: a log file chosen
// in the window, each row's status read through accessibility as a screen
// reader reads the table, the log changed by the logger while the window is
// open, a file that is no log refused in words, and "Needed only".

#include "activedx/ActiveDxModel.h"
#include "dxcc/CountryFileUpdate.h"
#include "dxcc/CountryTable.h"
#include "log/LogLoader.h"
#include "log/LogSettings.h"
#include "windows/DxWindow.h"
#include "windows/LogPanel.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QTcpServer>
#include <QSaveFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(12, 0), Qt::UTC);

QString spot(const QString& khz, const QString& call, const QString& comment)
{
    QString line = QStringLiteral("DX de W3LPL:").leftJustified(24 - khz.size()) + khz;
    return line + QStringLiteral("  ") + call.leftJustified(12) + u' ' + comment.leftJustified(30)
           + QStringLiteral(" 1200Z");
}

QByteArray qso(const QByteArray& call, const QByteArray& band, const QByteArray& mode,
               const QByteArray& extra = {})
{
    const auto field = [](const QByteArray& name, const QByteArray& value) {
        return '<' + name + ':' + QByteArray::number(value.size()) + '>' + value + ' ';
    };
    return field("CALL", call) + field("BAND", band) + field("MODE", mode)
           + field("QSO_DATE", "20240101") + extra + "<EOR>\r\n";
}

// As a logger exports it, with a header.
const QByteArray kLog = "Exported by the test\r\n<EOH>\r\n"
                        + qso("EA8ABC", "20m", "CW")        // Canary Is.: 20 m CW, no QSL
                        + qso("G3XYZ", "40m", "SSB")        // England: 40 m phone only
                        + qso("IT9X", "15m", "SSB")         // Sicily: this call, 15 m phone
                        + qso("PA1AA", "20m", "CW") + qso("PA1AA", "40m", "SSB"); // Netherlands

// The logger has added two QSOs and a confirmation.
const QByteArray kLaterLog = kLog + qso("EA8ABC", "20m", "CW", "<LOTW_QSL_RCVD:1>Y ")
                             + qso("VP9XX", "40m", "FT8");

bool writeFile(const QString& path, const QByteArray& bytes)
{
    // As loggers do: a new file renamed over the old one.
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

std::shared_ptr<const CountryTable> fixtureTable()
{
    QFile f(QStringLiteral(DXCC_FIXTURE));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", DXCC_FIXTURE);
    return std::make_shared<const CountryTable>(CountryTable::parse(f.readAll()));
}

struct Fixture
{
    QTemporaryDir dir;
    ActiveDxModel model;
    LogLoader loader;
    std::unique_ptr<DxWindow> window;
    QString logPath = dir.filePath(QStringLiteral("mylog.adi"));

    Fixture()
    {
        const auto countries = fixtureTable();
        model.setCountryTable(countries);
        loader.setCountryTable(*countries);
        loader.setSettleMs(50);
        QObject::connect(&loader, &LogLoader::indexChanged, &model, &ActiveDxModel::setLogIndex);
        model.addLine(spot("14025.0", "EA8XYZ", "CW 599"), kNow);
        model.addLine(spot("14195.0", "G8AAA", "up 5"), kNow.addSecs(1));
        model.addLine(spot("7074.0", "VE1CWJ/VP9", "FT8 -10"), kNow.addSecs(2));
        model.addLine(spot("21025.0", "IT9X", "CW"), kNow.addSecs(3));
        model.addLine(spot("14200.0", "PA9ZZ", "SSB"), kNow.addSecs(4));
        window = std::make_unique<DxWindow>(&model, dir.path(), QString());
        window->setLog(&loader);
        window->show();
    }

    // The Status column as a screen reader reads it: call -> status.
    QMap<QString, QString> statuses() const
    {
        QMap<QString, QString> read;
        // The offscreen platform has no accessibility bridge, so the views
        // send no change events and a table's cells kept from an earlier
        // reading outlive a model reset: read as a reader that starts now.
        if (QAccessibleInterface* kept = QAccessible::queryAccessibleInterface(window->table()))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(kept));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(window->table());
        QAccessibleTableInterface* table = a ? a->tableInterface() : nullptr;
        if (!table)
            return read;
        int status = -1;
        int dx = -1;
        for (int c = 0; c < table->columnCount(); ++c) {
            if (table->columnDescription(c) == u"Status")
                status = c;
            if (table->columnDescription(c) == u"DX")
                dx = c;
        }
        if (status < 0 || dx < 0)
            return read;
        for (int r = 0; r < table->rowCount(); ++r)
            read.insert(table->cellAt(r, dx)->text(QAccessible::Name),
                        table->cellAt(r, status)->text(QAccessible::Name));
        return read;
    }

    QString message() const
    {
        return QAccessible::queryAccessibleInterface(window->logPanel()->message())
            ->text(QAccessible::Name);
    }
};

const QMap<QString, QString> kFirstStatuses{
    {"EA8XYZ", "Worked"},
    {"G8AAA", "New band"},
    {"VE1CWJ/VP9", "New one"},
    {"IT9X", "New mode, worked before"},
    {"PA9ZZ", "New slot"},
};

} // namespace

class TestDxLog : public QObject
{
    Q_OBJECT
private slots:
    void statusFollowsTheLog();
    void fileThatIsNoLogIsRefused();
    void neededOnly();
    void countryFileUpdateFailsInWords();
};

void TestDxLog::statusFollowsTheLog()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    // No log: the table is as it always was.
    QCOMPARE(f.window->table()->model()->columnCount(), int(ActiveDxModel::ColumnCount));
    QVERIFY(f.statuses().isEmpty());

    QVERIFY(writeFile(f.logPath, kLog));
    f.window->logPanel()->chooseFile(f.logPath);
    QTRY_COMPARE(f.statuses(), kFirstStatuses);
    QCOMPARE(LogSettings(f.dir.path()).file(), f.logPath);
    const QString summary =
        QAccessible::queryAccessibleInterface(f.window->logPanel()->summaryLine())
            ->text(QAccessible::Name);
    QVERIFY2(summary.startsWith(QStringLiteral("Log: 5 QSOs, 4 entities worked, 0 confirmed (mylog.adi, read ")),
             qPrintable(summary));
    // The status stands before the comment, which keeps the window's rest.
    QHeaderView* header = f.window->table()->horizontalHeader();
    QCOMPARE(header->visualIndex(ActiveDxModel::Status) + 1,
             header->visualIndex(ActiveDxModel::Comment));
    // The hint says more than the word.
    const QModelIndexList it9x = f.model.match(f.model.index(0, ActiveDxModel::Dx), Qt::DisplayRole,
                                               QStringLiteral("IT9X"));
    QCOMPARE(it9x.size(), 1);
    QCOMPARE(it9x[0].data(Qt::ToolTipRole).toString(),
             QStringLiteral("New mode; IT9X worked before on this band"));

    // The logger writes the file anew while the window is open.
    QVERIFY(writeFile(f.logPath, kLaterLog));
    QMap<QString, QString> later = kFirstStatuses;
    later["EA8XYZ"] = QStringLiteral("Confirmed");
    later["VE1CWJ/VP9"] = QStringLiteral("Worked");
    QTRY_COMPARE(f.statuses(), later);
}

void TestDxLog::fileThatIsNoLogIsRefused()
{
    Fixture f;
    QVERIFY(writeFile(f.logPath, kLog));
    f.window->logPanel()->chooseFile(f.logPath);
    QTRY_COMPARE(f.statuses(), kFirstStatuses);

    const QString notes = f.dir.filePath(QStringLiteral("notes.adi"));
    QVERIFY(writeFile(notes, "Shopping list\nmilk\n"));
    f.window->logPanel()->chooseFile(notes);
    QTRY_VERIFY2(f.message().contains(QStringLiteral("line ")), qPrintable(f.message()));
    QVERIFY2(f.message().contains(QStringLiteral("notes.adi")), qPrintable(f.message()));
    // The log of before stays, in the settings and in the table.
    QCOMPARE(LogSettings(f.dir.path()).file(), f.logPath);
    QTRY_COMPARE(f.statuses(), kFirstStatuses);
}

void TestDxLog::neededOnly()
{
    Fixture f;
    QVERIFY(writeFile(f.logPath, kLog));
    f.window->logPanel()->chooseFile(f.logPath);
    QTRY_COMPARE(f.statuses(), kFirstStatuses);
    auto* needed = f.window->findChild<QCheckBox*>(QStringLiteral("NeededOnly"));
    QVERIFY(needed);
    needed->click();
    QMap<QString, QString> shown = kFirstStatuses;
    shown.remove("EA8XYZ");
    QCOMPARE(f.statuses(), shown);
    // The log goes: every row is back, with no status.
    f.loader.setFile(QString());
    QCOMPARE(f.window->table()->model()->rowCount(), 5);
    QVERIFY(f.statuses().isEmpty());
}

// No host answers: the button comes back and the window says why, and the
// country file in use stays.
void TestDxLog::countryFileUpdateFailsInWords()
{
    Fixture f;
    QTcpServer closed; // a port that was free, now closed again
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    CountryFileUpdate update(f.dir.path());
    update.setUrl(QStringLiteral("https://127.0.0.1:%1/cty.dat").arg(port));
    update.setTimeouts(2000, 4000);
    f.window->setCountryFileUpdate(&update);
    f.window->setCountryFileLine(QStringLiteral("Country file cty.dat of 2023-05-02"));
    auto* button = f.window->findChild<QPushButton*>(QStringLiteral("UpdateCountryFile"));
    QVERIFY(button && button->isVisible());
    button->click();
    QVERIFY(!button->isEnabled());
    auto* message = f.window->findChild<QLabel*>(QStringLiteral("CountryFileMessage"));
    QTRY_VERIFY2(message->text().startsWith(QStringLiteral("Country file not updated: ")),
                 qPrintable(message->text()));
    QVERIFY(button->isEnabled());
    QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("cty.dat"))));
}

QTEST_MAIN(TestDxLog)
#include "tst_dx_log.moc"
