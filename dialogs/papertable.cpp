#include "dialogs/papertable.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace dialogs {

namespace {

constexpr double kTwipsPerCentimetre = 567;
constexpr double kMatchTwips = 5;

const std::array<Paper, 15> kPapers = {{
    {QStringLiteral("A4   210 * 297 mm"), 11900, 16838},
    {QStringLiteral("A5   148 * 210 mm"), 8300, 11900},
    {QStringLiteral("B5   182 * 257 mm"), 10318, 14581},
    {QStringLiteral("A6   105 * 148 mm"), 5949, 8380},
    {QStringLiteral("ﾌｫﾄ  102 * 152 mm"), 5779, 8612},
    {QStringLiteral("ﾊｶﾞｷ 100 * 148 mm"), 5666, 8386},
    {QStringLiteral("往復   200*148 mm"), 11332, 8386},
    {QStringLiteral("ﾚﾀ-   8.5 * 11 in"), 12240, 15840},
    {QStringLiteral("ﾘ-ｶﾞﾙ 8.5 * 14 in"), 12240, 20160},
    {QStringLiteral("長形3号 120*235mm"), 6799, 13315},
    {QStringLiteral("長形4号  90*205mm"), 5099, 11615},
    {QStringLiteral("洋形1号 120*176mm"), 6799, 9972},
    {QStringLiteral("洋形2号 114*162mm"), 6459, 9179},
    {QStringLiteral("洋形3号  98*148mm"), 5553, 8386},
    {QStringLiteral("洋形4号 105*235mm"), 5949, 13315},
}};

// The leading decimal number of `text` ("2.5cm" reads 2.5), 0 without one.
double leadingDecimal(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size() && (trimmed.at(end) == u'+' || trimmed.at(end) == u'-'))
        ++end;
    while (end < trimmed.size() && (trimmed.at(end).isDigit() || trimmed.at(end) == u'.'))
        ++end;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed.left(end), &ok);
    return ok && std::isfinite(value) ? value : 0;
}

} // namespace

std::span<const Paper> paperTable()
{
    return kPapers;
}

QString userDefinedPaperLabel()
{
    return QStringLiteral("ﾕｰｻﾞｰ定義");
}

std::optional<Paper> paperAt(int index)
{
    if (index < 0 || index >= int(kPapers.size()))
        return std::nullopt;
    return kPapers.at(index);
}

int matchingPaper(double width, double height)
{
    for (std::size_t i = 0; i < kPapers.size(); ++i) {
        if (std::abs(kPapers[i].width - width) < kMatchTwips && std::abs(kPapers[i].height - height) < kMatchTwips)
            return int(i);
    }
    return kUserDefinedPaper;
}

QString sTwpsDlg(double twips)
{
    return QString::number((twips + 0.0005) / kTwipsPerCentimetre, 'f', 2);
}

int nDlgTwps(const QString& text)
{
    QString decimal = text;
    decimal.replace(u',', u'.');
    constexpr double kLimit = std::numeric_limits<int>::max();
    const double twips = std::clamp(leadingDecimal(decimal) * kTwipsPerCentimetre, -kLimit, kLimit);
    return int(std::nearbyint(twips));
}

} // namespace dialogs
