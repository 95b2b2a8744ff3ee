#pragma once
// Word's fields in the text. A simple field (w:fldSimple) names its
// instruction in an attribute; a complex one is spread over runs: a
// w:fldChar "begin", the instruction in w:instrText, "separate", the result
// Word last showed, "end" — and may hold further fields in either half.
//
// The document keeps what Word shows: the result. HYPERLINK fields (to an
// address, or with \l to a bookmark) make their result a link; every other
// field leaves its result as plain text. Fields nested deeper than
// kMaxFieldNesting are read as if their characters were not there.

#include <QString>
#include <QTextCharFormat>
#include <vector>

namespace formats::docx {

constexpr int kMaxFieldNesting = 16;

// The target of a HYPERLINK instruction (`HYPERLINK "address"`,
// `HYPERLINK \l "bookmark"`, both, with or without quotes and other
// switches) as field data; "" for other instructions.
QString hyperlinkOfInstruction(const QString& instruction);

class ComplexFields {
public:
    void begin();
    // Ends the instruction of the innermost field and returns it.
    QString separate();
    void end();
    void addInstruction(const QString& text);
    // The look the innermost field's result takes (a link's field format).
    void setResultFormat(const QTextCharFormat& format);

    // True while the instruction of some open field is being read: its
    // characters are not shown.
    bool hidesContent() const;
    // The format of the innermost field result that has one; empty otherwise.
    QTextCharFormat resultFormat() const;

private:
    struct Field {
        QString instruction;
        bool inResult = false;
        QTextCharFormat format;
    };

    std::vector<Field> m_open;
    int m_beyondLimit = 0; // fields opened past kMaxFieldNesting, not followed
};

} // namespace formats::docx
