#pragma once
// Qt's own texts (the buttons and dialogs Qt draws) in Japanese.

namespace app {

// Installs Qt's Japanese translation once, whatever the locale: the
// program's own texts are Japanese, and a dialog in two languages helps
// nobody. Without the translation files Qt's English texts stay.
void installQtTranslations();

} // namespace app
