#pragma once
// The menu-structure strings of the host screens that carry the function-key
// bar, by the name of each screen's main form.

#include <QString>

namespace fkeys {

// The structure string stored under `formName` (compared exactly, case-sensitive);
// "" for any form without one, this program's main window "fmDoc" included.
QString structureString(const QString& formName);

} // namespace fkeys
