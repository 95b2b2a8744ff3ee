// The engine's clipboard with the RTF codec registered: a copy offers the
// selection as RTF to other programs, and RTF alone on the clipboard (as
// WordPad and older programs put it there) is pasted with its formats.

#include "formats/rtf/rtfcodec.h"

#include "engine/textengine.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

class RtfClipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        formats::rtf::registerRtfCodec();
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override { QGuiApplication::clipboard()->clear(); }
};

TEST_F(RtfClipboard, ACopyOffersTheSelectionAsRtf)
{
    engine::TextEngine engine;
    engine.setPlainText(QStringLiteral("前 太字 後"));
    engine.setSelection(2, 2);
    engine.setBold(true);
    engine.setSelection(2, 2);
    engine.copy();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    for (const char* type : {"text/rtf", "application/rtf"}) {
        const QByteArray rtf = data->data(QString::fromLatin1(type));
        EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg932")) << type;
        EXPECT_TRUE(rtf.contains("\\b \\uc2 \\u22826\\'91\\'be\\u23383\\'8e\\'9a}")) << rtf.toStdString();
        EXPECT_FALSE(rtf.contains("\\u21069")) << "only the selection";
    }
}

TEST_F(RtfClipboard, RtfAloneOnTheClipboardIsPastedWithItsFormats)
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), "{\\rtf1\\ansi\\ansicpg932 x {\\b \\'91\\'be}\\par second\\par}");
    QGuiApplication::clipboard()->setMimeData(data);
    engine::TextEngine engine;
    EXPECT_TRUE(engine.canPaste());
    ASSERT_TRUE(engine.paste());
    EXPECT_TRUE(engine.plainText().startsWith(QStringLiteral("x 太\r\nsecond"))) << engine.plainText().toStdString();
    engine.setSelection(2, 1);
    EXPECT_TRUE(engine.bold());
}

} // namespace
