#include "log/DxccEntities.h"

#include "dxcc/CountryInfo.h"

#include <algorithm>
#include <iterator>

namespace {

struct EntityRow
{
    int code;
    QStringView prefix;
};

// The ADIF DXCC entity enumeration's current entities with the primary
// prefix the country file gives each (ascending by code).
constexpr EntityRow kEntities[] = {
    {1, u"VE"},      // Canada
    {3, u"YA"},      // Afghanistan
    {4, u"3B6"},     // Agalega & St. Brandon
    {5, u"OH0"},     // Aland Islands
    {6, u"KL"},      // Alaska
    {7, u"ZA"},      // Albania
    {9, u"KH8"},     // American Samoa
    {10, u"FT/z"},   // Amsterdam & St. Paul Is.
    {11, u"VU4"},    // Andaman & Nicobar Is.
    {12, u"VP2E"},   // Anguilla
    {13, u"CE9"},    // Antarctica
    {14, u"EK"},     // Armenia
    {15, u"UA9"},    // Asiatic Russia
    {16, u"ZL9"},    // N.Z. Subantarctic Is.
    {17, u"YV0"},    // Aves Island
    {18, u"4J"},     // Azerbaijan
    {20, u"KH1"},    // Baker & Howland Islands
    {21, u"EA6"},    // Balearic Islands
    {22, u"T8"},     // Palau
    {24, u"3Y/b"},   // Bouvet
    {27, u"EU"},     // Belarus
    {29, u"EA8"},    // Canary Islands
    {31, u"T31"},    // Central Kiribati
    {32, u"EA9"},    // Ceuta & Melilla
    {33, u"VQ9"},    // Chagos Islands
    {34, u"ZL7"},    // Chatham Islands
    {35, u"VK9X"},   // Christmas Island
    {36, u"FO/c"},   // Clipperton Island
    {37, u"TI9"},    // Cocos Island
    {38, u"VK9C"},   // Cocos (Keeling) Islands
    {40, u"SV9"},    // Crete
    {41, u"FT/w"},   // Crozet Island
    {43, u"KP5"},    // Desecheo Island
    {45, u"SV5"},    // Dodecanese
    {46, u"9M6"},    // East Malaysia
    {47, u"CE0Y"},   // Easter Island
    {48, u"T32"},    // Eastern Kiribati
    {49, u"3C"},     // Equatorial Guinea
    {50, u"XE"},     // Mexico
    {51, u"E3"},     // Eritrea
    {52, u"ES"},     // Estonia
    {53, u"ET"},     // Ethiopia
    {54, u"UA"},     // European Russia
    {56, u"PY0F"},   // Fernando de Noronha
    {60, u"C6"},     // Bahamas
    {61, u"R1FJ"},   // Franz Josef Land
    {62, u"8P"},     // Barbados
    {63, u"FY"},     // French Guiana
    {64, u"VP9"},    // Bermuda
    {65, u"VP2V"},   // British Virgin Islands
    {66, u"V3"},     // Belize
    {69, u"ZF"},     // Cayman Islands
    {70, u"CM"},     // Cuba
    {71, u"HC8"},    // Galapagos Islands
    {72, u"HI"},     // Dominican Republic
    {74, u"YS"},     // El Salvador
    {75, u"4L"},     // Georgia
    {76, u"TG"},     // Guatemala
    {77, u"J3"},     // Grenada
    {78, u"HH"},     // Haiti
    {79, u"FG"},     // Guadeloupe
    {80, u"HR"},     // Honduras
    {82, u"6Y"},     // Jamaica
    {84, u"FM"},     // Martinique
    {86, u"YN"},     // Nicaragua
    {88, u"HP"},     // Panama
    {89, u"VP5"},    // Turks & Caicos Islands
    {90, u"9Y"},     // Trinidad & Tobago
    {91, u"P4"},     // Aruba
    {94, u"V2"},     // Antigua & Barbuda
    {95, u"J7"},     // Dominica
    {96, u"VP2M"},   // Montserrat
    {97, u"J6"},     // St. Lucia
    {98, u"J8"},     // St. Vincent
    {99, u"FT/g"},   // Glorioso Islands
    {100, u"LU"},    // Argentina
    {103, u"KH2"},   // Guam
    {104, u"CP"},    // Bolivia
    {105, u"KG4"},   // Guantanamo Bay
    {106, u"GU"},    // Guernsey
    {107, u"3X"},    // Guinea
    {108, u"PY"},    // Brazil
    {109, u"J5"},    // Guinea-Bissau
    {110, u"KH6"},   // Hawaii
    {111, u"VK0H"},  // Heard Island
    {112, u"CE"},    // Chile
    {114, u"GD"},    // Isle of Man
    {116, u"HK"},    // Colombia
    {117, u"4U1I"},  // ITU HQ
    {118, u"JX"},    // Jan Mayen
    {120, u"HC"},    // Ecuador
    {122, u"GJ"},    // Jersey
    {123, u"KH3"},   // Johnston Island
    {124, u"FT/j"},  // Juan de Nova & Europa
    {125, u"CE0Z"},  // Juan Fernandez Islands
    {126, u"UA2"},   // Kaliningrad
    {129, u"8R"},    // Guyana
    {130, u"UN"},    // Kazakhstan
    {131, u"FT/x"},  // Kerguelen Islands
    {132, u"ZP"},    // Paraguay
    {133, u"ZL8"},   // Kermadec Islands
    {135, u"EX"},    // Kyrgyzstan
    {136, u"OA"},    // Peru
    {137, u"HL"},    // Republic of Korea
    {138, u"KH7K"},  // Kure Island
    {140, u"PZ"},    // Suriname
    {141, u"VP8"},   // Falkland Islands
    {142, u"VU7"},   // Lakshadweep Islands
    {143, u"XW"},    // Laos
    {144, u"CX"},    // Uruguay
    {145, u"YL"},    // Latvia
    {146, u"LY"},    // Lithuania
    {147, u"VK9L"},  // Lord Howe Island
    {148, u"YV"},    // Venezuela
    {149, u"CU"},    // Azores
    {150, u"VK"},    // Australia
    {152, u"XX9"},   // Macao
    {153, u"VK0M"},  // Macquarie Island
    {157, u"C2"},    // Nauru
    {158, u"YJ"},    // Vanuatu
    {159, u"8Q"},    // Maldives
    {160, u"A3"},    // Tonga
    {161, u"HK0/m"}, // Malpelo Island
    {162, u"FK"},    // New Caledonia
    {163, u"P2"},    // Papua New Guinea
    {165, u"3B8"},   // Mauritius
    {166, u"KH0"},   // Mariana Islands
    {167, u"OJ0"},   // Market Reef
    {168, u"V7"},    // Marshall Islands
    {169, u"FH"},    // Mayotte
    {170, u"ZL"},    // New Zealand
    {171, u"VK9M"},  // Mellish Reef
    {172, u"VP6"},   // Pitcairn Island
    {173, u"V6"},    // Micronesia
    {174, u"KH4"},   // Midway Island
    {175, u"FO"},    // French Polynesia
    {176, u"3D2"},   // Fiji
    {177, u"JD/m"},  // Minami Torishima
    {179, u"ER"},    // Moldova
    {180, u"SV/a"},  // Mount Athos
    {181, u"C9"},    // Mozambique
    {182, u"KP1"},   // Navassa Island
    {185, u"H4"},    // Solomon Islands
    {187, u"5U"},    // Niger
    {188, u"E6"},    // Niue
    {189, u"VK9N"},  // Norfolk Island
    {190, u"5W"},    // Samoa
    {191, u"E5/n"},  // North Cook Islands
    {192, u"JD/o"},  // Ogasawara
    {195, u"3C0"},   // Annobon Island
    {197, u"KH5"},   // Palmyra & Jarvis Islands
    {199, u"3Y/p"},  // Peter 1 Island
    {201, u"ZS8"},   // Pr. Edward & Marion Is.
    {202, u"KP4"},   // Puerto Rico
    {203, u"C3"},    // Andorra
    {204, u"XF4"},   // Revillagigedo
    {205, u"ZD8"},   // Ascension Island
    {206, u"OE"},    // Austria
    {207, u"3B9"},   // Rodriguez Island
    {209, u"ON"},    // Belgium
    {211, u"CY0"},   // Sable Island
    {212, u"LZ"},    // Bulgaria
    {213, u"FS"},    // St. Martin
    {214, u"TK"},    // Corsica
    {215, u"5B"},    // Cyprus
    {216, u"HK0/a"}, // San Andres & Providencia
    {217, u"CE0X"},  // San Felix & San Ambrosio
    {219, u"S9"},    // Sao Tome & Principe
    {221, u"OZ"},    // Denmark
    {222, u"OY"},    // Faroe Islands
    {223, u"G"},     // England
    {224, u"OH"},    // Finland
    {225, u"IS"},    // Sardinia
    {227, u"F"},     // France
    {230, u"DL"},    // Fed. Rep. of Germany
    {232, u"T5"},    // Somalia
    {233, u"ZB"},    // Gibraltar
    {234, u"E5/s"},  // South Cook Islands
    {235, u"VP8/g"}, // South Georgia Island
    {236, u"SV"},    // Greece
    {237, u"OX"},    // Greenland
    {238, u"VP8/o"}, // South Orkney Islands
    {239, u"HA"},    // Hungary
    {240, u"VP8/s"}, // South Sandwich Islands
    {241, u"VP8/h"}, // South Shetland Islands
    {242, u"TF"},    // Iceland
    {245, u"EI"},    // Ireland
    {246, u"1A"},    // Sov Mil Order of Malta
    {247, u"1S"},    // Spratly Islands
    {248, u"I"},     // Italy
    {249, u"V4"},    // St. Kitts & Nevis
    {250, u"ZD7"},   // St. Helena
    {251, u"HB0"},   // Liechtenstein
    {252, u"CY9"},   // St. Paul Island
    {253, u"PY0S"},  // St. Peter & St. Paul
    {254, u"LX"},    // Luxembourg
    {256, u"CT3"},   // Madeira Islands
    {257, u"9H"},    // Malta
    {259, u"JW"},    // Svalbard
    {260, u"3A"},    // Monaco
    {262, u"EY"},    // Tajikistan
    {263, u"PA"},    // Netherlands
    {265, u"GI"},    // Northern Ireland
    {266, u"LA"},    // Norway
    {269, u"SP"},    // Poland
    {270, u"ZK3"},   // Tokelau Islands
    {272, u"CT"},    // Portugal
    {273, u"PY0T"},  // Trindade & Martim Vaz
    {274, u"ZD9"},   // Tristan da Cunha & Gough Islands
    {275, u"YO"},    // Romania
    {276, u"FT/t"},  // Tromelin Island
    {277, u"FP"},    // St. Pierre & Miquelon
    {278, u"T7"},    // San Marino
    {279, u"GM"},    // Scotland
    {280, u"EZ"},    // Turkmenistan
    {281, u"EA"},    // Spain
    {282, u"T2"},    // Tuvalu
    {283, u"ZC4"},   // UK Base Areas on Cyprus
    {284, u"SM"},    // Sweden
    {285, u"KP2"},   // US Virgin Islands
    {286, u"5X"},    // Uganda
    {287, u"HB"},    // Switzerland
    {288, u"UR"},    // Ukraine
    {289, u"4U1U"},  // United Nations HQ
    {291, u"K"},     // United States
    {292, u"UK"},    // Uzbekistan
    {293, u"3W"},    // Vietnam
    {294, u"GW"},    // Wales
    {295, u"HV"},    // Vatican City
    {296, u"YU"},    // Serbia
    {297, u"KH9"},   // Wake Island
    {298, u"FW"},    // Wallis & Futuna Islands
    {299, u"9M2"},   // West Malaysia
    {301, u"T30"},   // Western Kiribati
    {302, u"S0"},    // Western Sahara
    {303, u"VK9W"},  // Willis Island
    {304, u"A9"},    // Bahrain
    {305, u"S2"},    // Bangladesh
    {306, u"A5"},    // Bhutan
    {308, u"TI"},    // Costa Rica
    {309, u"XZ"},    // Myanmar
    {312, u"XU"},    // Cambodia
    {315, u"4S"},    // Sri Lanka
    {318, u"BY"},    // China
    {321, u"VR"},    // Hong Kong
    {324, u"VU"},    // India
    {327, u"YB"},    // Indonesia
    {330, u"EP"},    // Iran
    {333, u"YI"},    // Iraq
    {336, u"4X"},    // Israel
    {339, u"JA"},    // Japan
    {342, u"JY"},    // Jordan
    {344, u"P5"},    // DPR of Korea
    {345, u"V8"},    // Brunei Darussalam
    {348, u"9K"},    // Kuwait
    {354, u"OD"},    // Lebanon
    {363, u"JT"},    // Mongolia
    {369, u"9N"},    // Nepal
    {370, u"A4"},    // Oman
    {372, u"AP"},    // Pakistan
    {375, u"DU"},    // Philippines
    {376, u"A7"},    // Qatar
    {378, u"HZ"},    // Saudi Arabia
    {379, u"S7"},    // Seychelles
    {381, u"9V"},    // Singapore
    {382, u"J2"},    // Djibouti
    {384, u"YK"},    // Syria
    {386, u"BV"},    // Taiwan
    {387, u"HS"},    // Thailand
    {390, u"TA"},    // Asiatic Turkey
    {391, u"A6"},    // United Arab Emirates
    {400, u"7X"},    // Algeria
    {401, u"D2"},    // Angola
    {402, u"A2"},    // Botswana
    {404, u"9U"},    // Burundi
    {406, u"TJ"},    // Cameroon
    {408, u"TL"},    // Central African Republic
    {409, u"D4"},    // Cape Verde
    {410, u"TT"},    // Chad
    {411, u"D6"},    // Comoros
    {412, u"TN"},    // Republic of the Congo
    {414, u"9Q"},    // Dem. Rep. of the Congo
    {416, u"TY"},    // Benin
    {420, u"TR"},    // Gabon
    {422, u"C5"},    // The Gambia
    {424, u"9G"},    // Ghana
    {428, u"TU"},    // Cote d'Ivoire
    {430, u"5Z"},    // Kenya
    {432, u"7P"},    // Lesotho
    {434, u"EL"},    // Liberia
    {436, u"5A"},    // Libya
    {438, u"5R"},    // Madagascar
    {440, u"7Q"},    // Malawi
    {442, u"TZ"},    // Mali
    {444, u"5T"},    // Mauritania
    {446, u"CN"},    // Morocco
    {450, u"5N"},    // Nigeria
    {452, u"Z2"},    // Zimbabwe
    {453, u"FR"},    // Reunion Island
    {454, u"9X"},    // Rwanda
    {456, u"6W"},    // Senegal
    {458, u"9L"},    // Sierra Leone
    {460, u"3D2/r"}, // Rotuma Island
    {462, u"ZS"},    // South Africa
    {464, u"V5"},    // Namibia
    {466, u"ST"},    // Sudan
    {468, u"3DA"},   // Kingdom of Eswatini
    {470, u"5H"},    // Tanzania
    {474, u"3V"},    // Tunisia
    {478, u"SU"},    // Egypt
    {480, u"XT"},    // Burkina Faso
    {482, u"9J"},    // Zambia
    {483, u"5V"},    // Togo
    {489, u"3D2/c"}, // Conway Reef
    {490, u"T33"},   // Banaba Island
    {492, u"7O"},    // Yemen
    {497, u"9A"},    // Croatia
    {499, u"S5"},    // Slovenia
    {501, u"E7"},    // Bosnia-Herzegovina
    {502, u"Z3"},    // North Macedonia
    {503, u"OK"},    // Czech Republic
    {504, u"OM"},    // Slovak Republic
    {505, u"BV9P"},  // Pratas Island
    {506, u"BS7"},   // Scarborough Reef
    {507, u"H40"},   // Temotu Province
    {508, u"FO/a"},  // Austral Islands
    {509, u"FO/m"},  // Marquesas Islands
    {510, u"E4"},    // Palestine
    {511, u"4W"},    // Timor - Leste
    {512, u"FK/c"},  // Chesterfield Islands
    {513, u"VP6/d"}, // Ducie Island
    {514, u"4O"},    // Montenegro
    {515, u"KH8/s"}, // Swains Island
    {516, u"FJ"},    // St. Barthelemy
    {517, u"PJ2"},   // Curacao
    {518, u"PJ7"},   // Sint Maarten
    {519, u"PJ5"},   // Saba & St. Eustatius
    {520, u"PJ4"},   // Bonaire
    {521, u"Z8"},    // Republic of South Sudan
    {522, u"Z6"},    // Republic of Kosovo
};

// The country file's WAE-only entities and the DXCC entity each is part of.
constexpr EntityRow kWaeParts[] = {
    {206, u"4U1V"}, // Vienna Intl Ctr: Austria
    {279, u"GM/s"}, // Shetland Islands: Scotland
    {248, u"IG9"},  // African Italy: Italy
    {248, u"IT9"},  // Sicily: Italy
    {259, u"JW/b"}, // Bear Island: Svalbard
    {390, u"TA1"},  // European Turkey: Turkey
};

} // namespace

QString DxccEntities::prefixOf(int code)
{
    const auto it = std::lower_bound(std::begin(kEntities), std::end(kEntities), code,
                                     [](const EntityRow& row, int c) { return row.code < c; });
    if (it == std::end(kEntities) || it->code != code)
        return QString();
    return it->prefix.toString();
}

int DxccEntities::codeOf(QStringView prefix)
{
    for (const EntityRow& row : kEntities) {
        if (row.prefix == prefix)
            return row.code;
    }
    return 0;
}

QString DxccEntities::dxccPrefixOf(const CountryInfo& info)
{
    if (info.waeOnly) {
        for (const EntityRow& row : kWaeParts) {
            if (row.prefix == info.primaryPrefix)
                return prefixOf(row.code);
        }
    }
    return info.primaryPrefix;
}

QList<int> DxccEntities::codes()
{
    QList<int> all;
    all.reserve(qsizetype(std::size(kEntities)));
    for (const EntityRow& row : kEntities)
        all.append(row.code);
    return all;
}
