#include "dialogs/fontform.h"

#include <QFontDatabase>
#include <QSet>
#include <cmath>

namespace dialogs {

FontForm FontForm::from(const env::FontRequest& request)
{
    const QFont& font = request.font;
    const bool bold = font.weight() >= QFont::Bold;
    FontForm form;
    form.family = font.family();
    form.style = bold ? (font.italic() ? BoldItalic : Bold) : (font.italic() ? Italic : Regular);
    form.size = sizeText(font.pointSizeF());
    form.underline = font.underline();
    form.strikeOut = font.strikeOut();
    form.textColor = request.textColor;
    form.backgroundColor = request.backgroundColor;
    return form;
}

std::optional<env::FontRequest> FontForm::request() const
{
    const std::optional<double> points = sizeOf(size);
    if (!points)
        return std::nullopt;
    return env::FontRequest{fontOf(family.trimmed(), *points, style, underline, strikeOut), textColor,
                            backgroundColor};
}

QStringList FontForm::families()
{
    QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    families.removeDuplicates();
    const QSet<QString> japanese(families.cbegin(), families.cend());
    for (const QString& family : QFontDatabase::families())
        if (!japanese.contains(family))
            families << family;
    families.removeDuplicates();
    return families;
}

QStringList FontForm::styleNames()
{
    return {QStringLiteral("標準"), QStringLiteral("斜体"), QStringLiteral("太字"), QStringLiteral("太字 斜体")};
}

QList<double> FontForm::usualSizes()
{
    return {8, 9, 10, 10.5, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
}

QString FontForm::sizeText(double points)
{
    return QString::number(points, 'g', 6);
}

std::optional<double> FontForm::sizeOf(const QString& text)
{
    bool ok = false;
    const double points = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(points) || points < kMinSize || points > kMaxSize)
        return std::nullopt;
    return points;
}

QString FontForm::sizeRefusal()
{
    return QStringLiteral("ｻｲｽﾞは %1 から %2 までのﾎﾟｲﾝﾄ数で指定して下さい｡")
        .arg(sizeText(kMinSize), sizeText(kMaxSize));
}

QFont FontForm::fontOf(const QString& family, double points, Style style, bool underline, bool strikeOut)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(style == Bold || style == BoldItalic ? QFont::Bold : QFont::Normal);
    font.setItalic(style == Italic || style == BoldItalic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return font;
}

} // namespace dialogs
