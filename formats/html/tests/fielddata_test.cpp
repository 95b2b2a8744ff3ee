// Field data in HTML: the address a field is written with, the field a link
// is read back as, and the tool-tip table the writer is given.

#include "formats/html/fielddata.h"

#include "engine/textengine.h"
#include "formats/html/tests/documentbuilder.h"
#include "formats/html/tests/formatstest.h"
#include "formats/html/tooltiptable.h"
#include "html/links.h"

using namespace formats;

namespace {

TEST(FieldData, KindsAndAddresses)
{
    const struct {
        QString data;
        FieldKind kind;
        QString address;
    } rows[] = {
        {QStringLiteral("TG_x_5"), FieldKind::Tag, QStringLiteral("#TG_x_5")},
        {QStringLiteral("tg_12"), FieldKind::Tag, QStringLiteral("#tg_12")},
        {QStringLiteral("TP_説明"), FieldKind::ToolTip, QStringLiteral("#TP_説明")},
        {QStringLiteral("DX_1"), FieldKind::Reference, QStringLiteral("#DX_1")},
        {QStringLiteral("http://example.com/"), FieldKind::Link, QStringLiteral("http://example.com/")},
        {QStringLiteral("TG"), FieldKind::Link, QStringLiteral("TG")},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(fieldKind(row.data), row.kind) << row.data.toStdString();
        EXPECT_EQ(fieldAddress(row.data), row.address) << row.data.toStdString();
    }
    EXPECT_EQ(fieldColour(QStringLiteral("TG_1")), QColor(0x00, 0x80, 0x80));
    EXPECT_EQ(fieldColour(QStringLiteral("TP_1")), QColor(0x80, 0x40, 0x40));
    EXPECT_EQ(fieldColour(QStringLiteral("DX_1")), QColor(0x80, 0x80, 0xff));
    EXPECT_EQ(fieldColour(QStringLiteral("x.htm")), QColor(0x80, 0x80, 0xff));
}

TEST(FieldData, LinksReadBack)
{
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("#TG_x_5"), QStringLiteral("TG_x_5")},
        {QStringLiteral("#TP_tip"), QStringLiteral("TP_tip")},
        {QStringLiteral("/home/u/Doc/A/#DX_3"), QStringLiteral("DX_3")},
        {QStringLiteral("005.htm"), QStringLiteral("TG_005")},
        {QStringLiteral("1234.htm"), QStringLiteral("TG_1234")},
        {QStringLiteral("007.HTML"), QStringLiteral("TG__007.HTML")},
        {QStringLiteral("my_doc.htm"), QStringLiteral("TG__my_doc.htm")},
        {QStringLiteral("/home/u/Doc/B/002.htm"), QStringLiteral("file:///home/u/Doc/B/002.htm")},
        {QStringLiteral("C:/Doc/B/002.htm"), QStringLiteral("file:///C:/Doc/B/002.htm")},
        {QStringLiteral("http://example.com/a.htm"), QStringLiteral("http://example.com/a.htm")},
        {QStringLiteral("sub/a.htm"), QStringLiteral("sub/a.htm")},
        {QStringLiteral("#top"), QStringLiteral("#top")},
    };
    for (const auto& [href, data] : rows)
        EXPECT_EQ(fieldDataForAddress(href), data) << href.toStdString();
}

// What the dialect writer makes of a field's address, read back and written
// again, is the same address.
TEST(FieldData, WriterAddressesAreAFixedPoint)
{
    const QString base = QStringLiteral("file:///home/u/Doc/A/");
    const QString data[] = {QStringLiteral("TG_x_5"), QStringLiteral("TG_abc_my_doc"), QStringLiteral("TG_7.HTML"),
                            QStringLiteral("DX_12"), QStringLiteral("http://example.com/?a=1"),
                            QStringLiteral("https://example.org/"), QStringLiteral("file:///home/u/Doc/B/002.htm"),
                            QStringLiteral("../B/003.htm"), QStringLiteral("mailto:a@example.com")};
    const auto written = [&base](const QString& fieldData) {
        return html::LinkAttributes(QStringLiteral("href=\"") + fieldAddress(fieldData) + u'"', base);
    };
    for (const QString& original : data) {
        const QString first = written(original);
        const QString href = first.mid(6, first.indexOf(u'"', 6) - 6);
        EXPECT_EQ(written(fieldDataForAddress(href)), first) << original.toStdString();
    }
}

TEST(ToolTipTable, OneLinePerToolTipFieldInOrder)
{
    engine::TextEngine engine;
    formatstest::DocumentBuilder(*engine.document())
        .paragraph().field(QStringLiteral("一"), QStringLiteral("TP_最初")).text(QStringLiteral(" "))
        .field(QStringLiteral("リンク"), QStringLiteral("http://x/"))
        .paragraph().field(QStringLiteral("二"), QStringLiteral("tp_second"));
    EXPECT_EQ(toolTipTable(*engine.document()), QStringLiteral("一\t最初\r二\tsecond\r"));
}

} // namespace
