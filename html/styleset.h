#pragma once
// The look of the named paragraph styles the dialect writes into its style
// sheet, taken from the user formats (records 0-3 and the line-spacing factor).

#include <QString>
#include <array>

namespace html {

struct TextStyle {
    QString fontName;
    int size = 10;          // points
    quint32 colour = 0;     // 0x00BBGGRR
};

struct StyleSet {
    std::array<TextStyle, 3> headings;  // "見出１", "見出２", "見出３"
    TextStyle body;                     // "本文"
    float lineSpacing = 1.2f;           // line-spacing factor, 1.0 to 2.0

    // The user formats' defaults, for a writer used before any are loaded.
    static StyleSet defaults();
};

} // namespace html
