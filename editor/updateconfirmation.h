#pragma once
// Before a modified document is replaced or closed: the user's update rule
// decides whether it is saved first ("上書"), the user is asked ("確認"),
// or it is given up silently (anything else).

#include <functional>

class QString;

namespace editor {

class ModifiedState;

struct UpdateCheck {
    int documentType = 0;     // below 0: documents outside the database are never asked about
    bool offerCancel = false; // the question has a Cancel button
};

// True when the document may be replaced. A save that fails keeps the
// document, as a Cancel would.
bool mayReplaceDocument(ModifiedState& state, const QString& rule, const UpdateCheck& check,
                        const std::function<bool()>& saveToDatabase);

} // namespace editor
