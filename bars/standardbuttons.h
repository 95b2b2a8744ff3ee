#pragma once
// The standard bar's buttons: the command each sends and when it may be
// pressed.

#include <QString>
#include <span>

namespace bars {

enum class StandardButton { New, Open, Save, Print, Preview, Cut, Copy, Paste, Undo, Redo, Find };

struct StandardButtonInfo {
    StandardButton button;
    QString key;     // "New", "Open", …
    int job;         // the editor command it sends
    QString caption; // shown where the desktop has no icon for it
    QString tip;
    QString icon;    // freedesktop icon name
    bool groupEnd;   // a separator follows
};

std::span<const StandardButtonInfo> standardButtons();

// What the editor knows when the buttons are refreshed.
struct EditorFacts {
    bool hasContent = false; // text, or an object of the engine current
    bool modified = false;
    bool canCopy = false;
    bool canPaste = false;
    bool canUndo = false;    // the engine can undo, or an undo snapshot was restored
    bool canRedo = false;
    int documentType = 0;
};

struct ButtonState {
    bool enabled = false;
    bool shown = true;
    bool operator==(const ButtonState&) const = default;
};

ButtonState standardButtonState(StandardButton button, const EditorFacts& facts);

} // namespace bars
