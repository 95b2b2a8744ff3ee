#include "editor/fielddata.h"

#include "editortestsupport.h"

using editor::splitFieldData;

TEST(FieldData, KindComesFromThePrefixInAnyCase)
{
    const struct {
        const char16_t* data;
        const char16_t* kind;
        const char16_t* name;
    } rows[] = {
        {u"tg_12", u"TG", u"12"},
        {u"TG_12_見出", u"TG", u"12_見出"},
        {u"TP_ヒント", u"TP", u"ヒント"},
        {u"Dx_ref", u"DX", u"ref"},
        {u"https://example.org/", u"LK", u"https://example.org/"},
        {u"TG", u"LK", u"TG"},
        {u"", u"LK", u""},
    };
    for (const auto& row : rows) {
        const editor::FieldData data = splitFieldData(QString::fromUtf16(row.data));
        EXPECT_EQ(data.kind, QString::fromUtf16(row.kind)) << QString::fromUtf16(row.data).toStdString();
        EXPECT_EQ(data.name, QString::fromUtf16(row.name));
    }
}
