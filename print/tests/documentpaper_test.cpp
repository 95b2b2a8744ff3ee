#include "print/documentpaper.h"
#include "print/printerdirectory.h"
#include "print/printerproperties.h"

#include <QPrinter>
#include <gtest/gtest.h>

namespace print {
namespace {

engine::PageSetup sheet(int width, int height, bool landscape = false)
{
    engine::PageSetup setup;
    setup.paperWidth = width;
    setup.paperHeight = height;
    setup.landscape = landscape;
    return setup;
}

struct PaperRow {
    int width, height;
    int code;
};

class PaperCodes : public testing::TestWithParam<PaperRow> {};

TEST_P(PaperCodes, StandardSizesAreKnownWithinTwoPercent)
{
    const PaperRow& row = GetParam();
    EXPECT_EQ(documentPaper(sheet(row.width, row.height)).code, row.code) << row.width << "x" << row.height;
}

INSTANTIATE_TEST_SUITE_P(Rows, PaperCodes,
                         testing::Values(PaperRow{11906, 16838, PaperA4}, PaperRow{11900, 16838, PaperA4},
                                         PaperRow{12025, 17006, PaperA4},   // 1 % larger
                                         PaperRow{12263, 17343, PaperCustom}, // 3 % larger
                                         PaperRow{8300, 11900, PaperA5}, PaperRow{10318, 14581, PaperB5},
                                         PaperRow{5666, 8386, PaperPostcard}, PaperRow{12240, 15840, PaperLetter},
                                         PaperRow{12240, 20160, PaperCustom}));

TEST(DocumentPaper, LandscapeKeepsTheCodeAndTurnsTheSheet)
{
    for (const auto& setup : {sheet(11906, 16838, true), sheet(16838, 11906, true), sheet(16838, 11906)}) {
        const DocumentPaper paper = documentPaper(setup);
        EXPECT_EQ(paper.code, PaperA4);
        EXPECT_TRUE(paper.landscape);
        EXPECT_EQ(paper.portraitTwips, QSizeF(11906, 16838));
    }
}

TEST(DocumentPaper, TheRecordTakesTheDocumentsPaperWhateverItHeld)
{
    PrinterRecord record;
    record.set(PrinterRecord::PaperSize, PrinterRecord::PaperSizeAt, 8); // A3 as stored
    takeDocumentPaper(record, documentPaper(sheet(11906, 16838, true)));
    EXPECT_EQ(record.value(PrinterRecord::PaperSizeAt), PaperA4);
    EXPECT_EQ(record.value(PrinterRecord::OrientationAt), 2);
    EXPECT_EQ(record.value(PrinterRecord::PaperWidthAt), 0);

    takeDocumentPaper(record, documentPaper(sheet(12263, 17343)));
    EXPECT_EQ(record.value(PrinterRecord::PaperSizeAt), PaperCustom);
    EXPECT_EQ(record.value(PrinterRecord::OrientationAt), 1);
    EXPECT_EQ(record.value(PrinterRecord::PaperWidthAt), 2163) << "tenths of a millimetre";
    EXPECT_EQ(record.value(PrinterRecord::PaperLengthAt), 3059);
}

TEST(DocumentPaper, PrintersGetTheDocumentsPaperAndTheRecordsProperties)
{
    PrinterRecord record;
    record.set(PrinterRecord::DefaultSource, PrinterRecord::DefaultSourceAt, 4);
    record.set(PrinterRecord::PrintQuality, PrinterRecord::PrintQualityAt, 300);
    record.set(PrinterRecord::Colour, PrinterRecord::ColourAt, 1);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);

    applyToPrinter(record, documentPaper(sheet(11906, 16838, true)), printer);

    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.paperSource(), QPrinter::Manual);
    EXPECT_EQ(printer.resolution(), 300);
    EXPECT_EQ(printer.colorMode(), QPrinter::GrayScale);

    applyToPrinter(PrinterRecord(), documentPaper(sheet(12263, 17343)), printer);
    EXPECT_NEAR(printer.pageLayout().pageSize().size(QPageSize::Point).width(), 12263 / 20.0, 0.5);
    EXPECT_EQ(printer.resolution(), 300) << "a value the record does not hold leaves the printer's";

    const PrinterRecord back = gatherFromPrinter(printer);
    EXPECT_EQ(back.value(PrinterRecord::PaperSizeAt), PaperCustom);
    EXPECT_EQ(back.value(PrinterRecord::DefaultSourceAt), 4);
    EXPECT_EQ(back.value(PrinterRecord::PrintQualityAt), 300);
    EXPECT_TRUE(back.has(PrinterRecord::PaperWidth) && back.has(PrinterRecord::Colour));
    EXPECT_FALSE(back.has(PrinterRecord::Scale)) << "printers have no scale to read";
}

TEST(DocumentPaper, RecordCodesMapOntoPrinterValuesBothWays)
{
    for (int bin : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15})
        EXPECT_EQ(binFor(*paperSourceFor(bin)), bin);
    EXPECT_FALSE(paperSourceFor(12).has_value());
    for (int duplex : {1, 2, 3})
        EXPECT_EQ(duplexFor(*duplexModeFor(duplex)), duplex);
    EXPECT_EQ(duplexFor(QPrinter::DuplexAuto), 2);
    EXPECT_FALSE(duplexModeFor(0).has_value());
    EXPECT_EQ(colourFor(*colourModeFor(2)), 2);
    EXPECT_EQ(colourFor(*colourModeFor(1)), 1);
    PrinterRecord record;
    EXPECT_EQ(printScale(record), 100);
    record.set(PrinterRecord::Scale, PrinterRecord::ScaleAt, 80);
    EXPECT_EQ(printScale(record), 80);
}

TEST(PrinterDirectory, StoredNamesChooseAnInstalledPrinterOrLeaveTheCurrentOne)
{
    const QString longName = QStringLiteral("Brother-HL-L2350DW-series-2nd-floor-east");
    const PrinterDirectory printers{{QStringLiteral("PDF"), longName, QStringLiteral("Office")},
                                    QStringLiteral("Office")};
    EXPECT_EQ(printers.printerFor(longName.left(32)), longName) << "the record keeps 32 characters";
    EXPECT_EQ(printers.printerFor(QStringLiteral("office")), QStringLiteral("Office"));
    EXPECT_EQ(printers.printerFor(QStringLiteral("pdf")), QStringLiteral("PDF"));
    EXPECT_EQ(printers.printerFor(QStringLiteral("Gone-Printer")), QStringLiteral("Office"));
    EXPECT_EQ(printers.printerFor(QString()), QStringLiteral("Office"));
}

} // namespace
} // namespace print
