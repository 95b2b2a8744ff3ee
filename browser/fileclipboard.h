#pragma once
// Files on the clipboard in the forms file managers exchange: a URI list, the
// GNOME "copy"/"cut" list, KDE's cut marker and the Windows "Preferred
// DropEffect" value, so that files cut or copied here paste in a file
// manager and the other way round.

#include <QStringList>
#include <optional>

class QMimeData;

namespace browser {

enum class DropEffect { None, Copy, Move };

struct ClipboardFiles {
    QStringList paths;                    // absolute local paths
    DropEffect effect = DropEffect::None; // None: no program said copy or cut
};

class FileClipboard {
public:
    // Clipboard data for `paths` (absolute local paths) as copied or cut; the
    // caller owns it. `effect` must be Copy or Move.
    static QMimeData* encode(const QStringList& paths, DropEffect effect);
    // The local files `data` offers and what to do with them; nullopt when it
    // offers no local file. Oversized or malformed parts are ignored.
    static std::optional<ClipboardFiles> decode(const QMimeData* data);

    // The same through the system clipboard.
    static void put(const QStringList& paths, DropEffect effect);
    static std::optional<ClipboardFiles> read();
    // True when the clipboard holds files that say whether to copy or move them.
    static bool canPaste();

    static constexpr int kMaxFiles = 100000;
};

} // namespace browser
