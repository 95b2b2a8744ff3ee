#include "fkeys/structuretable.h"

#include <array>
#include <utility>

namespace fkeys {

namespace {

// The companion screens' menu trees. Two of them are unbalanced on purpose: a
// group left open runs to the end of the string.
constexpr char16_t kFlatParents[] = u"00,10(20,21,22,23),12(70,71,72),80";
constexpr char16_t kShort[] = u"10(20,21,22),11(A0,A1,A2,A3),12";
constexpr char16_t kTwoDeep[] =
    u"00,10(22,23,24,25,26),11(50,51),12(30,31,32,33,34,36(40,41,42,43,44),37,38,39,3A),"
    u"14(60),81(74),82(F0),83,84";
constexpr char16_t kPlaceholders[] =
    u"00,10(20,21,22,23,25,26),11(50,51,52),12(00(00,01,02,03),01(00,01,02,03),"
    u"02(00,01,02,03),03(00,01,02,03),13(00,01,02),80(74),81,82";
constexpr char16_t kOpenGroup[] = u"10(20,21,22,23,25),11(C0,C1,C2,C3(D0,D1,D2,D3,D4),12(A0,A1,A2,A3),13";

constexpr std::array<std::pair<const char16_t*, const char16_t*>, 6> kTable{{
    {u"fmList", kFlatParents},
    {u"fmCard", kShort},
    {u"fmMemo", kTwoDeep},
    {u"fmAdrs", kPlaceholders},
    {u"fmAdrsList", kPlaceholders},
    {u"fmLabel", kOpenGroup},
}};

} // namespace

QString structureString(const QString& formName)
{
    for (const auto& [name, structure] : kTable)
        if (formName == QStringView(name))
            return QString::fromUtf16(structure);
    return {};
}

} // namespace fkeys
