// The cost of one node line beyond the panes, before and after the spot
// pipeline, in one run on the same lines:
//   bench_pipeline [lines]
// "before" repeats what each shown line cost the main window until the
// pipeline came: the pane's decision (with the live check's member round
// trip), then the DX window's model reading the line by the pane's columns
// (SpotFields, SpotMode's regular expression, the country looked up, the
// bearing), then the alert center reading it again (SpotFields, SpotMode,
// the country looked up again) for its rule. "after" is SpotPipeline: the
// same decision, the line read once by its words, the country and bearing
// found once, and the one SpotEvent given to the model and the alert rule.
// Both feed a live ActiveDxModel, so the figure is lines per second through
// the whole path with the DX window's model attached.
#include "alerts/AlertBook.h"
#include "alerts/AlertSpot.h"
#include "alerts/AlertsFile.h"
#include "activedx/ActiveDxModel.h"
#include "dxcc/CountryFile.h"
#include "dxcc/GreatCirclePath.h"
#include "dxcc/SpotFields.h"
#include "dxcc/SpotMode.h"
#include "livecheck/LineDecision.h"
#include "livecheck/LiveCheckBook.h"
#include "spots/BandFilter.h"
#include "pipeline/SpotEvent.h"
#include "pipeline/SpotPipeline.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

const char* const kLayouts[] = {
    "DX de W3LPL:     21021.0  %1 CW 579 up 2                    0712Z",
    "DX de DK9IP-#:   14023.8  %1 CW 19 dB 18 WPM CQ             0712Z",
    "DX de KM3T-#:    14074.0  %1 FT8 -12 dB GG66 CQ             1201Z",
    "DX de OH6BG-#:    7018.0  %1 CW 14 dB 26 WPM CQ             0715Z KP23",
    "DX de N1MM:      14195.0  %1 up 5-10                        1420Z",
    "DX de G4ABC:     10137.0  %1 FT8 -12 dB                     1200Z",
    "DX de IK4VYX:     3795.0  %1 LSB QSX 3.805 pse             2210Z",
    "DX de F5IN:      28495.0  %1 USB tnx for QSO 73            1133Z",
    "DX de EA3XU:     50313.0  %1 FT8 JN11cl<ES>GG66rm           1802Z JN11",
};
const char* const kOther[] = {
    "WWV de W0MU <21>:   SFI=118, A=8, K=2, No Storms -> Minor w/G1",
    "To ALL de EA8ABC: Contest starts at 0000Z, pse QRX on 14025",
    "G1TLH de GB7DJK  7-Feb-2022 1357Z dxspider >",
};

QStringList makeLines(int n)
{
    QRandomGenerator r(31);
    static const char* const prefixes[] = {"K", "W", "DL", "G", "JA", "EA8", "3Y0", "VP8", "ZS6", "PY2"};
    // A busy evening's stations: fewer than the model's row limit, so the
    // figure is the line's path, not the eviction of old rows.
    QStringList calls;
    for (int i = 0; i < 1500; ++i) {
        QString call = QLatin1String(prefixes[r.bounded(int(std::size(prefixes)))])
                       + QString::number(r.bounded(10));
        for (int k = 0, m = 1 + r.bounded(3); k < m; ++k)
            call += QChar(u'A' + r.bounded(26));
        calls << call.leftJustified(12);
    }
    QStringList lines;
    for (int i = 0; i < n; ++i) {
        if (r.bounded(10) == 0) {
            lines << QString::fromLatin1(kOther[r.bounded(int(std::size(kOther)))]);
            continue;
        }
        lines << QString::fromLatin1(kLayouts[r.bounded(int(std::size(kLayouts)))])
                     .arg(calls[r.bounded(int(calls.size()))]);
    }
    return lines;
}

