#pragma once
// The settings dialog's pop-up menus: their items, which items a document
// type shows, and what choosing an item asks for — a caption to translate
// into a command, or a command given directly.

#include <QObject>
#include <QString>
#include <QVariant>
#include <array>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace dialogs {

enum class PopupMenu { Edit, Display, Insert, Format, Table, Settings, Object, Copy };
constexpr int kPopupMenuCount = 8;

// The object menu's items, counted from 0; separators count too.
constexpr int kObjectItemCount = 22;
constexpr int kObjectCopyBeforeItem = 18;
constexpr int kObjectCopyAfterItem = 19;

// The editor's own jobs behind the object menu's picture items.
constexpr int kEditPictureJob = 90;
constexpr int kEnlargedPictureLinkJob = 91; // argument 0: the picture's own file, 1: a file the user chooses
constexpr int kPicturePropertiesJob = 92;

// A link or tag next to the caret, which the object menu offers to copy.
struct NeighbourField {
    int id = 0;
    bool tag = false;
};

// Where the caret is when the object menu opens.
struct ObjectMenuContext {
    QString fieldKind; // kind code of the field under the caret ("LK", "TG", …), "" outside fields
    std::optional<NeighbourField> preceding;
    std::optional<NeighbourField> following;
    bool picture = false;        // the object is a picture (not a text frame)
    bool pictureHasFile = false; // …and the file it was inserted from is still there
};

// How the object menu looks in a context: which items show, and the
// captions of the two copy items.
struct ObjectMenuLook {
    std::array<bool, kObjectItemCount> shown{};
    bool pictureItems = false; // 編集, ﾌﾟﾛﾊﾟﾃｨ and the link to a chosen enlarged picture
    bool ownFileLink = false;  // the link to the picture's own file
    QString copyBefore;
    QString copyAfter;
};
ObjectMenuLook objectMenuLook(const ObjectMenuContext& context);

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
    // Readies the object menu for `context`: its look, and the two copy
    // items aimed at the neighbours (job 50 for a link, 51 for a tag, each
    // with mode 0 and the neighbour's field id).
    void prepareObjectMenu(const ObjectMenuContext& context);
    // Readies the insert menu: the header and footer items checked as the
    // engine's header/footer flags say, the page-number item offered only
    // while a header or footer is being edited.
    void prepareInsertMenu(int headerFooterFlags, bool editingHeaderOrFooter);

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
