#include "session/IncomingLine.h"
#include "spots/BandFilter.h"
#include "spots/BandPanel.h"
#include "spots/BandStrip.h"
#include "spots/SpotText.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using Band = BandFilter::Band;
Q_DECLARE_METATYPE(BandFilter::Band)

namespace {

const QString kExample = QStringLiteral("DX de Q1AAA:     14025.0  Q9ZZZ        CW 599");

// A spot line whose frequency text ends in column 24, as a node writes it.
QString spotAt(const QString& freq, const QString& rest = QStringLiteral("  Q9ZZZ        CW 599"))
{
    return QStringLiteral("DX de Q1AAA:").leftJustified(24 - freq.size()) + freq + rest;
}

} // namespace

class TestSpots : public QObject
{
    Q_OBJECT
private slots:
    void cleanString_data();
    void cleanString();
    void digits_data();
    void digits();
    void lastNumber_data();
    void lastNumber();
    void scan_data();
    void scan();
    void derivedValues_data();
    void derivedValues();

    void bandDecision_data();
    void bandDecision();
    void bandWindowEdges();

    void incoming_data();
    void incoming();

    void stripLayout();
    void panelClickToggles();
    void allButtonsSignalAndRefresh();
    void themeDoesNotRecolourPanels();
};

void TestSpots::cleanString_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("line ends around") << "\r\nDX de X\r\n"
                                      << "DX de X";
    QTest::newRow("tab removed") << "a\tb"
                                 << "ab";
    QTest::newRow("inner crlf kept") << "a\r\nb"
                                     << "a\r\nb";
    QTest::newRow("bell bytes of a spot") << "DX de X: 14025.0\a\a"
                                          << "DX de X: 14025.0";
    QTest::newRow("c1 control and del") << QString("a") + QChar(0x85) + QChar(0x7F) + "b"
                                        << "ab";
    QTest::newRow("nul inside") << QString("a") + QChar(0) + "b"
                                << "ab";
    QTest::newRow("blanks trimmed") << "   login:   "
                                    << "login:";
    QTest::newRow("nbsp is no control") << QString(QChar(0xA0)) + "x" << QString(QChar(0xA0)) + "x";
    QTest::newRow("only blanks and ends") << " \r\n \r\n"
                                          << "";
    // What is drawn is what the program reads.
    QTest::newRow("right-to-left override in a callsign")
        << QString("DX de Q1AAA:     14025.0  ") + QChar(0x202E) + "K0Y3" + QChar(0x202C)
        << "DX de Q1AAA:     14025.0  K0Y3";
    QTest::newRow("embeddings and isolates") << QString(QChar(0x202A)) + "a" + QChar(0x202B) + "b" +
                                                    QChar(0x2066) + "c" + QChar(0x2067) + "d" +
                                                    QChar(0x2068) + "e" + QChar(0x2069) + QChar(0x202D)
                                             << "abcde";
    QTest::newRow("right-to-left script kept") << QString::fromUtf8("\u05e9\u05dc\u05d5\u05dd 4X4AA")
                                               << QString::fromUtf8("\u05e9\u05dc\u05d5\u05dd 4X4AA");
    QTest::newRow("marks and neighbours kept") << QString(QChar(0x200F)) + "x" + QChar(0x2029) + QChar(0x206A)
                                               << QString(QChar(0x200F)) + "x" + QChar(0x2029) + QChar(0x206A);
}

void TestSpots::cleanString()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(CleanString(input), expected);
}

void TestSpots::digits_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one decimal") << " 14025.0"
                                 << "140250";
    QTest::newRow("no decimal") << "14025"
                                << "14025";
    QTest::newRow("two decimals") << "14025.00"
                                  << "1402500";
    QTest::newRow("two blanks 160m") << "  1830.5"
                                     << "18305";
    QTest::newRow("no digits") << "CW up"
                               << "";
    QTest::newRow("arabic-indic digits do not count") << QString::fromUtf8("\u0661\u0662 3") << "3";
    QTest::newRow("fullwidth digits do not count") << QString::fromUtf8("\uFF11\uFF12.5") << "5";
    // No decoder makes these, but a text rule must hold on any QString.
    QTest::newRow("lone surrogates") << QStringLiteral("1") + QChar(0xD800) + QStringLiteral("4.0") +
                                            QChar(0xDC00)
                                     << "140";
}

void TestSpots::digits()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(RimuoviPuntiEDestrigna(input), expected);
}

