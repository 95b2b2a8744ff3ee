#pragma once
// How the fields of the printer record map onto a QPrinter, both ways: the
// device name, orientation, paper, copies, paper bin, print quality, colour
// and duplex. The scale has no printer property: the pages are painted at it.

#include "print/documentpaper.h"
#include "print/printerrecord.h"

#include <QPrinter>
#include <optional>

namespace print {

// The record's paper size, width and length and orientation from the
// document; custom paper keeps its size in tenths of a millimetre.
void takeDocumentPaper(PrinterRecord& record, const DocumentPaper& paper);
// Reads the printer's device name, copies and, each with its flag, paper,
// bin, quality, colour, duplex and orientation into `record`; every other
// byte stays as it was.
void takePrinterProperties(PrinterRecord& record, const QPrinter& printer);
// A fresh record of the printer's properties.
PrinterRecord gatherFromPrinter(const QPrinter& printer);
// Gives `printer` the document's paper and orientation and the bin, quality,
// colour and duplex the record holds. A value the record marks as not valid,
// or one with no printer counterpart, leaves the printer's own.
void applyToPrinter(const PrinterRecord& record, const DocumentPaper& paper, QPrinter& printer);
// The percentage the pages are painted at: the record's scale when not 0, else 100.
int printScale(const PrinterRecord& record);

// The record's codes and their printer counterparts.
std::optional<QPrinter::PaperSource> paperSourceFor(int bin);
int binFor(QPrinter::PaperSource source);
std::optional<QPrinter::ColorMode> colourModeFor(int colour);
int colourFor(QPrinter::ColorMode mode);
std::optional<QPrinter::DuplexMode> duplexModeFor(int duplex);
int duplexFor(QPrinter::DuplexMode mode);

} // namespace print
