#pragma once
// The settings dialog's pop-up menus: their items, which items a document
// type shows, and what choosing an item asks for — a caption to translate
// into a command, or a command given directly.

#include <QObject>
#include <QString>
#include <QVariant>
#include <array>
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace dialogs {

enum class PopupMenu { Edit, Display, Insert, Format, Table, Settings, Object, Copy };
constexpr int kPopupMenuCount = 8;

class PopupMenus : public QObject {
    Q_OBJECT
public:
    explicit PopupMenus(QWidget* owner);
    ~PopupMenus() override;

    QMenu* menu(PopupMenu which) const;
    // The item captioned `caption` in `which` (or the item `child` of its
    // sub-menu); nullptr when there is none.
    QAction* action(PopupMenu which, const QString& caption, const QString& child = {}) const;
    // The edit menu's second item, which offers redo or repeat.
    QAction* repeatItem() const;

    // Shows the items a document of type `type` offers.
    void applyDocumentType(int type);

signals:
    // An item whose caption (or fixed command caption) goes through the
    // caption-to-command translation.
    void captionChosen(const QString& caption, const QVariant& argument);
    // An item that names its command directly.
    void commandChosen(int job, const QVariant& argument);

private:
    void choose(QAction* action, bool checked);

    std::array<std::unique_ptr<QMenu>, kPopupMenuCount> m_menus;
};

} // namespace dialogs
