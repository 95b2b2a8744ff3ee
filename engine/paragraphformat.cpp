#include "engine/paragraphformat.h"

#include "engine/fieldformat.h"
#include "engine/hostunits.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

#include <algorithm>

namespace engine::paragraphformat {

namespace {

int attributeProperty(ParagraphAttribute which)
{
    return ParagraphAttributeA + int(which);
}

QTextListFormat::Style listStyleFor(int attribute)
{
    switch (attribute) {
    case 3: return QTextListFormat::ListDecimal;
    case 4: return QTextListFormat::ListLowerAlpha;
    case 5: return QTextListFormat::ListUpperAlpha;
    case 6: return QTextListFormat::ListLowerRoman;
    case 7: return QTextListFormat::ListUpperRoman;
    default: return QTextListFormat::ListDisc;
    }
}

void leaveLists(QTextCursor& cursor)
{
    const QTextBlock last = cursor.document()->findBlock(cursor.selectionEnd());
    for (QTextBlock block = cursor.document()->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        if (QTextList* list = block.textList()) {
            list->remove(block);
            QTextCursor paragraph(block);
            QTextBlockFormat format = block.blockFormat();
            format.setIndent(0);
            paragraph.setBlockFormat(format);
        }
        if (block == last)
            break;
    }
}

} // namespace

double value(const QTextBlockFormat& format, ParagraphValue which)
{
    switch (which) {
    case ParagraphValue::LeftIndent: return documentToTwips(format.leftMargin());
    case ParagraphValue::SpaceBefore: return documentToTwips(format.topMargin());
    case ParagraphValue::SpaceAfter: return documentToTwips(format.bottomMargin());
    case ParagraphValue::RightIndent: return documentToTwips(format.rightMargin());
    case ParagraphValue::Spacing4: return format.doubleProperty(ParagraphSpacing4);
    case ParagraphValue::FirstLineIndent: return documentToTwips(format.textIndent());
    case ParagraphValue::LineSpacing:
        return format.lineHeightType() == QTextBlockFormat::MinimumHeight
            ? documentToTwips(format.lineHeight())
            : 0.0;
    }
    return 0.0;
}

void setValue(QTextCursor& cursor, ParagraphValue which, double twips)
{
    const double units = twipsToDocument(twips);
    QTextBlockFormat change;
    switch (which) {
    case ParagraphValue::LeftIndent: change.setLeftMargin(units); break;
    case ParagraphValue::SpaceBefore: change.setTopMargin(units); break;
    case ParagraphValue::SpaceAfter: change.setBottomMargin(units); break;
    case ParagraphValue::RightIndent: change.setRightMargin(units); break;
    case ParagraphValue::Spacing4: change.setProperty(ParagraphSpacing4, twips); break;
    case ParagraphValue::FirstLineIndent: change.setTextIndent(units); break;
    case ParagraphValue::LineSpacing:
        if (twips > 0)
            change.setLineHeight(units, QTextBlockFormat::MinimumHeight);
        else
            change.setLineHeight(0, QTextBlockFormat::SingleHeight);
        break;
    }
    cursor.mergeBlockFormat(change);
}

int attribute(const QTextBlockFormat& format, ParagraphAttribute which)
{
    return format.intProperty(attributeProperty(which));
}

void setAttribute(QTextCursor& cursor, ParagraphAttribute which, int value)
{
    QTextBlockFormat change;
    change.setProperty(attributeProperty(which), value);
    cursor.mergeBlockFormat(change);
}

ParagraphAlignment alignment(const QTextBlockFormat& format)
{
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter)
        return ParagraphAlignment::Center;
    if (horizontal & Qt::AlignRight)
        return ParagraphAlignment::Right;
    if (horizontal & Qt::AlignJustify)
        return ParagraphAlignment::Justify;
    return ParagraphAlignment::Left;
}

void setAlignment(QTextCursor& cursor, ParagraphAlignment alignment)
{
    QTextBlockFormat change;
    switch (alignment) {
    case ParagraphAlignment::Left: change.setAlignment(Qt::AlignLeft); break;
    case ParagraphAlignment::Center: change.setAlignment(Qt::AlignHCenter); break;
    case ParagraphAlignment::Right: change.setAlignment(Qt::AlignRight); break;
    case ParagraphAlignment::Justify: change.setAlignment(Qt::AlignJustify); break;
    }
    cursor.mergeBlockFormat(change);
}

QList<double> tabStops(const QTextBlockFormat& format)
{
    QList<double> stops;
    for (const QTextOption::Tab& tab : format.tabPositions())
        stops.append(documentToTwips(tab.position));
    std::sort(stops.begin(), stops.end());
    return stops;
}

void setTabStops(QTextCursor& cursor, const QList<double>& twips)
{
    QList<QTextOption::Tab> tabs;
    for (double stop : twips)
        if (stop > 0)
            tabs.append(QTextOption::Tab(twipsToDocument(stop), QTextOption::LeftTab));
    QTextBlockFormat change;
    change.setTabPositions(tabs);
    cursor.mergeBlockFormat(change);
}

int listAttribute(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    if (!list)
        return kNoList;
    const QTextListFormat format = list->format();
    if (format.hasProperty(ListAttribute))
        return format.intProperty(ListAttribute);
    switch (format.style()) {
    case QTextListFormat::ListDecimal: return 3;
    case QTextListFormat::ListLowerAlpha: return 4;
    case QTextListFormat::ListUpperAlpha: return 5;
    case QTextListFormat::ListLowerRoman: return 6;
    case QTextListFormat::ListUpperRoman: return 7;
    default: return 2;
    }
}

void setListAttribute(QTextCursor& cursor, int attribute)
{
    cursor.beginEditBlock();
    leaveLists(cursor);
    if (attribute > kNoList) {
        QTextListFormat format;
        format.setStyle(listStyleFor(attribute));
        format.setIndent(1);
        format.setProperty(ListAttribute, attribute);
        cursor.createList(format);
    }
    cursor.endEditBlock();
}

int listLevel(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    return list ? list->format().indent() : 0;
}

void setListLevel(QTextCursor& cursor, int level)
{
    const int clamped = std::clamp(level, 1, kMaxListLevel);
    cursor.beginEditBlock();
    const QTextBlock last = cursor.document()->findBlock(cursor.selectionEnd());
    for (QTextBlock block = cursor.document()->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        if (QTextList* list = block.textList(); list && list->format().indent() != clamped) {
            QTextListFormat format = list->format();
            format.setIndent(clamped);
            list->setFormat(format);
        }
        if (block == last)
            break;
    }
    cursor.endEditBlock();
}

} // namespace engine::paragraphformat
