#pragma once
// What the preparation of an HTML file for Qt's import notes down for the
// steps after it: Qt's import keeps the markers the preparation puts into the
// markup (a paragraph's user state, a link's address, a span's tool tip, a
// picture's name, a character before a link target's letter), and these
// notes say what each marker stands for.

#include "engine/fieldformat.h"
#include "formats/html/cssvalues.h"

#include <QString>
#include <optional>
#include <vector>

namespace formats {

// Marker prefixes inside the prepared markup.
inline constexpr QStringView kLinkMarker = u"fumi-import-link:";
inline constexpr QStringView kTipMarker = u"fumi-import-tip:";
inline constexpr QStringView kPictureMarker = u"fumi-import-picture:";

struct ParagraphNote {
    QList<css::Declaration> declarations; // the paragraph's own and its classes'
    int headingLevel = 0;                 // 1-3 for the three heading styles
    int listStart = 0;                    // a first list item's number, when its list does not count from 1
    bool opensTextFrame = false;          // the first paragraph of a table that stands for a text frame
};

struct PictureNote {
    QString address;                      // src as written, entities resolved
    QString alt;                          // the alt text, entities resolved
    engine::PicturePlacement placement = engine::PictureInline;
    std::optional<int> width;             // display size in pixels, when given
    std::optional<int> height;
};

struct ImportNotes {
    bool dialect = false;       // the file is in the program's own dialect
    QChar spacePlaceholder;     // stands for U+3000 in the prepared markup
    QChar emptyParagraph;       // the whole text of a paragraph meant to be empty
    QChar anchorMarker;         // stands before a letter that is a link target
    QString title;
    QString baseAddress;        // the head's <base href>, if any
    std::vector<ParagraphNote> paragraphs; // by user state
    std::vector<PictureNote> pictures;     // by picture marker number
    std::vector<QString> links;            // field data by link marker number
    std::vector<QString> tips;             // titles by tool-tip marker number
    std::vector<QStringList> anchors;      // link target names, one entry per anchor marker in order
};

} // namespace formats