void TestSpots::lastNumber_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("expected");
    QTest::newRow("example line") << kExample << 24;
    QTest::newRow("no decimal number") << "DX de Q1AAA: 14025 Q9ZZZ" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("1.2.3 matches 1.2 only") << "1.2.3" << 3;
    QTest::newRow("comment number is the last")
        << spotAt("14025.0", "  Q9ZZZ        1.5 kHz up") << 42;
    QTest::newRow("long fraction") << "x 7018.205" << 10;
    QTest::newRow("non-ascii digits ignored") << QString::fromUtf8("5.\u0661") << -1;
    QTest::newRow("lone surrogate before the number")
        << QChar(0xDBFF) + QStringLiteral("x 7018.205") << 11;
}

void TestSpots::lastNumber()
{
    QFETCH(QString, input);
    QFETCH(int, expected);
    QCOMPARE(PosizioneUltimoNumero(input), expected);
}

void TestSpots::scan_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("expected");
    QTest::newRow("callsign from 27") << kExample << 27 << "Q9ZZZ";
    QTest::newRow("frequency from 18") << kExample << 18 << "14025.0";
    QTest::newRow("blank at 17") << kExample << 17 << "";
    QTest::newRow("beyond the end") << kExample << 200 << "";
    QTest::newRow("word at the end") << "ab cd" << 4 << "cd";
    QTest::newRow("tab does not end the word") << "a\tb c" << 1 << "a\tb";
    QTest::newRow("start below 1 reads from the start") << "ab cd" << 0 << "ab";
}

void TestSpots::scan()
{
    QFETCH(QString, input);
    QFETCH(int, start);
    QFETCH(QString, expected);
    QCOMPARE(ScansionaStringa(input, start), expected);
}

void TestSpots::derivedValues_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("f");     // -1: none
    QTest::addColumn<qint64>("hz"); // -1: none
    QTest::addColumn<QString>("call");
    QTest::newRow("example") << kExample << "140250" << 140250 << qint64(14025000) << "Q9ZZZ";
    QTest::newRow("23cm loses its leading digit")
        << spotAt("1296100.0") << "2961000" << 2961000 << qint64(296100000) << "Q9ZZZ";
    QTest::newRow("no digit in the field") << "DX de Q1AAA: hello there, no spot here"
                                           << "" << -1 << qint64(-1) << "";
    QTest::newRow("short line") << "DX de"
                                << "" << -1 << qint64(-1) << "";
    QTest::newRow("comment number moves the callsign")
        << spotAt("14025.0", "  Q9ZZZ        1.5 kHz up") << "140250" << 140250 << qint64(14025000)
        << "Hz";
    QTest::newRow("not a spot has no callsign") << "Dx de Q1AAA:     14025.0  Q9ZZZ"
                                                << "140250" << 140250 << qint64(14025000) << "";
}

void TestSpots::derivedValues()
{
    QFETCH(QString, line);
    QFETCH(QString, digits);
    QFETCH(int, f);
    QFETCH(qint64, hz);
    QFETCH(QString, call);
    QCOMPARE(SpotText::frequencyDigits(line), digits);
    QCOMPARE(SpotText::frequencyValue(line).value_or(-1), f);
    QCOMPARE(SpotText::frequencyHz(line).value_or(-1), hz);
    QCOMPARE(SpotText::spottedCallsign(line), call);
}

void TestSpots::bandDecision_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<int>("band"); // -1: no window
    QTest::newRow("14025.0 on 20") << "14025.0" << int(Band::m20);
    QTest::newRow("14352.0 between 20 and 17") << "14352.0" << -1;
    QTest::newRow("1840.0 on 160") << "1840.0" << int(Band::m160);
    QTest::newRow("1815.0 below 160") << "1815.0" << -1;
    QTest::newRow("144300.0 vhf up") << "144300.0" << int(Band::msopra);
    QTest::newRow("50313.0 on 6") << "50313.0" << int(Band::m6);
    QTest::newRow("52000.0 no window") << "52000.0" << -1;
    QTest::newRow("14025 without decimal") << "14025" << -1;
    QTest::newRow("14025.00 falls into vhf up") << "14025.00" << int(Band::msopra);
    QTest::newRow("11400.0 on the wide 30m") << "11400.0" << int(Band::m30);
    QTest::newRow("29600.0 above the 10m window") << "29600.0" << -1;
    QTest::newRow("7018.20 two decimals") << "7018.20" << int(Band::msopra);
}

void TestSpots::bandDecision()
{
    QFETCH(QString, freq);
    QFETCH(int, band);
    const QString line = spotAt(freq);
    QCOMPARE(BandFilter::bandOf(SpotText::frequencyValue(line).value()).value_or(-1), band);

    BandFilter filter;
    const auto expectedAllOn = band >= 0 ? BandFilter::Decision::Pass : BandFilter::Decision::Drop;
    QCOMPARE(filter.decide(line), expectedAllOn);
    if (band < 0)
        return;
    filter.toggle(BandFilter::bandAt(band));
    QCOMPARE(filter.decide(line), BandFilter::Decision::Drop);
    // Switching off every other band leaves this one's spots alone.
    filter.allOff();
    filter.setOn(BandFilter::bandAt(band), true);
    QCOMPARE(filter.decide(line), BandFilter::Decision::Pass);
}

