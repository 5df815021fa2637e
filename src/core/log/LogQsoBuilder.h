#pragma once

#include "log/LogQso.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// Gathers the fields of one log record, as the ADI and the ADX reader meet
// them, and makes the QSO of them once the record ends:
//
//   <CALL:5>K1ABC<BAND:3>40m<MODE:2>CW<QSL_RCVD:1>Y<EOR>
//   <RECORD><CALL>K1ABC</CALL><BAND>40m</BAND>...</RECORD>
//
// Only the fields the program reads are kept; every other field, the
// programs' own APP_ fields among them, is no field here.
class LogQsoBuilder
{
public:
    enum class Field : quint8
    {
        Call,
        Band,
        Freq,
        Mode,
        Submode,
        Dxcc,
        QslRcvd,
        LotwQslRcvd,
        EqslQslRcvd,
        StationCallsign,
        QsoDate,
    };
    static constexpr int FieldCount = 11;

    // The field a name stands for, without regard to case: "call", "CALL"
    // and "Call" are one field. None for every other name.
    static std::optional<Field> fieldOf(QByteArrayView name);
    static std::optional<Field> fieldOf(QStringView name);

    // False when the record already gave this field: two QSOs run into one,
    // and the record is broken.
    bool set(Field field, QString value);

    // The QSO of the fields gathered since the last take() or clear(), or
    // none with the reason in *problem ("no CALL"). Either way the builder
    // is empty again.
    std::optional<LogQso> take(QString* problem);
    void clear();

    // The canonical name of a field, for messages: "QSL_RCVD".
    static QString nameOf(Field field);

private:
    std::array<QString, FieldCount> m_values;
    quint16 m_given = 0;
};
