#include "rig/IRigX.h"

#include "rig/OmniRigModes.h"
#include "rig/RigError.h"

#include <hamlib/rig.h>

#include <mutex>

#include <csignal>

namespace {

using namespace OmniRigModes;

void prepareHamlib()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Hamlib writes its trace to stderr unless told otherwise.
        rig_set_debug(RIG_DEBUG_NONE);
        // Hamlib writes to a rigctld socket with plain write(): when the
        // server has died, that would raise SIGPIPE and end the program
        // instead of failing the call.
        std::signal(SIGPIPE, SIG_IGN);
    });
}

// How long Hamlib's network client waits for rigctld's answer. Hamlib's
// own figure; it is set on every rig because opening a network rig
// overwrites the model's shared default with the server's (the dummy rig
// says 500 ms), and every rig opened afterwards would give up that early.
constexpr int kNetworkTimeoutMs = 10000;

} // namespace

void IRigX::check(int status, const char* what)
{
    if (status == RIG_OK)
        return;
    // After a time-out the late answer is still on its way, and the network
    // client would read it as the answer to the next command; an I/O or
    // protocol error leaves the link in no better state. Such a rig is opened
    // afresh at its next use.
    if (status == -RIG_ETIMEOUT || status == -RIG_EPROTO || status == -RIG_EIO)
        m_broken = true;
    // rigerror() of this Hamlib carries its whole trace buffer, so the
    // message is made here.
    throw RigError(
        QStringLiteral("%1 failed (Hamlib status %2)").arg(QLatin1String(what)).arg(status));
}

std::unique_ptr<IRigX> IRigX::open(const RigConfig& config)
{
    prepareHamlib();
    RIG* rig = rig_init(rig_model_t(config.model));
    if (!rig)
        throw RigError(QStringLiteral("Hamlib knows no rig model %1").arg(config.model));
    auto fail = [rig](const QString& message) {
        rig_cleanup(rig);
        throw RigError(message);
    };
    const QByteArray port = config.port.toLocal8Bit();
    if (!port.isEmpty() &&
        rig_set_conf(rig, rig_token_lookup(rig, "rig_pathname"), port.constData()) != RIG_OK)
        fail(QStringLiteral("bad rig port %1").arg(config.port));
    if (config.model == RIG_MODEL_NETRIGCTL) {
        const QByteArray timeout = QByteArray::number(kNetworkTimeoutMs);
        rig_set_conf(rig, rig_token_lookup(rig, "timeout"), timeout.constData());
    }
    if (config.speed > 0) {
        const QByteArray speed = QByteArray::number(config.speed);
        if (rig_set_conf(rig, rig_token_lookup(rig, "serial_speed"), speed.constData()) != RIG_OK)
            fail(QStringLiteral("bad serial speed %1").arg(config.speed));
    }
    if (const int status = rig_open(rig); status != RIG_OK)
        fail(QStringLiteral("cannot open rig model %1 at %2 (Hamlib status %3)")
                 .arg(config.model)
                 .arg(config.port)
                 .arg(status));
    return std::unique_ptr<IRigX>(new IRigX(rig));
}

IRigX::~IRigX()
{
    rig_close(m_rig);
    rig_cleanup(m_rig);
}

qint32 IRigX::Mode()
{
    rmode_t mode = RIG_MODE_NONE;
    pbwidth_t width = 0;
    check(rig_get_mode(m_rig, RIG_VFO_CURR, &mode, &width), "reading the mode");
    switch (mode) {
    case RIG_MODE_CW:
        return PM_CW_U;
    case RIG_MODE_CWR:
        return PM_CW_L;
    case RIG_MODE_USB:
        return PM_SSB_U;
    case RIG_MODE_LSB:
        return PM_SSB_L;
    case RIG_MODE_PKTUSB:
        return PM_DIG_U;
    case RIG_MODE_PKTLSB:
        return PM_DIG_L;
    case RIG_MODE_AM:
        return PM_AM;
    case RIG_MODE_FM:
        return PM_FM;
    default:
        return PM_UNKNOWN;
    }
}

void IRigX::setMode(qint32 mode)
{
    rmode_t hamlibMode = RIG_MODE_NONE;
    switch (mode) {
    case PM_CW_U:
        hamlibMode = RIG_MODE_CW;
        break;
    case PM_SSB_U:
        hamlibMode = RIG_MODE_USB;
        break;
    case PM_SSB_L:
        hamlibMode = RIG_MODE_LSB;
        break;
    // The data mode of the DX window's digital spots (FT8, RTTY...).
    case PM_DIG_U:
        hamlibMode = RIG_MODE_PKTUSB;
        break;
    case PM_AM:
        hamlibMode = RIG_MODE_AM;
        break;
    case PM_FM:
        hamlibMode = RIG_MODE_FM;
        break;
    default:
        throw RigError(QStringLiteral("mode 0x%1 cannot be set").arg(mode, 8, 16, QLatin1Char('0')));
    }
    check(rig_set_mode(m_rig, RIG_VFO_CURR, hamlibMode, RIG_PASSBAND_NOCHANGE), "setting the mode");
}

void IRigX::setFreqA(qint32 hz)
{
    check(rig_set_freq(m_rig, RIG_VFO_A, freq_t(hz)), "setting VFO A");
}

void IRigX::setFreq(qint32 hz)
{
    check(rig_set_freq(m_rig, RIG_VFO_CURR, freq_t(hz)), "setting the frequency");
}
