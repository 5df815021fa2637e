#pragma once

#include "alerts/CallPattern.h"
#include "dxcc/SpotMode.h"

#include <QString>
#include <QStringView>

#include <optional>

struct AlertSpot;

// One alert rule: what a spot must be to alert, and how the ham is told.
// Every condition that is set must hold; an empty one lets every spot pass.
// In alerts.ini a rule reads:
//
//   [Rule1]
//   Name=Kiribati
//   On=1
//   Call=T3*
//   Entity=
//   Continent=OC,AS
//   Bands=40m,20m
//   Modes=CW,PHONE,DIGITAL
//   Sound=1
//   Notify=1
//   Speak=0
//
// The sets (continents, bands, modes) are bit masks, so checking a spot
// against a rule allocates nothing.
struct AlertRule
{
    enum class Sound
    {
        None,  // Sound=0
        Alarm, // Sound=1: the loaded dx.wav
        File,  // Sound=name.wav
    };

    QString name;
    bool on = true;
    CallPattern call;
    QString entity;       // a name or primary prefix of the country file; empty: any
    quint8 continents = 0; // bit i: continentName(i); 0: any continent
    quint16 bands = 0;     // bit i: BandFilter band index i; 0: any band
    quint8 modes = 0;      // bit i: modeName(i) (CW, PHONE, DIGITAL); 0: any mode
    Sound sound = Sound::None;
    QString soundFile;    // with Sound::File only
    bool notify = false;
    bool speak = false;

    bool matches(const AlertSpot& spot) const;

    bool hasBand(int index) const { return bands & (1u << index); }
    bool hasContinent(int index) const { return continents & (1u << index); }
    bool hasMode(int index) const { return modes & (1u << index); }

    bool operator==(const AlertRule&) const = default;

    // The words of alerts.ini, in the order the file and the editor list them.
    static constexpr int kContinentCount = 7;
    static constexpr int kModeCount = 3;
    static QString continentName(int index); // "AF" ... "SA"
    static QString bandName(int index);      // "160m" ... "6m", "VHF"
    static QString modeName(int index);      // "CW", "PHONE", "DIGITAL"
    // Without regard to case and blanks around; none for an unknown word.
    static std::optional<int> continentIndex(QStringView word);
    static std::optional<int> bandIndex(QStringView word);
    static std::optional<int> modeIndex(QStringView word);
    static int modeIndexOf(SpotMode::Group group); // -1 for Unknown
};
