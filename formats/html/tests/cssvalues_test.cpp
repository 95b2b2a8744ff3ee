#include "formats/html/cssvalues.h"

#include "formats/html/tests/formatstest.h"

using namespace formats;

namespace {

TEST(CssNumbers, AtMostTwoDecimalsWithoutTrailingZeros)
{
    const std::pair<double, QString> rows[] = {
        {3, QStringLiteral("3")},         {10.5, QStringLiteral("10.5")}, {-0.75, QStringLiteral("-0.75")},
        {8.35, QStringLiteral("8.35")},   {0.004, QStringLiteral("0")},   {-0.001, QStringLiteral("0")},
        {2.999, QStringLiteral("3")},     {1440, QStringLiteral("1440")},
    };
    for (const auto& [value, text] : rows)
        EXPECT_EQ(css::number(value), text) << value;
}

TEST(CssNumbers, TwipsAsPoints)
{
    EXPECT_EQ(css::pointsFromTwips(160), QStringLiteral("8pt"));
    EXPECT_EQ(css::pointsFromTwips(167), QStringLiteral("8.35pt"));
    EXPECT_EQ(css::pointsFromTwips(-60), QStringLiteral("-3pt"));
    EXPECT_EQ(css::pointsFromTwips(0), QStringLiteral("0pt"));
}

TEST(CssLengths, InTwips)
{
    const std::pair<QString, std::optional<double>> rows[] = {
        {QStringLiteral("8pt"), 160},   {QStringLiteral(" 3PT "), 60},  {QStringLiteral("10px"), 150},
        {QStringLiteral("12"), 180},    {QStringLiteral("1in"), 1440},  {QStringLiteral("2.54cm"), 1440},
        {QStringLiteral("25.4mm"), 1440}, {QStringLiteral("1pc"), 240}, {QStringLiteral("-2pt"), -40},
        {QStringLiteral("1em"), std::nullopt}, {QStringLiteral("50%"), std::nullopt},
        {QStringLiteral("abc"), std::nullopt}, {QStringLiteral("infpt"), std::nullopt}, {QString(), std::nullopt},
    };
    for (const auto& [value, twips] : rows) {
        const std::optional<double> length = css::lengthInTwips(value);
        ASSERT_EQ(length.has_value(), twips.has_value()) << value.toStdString();
        if (twips) {
            EXPECT_NEAR(*length, *twips, 1e-9) << value.toStdString();
        }
    }
}

TEST(CssDeclarations, CutIntoPropertyAndValue)
{
    const QList<css::Declaration> parsed = css::parseDeclarations(u" A : 1 ;;b:2; broken ; font-family:'x;y', \"z;w\"; c:");
    ASSERT_EQ(parsed.size(), 4);
    EXPECT_EQ(parsed[0].property, QStringLiteral("a"));
    EXPECT_EQ(parsed[0].value, QStringLiteral("1"));
    EXPECT_EQ(parsed[1].value, QStringLiteral("2"));
    EXPECT_EQ(parsed[2].property, QStringLiteral("font-family"));
    EXPECT_EQ(parsed[2].value, QStringLiteral("'x;y', \"z;w\""));
    EXPECT_EQ(parsed[3].value, QString());
    EXPECT_EQ(css::joinDeclarations(parsed), QStringLiteral("a:1;b:2;font-family:'x;y', \"z;w\";c:;"));
    EXPECT_EQ(css::lastValue(css::parseDeclarations(u"a:1;a:2"), u"a"), QStringLiteral("2"));
    EXPECT_EQ(css::lastValue(parsed, u"color"), std::nullopt);
}

TEST(CssValues, FamiliesAndColours)
{
    EXPECT_EQ(css::firstFamily(u"'ＭＳ Ｐゴシック', serif"), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(css::firstFamily(u"Arial, sans-serif"), QStringLiteral("Arial"));
    EXPECT_EQ(css::firstFamily(u" \"A, B\" "), QStringLiteral("A, B"));
    EXPECT_EQ(css::colour(u"#ff0000"), QColor(Qt::red));
    EXPECT_EQ(css::colour(u" #0f0"), QColor(Qt::green));
    EXPECT_EQ(css::colour(u"blue"), QColor(Qt::blue));
    EXPECT_EQ(css::colour(u"nonsense"), std::nullopt);
    EXPECT_EQ(css::colourHex(QColor(0x85, 0x5a, 0x50)), QStringLiteral("#855a50"));
}

} // namespace
