#pragma once
// Before a modified document is replaced or closed: the user's update rule
// decides whether it is saved first ("上書"), the user is asked ("確認"),
// or it is given up silently (anything else).

#include <functional>

class QString;

namespace editor {

class ModifiedState;

// True when the document may be replaced. The question always offers Yes,
// No and Cancel, so that Esc or closing it keeps the document; a save that
// fails keeps it too. Documents outside the database (a `documentType`
// below 0) are never asked about.
bool mayReplaceDocument(ModifiedState& state, const QString& rule, int documentType,
                        const std::function<bool()>& saveToDatabase);

} // namespace editor
