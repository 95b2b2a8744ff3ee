#pragma once
// The settings dialog's page codes: their window titles and how the two
// variant codes ("LK_OBJ", "RP") map onto the page they show.

#include <QString>

namespace dialogs {

struct PageCode {
    QString code;             // the page shown: "LK_OBJ" and "RP" become "LK" and "FD"
    bool objectLink = false;  // "LK_OBJ": the link page for an object
    bool replaceMode = false; // "RP": the find page for replacing
};

// The page a code opens; codes are case-sensitive as the editor sends them.
PageCode normalisedPageCode(const QString& code);
// The window title of a (normalised) page code, "" for codes with no page.
QString pageTitle(const QString& code);

} // namespace dialogs
