#pragma once

#include <QString>

#include <array>
#include <optional>

// The band filter: twelve bands, each with a fixed window of the frequency
// value F (tenths of a kHz, bounds inclusive) and an on/off state. All bands
// are on at start; the state is never saved.
class BandFilter
{
public:
    // In the order of the panels on the strip, left to right.
    enum class Band
    {
        m160,
        m80,
        m60,
        m40,
        m30,
        m20,
        m17,
        m15,
        m12,
        m10,
        m6,
        msopra
    };
    static constexpr int BandCount = 12;

    enum class Decision
    {
        Pass,
        Drop
    };

    struct Window
    {
        int lowest;
        int highest;
    };

    using States = std::array<bool, BandCount>;

    static const std::array<Band, BandCount>& bands();
    static int indexOf(Band band) { return static_cast<int>(band); }
    static Band bandAt(int index) { return static_cast<Band>(index); }
    // The panel's name ("m160" ... "msopra") and its caption ("160" ... "vhf up").
    static QString panelName(Band band);
    static QString caption(Band band);
    static Window window(Band band);

    // The index of the band whose window holds F, none for the gaps between
    // the windows.
    static std::optional<int> bandOf(int f);

    // The band decision for the working copy of a DX spot line:
    //   "DX de Q1AAA:     14025.0  Q9ZZZ        CW 599"
    // F = 140250 lies in the 20 m window: Pass while m20 is on, Drop while it
    // is off. F outside every window (14352.0, 1815.0, 14025 without its
    // decimal) is always Drop. A frequency field with no digit at all gives no
    // F; such a line is no real spot and is let through (Pass), so it shows.
    static Decision decide(const QString& workingCopy, const States& states);
    Decision decide(const QString& workingCopy) const { return decide(workingCopy, m_states); }

    bool isOn(Band band) const { return m_states[indexOf(band)]; }
    void setOn(Band band, bool on) { m_states[indexOf(band)] = on; }
    void toggle(Band band) { setOn(band, !isOn(band)); }
    void allOff() { m_states.fill(false); }
    void allOn() { m_states.fill(true); }
    const States& states() const { return m_states; }

private:
    States m_states = allBandsOn();
    static States allBandsOn()
    {
        States s;
        s.fill(true);
        return s;
    }
};
