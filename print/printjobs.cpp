#include "print/printjobs.h"

#include "engine/textengine.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "print/documentpaper.h"
#include "print/printerproperties.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

#include <algorithm>

namespace print {

namespace {

const char16_t* const kNoPrinter = u"ﾌﾟﾘﾝﾀがｲﾝｽﾄｰﾙされていません｡ﾌﾟﾘﾝﾀを追加してから印刷してください｡";
const char16_t* const kCannotPrint = u"印刷できませんでした｡ﾌﾟﾘﾝﾀの状態を確かめてください｡";

void selectPrinter(QPrinter& printer, const QString& name)
{
    if (!name.isEmpty() && printer.printerName() != name)
        printer.setPrinterName(name);
}

} // namespace

PrintJobs::PrintJobs(const engine::TextEngine& engine, QString defaultSettings, PrinterDirectory printers)
    : m_engine(engine), m_defaultSettings(std::move(defaultSettings)), m_printers(std::move(printers))
{
}

bool PrintJobs::hasPrinter() const
{
    if (!m_printers.installed.isEmpty())
        return true;
    env::dialogs().inform(QString::fromUtf16(kNoPrinter));
    return false;
}

QString PrintJobs::chosenFile(const QString& settingsFile) const
{
    return !settingsFile.isEmpty() && QFile::exists(settingsFile) ? settingsFile : m_defaultSettings;
}

// The stored settings: the printer the record names when it is still
// installed, its properties over the document's paper.
PrinterRecord PrintJobs::storedRecord(const QString& file, QPrinter& printer) const
{
    PrinterRecord record = readRecordFile(file);
    takeDocumentPaper(record, documentPaper(m_engine.pageSetup()));
    selectPrinter(printer, m_printers.printerFor(record.deviceName()));
    return record;
}

// What the dialog starts from: the chosen file, else (when it is the default
// file or the default file is missing) the current printer's properties,
// else the default file.
PrinterRecord PrintJobs::dialogRecord(const QString& file, QPrinter& printer) const
{
    if (QFile::exists(file))
        return storedRecord(file, printer);
    if (file != m_defaultSettings && QFile::exists(m_defaultSettings))
        return storedRecord(m_defaultSettings, printer);
    selectPrinter(printer, m_printers.current);
    PrinterRecord record = gatherFromPrinter(printer);
    takeDocumentPaper(record, documentPaper(m_engine.pageSetup()));
    return record;
}

PrintJobs::Range PrintJobs::pagesChosen(const QPrinter& printer) const
{
    const int count = m_engine.pageCount();
    Range range{1, count, std::max(1, printer.copyCount())};
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        range.first = std::clamp(printer.fromPage(), 1, count);
        range.last = std::clamp(printer.toPage() > 0 ? printer.toPage() : count, range.first, count);
    }
    return range;
}

bool PrintJobs::cPrint(bool useStored, const QString& settingsFile)
{
    if (!hasPrinter())
        return false;
    const QString file = chosenFile(settingsFile);
    const DocumentPaper paper = documentPaper(m_engine.pageSetup());
    QPrinter printer(QPrinter::HighResolution);
    PrinterRecord record;
    Range range{1, m_engine.pageCount(), 1};
    if (useStored && QFile::exists(file)) {
        record = storedRecord(file, printer);
    } else {
        record = dialogRecord(file, printer);
        applyToPrinter(record, paper, printer);
        printer.setCopyCount(std::max<int>(1, record.value(PrinterRecord::CopiesAt)));
        if (!env::dialogs().print(printer, {1, m_engine.pageCount(), false}))
            return false;
        takePrinterProperties(record, printer);
        range = pagesChosen(printer);
    }
    applyToPrinter(record, paper, printer);
    if (printCopies(printer, record, range))
        return true;
    env::dialogs().inform(QString::fromUtf16(kCannotPrint));
    return false;
}

void PrintJobs::cSetPrn(const QString& settingsFile)
{
    if (!hasPrinter())
        return;
    const QString file = settingsFile.isEmpty() ? m_defaultSettings : settingsFile;
    const DocumentPaper paper = documentPaper(m_engine.pageSetup());
    QPrinter printer(QPrinter::HighResolution);
    PrinterRecord record = dialogRecord(file, printer);
    applyToPrinter(record, paper, printer);
    if (env::dialogs().print(printer, {1, m_engine.pageCount(), true}))
        takePrinterProperties(record, printer);
    writeRecordFile(file, record);
    if (file != m_defaultSettings && !QFile::exists(m_defaultSettings))
        QFile::copy(file, m_defaultSettings);
}

// Each copy is a job of its own, so that a printer without collation still
// gives whole sets.
bool PrintJobs::printCopies(QPrinter& printer, const PrinterRecord& record, const Range& range)
{
    printer.setCopyCount(1);
    printer.setDocName(m_engine.document()->metaInformation(QTextDocument::DocumentTitle));
    for (int copy = 1; copy <= range.copies; ++copy) {
        if (beforeJob)
            beforeJob(printer, copy);
        if (!printJob(printer, printScale(record), range))
            return false;
    }
    return true;
}

bool PrintJobs::printJob(QPrinter& printer, int scale, const Range& range)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QSizeF paper = printer.paperRect(QPrinter::DevicePixel).size();
    const QRectF target(QPointF(), paper * (scale / 100.0));
    for (int page = range.first; page <= range.last; ++page) {
        if (page > range.first && !printer.newPage())
            return false;
        m_engine.printPage(page, painter, target);
    }
    return painter.end();
}

QString defaultSettingsFile()
{
    return env::gsUsrPh + QStringLiteral("Page.prndt");
}

bool cPrint(const engine::TextEngine& engine, bool useStored, const QString& settingsFile)
{
    return PrintJobs(engine, defaultSettingsFile(), PrinterDirectory::system()).cPrint(useStored, settingsFile);
}

void cSetPrn(const engine::TextEngine& engine, const QString& settingsFile)
{
    PrintJobs(engine, defaultSettingsFile(), PrinterDirectory::system()).cSetPrn(settingsFile);
}

} // namespace print
