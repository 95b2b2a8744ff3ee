#pragma once
// Turns the caption of a chosen pop-up menu item into an editor command, and
// keeps the caption of the edit menu's redo/repeat item in step with it.

#include <QString>
#include <QVariant>

namespace dialogs {

struct MenuCommand {
    int job = 0;        // editor command number, 0 for none
    QVariant argument;  // empty when the command takes none
};

class CommandTranslator {
public:
    static const QString kRepeatPrefix; // "繰り返し(&R)　"

    // Translates `caption` (with the item's `argument`) into a command and
    // sets the redo/repeat caption. "初期化" asks before it gives command 2.
    MenuCommand translate(const QString& caption, const QVariant& argument = {});
    // True when the caption of an item names a command.
    static bool names(const QString& caption);

    // The redo/repeat item's caption; the item is disabled while it says
    // "できません".
    QString repeatCaption() const { return m_repeatCaption; }
    bool repeatEnabled() const;

private:
    QString m_repeatCaption = QStringLiteral("やり直し(&R)");
};

} // namespace dialogs
