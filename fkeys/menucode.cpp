#include "fkeys/menucode.h"

#include <array>

namespace fkeys {

namespace {

constexpr int kRadix = 36;

std::optional<int> digitValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'Z')
        return c.unicode() - u'A' + 10;
    return std::nullopt;
}

QChar digitChar(int value)
{
    return value < 10 ? QChar(u'0' + value) : QChar(u'A' + value - 10);
}

} // namespace

std::optional<MenuCode> MenuCode::fromText(QStringView text)
{
    if (text.size() != 2)
        return std::nullopt;
    const auto group = digitValue(text[0]);
    const auto index = digitValue(text[1]);
    if (!group || !index)
        return std::nullopt;
    return MenuCode{*group, *index};
}

QString MenuCode::text() const
{
    const auto inRange = [](int n) { return n >= 0 && n < kRadix; };
    if (!inRange(group) || !inRange(index))
        return {};
    return QString{digitChar(group)} + digitChar(index);
}

QString menuArrayName(int group)
{
    static const std::array<const char16_t*, 17> names = {
        nullptr,  u"mnJb",   u"mnFile", u"mnEdit",  u"mnEdtDr", u"mnSelc",
        u"mnLocal", u"mnView", u"mnWin",  u"mnList",  u"mnPage",  u"mnOrien",
        u"mnDisp", u"mnZoom", u"mnTree", u"mnUser",  u"mnRep"};
    if (group <= 0 || group >= static_cast<int>(names.size()))
        return {};
    return QString::fromUtf16(names[static_cast<size_t>(group)]);
}

} // namespace fkeys
