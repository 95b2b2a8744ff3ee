#pragma once
// How a table looks, from a table style (w:style of type "table") or a
// table's own properties (w:tblPr), as far as the engine keeps it: one line
// width and colour for the whole table (the engine draws a table's lines as
// its border), the cells' shading, the table's alignment on the page, the
// cells' margin (the left one stands for all). Not kept: lines that differ
// between sides or cells, conditional formats of first rows and columns
// (w:tblStylePr).

#include <QColor>
#include <optional>

class QXmlStreamReader;

namespace formats::docx {

struct TableLook {
    std::optional<double> border; // the widest line, document units; 0: no lines
    std::optional<QColor> borderColour;
    std::optional<QColor> shading; // every cell's background
    std::optional<Qt::Alignment> alignment;
    std::optional<double> cellPadding; // document units

    // Takes each value `over` has.
    void merge(const TableLook& over);
};

// w:tblPr of a table or a table style, from its start element to its end;
// `styleId` receives w:tblStyle.
TableLook readTableProperties(QXmlStreamReader& reader, QString* styleId = nullptr);
// w:tblBorders or w:tcBorders: the widest of its lines (0 when all are
// "none"), and its colour; nullopt when it names no line.
std::optional<double> readBorders(QXmlStreamReader& reader, std::optional<QColor>* colour);

} // namespace formats::docx
