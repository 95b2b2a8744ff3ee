#pragma once
// The steps every editor command shares around its own work: which commands
// take an undo snapshot first, give the engine the focus, switch the input
// method off, and what they do to the modified flag afterwards.

namespace editor::jobrules {

// What a command does to the modified flag once it ran.
enum class Modifies {
    Nothing,
    Always,     // the command changed the document
    WhenChanged // only when the command reports a change (the user confirmed, something was inserted)
};

bool takesSnapshot(int job);
bool focusesEngine(int job);
bool switchesInputMethodOff(int job);
bool raisesFolderUpdate(int job);
Modifies modifies(int job);

} // namespace editor::jobrules
