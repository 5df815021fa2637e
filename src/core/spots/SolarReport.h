#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The solar and geomagnetic figures nodes pass on, from the WWV broadcasts
// and from DK0WCY:
//
//   WWV de W0MU <21>:   SFI=118, A=8, K=2, No Storms -> Minor w/G1
//   WCY de DK0WCY-1 <12> : K=2 expK=0 A=13 R=12 SFI=72 SA=qui GMF=qui Au=no
//
// A figure the line does not give stays empty.
struct SolarReport
{
    enum class Source : unsigned char
    {
        Wwv,
        Wcy
    };

    Source source = Source::Wwv;
    QString reporter;       // "W0MU", "DK0WCY-1"
    int hour = -1;          // "<21>": the UTC hour the figures are for; -1 without
    std::optional<int> sfi; // solar flux
    std::optional<int> a;
    std::optional<int> k;
    std::optional<int> expK; // expected K
    std::optional<int> r;    // sunspot number
    QString sa;              // solar activity: "qui", "eru", "act"...
    QString gmf;             // geomagnetic field: "qui", "act", "min", "maj"...
    QString au;              // aurora: "no", "yes"...
    QString remark;          // WWV's words after the figures: "No Storms -> Minor w/G1"

    // None for a line that is not "WWV de ..." or "WCY de ...", or is
    // longer than 512 characters.
    static std::optional<SolarReport> read(QStringView line);

    friend bool operator==(const SolarReport&, const SolarReport&) = default;
};
