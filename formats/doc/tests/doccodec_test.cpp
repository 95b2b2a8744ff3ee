// The .doc codec before LibreOffice is reached: without LibreOffice a read
// or write is refused with the sentence that says how to install it and the
// document stays as it was; bytes that are not a Word 97–2003 file are
// refused without starting LibreOffice; RTF under the .doc name is read as RTF.

#include "formats/doc/doccodec.h"

#include "engine/textengine.h"
#include "testsupport/tempfolder.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

using formats::doc::ConversionFailure;
using formats::doc::ConverterSetup;
using formats::doc::DocCodec;
using formats::doc::failureMessage;

const QByteArray kCompoundFile = QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + QByteArray(504, '\0');

ConverterSetup withoutLibreOffice(const testsupport::TempFolder& folder)
{
    ConverterSetup setup;
    setup.program = folder.path(QStringLiteral("no-such-soffice"));
    setup.profileFolder = folder.path(QStringLiteral("profile"));
    setup.scratchFolder = folder.path();
    return setup;
}

struct DocCodecWithoutLibreOffice : ::testing::Test {
    testsupport::TempFolder folder;
    std::shared_ptr<DocCodec> codec = std::make_shared<DocCodec>(html::StyleSet::defaults(), withoutLibreOffice(folder));
    engine::TextEngine engine;

    DocCodecWithoutLibreOffice()
    {
        engine::registerCodec(engine::FormatCode::Doc, codec);
        engine.setPlainText(QStringLiteral("元の文書"));
    }
    ~DocCodecWithoutLibreOffice() override { engine::registerCodec(engine::FormatCode::Doc, nullptr); }
};

TEST_F(DocCodecWithoutLibreOffice, ReadingSaysLibreOfficeIsNeededAndKeepsTheDocument)
{
    const QString file = folder.write(QStringLiteral("a.doc"), kCompoundFile);
    EXPECT_FALSE(engine.loadFile(file, engine::FormatCode::Doc, false));
    EXPECT_EQ(engine.lastReadReport().refusal, failureMessage(ConversionFailure::NotInstalled));
    EXPECT_TRUE(engine.lastReadReport().refusal.contains(QStringLiteral("libreoffice-writer-nogui")));
    EXPECT_EQ(engine.plainText(), QStringLiteral("元の文書"));
    EXPECT_FALSE(engine.loadFromMemory(kCompoundFile, engine::FormatCode::Doc, true));
    EXPECT_EQ(engine.plainText(), QStringLiteral("元の文書"));
}

TEST_F(DocCodecWithoutLibreOffice, WritingSaysLibreOfficeIsNeededAndLeavesTheTargetAlone)
{
    const QString target = folder.write(QStringLiteral("old.doc"), "old bytes");
    EXPECT_FALSE(engine.saveFile(target, engine::FormatCode::Doc));
    EXPECT_EQ(engine.lastWriteRefusal(), failureMessage(ConversionFailure::NotInstalled));
    EXPECT_EQ(folder.read(QStringLiteral("old.doc")), QByteArray("old bytes"));
    EXPECT_FALSE(engine.saveToMemory(engine::FormatCode::Doc).has_value());
    EXPECT_EQ(engine.lastWriteRefusal(), failureMessage(ConversionFailure::NotInstalled));
}

TEST_F(DocCodecWithoutLibreOffice, BytesOfAnotherKindAreRefusedBeforeLibreOffice)
{
    for (const QByteArray& bytes : {QByteArray("plain text"), QByteArray("PK\x03\x04 zip"), QByteArray()}) {
        EXPECT_FALSE(engine.loadFromMemory(bytes, engine::FormatCode::Doc, false));
        EXPECT_EQ(engine.lastReadReport().refusal, QStringLiteral("ﾌｧｲﾙが壊れているか､Word 97-2003 の文書ではありません｡"));
    }
    EXPECT_EQ(engine.plainText(), QStringLiteral("元の文書"));
}

TEST_F(DocCodecWithoutLibreOffice, RtfUnderTheDocNameIsReadAsRtf)
{
    ASSERT_TRUE(engine.loadFromMemory(QByteArray("{\\rtf1\\ansi {\\b Bold} text\\par}"), engine::FormatCode::Doc, false));
    EXPECT_EQ(engine.plainText(), QStringLiteral("Bold text"));
}

TEST_F(DocCodecWithoutLibreOffice, InputOverTheLimitIsRefused)
{
    QByteArray large = kCompoundFile;
    large.resize(codec->maxInputBytes() + 1);
    EXPECT_FALSE(codec->read(large, engine.documentSet()));
}

TEST(LibreOfficeConverter, FindsNoProgramWhereNoneIs)
{
    testsupport::TempFolder folder;
    folder.write(QStringLiteral("soffice"), "#!/bin/sh\n"); // not executable
    ConverterSetup setup;
    setup.program = folder.path(QStringLiteral("soffice"));
    EXPECT_TRUE(formats::doc::LibreOfficeConverter(setup).program().isEmpty());
    const formats::doc::Conversion result = formats::doc::LibreOfficeConverter(setup).convert(
        kCompoundFile, QStringLiteral("doc"), QStringLiteral("MS Word 97"), QStringLiteral("docx"), QStringLiteral("MS Word 2007 XML"));
    EXPECT_EQ(result.failure, ConversionFailure::NotInstalled);
    EXPECT_TRUE(result.bytes.isEmpty());
}

} // namespace
