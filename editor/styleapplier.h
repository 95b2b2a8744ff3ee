#pragma once
// Applies one of the nine style codes to the engine's selection from the
// user formats: headings 0–2 and body 3 set whole paragraphs, emphasis 4,
// supplement 5 and the highlights 6–8 set characters.

namespace dialogs {
class Frmt;
}
namespace engine {
class TextEngine;
}

namespace editor {

constexpr int kStyleCount = 9;

struct StyleRequest {
    int code = 0;
    int documentType = 0;
    // The caller chose the paragraph itself: the selection is taken as it is.
    bool explicitParagraph = false;
    // No message when a heading is refused in a list.
    bool quiet = false;
};

class StyleApplier {
public:
    StyleApplier(engine::TextEngine& engine, const dialogs::Frmt& formats);

    // False, with the document untouched, when nothing was applied: an
    // unknown code, a heading in a document of type below 1 or in a list.
    bool apply(const StyleRequest& request);
    // Sets paragraph attributes A–D of the selected paragraphs as style
    // `code` has them: a heading's from its record, any other fixed.
    void setAttributes(int code);
    // Gives the selection the font, colours and paragraph values of
    // user-format record `record`; for the header and footer records, which
    // belong to no style code.
    void applyRecord(int record);
    // Gives the selected paragraphs paragraph style `code` (0–3) again as
    // its record has it now, as applying it does; lists stay as they are.
    void restyle(int code);

private:
    bool headingRefused(const StyleRequest& request) const;
    void selectRange(const StyleRequest& request);
    void setParagraphValues(int record);
    void setCharacters(int code, int record);

    engine::TextEngine& m_engine;
    const dialogs::Frmt& m_formats;
};

} // namespace editor
