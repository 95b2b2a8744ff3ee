#pragma once
// One user-format record: the font, colours and paragraph values of a style,
// or of the header or the footer, with its stored text form.

#include <QString>
#include <QtGlobal>
#include <array>

namespace dialogs {

// Records 0–5 belong to the styles "見出１" … "補足", 6 is the header and 7
// the footer format.
constexpr int kUserFormatCount = 8;
constexpr int kBodyFormat = 3;
constexpr int kHeaderFormat = 6;
constexpr int kFooterFormat = 7;

// Attribute D of body paragraphs. Old settings files wrote it as "32".
constexpr qint16 kBodyAttributeD = 7936; // 0x1F00

struct UserFormat {
    QString fontName;
    qint16 size = 0;             // points
    qint32 textColor = 0;        // 0x00BBGGRR
    qint32 backgroundColor = 0;  // 0x00BBGGRR
    qint16 bold = 0;             // 1 = bold
    std::array<qint16, 4> attributes{}; // paragraph attributes A–D, passed through
    qint16 leftIndent = 0;       // twips
    std::array<qint16, 4> spacing{};    // spacing values 1–4, twips

    bool operator==(const UserFormat&) const = default;

    // The record used when record `index` is missing or malformed.
    static UserFormat defaults(int index);
    // The fourteen fields as decimal texts joined by "|".
    QString toText() const;
    // Reads a stored text; anything that is not fourteen well-formed fields
    // (a font name, numbers within their widths, a size of at least one
    // point) gives the default record of `index`.
    static UserFormat fromText(const QString& text, int index);
};

} // namespace dialogs
