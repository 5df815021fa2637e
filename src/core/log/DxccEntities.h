#pragma once

#include <QList>
#include <QString>
#include <QStringView>

struct CountryInfo;

// The ADIF DXCC entity codes, the numbers a log gives its QSOs' entities
// by (<DXCC:3>291), and the entities of the country file cty.dat, which
// knows no numbers but names each entity by its primary prefix:
//   291 -> "K" (United States), 1 -> "VE" (Canada), 230 -> "DL", 24 -> "3Y/b" (Bouvet)
// The current entities only: a deleted one (Sikkim, 1975) is in no
// entity a spot can be in today.
class DxccEntities
{
public:
    // The primary prefix cty.dat gives the entity; empty for a code of no
    // current entity.
    static QString prefixOf(int code);

    // The code of an entity by its primary prefix; 0 for none.
    static int codeOf(QStringView prefix);

    // The DXCC entity a country-file entity belongs to, by its primary
    // prefix. The file keeps a few parts of entities apart for the WAE
    // list ("*IT9" Sicily is Italy, "*GM/s" Shetland is Scotland): those
    // give their entity's prefix, every other its own.
    static QString dxccPrefixOf(const CountryInfo& info);

    // Every current code, ascending.
    static QList<int> codes();
};
