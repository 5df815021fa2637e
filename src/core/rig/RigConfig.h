#pragma once

#include <QString>

// How one radio is reached: a Hamlib rig model and its port. The default is
// Hamlib's NET rigctl client, talking to a rigctld on this machine, which is
// the usual way to share a radio on Linux.
//
//   [Rig1]
//   Model=3073
//   Port=/dev/ttyUSB0
//   Speed=19200
struct RigConfig
{
    int model = 2;   // Hamlib model number; 2 is NET rigctl
    QString port;    // host:port for a network rig, a device path otherwise
    int speed = 0;   // serial baud rate; 0 leaves the model's default
};

// Both radios and how long the end of the program waits for a rig call that
// is still running before it leaves it behind.
struct RigBackend
{
    RigConfig rig1{2, QStringLiteral("localhost:4532"), 0};
    RigConfig rig2{2, QStringLiteral("localhost:4534"), 0};
    int shutdownWaitMs = 2000;

    const RigConfig& rig(int number) const { return number == 2 ? rig2 : rig1; }
};

// The defaults with the [Rig1] and [Rig2] sections of settings.ini in
// programDir applied (keys Model, Port, Speed). The program never writes
// these keys.
RigBackend loadRigBackend(const QString& programDir);
