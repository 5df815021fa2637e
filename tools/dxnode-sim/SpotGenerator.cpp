#include "SpotGenerator.h"

#include <array>

namespace {

struct BandPlan
{
    qint64 lowHundredths;  // kHz * 100
    qint64 highHundredths; // kHz * 100
    qint64 cwTopHundredths;
    double ft8Khz; // 0: none
    int weight;
};

// kHz ranges of the bands the node spots, with a CW segment and the FT8 dial.
constexpr std::array<BandPlan, 15> kBands{{
    {181000, 199900, 184000, 1840.0, 3},         // 160 m
    {350000, 380000, 357000, 3573.0, 6},         // 80 m
    {535100, 536600, 535400, 5357.0, 2},         // 60 m
    {700000, 730000, 704000, 7074.0, 12},        // 40 m
    {1010000, 1015000, 1013000, 10136.0, 6},     // 30 m
    {1400000, 1435000, 1407000, 14074.0, 16},    // 20 m
    {1806800, 1816800, 1810000, 18100.0, 7},     // 17 m
    {2100000, 2145000, 2107000, 21074.0, 11},    // 15 m
    {2489000, 2499000, 2492000, 24915.0, 5},     // 12 m
    {2800000, 2970000, 2807000, 28074.0, 8},     // 10 m
    {5000000, 5050000, 5010000, 50313.0, 5},     // 6 m
    {14400000, 14440000, 14410000, 144174.0, 3}, // 2 m
    {43200000, 43240000, 43210000, 0, 2},        // 70 cm
    {129600000, 129640000, 129615000, 0, 1},     // 23 cm
    {1036800000, 1036890000, 1036840000, 0, 1},  // 3 cm
}};

const char* const kPrefixes[] = {"K",  "W",  "N",   "AA", "KD", "G",  "M",  "DL", "F",  "I",
                                 "EA", "JA", "VK",  "ZL", "PY", "LU", "UA", "SP", "OH", "SM",
                                 "VE", "ZS", "5B",  "9A", "OE", "ON", "PA", "CT", "EI", "YB",
                                 "HS", "VU", "HB9", "4X", "A6", "TA", "OK", "YO", "LZ", "S5"};

const char* const kSkimmers[] = {"DK9IP-#", "W3OA-#",    "KO7SS-7-#", "3V/KF5EYY-#", "VE6WZ-#",
                                 "OH6BG-#", "JH7CSU1-#", "G4ZFE-#",   "VE7CC-1-#",   "W1NT-6-#"};

const char* const kAnnouncers[] = {"EA8ABC", "G1TLH", "K1TTT", "DL8LAS", "VK2IO", "JA1XYZ"};

const char* const kAnnouncements[] = {
    "Anyone QRV for the 3Y0K pileup on 20m?",     "Contest this weekend, see the rules on the web",
    "Strong Es opening to southern Europe on 6m", "Node will restart at 0300Z for maintenance",
    "QSL via LoTW only, thanks for the QSOs",     "TNX for the spots, 73",
};

const char* const kTalk[] = {"Hello, are you QRV tonight?", "TNX for the QSO, 73",
                             "Can you check 14.195 for me?", "Your signal 59 here in Scotland"};

QString lettersOf(QRandomGenerator& r, int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QChar(u'A' + r.bounded(26));
    return s;
}

} // namespace

SpotGenerator::SpotGenerator(quint32 seed, QStringList dxpeditions)
    : m_random(seed), m_dxpeditions(std::move(dxpeditions))
{}

QString SpotGenerator::randomCall()
{
    QString call = QLatin1String(kPrefixes[pick(int(std::size(kPrefixes)))]) +
                   QString::number(pick(10)) + lettersOf(m_random, 1 + pick(3));
    const int r = pick(100);
    if (r < 4)
        call += QStringLiteral("/P");
    else if (r < 6)
        call += QStringLiteral("/MM");
    else if (r < 7)
        call = QStringLiteral("VK9/") + call + QStringLiteral("/MM"); // longer than 12
    return call;
}

QString SpotGenerator::randomSpotter(bool& skimmer)
{
    skimmer = chance(25);
    if (skimmer)
        return QLatin1String(kSkimmers[pick(int(std::size(kSkimmers)))]);
    QString call = randomCall();
    if (call.contains(u'/'))
        call = call.section(u'/', 0, 0) == QLatin1String("VK9") ? call.section(u'/', 1, 1)
                                                                : call.section(u'/', 0, 0);
    if (chance(5))
        call += QStringLiteral("-") + QString::number(1 + pick(9));
    return call;
}

