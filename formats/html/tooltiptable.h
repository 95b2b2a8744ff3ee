#pragma once
// The tool-tip table the dialect writer reads (html::yHtm::cSaveHtm's sTP):
// one line per tool-tip field in document order — the field's text, TAB, its
// data after "TP_", CR.

#include <QString>

class QTextDocument;

namespace formats {

QString toolTipTable(QTextDocument& document);

} // namespace formats
