#pragma once
// Printing a document through the engine's page painter (cPrint) and the
// printer setup (cSetPrn), with the printer settings kept in "Page.prndt".
// Paper and orientation always come from the document; copies are printed
// as jobs of their own.

#include "print/printerdirectory.h"
#include "print/printerrecord.h"

#include <QString>
#include <functional>

class QPrinter;

namespace engine {
class TextEngine;
}

namespace print {

class PrintJobs {
public:
    // `defaultSettings` is the default settings file (the user data folder's
    // "Page.prndt").
    PrintJobs(const engine::TextEngine& engine, QString defaultSettings, PrinterDirectory printers);

    // Prints the document. With `useStored` and a settings file present, all
    // pages once with the stored settings and no dialog; otherwise through
    // the print dialog with its page range and copies. `settingsFile`, when
    // it exists, is used instead of the default file. False when nothing
    // was printed (no printer, cancelled, a job that failed).
    bool cPrint(bool useStored, const QString& settingsFile = {});
    // The printer setup dialog; the settings are written to `settingsFile`
    // (else the default file) whether it was confirmed or not, and copied to
    // the default file when that does not exist yet.
    void cSetPrn(const QString& settingsFile = {});

    // Called with each job's printer before the job starts (copy from 1):
    // where output goes is the printer's own business, and tests send it to files.
    std::function<void(QPrinter&, int copy)> beforeJob;

private:
    struct Range {
        int first = 1;
        int last = 1;
        int copies = 1;
    };

    bool hasPrinter() const;
    QString chosenFile(const QString& settingsFile) const;
    PrinterRecord dialogRecord(const QString& file, QPrinter& printer) const;
    PrinterRecord storedRecord(const QString& file, QPrinter& printer) const;
    Range pagesChosen(const QPrinter& printer) const;
    bool printCopies(QPrinter& printer, const PrinterRecord& record, const Range& range);
    bool printJob(QPrinter& printer, int scale, const Range& range);

    const engine::TextEngine& m_engine;
    QString m_defaultSettings;
    PrinterDirectory m_printers;
};

// The entries for whoever shows a document (the editor's print and printer
// setup commands, the page view's menu): the platform's printers and the user
// data folder's "Page.prndt", the engine kept only for the call. `useStored`
// and `settingsFile` as for PrintJobs::cPrint; the editor passes neither.
bool cPrint(const engine::TextEngine& engine, bool useStored = false, const QString& settingsFile = {});
void cSetPrn(const engine::TextEngine& engine, const QString& settingsFile = {});

// The user data folder's "Page.prndt".
QString defaultSettingsFile();

} // namespace print
