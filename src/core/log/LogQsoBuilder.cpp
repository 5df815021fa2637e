#include "log/LogQsoBuilder.h"

#include "log/AdifValues.h"

namespace {

constexpr std::array<QLatin1StringView, LogQsoBuilder::FieldCount> kNames{
    QLatin1StringView("CALL"),          QLatin1StringView("BAND"),
    QLatin1StringView("FREQ"),          QLatin1StringView("MODE"),
    QLatin1StringView("SUBMODE"),       QLatin1StringView("DXCC"),
    QLatin1StringView("QSL_RCVD"),      QLatin1StringView("LOTW_QSL_RCVD"),
    QLatin1StringView("EQSL_QSL_RCVD"), QLatin1StringView("STATION_CALLSIGN"),
    QLatin1StringView("QSO_DATE")};

int bitOf(LogQsoBuilder::Field field)
{
    return 1 << int(field);
}

} // namespace

std::optional<LogQsoBuilder::Field> LogQsoBuilder::fieldOf(QByteArrayView name)
{
    // The names are ASCII; a record has some thirty fields and most are
    // none of ours, so the length sorts out most of them at once.
    for (int i = 0; i < FieldCount; ++i) {
        const QLatin1StringView known = kNames[std::size_t(i)];
        if (known.size() == name.size() &&
            QLatin1StringView(name.data(), name.size()).compare(known, Qt::CaseInsensitive) == 0)
            return Field(i);
    }
    return std::nullopt;
}

std::optional<LogQsoBuilder::Field> LogQsoBuilder::fieldOf(QStringView name)
{
    for (int i = 0; i < FieldCount; ++i) {
        const QLatin1StringView known = kNames[std::size_t(i)];
        if (known.size() == name.size() && name.compare(known, Qt::CaseInsensitive) == 0)
            return Field(i);
    }
    return std::nullopt;
}

QString LogQsoBuilder::nameOf(Field field)
{
    return QString(kNames[std::size_t(field)]);
}

bool LogQsoBuilder::set(Field field, QString value)
{
    if (m_given & bitOf(field))
        return false;
    m_given |= quint16(bitOf(field));
    m_values[std::size_t(field)] = std::move(value);
    return true;
}

void LogQsoBuilder::clear()
{
    if (m_given == 0)
        return;
    for (QString& v : m_values)
        v.clear();
    m_given = 0;
}

std::optional<LogQso> LogQsoBuilder::take(QString* problem)
{
    const auto value = [this](Field f) -> const QString& { return m_values[std::size_t(f)]; };
    std::optional<LogQso> result;
    const QString call = value(Field::Call).trimmed().toUpper();
    if (call.isEmpty()) {
        *problem = QStringLiteral("a record without CALL");
    } else if (!AdifValues::isCallsign(call)) {
        // A line of a megabyte must not make a message of a megabyte, nor
        // a line end inside a value a message of many lines.
        QString shown = call.left(40);
        for (QChar& c : shown) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                c = u' ';
        }
        *problem = QStringLiteral("CALL %1 is no callsign").arg(shown.simplified());
    } else {
        LogQso qso;
        qso.call = call;
        // BAND says it; the frequency when BAND is missing or no band of the
        // plan (a logger that writes "20 M").
        qso.band = AdifValues::bandOf(value(Field::Band));
        if (!qso.band)
            qso.band = AdifValues::bandOfFrequency(value(Field::Freq));
        const QString mode = value(Field::Mode).trimmed().toUpper();
        const QString submode = value(Field::Submode).trimmed().toUpper();
        qso.mode = submode.isEmpty() ? mode : submode;
        qso.group = AdifValues::groupOf(mode, submode);
        qso.dxcc = AdifValues::dxccOf(value(Field::Dxcc));
        if (AdifValues::isConfirmed(value(Field::QslRcvd)))
            qso.confirmations |= LogQso::Card;
        if (AdifValues::isConfirmed(value(Field::LotwQslRcvd)))
            qso.confirmations |= LogQso::Lotw;
        if (AdifValues::isConfirmed(value(Field::EqslQslRcvd)))
            qso.confirmations |= LogQso::Eqsl;
        qso.stationCallsign = value(Field::StationCallsign).trimmed().toUpper();
        qso.date = AdifValues::dateOf(value(Field::QsoDate));
        result = std::move(qso);
    }
    clear();
    return result;
}