void TestSpots::bandWindowEdges()
{
    // Every bound is inclusive, the value next to it is outside.
    for (Band b : BandFilter::bands()) {
        const auto w = BandFilter::window(b);
        const int i = BandFilter::indexOf(b);
        QCOMPARE(BandFilter::bandOf(w.lowest).value_or(-1), i);
        QCOMPARE(BandFilter::bandOf(w.highest).value_or(-1), i);
        QCOMPARE(BandFilter::bandOf(w.lowest - 1).value_or(-1), -1);
        QCOMPARE(BandFilter::bandOf(w.highest + 1).value_or(-1), -1);
    }
    QCOMPARE(BandFilter::window(Band::m160).lowest, 18300);
    QCOMPARE(BandFilter::window(Band::msopra).highest, 99990000);
    QCOMPARE(BandFilter::caption(Band::msopra), QStringLiteral("vhf up"));
    QCOMPARE(BandFilter::panelName(Band::m6), QStringLiteral("m6"));
}

void TestSpots::incoming_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("m20On");
    QTest::addColumn<bool>("isDx");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("show");

    const QString spot = QStringLiteral(
        "DX de W3LPL:     14021.0  VP2MXX       CW 579 up 2                    0712Z");
    QTest::newRow("spot cut to 60") << spot << true << true << spot.left(60) << true;
    QTest::newRow("spot of a band that is off") << spot << false << true << spot.left(60) << false;
    QTest::newRow("bells and blanks at the end")
        << kExample + "\a\a  " << true << true << kExample << true;
    QTest::newRow("announcement never filtered")
        << "To ALL de EA8ABC: 14025.0 is busy" << false << false
        << "To ALL de EA8ABC: 14025.0 is busy" << true;
    QTest::newRow("lower case dx is no spot")
        << "dx de w3lpl:     14352.0  vp2mxx       cw 579 up 2                    0712Z" << true
        << false << "dx de w3lpl:     14352.0  vp2mxx       cw 579 up 2                    0712Z"
        << true;
    QTest::newRow("leading blanks make a spot")
        << "   " + kExample << false << true << kExample << false;
    QTest::newRow("DX line without frequency digits shown")
        << "DXpedition news: see the bulletin" << true << true
        << "DXpedition news: see the bulletin" << true;
    QTest::newRow("empty line is an empty entry") << "" << true << false << "" << true;
    QTest::newRow("14352.0 never shown")
        << spotAt("14352.0") << true << true << spotAt("14352.0") << false;
}

void TestSpots::incoming()
{
    QFETCH(QString, line);
    QFETCH(bool, m20On);
    QFETCH(bool, isDx);
    QFETCH(QString, shown);
    QFETCH(bool, show);
    BandFilter filter;
    filter.setOn(Band::m20, m20On);
    const IncomingLine r = IncomingLine::evaluate(line, filter);
    QCOMPARE(r.isDxSpot, isDx);
    QCOMPARE(r.workingCopy, shown);
    QCOMPARE(r.decision, show ? IncomingLine::Decision::Show : IncomingLine::Decision::Drop);
}

void TestSpots::stripLayout()
{
    BandFilter filter;
    BandStrip strip(filter);
    QCOMPARE(strip.objectName(), QStringLiteral("Panel11"));
    QCOMPARE(strip.size(), QSize(502, 21));
    const int lefts[] = {5, 36, 67, 98, 129, 160, 191, 222, 253, 284, 313, 342};
    const int widths[] = {25, 25, 25, 25, 25, 25, 25, 25, 25, 23, 23, 45};
    for (Band b : BandFilter::bands()) {
        const int i = BandFilter::indexOf(b);
        auto* p = strip.findChild<BandPanel*>(BandFilter::panelName(b));
        QVERIFY(p);
        QCOMPARE(p->geometry(), QRect(lefts[i], 2, widths[i], 17));
        QCOMPARE(p->text(), BandFilter::caption(b));
        QVERIFY(p->font().bold());
        QCOMPARE(p->font().pixelSize(), 12);
        QCOMPARE(p->captionColor(), QColor(0, 255, 0));
    }
    auto* red = strip.findChild<QPushButton*>(QStringLiteral("BitBtn8"));
    auto* green = strip.findChild<QPushButton*>(QStringLiteral("BitBtn9"));
    QVERIFY(red && green);
    QCOMPARE(red->text(), QStringLiteral("All Red"));
    QCOMPARE(red->geometry(), QRect(394, 3, 49, 16));
    QCOMPARE(green->text(), QStringLiteral("All Green"));
    QCOMPARE(green->geometry(), QRect(445, 3, 53, 16));
}

