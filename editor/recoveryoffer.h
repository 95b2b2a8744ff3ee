#pragma once
// At start-up: the documents that earlier runs left unsaved are offered back,
// newest first, until one is taken.

#include <QString>

#include <optional>

namespace editor {

class uTxm;

// Asks for each copy left in `workFolder` whether to bring it back: Yes puts
// it into `editor` (edited, under its own file name), No discards it, Cancel
// keeps it for the next start. Returns the file name of the document brought
// back ("" for one never saved), nullopt when none was.
std::optional<QString> offerLeftRecoveries(uTxm& editor, const QString& workFolder);

} // namespace editor
