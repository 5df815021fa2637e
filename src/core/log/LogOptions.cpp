#include "log/LogOptions.h"

#include "log/AdifValues.h"

namespace {

struct ConfirmationWord
{
    QStringView word;
    LogQso::Confirmation bit;
};

// In the order they are written back.
constexpr ConfirmationWord kConfirmationWords[] = {
    {u"lotw", LogQso::Lotw},
    {u"card", LogQso::Card},
    {u"eqsl", LogQso::Eqsl},
};

// "DL1XYZ" made the QSO as "DL1XYZ", "DL1XYZ/P", "EA8/DL1XYZ"; not as
// "DL1XY" or "DL1XYZA".
bool isMadeAs(const QString& stationCall, const QString& myCall)
{
    if (stationCall == myCall)
        return true;
    for (QStringView part : QStringView(stationCall).split(u'/')) {
        if (part == myCall)
            return true;
    }
    return false;
}

} // namespace

bool LogOptions::counts(const LogQso& qso) const
{
    if (since.isValid() && (!qso.date.isValid() || qso.date < since))
        return false;
    if (myCalls.isEmpty() || qso.stationCallsign.isEmpty())
        return true;
    for (const QString& call : myCalls) {
        if (isMadeAs(qso.stationCallsign, call))
            return true;
    }
    return false;
}

std::optional<quint8> LogOptions::confirmationsFromText(QStringView text)
{
    quint8 bits = 0;
    for (QStringView word : text.split(u',')) {
        for (const ConfirmationWord& w : kConfirmationWords) {
            if (word.trimmed().compare(w.word, Qt::CaseInsensitive) == 0)
                bits |= w.bit;
        }
    }
    if (bits == 0)
        return std::nullopt;
    return bits;
}

QString LogOptions::confirmationsText(quint8 confirmations)
{
    QStringList words;
    for (const ConfirmationWord& w : kConfirmationWords) {
        if (confirmations & w.bit)
            words.append(w.word.toString());
    }
    return words.join(u',');
}

QStringList LogOptions::callsFromText(QStringView text)
{
    QStringList calls;
    for (QStringView word : text.split(u',')) {
        const QString call = word.trimmed().toString().toUpper();
        if (AdifValues::isCallsign(call) && !calls.contains(call))
            calls.append(call);
    }
    return calls;
}

std::optional<QDate> LogOptions::dateFromText(QStringView text)
{
    const QStringView t = text.trimmed();
    QDate date;
    if (t.size() == 10 && t[4] == u'-' && t[7] == u'-')
        date = AdifValues::dateOf(t.left(4).toString() + t.mid(5, 2).toString() +
                                  t.mid(8, 2).toString());
    else
        date = AdifValues::dateOf(t);
    if (!date.isValid())
        return std::nullopt;
    return date;
}
