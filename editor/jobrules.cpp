#include "editor/jobrules.h"

#include <algorithm>
#include <initializer_list>

namespace editor::jobrules {

namespace {

bool among(int job, std::initializer_list<int> jobs)
{
    return std::find(jobs.begin(), jobs.end(), job) != jobs.end();
}

} // namespace

bool takesSnapshot(int job)
{
    return among(job, {10, 15, 23, 24, 30, 32, 33, 40, 41, 50, 51, 53, 55, 60, 71});
}

bool focusesEngine(int job)
{
    return among(job, {13, 14, 20});
}

bool switchesInputMethodOff(int job)
{
    return job >= 63 && job <= 66;
}

bool raisesFolderUpdate(int job)
{
    return among(job, {2, 4, 5});
}

Modifies modifies(int job)
{
    // Splitting a table changes the document as inserting and deleting do.
    if (among(job, {10, 15, 23, 24, 30, 40, 50, 51, 53, 54, 60, 71, 80, 81, 82}))
        return Modifies::Always;
    // Undo, redo, cut and delete change the document as surely as the
    // others: a document changed by them must not be given up unasked. So do
    // a new page setup, a header or footer switched on or off, a page number
    // put into one, headings restyled by new user formats and a data field
    // put in or taken out.
    // The object menu's picture items (90–92) change the picture when the user confirms.
    if (among(job, {11, 12, 13, 20, 32, 33, 35, 41, 42, 43, 44, 55, 56, 57, 58, 61, 62, 63, 64, 65, 66, 85, 90, 91, 92}))
        return Modifies::WhenChanged;
    return Modifies::Nothing;
}

} // namespace editor::jobrules