qint64 cpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// The main window's state the old path wrote and read back.
struct OldWindow
{
    QString stringaricevuta;
    QString resultString;
    bool trovatouguale = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1000, atoi(argv[1])) : 200000;
    const QStringList lines = makeLines(n);
    const CountryFile::Loaded loaded =
        CountryFile::load(CountryFile::searchPaths(QString()), CountryFile::kMinEntities);
    const auto countries = std::make_shared<const CountryTable>(loaded.table);
    const QString locator = QStringLiteral("JO31LK");
    LiveCheckBook book;
    BandFilter bands;
    // One rule, as a user with alerts has: DXCC entities of Africa on CW.
    AlertBook rules(AlertsFile::parse("[Rule1]\r\nName=Africa\r\nContinent=AF\r\nModes=CW\r\n").rules);
    const QDateTime now = QDateTime::currentDateTimeUtc();

    double beforeNs = 0;
    double afterNs = 0;
    for (int round = 0; round < 3; ++round) {
        // Before.
        {
            ActiveDxModel model;
            model.setMaxAgeMinutes(24 * 60);
            model.setCountryTable(countries);
            model.setLocator(locator);
            OldWindow w;
            const auto lookup = [&w, &book](const QString& workingCopy) {
                w.stringaricevuta = workingCopy;
                const LiveCheck::Result r = book.checkDxpeditions(w.stringaricevuta);
                w.resultString = r.resultString;
                w.trovatouguale = r.trovatouguale;
                return LiveCheck::Result{w.resultString, w.trovatouguale};
            };
            const qint64 start = cpuNs();
            for (const QString& line : lines) {
                const LineDecision d = LineDecision::decide(line, bands, nullptr, lookup, false);
                if (d.outcome == LineDecision::Outcome::Drop)
                    continue;
                const QString& shown = d.line.workingCopy;
                // The model's read of the pane's columns.
                if (const std::optional<SpotFields> f = SpotFields::read(shown)) {
                    if (const std::optional<int> band = BandFilter::bandOf(f->frequency)) {
                        const QString mode = SpotMode::of(f->comment, f->frequency);
                        std::optional<CountryInfo> c = countries->lookup(f->callsign);
                        std::optional<GreatCirclePath> path;
                        if (c)
                            path = GreatCirclePath::fromLocator(locator, *c);
                        // The row itself: the same work as today's.
                        static const SpotReader reader;
                        if (std::optional<Spot> s = reader.read(line)) {
                            SpotEvent e;
                            e.spot = std::move(*s);
                            e.line = shown;
                            e.receivedUtc = now;
                            e.stripBand = *band;
                            e.country = std::move(c);
                            e.path = path;
                            (void)mode;
                            // The word reader is not the old path's cost: it
                            // is measured alone and taken out below.
                            model.addSpot(e);
                        }
                    }
                }
                // The alert center's second read and second lookup.
                if (shown.startsWith(QLatin1String("DX"))) {
                    if (const std::optional<SpotFields> f = SpotFields::read(shown)) {
                        AlertSpot a;
                        a.callsign = f->callsign;
                        a.band = BandFilter::bandOf(f->frequency).value_or(-1);
                        a.mode = SpotMode::of(f->comment, f->frequency);
                        a.modeGroup = SpotMode::groupOf(a.mode);
                        if (const std::optional<CountryInfo> c = countries->lookup(a.callsign))
                            a.continent = c->continent;
                        rules.check(a, now);
                    }
                }
            }
            beforeNs += double(cpuNs() - start);
        }
        // After.
        {
            ActiveDxModel model;
            model.setMaxAgeMinutes(24 * 60);
            model.setCountryTable(countries);
            model.setLocator(locator);
            SpotPipeline pipeline({&book, &bands, countries, BandPlan::Region::One, [&now] { return now; }});
            pipeline.setLocator(model.locator());
            QObject::connect(&pipeline, &SpotPipeline::spotRead, &model,
                             [&model, &rules, &now](const SpotEvent& e, bool) {
                                 model.addSpot(e);
                                 rules.check(AlertSpot::fromSpot(e), now);
                             });
            const qint64 start = cpuNs();
            for (const QString& line : lines)
                pipeline.takeLine(line, false);
            afterNs += double(cpuNs() - start);
        }
    }
    // What "before" spent in the word reader it did not have (it only builds
    // the same rows as "after"): measured alone and taken out.
    double readerNs = 0;
    {
        static const SpotReader reader;
        const qint64 start = cpuNs();
        int count = 0;
        for (int round = 0; round < 3; ++round)
            for (const QString& line : lines)
                count += reader.read(line).has_value();
        readerNs = double(cpuNs() - start);
        if (count < 0)
            std::puts("");
    }
    const double before = (beforeNs - readerNs) / (3.0 * n);
    const double after = afterNs / (3.0 * n);
    std::printf("lines: %d (90%% spots), one alert rule, DX window model live, %d countries\n", n,
                int(countries->entityCount()));
    std::printf("before: %.0f ns CPU per line (%.0f lines/s)\n", before, 1e9 / before);
    std::printf("after:  %.0f ns CPU per line (%.0f lines/s)\n", after, 1e9 / after);
    std::printf("after / before: %.2f\n", after / before);
    return 0;
}
