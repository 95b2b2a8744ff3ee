#pragma once
// ParagraphCommands: the paragraph and list dialogs over the selection's
// paragraphs. Each opens on the first paragraph's values and gives every
// selected paragraph the values the user changed, as one undo step; values
// left alone stay as each paragraph had them.

#include "dialogs/listdialog.h"
#include "dialogs/paragraphdialog.h"

#include <functional>
#include <optional>

namespace engine {
class TextEngine;
}

namespace editor {

class ParagraphCommands {
public:
    enum class Result {
        Unchanged, // cancelled, or confirmed as it was
        Changed,
    };

    struct Host {
        // The paragraph dialog; `characterTwips` is one character's width.
        // nullopt when cancelled.
        std::function<std::optional<dialogs::ParagraphLook>(const dialogs::ParagraphLook&, double characterTwips)>
            askParagraph;
        std::function<std::optional<dialogs::ListLook>(const dialogs::ListLook&)> askList;
    };

    ParagraphCommands(engine::TextEngine& engine, Host host);

    Result paragraph(); // 63
    Result list();      // 64

    dialogs::ParagraphLook paragraphLook() const;
    dialogs::ListLook listLook() const;

private:
    void applyParagraph(const dialogs::ParagraphLook& from, const dialogs::ParagraphLook& to);
    void applyList(const dialogs::ListLook& from, const dialogs::ListLook& to);

    engine::TextEngine& m_engine;
    Host m_host;
};

} // namespace editor
