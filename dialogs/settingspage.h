#pragma once
// A page of the settings dialog: the frame it shows, the control that takes
// the focus, how it fills itself when opened and applies itself on OK.

#include <QString>
#include <functional>

class QWidget;

namespace engine {
class TextEngine;
}

namespace dialogs {

// What a page is opened with.
struct PageContext {
    engine::TextEngine* engine = nullptr; // the document being edited
    int documentType = 0;
    bool objectLink = false;  // the link page opened for an object ("LK_OBJ")
    bool replaceMode = false; // the find page opened for replacing ("RP")
    // The dialog's OK, for a page that finishes by itself: applies the page
    // and closes the dialog unless the page refuses.
    std::function<void()> confirm;
    // Enables or disables the dialog's OK, for a page that checks its values
    // as they are typed.
    std::function<void(bool)> allowOk;
};

class SettingsPage {
public:
    virtual ~SettingsPage() = default;

    virtual QWidget* frame() = 0;
    // The control that gets the focus when the dialog becomes active; may be null.
    virtual QWidget* focusControl() = 0;
    // Fills the page; `request` is the string the caller handed in.
    virtual void fill(const PageContext& context, const QString& request) = 0;
    // Applies the page on OK and sets the string handed back; false keeps
    // the dialog open.
    virtual bool apply(QString& result) = 0;
};

} // namespace dialogs
