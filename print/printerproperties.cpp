#include "print/printerproperties.h"

#include <QPageLayout>

#include <array>
#include <cmath>
#include <utility>

namespace print {

namespace {

using Record = PrinterRecord;

// Paper bins of the record and the printer's paper sources.
constexpr std::array<std::pair<int, QPrinter::PaperSource>, 13> kBins = {{
    {1, QPrinter::Upper},
    {2, QPrinter::Lower},
    {3, QPrinter::Middle},
    {4, QPrinter::Manual},
    {5, QPrinter::Envelope},
    {6, QPrinter::EnvelopeManual},
    {7, QPrinter::Auto},
    {8, QPrinter::Tractor},
    {9, QPrinter::SmallFormat},
    {10, QPrinter::LargeFormat},
    {11, QPrinter::LargeCapacity},
    {14, QPrinter::Cassette},
    {15, QPrinter::FormSource},
}};

constexpr int kMonochrome = 1;
constexpr int kColour = 2;
constexpr int kSimplex = 1;
constexpr int kLongEdge = 2;
constexpr int kShortEdge = 3;
constexpr int kPortrait = 1;
constexpr int kLandscape = 2;
constexpr int kUnscaled = 100;

// Tenths of a millimetre, the unit of the record's paper width and length.
std::int16_t tenthsOfMillimetre(double twips)
{
    return std::int16_t(std::lround(twips * 254.0 / engine::kTwipsPerInch));
}

void takePaper(Record& record, const QPrinter& printer)
{
    const int code = printer.pageLayout().pageSize().windowsId();
    if (code != 0 && code != PaperCustom) {
        record.set(Record::PaperSize, Record::PaperSizeAt, std::int16_t(code));
        record.setValue(Record::PaperWidthAt, 0);
        record.setValue(Record::PaperLengthAt, 0);
        return;
    }
    record.set(Record::PaperSize, Record::PaperSizeAt, PaperCustom);
    record.setFields(record.fields() | Record::PaperWidth | Record::PaperLength);
}

} // namespace

std::optional<QPrinter::PaperSource> paperSourceFor(int bin)
{
    for (const auto& [code, source] : kBins)
        if (code == bin)
            return source;
    return std::nullopt;
}

int binFor(QPrinter::PaperSource source)
{
    for (const auto& [code, known] : kBins)
        if (known == source)
            return code;
    return 0;
}

std::optional<QPrinter::ColorMode> colourModeFor(int colour)
{
    if (colour == kMonochrome)
        return QPrinter::GrayScale;
    if (colour == kColour)
        return QPrinter::Color;
    return std::nullopt;
}

int colourFor(QPrinter::ColorMode mode)
{
    return mode == QPrinter::Color ? kColour : kMonochrome;
}

std::optional<QPrinter::DuplexMode> duplexModeFor(int duplex)
{
    switch (duplex) {
    case kSimplex: return QPrinter::DuplexNone;
    case kLongEdge: return QPrinter::DuplexLongSide;
    case kShortEdge: return QPrinter::DuplexShortSide;
    default: return std::nullopt;
    }
}

// The printer's own choice of sides prints along the long edge, as a book.
int duplexFor(QPrinter::DuplexMode mode)
{
    switch (mode) {
    case QPrinter::DuplexNone: return kSimplex;
    case QPrinter::DuplexShortSide: return kShortEdge;
    case QPrinter::DuplexLongSide:
    case QPrinter::DuplexAuto: return kLongEdge;
    }
    return kSimplex;
}

void takeDocumentPaper(Record& record, const DocumentPaper& paper)
{
    record.setValue(Record::PaperSizeAt, std::int16_t(paper.code));
    const bool custom = paper.code == PaperCustom;
    record.setValue(Record::PaperWidthAt, custom ? tenthsOfMillimetre(paper.portraitTwips.width()) : 0);
    record.setValue(Record::PaperLengthAt, custom ? tenthsOfMillimetre(paper.portraitTwips.height()) : 0);
    record.setValue(Record::OrientationAt, paper.landscape ? kLandscape : kPortrait);
}

void takePrinterProperties(Record& record, const QPrinter& printer)
{
    record.setDeviceName(printer.printerName());
    record.setValue(Record::CopiesAt, std::int16_t(printer.copyCount()));
    takePaper(record, printer);
    if (const int bin = binFor(printer.paperSource()))
        record.set(Record::DefaultSource, Record::DefaultSourceAt, std::int16_t(bin));
    record.set(Record::PrintQuality, Record::PrintQualityAt, std::int16_t(printer.resolution()));
    record.set(Record::Colour, Record::ColourAt, std::int16_t(colourFor(printer.colorMode())));
    record.set(Record::Duplex, Record::DuplexAt, std::int16_t(duplexFor(printer.duplex())));
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    record.set(Record::Orientation, Record::OrientationAt, landscape ? kLandscape : kPortrait);
}

PrinterRecord gatherFromPrinter(const QPrinter& printer)
{
    Record record = Record::forDevice(printer.printerName());
    takePrinterProperties(record, printer);
    return record;
}

void applyToPrinter(const Record& record, const DocumentPaper& paper, QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageSize(paper.pageSize());
    printer.setPageOrientation(paper.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (record.has(Record::DefaultSource))
        if (const auto source = paperSourceFor(record.value(Record::DefaultSourceAt)))
            printer.setPaperSource(*source);
    // Negative qualities name a grade (draft to high) the driver resolves itself.
    if (record.has(Record::PrintQuality) && record.value(Record::PrintQualityAt) > 0)
        printer.setResolution(record.value(Record::PrintQualityAt));
    if (record.has(Record::Colour))
        if (const auto mode = colourModeFor(record.value(Record::ColourAt)))
            printer.setColorMode(*mode);
    if (record.has(Record::Duplex))
        if (const auto mode = duplexModeFor(record.value(Record::DuplexAt)))
            printer.setDuplex(*mode);
}

int printScale(const Record& record)
{
    const int scale = record.value(Record::ScaleAt);
    return scale > 0 ? scale : kUnscaled;
}

} // namespace print