void TestSpots::panelClickToggles()
{
    BandFilter filter;
    BandStrip strip(filter);
    strip.show();
    QSignalSpy toggled(&strip, &BandStrip::bandToggled);
    auto* m20 = strip.findChild<BandPanel*>(QStringLiteral("m20"));
    const QString spot = spotAt("14025.0");

    QTest::mouseClick(m20, Qt::LeftButton);
    QVERIFY(!filter.isOn(Band::m20));
    QCOMPARE(strip.captionColor(Band::m20), QColor(255, 0, 0));
    QCOMPARE(filter.decide(spot), BandFilter::Decision::Drop);
    QCOMPARE(toggled.size(), 1);
    QCOMPARE(toggled.at(0).at(0).value<Band>(), Band::m20);
    // Only the clicked band changed.
    QCOMPARE(strip.captionColor(Band::m17), QColor(0, 255, 0));

    QTest::mouseClick(m20, Qt::LeftButton);
    QVERIFY(filter.isOn(Band::m20));
    QCOMPARE(strip.captionColor(Band::m20), QColor(0, 255, 0));
    QCOMPARE(filter.decide(spot), BandFilter::Decision::Pass);

    // A hidden strip keeps its bands as they are.
    QTest::mouseClick(m20, Qt::LeftButton);
    strip.hide();
    strip.show();
    QVERIFY(!filter.isOn(Band::m20));
    QCOMPARE(strip.captionColor(Band::m20), QColor(255, 0, 0));
}

void TestSpots::allButtonsSignalAndRefresh()
{
    BandFilter filter;
    BandStrip strip(filter);
    strip.show();
    QSignalSpy red(&strip, &BandStrip::allRedClicked);
    QSignalSpy green(&strip, &BandStrip::allGreenClicked);
    // The owner answers the buttons by changing the model and refreshing.
    connect(&strip, &BandStrip::allRedClicked, &strip, [&] {
        filter.allOff();
        strip.refresh();
    });
    connect(&strip, &BandStrip::allGreenClicked, &strip, [&] {
        filter.allOn();
        strip.refresh();
    });

    QTest::mouseClick(strip.findChild<QPushButton*>(QStringLiteral("BitBtn8")), Qt::LeftButton);
    QCOMPARE(red.size(), 1);
    QCOMPARE(green.size(), 0);
    for (Band b : BandFilter::bands())
        QCOMPARE(strip.captionColor(b), QColor(255, 0, 0));

    QTest::mouseClick(strip.findChild<BandPanel*>(QStringLiteral("m40")), Qt::LeftButton);
    QTest::mouseClick(strip.findChild<QPushButton*>(QStringLiteral("BitBtn9")), Qt::LeftButton);
    QCOMPARE(green.size(), 1);
    for (Band b : BandFilter::bands()) {
        QVERIFY(filter.isOn(b));
        QCOMPARE(strip.captionColor(b), QColor(0, 255, 0));
    }
}

void TestSpots::themeDoesNotRecolourPanels()
{
    qApp->setStyleSheet(QStringLiteral("QWidget { background-color: #ffffff; color: #0000ff; }"));
    BandFilter filter;
    filter.setOn(Band::m40, false);
    BandStrip strip(filter);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    const QImage image = strip.grab().toImage();
    qApp->setStyleSheet(QString());

    auto* m20 = strip.findChild<BandPanel*>(QStringLiteral("m20"));
    auto* m40 = strip.findChild<BandPanel*>(QStringLiteral("m40"));
    // The panel's background stays black, its caption lime or red.
    QCOMPARE(image.pixelColor(m20->geometry().topLeft() + QPoint(1, 1)), QColor(Qt::black));
    QCOMPARE(image.pixelColor(QPoint(2, 1)), QColor(Qt::black)); // the strip itself
    auto hasColour = [&](BandPanel* p, const QColor& c) {
        const QRect r = p->geometry();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (image.pixelColor(x, y) == c)
                    return true;
        return false;
    };
    QVERIFY(hasColour(m20, QColor(0, 255, 0)));
    QVERIFY(hasColour(m40, QColor(255, 0, 0)));
    QVERIFY(!hasColour(m20, QColor(0, 0, 255)));
}

QTEST_MAIN(TestSpots)
#include "tst_spots.moc"
