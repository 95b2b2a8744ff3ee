#pragma once
// A fixed text picture of an engine document for reader tests: one line per
// paragraph with its values in twips and its text, fields written as
// {text|data} and pictures as [picture WxH placement].

#include "engine/fieldformat.h"
#include "engine/hostunits.h"
#include "engine/paragraphformat.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

namespace formatstest {

inline QString paragraphDump(const QTextBlock& block)
{
    const QTextBlockFormat f = block.blockFormat();
    QStringList values;
    const auto twips = [](double units) { return QString::number(qRound(engine::documentToTwips(units))); };
    if (block.textList())
        values << QStringLiteral("list=%1").arg(engine::paragraphformat::listAttribute(block));
    if (f.headingLevel() > 0)
        values << QStringLiteral("heading=%1").arg(f.headingLevel());
    const std::pair<const char*, double> lengths[] = {{"left", f.leftMargin()}, {"before", f.topMargin()},
                                                      {"after", f.bottomMargin()}, {"right", f.rightMargin()},
                                                      {"indent", f.textIndent()}};
    for (const auto& [name, value] : lengths) {
        if (qRound(engine::documentToTwips(value)) != 0)
            values << QString::fromLatin1(name) + u'=' + twips(value);
    }
    values << (f.lineHeightType() == QTextBlockFormat::MinimumHeight ? QStringLiteral("line=") + twips(f.lineHeight())
                                                                      : QStringLiteral("line=single"));
    if (f.alignment() & Qt::AlignHCenter)
        values << QStringLiteral("center");
    else if (f.alignment() & Qt::AlignRight)
        values << QStringLiteral("right");
    else if (f.alignment() & Qt::AlignJustify)
        values << QStringLiteral("justify");
    if (f.background().style() != Qt::NoBrush)
        values << QStringLiteral("shade=") + f.background().color().name();
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        values << QStringLiteral("break");

    QString text;
    int openField = 0;
    QString openData;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        const int field = format.intProperty(engine::FieldId);
        if (field != openField) {
            if (openField)
                text += u'|' + openData + u'}';
            if (field)
                text += u'{';
            openField = field;
            openData = format.stringProperty(engine::FieldData);
        }
        if (format.isImageFormat()) {
            const QTextImageFormat image = format.toImageFormat();
            text += QStringLiteral("[picture %1x%2 %3]").arg(image.width()).arg(image.height())
                        .arg(image.intProperty(engine::ObjectPlacement));
        } else {
            text += QString(it.fragment().text()).replace(QChar::LineSeparator, QStringLiteral("<br>"));
        }
    }
    if (openField)
        text += u'|' + openData + u'}';
    return values.join(u' ') + QStringLiteral(" | ") + text;
}

inline QStringList documentDump(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines << paragraphDump(block);
    return lines;
}

} // namespace formatstest
