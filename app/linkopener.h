#pragma once
// Opens the target of a clicked link with the desktop, through the guard
// that refuses what could harm and asks before anything runs.

#include <QString>

namespace app {

// Judges, asks or refuses with a message, and opens; a relative target lies
// below `documentFolder`.
void openLink(const QString& target, const QString& documentFolder);

} // namespace app