SimLines::Spot SpotGenerator::nextSpot(const QDateTime& utc)
{
    int total = 0;
    for (const auto& b : kBands)
        total += b.weight;
    int w = pick(total);
    const BandPlan* band = &kBands[0];
    for (const auto& b : kBands) {
        if (w < b.weight) {
            band = &b;
            break;
        }
        w -= b.weight;
    }

    SimLines::Spot spot;
    spot.time = utc.time();
    spot.date = utc.date();
    bool skimmer = false;
    spot.spotter = randomSpotter(skimmer);
    spot.call = (!m_dxpeditions.isEmpty() && chance(8))
                    ? m_dxpeditions.at(pick(int(m_dxpeditions.size())))
                    : randomCall();

    // Mode by segment: CW low, FT8 on its dial, phone above.
    QString mode;
    qint64 hundredths = 0;
    const int m = pick(100);
    if (band->ft8Khz > 0 && m < 25) {
        mode = QStringLiteral("FT8");
        hundredths = qint64(band->ft8Khz * 100) + pick(30) * 10;
    } else if (m < 65 || skimmer) {
        mode = QStringLiteral("CW");
        hundredths = band->lowHundredths + 250 +
                     m_random.bounded(band->cwTopHundredths - band->lowHundredths - 250);
    } else {
        mode = QStringLiteral("SSB");
        hundredths =
            band->cwTopHundredths + m_random.bounded(band->highHundredths - band->cwTopHundredths);
    }
    // Phone spots sit on whole kHz; some nodes give two decimals.
    if (mode == QLatin1String("SSB"))
        spot.frequency = QString::number(double(hundredths / 100), 'f', 1);
    else if (chance(5))
        spot.frequency = QString::number(double(hundredths) / 100.0, 'f', 2);
    else
        spot.frequency = QString::number(double(hundredths / 10) / 10.0, 'f', 1);

    if (skimmer) {
        if (mode == QLatin1String("FT8"))
            spot.comment = QStringLiteral("FT8 %1 dB %2%3 CQ")
                               .arg(-20 + pick(25))
                               .arg(lettersOf(m_random, 2))
                               .arg(10 + pick(89));
        else
            spot.comment =
                QStringLiteral("CW %1 dB %2 WPM CQ").arg(3 + pick(35)).arg(14 + pick(24));
        return spot;
    }
    switch (pick(8)) {
    case 0:
        spot.comment = QStringLiteral("%1 kHz up").arg(QStringLiteral("1.5"));
        break;
    case 1:
        spot.comment = QStringLiteral("up %1").arg(1 + pick(9));
        break;
    case 2:
        spot.comment = mode == QLatin1String("SSB") ? QStringLiteral("59 tnx QSO")
                                                    : QStringLiteral("%1 599").arg(mode);
        break;
    case 3:
        spot.comment = QStringLiteral("%1 loud in %2").arg(mode, QStringLiteral("EU"));
        break;
    case 4:
        spot.comment =
            QStringLiteral("QSX %1").arg(QString::number(double(hundredths) / 100 + 2.5, 'f', 1));
        break;
    case 5:
        spot.comment = QStringLiteral("%1 -%2dB").arg(mode).arg(5 + pick(15));
        break;
    case 6:
        spot.comment = QString();
        break;
    default:
        spot.comment =
            QStringLiteral("CQ CQ %1, big pileup, pse listen up and spread out").arg(mode);
        break;
    }
    return spot;
}

bool SpotGenerator::otherLineDue()
{
    return chance(7);
}

QString SpotGenerator::nextOtherLine(const QString& user)
{
    switch (pick(5)) {
    case 0:
        return QStringLiteral("WWV de W0MU <%1>:   SFI=%2, A=%3, K=%4, No Storms -> Minor w/G1")
            .arg(pick(24), 2, 10, QLatin1Char('0'))
            .arg(70 + pick(150))
            .arg(2 + pick(20))
            .arg(pick(6));
    case 1:
        return QStringLiteral(
                   "WCY de DK0WCY-1 <%1> : K=%2 expK=0 A=%3 R=%4 SFI=%5 SA=qui GMF=qui Au=no")
            .arg(pick(24))
            .arg(pick(6))
            .arg(2 + pick(20))
            .arg(pick(150))
            .arg(70 + pick(150));
    case 2:
        return QStringLiteral("%1 de %2: %3")
            .arg(user, QLatin1String(kAnnouncers[pick(int(std::size(kAnnouncers)))]),
                 QLatin1String(kTalk[pick(int(std::size(kTalk)))]));
    default:
        return QStringLiteral("To ALL de %1: %2")
            .arg(QLatin1String(kAnnouncers[pick(int(std::size(kAnnouncers)))]),
                 QLatin1String(kAnnouncements[pick(int(std::size(kAnnouncements)))]));
    }
}
