// The print and printer-setup runs over a real engine, with the scripted print
// dialog and each job sent to a PDF file of its own.
#include "print/printjobs.h"

#include "engine/textengine.h"
#include "testsupport/printers.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace print {
namespace {

const QString kNoPrinter = QStringLiteral("ﾌﾟﾘﾝﾀがｲﾝｽﾄｰﾙされていません｡ﾌﾟﾘﾝﾀを追加してから印刷してください｡");

// The pages a PDF file holds ("/Type /Page", not the page tree's "/Pages").
int pdfPages(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

// The size of a PDF's first page in points, from its media box.
QSizeF pdfPageSize(const QByteArray& pdf)
{
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)"));
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
    if (!m.hasMatch())
        return {};
    return {m.captured(3).toDouble() - m.captured(1).toDouble(), m.captured(4).toDouble() - m.captured(2).toDouble()};
}

struct Printing : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;
    engine::TextEngine engine;
    QString defaultFile = dir.path(QStringLiteral("Page.prndt"));
    PrinterDirectory printers{{QStringLiteral("Office Laser")}, QStringLiteral("Office Laser")};
    QStringList jobs; // the output file of each job, in order

    Printing()
    {
        engine.setPlainText(QStringLiteral("一頁目\f二頁目\f三頁目\f四頁目"));
        engine::PageSetup a4 = engine.pageSetup();
        a4.paperWidth = 11906;
        a4.paperHeight = 16838;
        engine.setPageSetup(a4);
    }

    PrintJobs runs(const PrinterDirectory& installed)
    {
        PrintJobs run(engine, defaultFile, installed);
        run.beforeJob = [this](QPrinter& printer, int copy) {
            jobs << dir.path(QStringLiteral("job%1.pdf").arg(copy));
            printer.setOutputFileName(jobs.back());
        };
        return run;
    }
    PrintJobs runs() { return runs(printers); }

    QByteArray job(int index) const
    {
        QFile file(jobs.value(index));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void expectA4(const QByteArray& pdf) const
    {
        const QSizeF points = pdfPageSize(pdf);
        EXPECT_NEAR(points.width(), 595.3, 1.0);
        EXPECT_NEAR(points.height(), 841.9, 1.0);
    }
};

TEST_F(Printing, NoPrinterInstalledOnlySaysSo)
{
    const PrinterDirectory none;
    EXPECT_FALSE(runs(none).cPrint(false));
    runs(none).cSetPrn(dir.path(QStringLiteral("other.prndt")));
    EXPECT_EQ(dialogs.messages(), (QStringList{kNoPrinter, kNoPrinter}));
    EXPECT_EQ(dialogs.asked().size(), 2u) << "no print dialog";
    EXPECT_TRUE(jobs.isEmpty());
    EXPECT_FALSE(QFile::exists(defaultFile));
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral("other.prndt"))));
}

TEST_F(Printing, ChosenPagesAndCopiesGiveOneJobPerCopyOnTheDocumentsPaper)
{
    PrinterRecord stored = PrinterRecord::forDevice(QStringLiteral("Office Laser"));
    stored.set(PrinterRecord::PaperSize, PrinterRecord::PaperSizeAt, 8); // A3, as some other document left it
    ASSERT_TRUE(writeRecordFile(defaultFile, stored));
    dialogs.answerPrint(testsupport::PrintChoice{{}, 2, 3, 2});

    ASSERT_TRUE(runs().cPrint(false));

    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, QStringLiteral("print"));
    EXPECT_EQ(dialogs.asked()[0].print.firstPage, 1);
    EXPECT_EQ(dialogs.asked()[0].print.lastPage, 4);
    EXPECT_FALSE(dialogs.asked()[0].print.setupOnly);
    ASSERT_EQ(jobs.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(pdfPages(job(i)), 2) << jobs[i].toStdString();
        expectA4(job(i));
    }
}

TEST_F(Printing, StoredSettingsPrintEveryPageOnceWithoutADialog)
{
    PrinterRecord stored = PrinterRecord::forDevice(QStringLiteral("A printer long since gone"));
    stored.setValue(PrinterRecord::CopiesAt, 5);
    ASSERT_TRUE(writeRecordFile(defaultFile, stored));

    ASSERT_TRUE(runs().cPrint(true));

    EXPECT_TRUE(dialogs.asked().empty());
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(pdfPages(job(0)), 4);
    expectA4(job(0));
}

TEST_F(Printing, WithoutStoredSettingsTheDialogIsAskedEvenForStoredPrinting)
{
    dialogs.answerPrint(true);
    ASSERT_TRUE(runs().cPrint(true));
    EXPECT_EQ(dialogs.asked().size(), 1u);
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(pdfPages(job(0)), 4);
}

TEST_F(Printing, ACancelledPrintDialogPrintsNothingAndSaysNothing)
{
    dialogs.answerPrint(false);
    EXPECT_FALSE(runs().cPrint(false));
    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_TRUE(jobs.isEmpty());
}

TEST_F(Printing, LandscapeDocumentsPrintOnTurnedSheets)
{
    engine::PageSetup turned = engine.pageSetup();
    turned.landscape = true;
    engine.setPageSetup(turned);
    dialogs.answerPrint(testsupport::PrintChoice{{}, 1, 1, 1});
    ASSERT_TRUE(runs().cPrint(false));
    ASSERT_EQ(jobs.size(), 1);
    const QSizeF points = pdfPageSize(job(0));
    EXPECT_NEAR(points.width(), 841.9, 1.0);
    EXPECT_NEAR(points.height(), 595.3, 1.0);
}

TEST_F(Printing, PrinterSetupWritesTheRecordEvenWhenCancelled)
{
    dialogs.answerPrint(false);
    runs().cSetPrn();
    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_TRUE(dialogs.asked()[0].print.setupOnly);
    QFile file(defaultFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const PrinterRecord written = PrinterRecord::fromBytes(file.readAll());
    EXPECT_EQ(file.size(), PrinterRecord::kSize);
    EXPECT_EQ(written.value(PrinterRecord::SizeAt), PrinterRecord::kSize);
    EXPECT_EQ(written.value(PrinterRecord::PaperSizeAt), 9) << "the document's A4";
    EXPECT_EQ(written.value(PrinterRecord::OrientationAt), 1);
}

TEST_F(Printing, PrinterSetupToAGivenFileFillsAMissingDefaultFileOnly)
{
    const QString chosen = dir.path(QStringLiteral("chosen.prndt"));
    dialogs.answerPrint(testsupport::PrintChoice{{}, 0, 0, 3});
    runs().cSetPrn(chosen);
    ASSERT_TRUE(QFile::exists(chosen));
    EXPECT_EQ(readRecordFile(chosen).value(PrinterRecord::CopiesAt), 3);
    EXPECT_EQ(readRecordFile(defaultFile), readRecordFile(chosen));

    dialogs.answerPrint(testsupport::PrintChoice{{}, 0, 0, 7});
    runs().cSetPrn(chosen);
    EXPECT_EQ(readRecordFile(chosen).value(PrinterRecord::CopiesAt), 7);
    EXPECT_EQ(readRecordFile(defaultFile).value(PrinterRecord::CopiesAt), 3) << "an existing default file is kept";
}

} // namespace
} // namespace print
