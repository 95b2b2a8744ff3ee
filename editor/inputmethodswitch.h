#pragma once
// Switches the desktop's input method on (Japanese input) or off, as far as
// the running input method framework lets a program do that: fcitx5 or IBus
// over D-Bus, else the fcitx5-remote tool; where none runs, nothing happens.

#include <memory>

namespace editor {

class InputMethodSwitch {
public:
    virtual ~InputMethodSwitch() = default;
    virtual void setOpen(bool open) = 0;
};

// The desktop's input method framework.
std::unique_ptr<InputMethodSwitch> systemInputMethodSwitch();

} // namespace editor
