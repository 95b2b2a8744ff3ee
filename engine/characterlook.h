#pragma once
// The look of a run of characters as the formatted replacement carries it:
// font, size, colours and the four emphases.

#include <QString>

namespace engine {

// The colour value that takes a colour away: the text gets the automatic
// colour, the background none.
constexpr int kNoColor = -1;

struct CharacterLook {
    QString fontName;
    double fontSize = 0;          // points
    int textColor = 0;            // 0x00BBGGRR
    int backgroundColor = 0xFFFFFF; // 0x00BBGGRR
    bool bold = false;
    bool italic = false;
    bool strikeOut = false;
    bool underline = false;

    bool operator==(const CharacterLook&) const = default;
};

} // namespace engine
