#include "net/SocketErrors.h"

#include <QtTest>

class TestNet : public QObject
{
    Q_OBJECT
private slots:
    void socketErrorMessages_data();
    void socketErrorMessages();
};

void TestNet::socketErrorMessages_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("refused") << 10061 << "Socket Error # 10061\r\nConnection refused.";
    QTest::newRow("host not found") << 11001 << "Socket Error # 11001\r\nHost not found.";
    QTest::newRow("no trailing point") << 10066 << "Socket Error # 10066\r\nDirectory not empty";
    QTest::newRow("outside the table") << 12345 << "Socket Error # 12345\r\n";
}

void TestNet::socketErrorMessages()
{
    QFETCH(int, number);
    QFETCH(QString, expected);
    QCOMPARE(SocketErrors::message(number), expected);
}

QTEST_GUILESS_MAIN(TestNet)
#include "tst_net.moc"
