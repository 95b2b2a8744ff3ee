#include "print/printerrecord.h"

#include "env/codepage.h"
#include "testsupport/tempfolder.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace print {
namespace {

TEST(PrinterRecord, FieldsSitAtTheirBytesLittleEndian)
{
    PrinterRecord record = PrinterRecord::forDevice(QStringLiteral("Office"));
    record.set(PrinterRecord::Orientation, PrinterRecord::OrientationAt, 2);
    record.set(PrinterRecord::PaperSize, PrinterRecord::PaperSizeAt, 256);
    record.setValue(PrinterRecord::CopiesAt, 3);
    record.set(PrinterRecord::Duplex, PrinterRecord::DuplexAt, -2);

    const QByteArray bytes = record.bytes();

    ASSERT_EQ(bytes.size(), 146);
    EXPECT_EQ(bytes.left(32), QByteArray("Office") + QByteArray(26, ' '));
    EXPECT_EQ(bytes.mid(32, 4), QByteArray(4, '\0')) << "spec and driver version";
    EXPECT_EQ(bytes.mid(36, 2), QByteArray("\x92\x00", 2)) << "size 146";
    EXPECT_EQ(bytes.mid(40, 4), QByteArray("\x03\x10\x00\x00", 4)) << "orientation, paper, duplex flags";
    EXPECT_EQ(bytes.mid(44, 2), QByteArray("\x02\x00", 2));
    EXPECT_EQ(bytes.mid(46, 2), QByteArray("\x00\x01", 2)) << "256";
    EXPECT_EQ(bytes.mid(54, 2), QByteArray("\x03\x00", 2));
    EXPECT_EQ(bytes.mid(62, 2), QByteArray("\xFE\xFF", 2));
    EXPECT_TRUE(record.has(PrinterRecord::Duplex));
    EXPECT_FALSE(record.has(PrinterRecord::Colour));
}

TEST(PrinterRecord, BytesItDoesNotNameComeBackUnchanged)
{
    QByteArray stored(146, '\0');
    for (int i = 0; i < stored.size(); ++i)
        stored[i] = char(i * 7 + 1);
    PrinterRecord record = PrinterRecord::fromBytes(stored);
    record.setDeviceName(QStringLiteral("Other"));
    record.set(PrinterRecord::Colour, PrinterRecord::ColourAt, 2);

    const QByteArray written = record.bytes();

    EXPECT_EQ(written.mid(64), stored.mid(64)) << "what the dialog left in bytes 64 to 145";
    EXPECT_EQ(written.mid(32, 8), stored.mid(32, 8));
    EXPECT_EQ(record.deviceName(), QStringLiteral("Other"));
}

TEST(PrinterRecord, NamesAreCutAtThirtyTwoBytesWithoutSplittingACharacter)
{
    PrinterRecord record;
    record.setDeviceName(QStringLiteral("A-very-long-printer-name-of-the-second-floor"));
    EXPECT_EQ(record.deviceName(), QStringLiteral("A-very-long-printer-name-of-the-"));

    // Two bytes each in the system code page: 15 fit in 30 bytes, the 16th too.
    const QString japanese = QStringLiteral("経理部の複合機カラー印刷用プリンター二号機");
    record.setDeviceName(japanese);
    EXPECT_EQ(record.deviceName(), japanese.left(16));
    record.setDeviceName(QStringLiteral("x") + japanese);
    EXPECT_EQ(record.deviceName(), QStringLiteral("x") + japanese.left(15)) << "no half character at byte 32";
    EXPECT_EQ(record.bytes().at(31), ' ');
}

TEST(PrinterRecord, FilesRoundTripAndShortFilesGiveAPartlyFilledRecord)
{
    testsupport::TempFolder folder;
    const QString path = folder.path() + QStringLiteral("/Page.prndt");
    PrinterRecord record = PrinterRecord::forDevice(QStringLiteral("Office"));
    record.set(PrinterRecord::PrintQuality, PrinterRecord::PrintQualityAt, 600);

    ASSERT_TRUE(writeRecordFile(path, record));
    bool read = false;
    EXPECT_EQ(readRecordFile(path, &read), record);
    EXPECT_TRUE(read);
    EXPECT_EQ(QFileInfo(path).size(), 146);

    QFile shortFile(path);
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    shortFile.write(record.bytes().left(46));
    shortFile.close();
    const PrinterRecord partial = readRecordFile(path, &read);
    EXPECT_TRUE(read);
    EXPECT_EQ(partial.deviceName(), QStringLiteral("Office"));
    EXPECT_EQ(partial.value(PrinterRecord::SizeAt), 146);
    EXPECT_EQ(partial.value(PrinterRecord::PrintQualityAt), 0) << "beyond the file's end";

    readRecordFile(folder.path() + QStringLiteral("/missing.prndt"), &read);
    EXPECT_FALSE(read);
}

TEST(PrinterRecord, WritingReplacesOnlyTheStartOfALongerFile)
{
    testsupport::TempFolder folder;
    const QString path = folder.path() + QStringLiteral("/Page.prndt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(200, 'z'));
    file.close();

    ASSERT_TRUE(writeRecordFile(path, PrinterRecord::forDevice(QStringLiteral("P"))));

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    EXPECT_EQ(content.size(), 200);
    EXPECT_EQ(content.left(146), PrinterRecord::forDevice(QStringLiteral("P")).bytes());
    EXPECT_EQ(content.mid(146), QByteArray(54, 'z'));
}

} // namespace
} // namespace print
