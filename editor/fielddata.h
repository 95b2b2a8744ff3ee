#pragma once
// The kind and name a field's data string carries: "TG_" tags, "TP_" tool
// tips, "DX_" references (prefixes in any letter case), and links, whose
// whole data string is the target.

#include <QString>

namespace editor {

struct FieldData {
    QString kind; // "TG", "TP", "DX" or "LK"
    QString name; // the text after the prefix; for links the whole data string
};

FieldData splitFieldData(const QString& data);

} // namespace editor
