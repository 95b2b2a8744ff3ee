#include "dialogs/popupmenus.h"

#include "dialogs/commandtranslator.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <functional>
#include <vector>

namespace dialogs {

namespace {

// What choosing an item asks for.
enum class Route {
    OwnCaption,   // translate the item's own caption with its argument
    FixedCaption, // translate a fixed command caption with the item's argument
    Direct,       // the command is given directly
};

struct ItemRoute {
    Route route = Route::OwnCaption;
    QString caption; // the caption translated
    int job = 0;
    QVariant argument;
    bool toggles = false; // the argument is negated when the click removes the check mark
};

const QString kSeparator = QStringLiteral("-");

} // namespace

} // namespace dialogs

Q_DECLARE_METATYPE(dialogs::ItemRoute)

namespace dialogs {

namespace {

struct Item {
    QString caption;
    ItemRoute route;
    bool checkable = false;
    bool offered = true; // false: shown, but its command is not available
    std::vector<Item> children;
};

Item plain(const QString& caption, const QVariant& argument = {})
{
    return {caption, {Route::OwnCaption, caption, 0, argument}};
}

Item separator()
{
    return {kSeparator, {}};
}

Item fixedCaption(const QString& caption, const QString& commandCaption, const QVariant& argument)
{
    return {caption, {Route::FixedCaption, commandCaption, 0, argument}};
}

Item direct(const QString& caption, int job, const QVariant& argument = {})
{
    return {caption, {Route::Direct, {}, job, argument}};
}

// A check item whose argument is `value` when it gets the check mark and
// −`value` when it loses it.
Item toggle(Item item, int value)
{
    item.route.argument = value;
    item.route.toggles = true;
    item.checkable = true;
    return item;
}

// An item shown disabled: embedded objects have no engine support yet.
Item unavailable(Item item)
{
    item.offered = false;
    return item;
}

Item withChildren(const QString& caption, std::vector<Item> children)
{
    Item item{caption, {}};
    item.children = std::move(children);
    return item;
}

std::vector<Item> tableItems(const QString& commandCaption, const QStringList& captions,
                             const QStringList& arguments)
{
    std::vector<Item> items;
    for (qsizetype i = 0; i < captions.size(); ++i) {
        items.push_back(captions[i] == kSeparator ? separator()
                                                  : fixedCaption(captions[i], commandCaption, arguments[i]));
    }
    return items;
}

std::vector<Item> editItems()
{
    return {plain(QStringLiteral("元に戻す(&U)")),
            plain(QStringLiteral("やり直し(&R)")),
            separator(),
            plain(QStringLiteral("切り取り(&T)")),
            plain(QStringLiteral("ｺﾋﾟｰ(&C)")),
            withChildren(QStringLiteral("貼り付け"),
                         {fixedCaption(QStringLiteral("ﾃｷｽﾄとして貼り付け"), QStringLiteral("貼り付け"),
                                       QStringLiteral("TXT")),
                          fixedCaption(QStringLiteral("画像として貼り付け"), QStringLiteral("貼り付け"),
                                       QStringLiteral("PIC")),
                          separator(),
                          fixedCaption(QStringLiteral("ｵﾌﾞｼﾞｪｸﾄとして貼り付け"), QStringLiteral("貼り付け"),
                                       QStringLiteral("OBJ"))}),
            separator(),
            plain(QStringLiteral("初期化")),
            plain(QStringLiteral("ｸﾘｱ(&A)")),
            plain(QStringLiteral("全て選択(&L)")),
            separator(),
            plain(QStringLiteral("検索(&F)")),
            plain(QStringLiteral("置換(&R)")),
            separator(),
            plain(QStringLiteral("他のﾍﾟｰｼﾞを参照")),
            plain(QStringLiteral("整形")),
            separator(),
            plain(QStringLiteral("文書を更新"))};
}

std::vector<Item> displayItems()
{
    return {toggle(plain(QStringLiteral("ﾂｰﾙﾊﾞｰ")), 1),
            toggle(plain(QStringLiteral("文字色指定")), 2),
            toggle(plain(QStringLiteral("書式指定")), 3),
            toggle(plain(QStringLiteral("ｽﾃｰﾀｽﾊﾞｰ")), 4),
            toggle(plain(QStringLiteral("ﾙｰﾗｰ")), 5),
            separator(),
            plain(QStringLiteral("全て表示"), 7),
            plain(QStringLiteral("全て非表示"), -8)};
}

// Inserts a page-number field into the header or footer being edited.
const QString kPageNumberItem = QStringLiteral("ﾍﾟｰｼﾞ番号");
constexpr int kPageNumberJob = 58;

std::vector<Item> headerFooterItems(const QString& caption, int everyPage, int firstPage)
{
    return {withChildren(caption, {toggle(direct(QStringLiteral("各頁"), 57), everyPage),
                                   toggle(direct(QStringLiteral("先頭頁"), 57), firstPage)})};
}

std::vector<Item> insertItems()
{
    std::vector<Item> items = {
        withChildren(QStringLiteral("文書(&D)"), {direct(QStringLiteral("ﾜｰﾄﾞ・ﾜｰﾄﾞﾊﾟｯﾄ文書"), 30),
                                                direct(QStringLiteral("他ﾍﾟｰｼﾞの文書"), 31)}),
        plain(QStringLiteral("ﾃｷｽﾄ(&T)")),
        separator(),
        plain(QStringLiteral("画像(&P)"), 3),
        plain(QStringLiteral("画像(ｻｲｽﾞを指定して取込)")),
        plain(QStringLiteral("画像 WMF形式 (&W)")),
        separator(),
        withChildren(QStringLiteral("ｸﾞﾗﾌ･ﾁｬｰﾄ(&G)"),
                     {direct(QStringLiteral("ｸﾞﾗﾌ"), 42), direct(QStringLiteral("ﾁｬｰﾄ"), 43)}),
        plain(QStringLiteral("ﾃｷｽﾄﾌﾚｰﾑ(&F)")),
        unavailable(plain(QStringLiteral("OLEｵﾌﾞｼﾞｪｸﾄ(&O)"))),
        separator(),
    };
    for (const char16_t* caption :
         {u"ﾊｲﾊﾟｰﾘﾝｸ(&L)", u"ﾊｲﾊﾟｰﾘﾝｸの修正", u"ﾊｲﾊﾟｰﾘﾝｸの削除", u"ﾀｸﾞ(&G)", u"ﾀｸﾞの修正", u"ﾀｸﾞの削除",
          u"dxml参照(&D)", u"dxml参照の削除", u"ﾂｰﾙﾁｯﾌﾟ(&T)", u"ﾂｰﾙﾁｯﾌﾟの修正", u"ﾂｰﾙﾁｯﾌﾟの削除"})
        items.push_back(plain(QString::fromUtf16(caption)));
    items.push_back(separator());
    for (Item& item : headerFooterItems(QStringLiteral("ﾍｯﾀﾞｰ"), 1, 2))
        items.push_back(std::move(item));
    for (Item& item : headerFooterItems(QStringLiteral("ﾌｯﾀｰ"), 4, 8))
        items.push_back(std::move(item));
    items.push_back(direct(kPageNumberItem, kPageNumberJob));
    items.push_back(plain(QStringLiteral("改頁(&B)")));
    items.push_back(separator());
    items.push_back(plain(QStringLiteral("ｲﾝﾗｲﾝﾌﾚｰﾑ")));
    items.push_back(plain(QStringLiteral("javascript")));
    return items;
}

std::vector<Item> formatItems()
{
    std::vector<Item> items;
    int code = 0;
    for (const char16_t* caption : {u"表題1", u"表題2", u"表題3", u"本文", u"本文強調", u"補足"})
        items.push_back(fixedCaption(QString::fromUtf16(caption), QStringLiteral("ｽﾀｲﾙ"), code++));
    for (const char16_t* caption : {u"-", u"ﾌｫﾝﾄ(&F)", u"段落(&P)", u"ﾘｽﾄ(&L)", u"-", u"書式のｺﾋﾟｰ",
                                    u"書式の貼り付け", u"-", u"字下げ(１文字分)", u"文字数を指定して字下げ"}) {
        const QString text = QString::fromUtf16(caption);
        items.push_back(text == kSeparator ? separator() : plain(text));
    }
    return items;
}

std::vector<Item> tableMenuItems()
{
    const QStringList parts = {QStringLiteral("表"), QStringLiteral("行"), QStringLiteral("ｾﾙ")};
    return {
        withChildren(QStringLiteral("挿入"),
                     tableItems(QStringLiteral("表挿入"),
                                {QStringLiteral("表"), kSeparator, QStringLiteral("左側に列"),
                                 QStringLiteral("右側に列"), kSeparator, QStringLiteral("上に行"),
                                 QStringLiteral("下に行")},
                                {QStringLiteral("表"), {}, QStringLiteral("左"), QStringLiteral("右"), {},
                                 QStringLiteral("上"), QStringLiteral("下")})),
        withChildren(QStringLiteral("分割"),
                     tableItems(QStringLiteral("表分割"),
                                {QStringLiteral("現在行の上で分割"), QStringLiteral("現在行の下で分割")},
                                {QStringLiteral("上"), QStringLiteral("下")})),
        withChildren(QStringLiteral("削除"),
                     tableItems(QStringLiteral("表削除"),
                                {QStringLiteral("表"), QStringLiteral("列"), QStringLiteral("行")},
                                {QStringLiteral("表"), QStringLiteral("列"), QStringLiteral("行")})),
        withChildren(QStringLiteral("選択"), tableItems(QStringLiteral("表選択"), parts, parts)),
        withChildren(QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"), tableItems(QStringLiteral("表属性"), parts, parts)),
    };
}

std::vector<Item> settingsItems()
{
    Item rich = fixedCaption(QStringLiteral("ﾘｯﾁﾃｷｽﾄ(書式付)で貼付"), QStringLiteral("文書貼付"), 0);
    Item text = fixedCaption(QStringLiteral("ﾃｷｽﾄ(書式無し)で貼付"), QStringLiteral("文書貼付"), 1);
    rich.checkable = text.checkable = true;
    return {plain(QStringLiteral("文書ﾍﾟｰｼﾞ(&P)")),
            plain(QStringLiteral("ﾍﾟｰｼﾞ表示")),
            plain(QStringLiteral("ﾕｰｻﾞｰｽﾀｲﾙ")),
            plain(QStringLiteral("画像ﾚｲｱｳﾄの既定値")),
            plain(QStringLiteral("IME･更新確認")),
            withChildren(QStringLiteral("Ctrl+V 文書貼付"), {rich, text}),
            separator(),
            plain(QStringLiteral("既定のﾌﾞﾘﾝﾀ設定"))};
}

std::vector<Item> plainItems(std::initializer_list<const char16_t*> captions)
{
    std::vector<Item> items;
    for (const char16_t* caption : captions) {
        const QString text = QString::fromUtf16(caption);
        items.push_back(text == kSeparator ? separator() : plain(text));
    }
    return items;
}

void setShown(QAction* action, bool shown)
{
    if (action)
        action->setVisible(shown);
}

QAction* itemAt(QMenu* menu, int index)
{
    const QList<QAction*> actions = menu->actions();
    return index >= 0 && index < actions.size() ? actions[index] : nullptr;
}

using TriggerHandler = std::function<void(QAction*, bool)>;

QMenu* buildMenu(const QString& title, const std::vector<Item>& items, QWidget* parent,
                 const TriggerHandler& onTriggered)
{
    auto* menu = new QMenu(title, parent);
    for (const Item& item : items) {
        if (item.caption == kSeparator) {
            menu->addSeparator();
        } else if (!item.children.empty()) {
            menu->addMenu(buildMenu(item.caption, item.children, menu, onTriggered));
        } else {
            QAction* action = menu->addAction(item.caption);
            action->setCheckable(item.checkable);
            action->setData(QVariant::fromValue(item.route));
            // An item whose caption names no command yet is offered disabled.
            action->setEnabled(item.offered
                               && (item.route.route != Route::OwnCaption || CommandTranslator::names(item.caption)));
            QObject::connect(action, &QAction::triggered, menu,
                             [action, onTriggered](bool checked) { onTriggered(action, checked); });
        }
    }
    return menu;
}

constexpr int kStyleItemCount = 6;
constexpr int kBodyStyleItem = 3;

// Object menu items (see objectItems) and the jobs they run.
constexpr int kObjectEditItem = 3;
constexpr int kObjectDeleteItem = 5;
constexpr int kObjectLinkSeparator = 6;
constexpr int kObjectNewLink = 7;
constexpr int kObjectEditLink = 8;
constexpr int kObjectDeleteLink = 9;
constexpr int kObjectFirstTagItem = 10;     // the separator before the tag items
constexpr int kObjectLastTagItem = 13;
constexpr int kObjectEnlargedSeparator = 14;
constexpr int kObjectOwnFileLink = 15;
constexpr int kObjectChosenFileLink = 16;
constexpr int kObjectCopySeparator = 20;
constexpr int kObjectPropertiesItem = 21;
constexpr int kDeleteSelectionJob = 20;
constexpr int kLinkJob = 50;
constexpr int kTagJob = 51;

std::vector<Item> objectItems()
{
    std::vector<Item> items =
        plainItems({u"切り取り(&T)", u"ｺﾋﾟｰ(&C)", u"-", u"編集", u"-", u"削除", u"-", u"ﾊｲﾊﾟｰﾘﾝｸ(&L)",
                    u"ﾊｲﾊﾟｰﾘﾝｸの修正", u"ﾊｲﾊﾟｰﾘﾝｸの削除", u"-", u"ﾀｸﾞ(&G)", u"ﾀｸﾞの修正", u"ﾀｸﾞの削除", u"-",
                    u"拡大画像へのﾘﾝｸ(最新)", u"拡大画像へのﾘﾝｸ(選択)", u"-", u"直前のﾘﾝｸを複写",
                    u"直後のﾘﾝｸを複写", u"-", u"ﾌﾟﾛﾊﾟﾃｨ"});
    // No caption of the command table names it: it deletes the selected object.
    items[kObjectDeleteItem] = direct(QStringLiteral("削除"), kDeleteSelectionJob);
    // The picture items are the editor's own.
    items[kObjectEditItem] = direct(items[kObjectEditItem].caption, kEditPictureJob);
    items[kObjectOwnFileLink] = direct(items[kObjectOwnFileLink].caption, kEnlargedPictureLinkJob, 0);
    items[kObjectChosenFileLink] = direct(items[kObjectChosenFileLink].caption, kEnlargedPictureLinkJob, 1);
    items[kObjectPropertiesItem] = direct(items[kObjectPropertiesItem].caption, kPicturePropertiesJob);
    return items;
}

QString copyCaption(const QString& side, const std::optional<NeighbourField>& neighbour)
{
    return side + (neighbour && neighbour->tag ? QStringLiteral("ﾀｸﾞ") : QStringLiteral("ﾘﾝｸ"))
        + QStringLiteral("を複写");
}

// A copy item runs the command that copies its neighbour; without one it runs nothing.
void aimCopyItem(QAction* item, const QString& caption, const std::optional<NeighbourField>& neighbour)
{
    item->setText(caption);
    ItemRoute route{Route::Direct, {}, 0, {}};
    if (neighbour) {
        route.job = neighbour->tag ? kTagJob : kLinkJob;
        route.argument = QVariantList{0, false, neighbour->id};
    }
    item->setData(QVariant::fromValue(route));
    item->setEnabled(neighbour.has_value());
}

} // namespace

ObjectMenuLook objectMenuLook(const ObjectMenuContext& context)
{
    ObjectMenuLook look;
    look.shown.fill(true);
    const bool inLink = context.fieldKind == QStringLiteral("LK");
    look.shown[kObjectLinkSeparator] = context.fieldKind != QStringLiteral("TG");
    // A new link wherever the caret is not in one already.
    look.shown[kObjectNewLink] = !inLink;
    look.shown[kObjectEditLink] = look.shown[kObjectDeleteLink] = inLink;
    for (int item = kObjectFirstTagItem; item <= kObjectLastTagItem; ++item)
        look.shown[item] = false;
    // Only a picture has an enlarged picture to link to.
    for (int item : {kObjectEnlargedSeparator, kObjectOwnFileLink, kObjectChosenFileLink})
        look.shown[item] = context.picture;
    look.pictureItems = context.picture;
    look.ownFileLink = context.picture && context.pictureHasFile;
    look.shown[kObjectCopyBeforeItem] = context.preceding.has_value();
    look.shown[kObjectCopyAfterItem] = context.following.has_value();
    look.shown[kObjectCopySeparator] = context.preceding || context.following;
    look.copyBefore = copyCaption(QStringLiteral("直前の"), context.preceding);
    look.copyAfter = copyCaption(QStringLiteral("直後の"), context.following);
    return look;
}

PopupMenus::PopupMenus(QWidget* owner)
    : QObject(owner)
{
    const TriggerHandler onTriggered = [this](QAction* action, bool checked) { choose(action, checked); };
    const auto set = [this, &onTriggered](PopupMenu which, const QString& title, const std::vector<Item>& items) {
        m_menus[int(which)].reset(buildMenu(title, items, nullptr, onTriggered));
    };
    set(PopupMenu::Edit, QStringLiteral("編集(&E)"), editItems());
    set(PopupMenu::Display, QStringLiteral("表示"), displayItems());
    set(PopupMenu::Insert, QStringLiteral("挿入(&I)"), insertItems());
    set(PopupMenu::Format, QStringLiteral("書式(&S)"), formatItems());
    set(PopupMenu::Table, QStringLiteral("表(&T)"), tableMenuItems());
    set(PopupMenu::Settings, QStringLiteral("設定(&U)"), settingsItems());
    set(PopupMenu::Object, QStringLiteral("Obj"), objectItems());
    set(PopupMenu::Copy, QStringLiteral("Trx"),
        plainItems({u"指定範囲をｺﾋﾟｰ(&C)", u"文書全体をｺﾋﾟｰ", u"文書全体をﾃｷｽﾄとしてｺﾋﾟｰ"}));

    auto* pasteModes = new QActionGroup(this);
    pasteModes->addAction(action(PopupMenu::Settings, QStringLiteral("Ctrl+V 文書貼付"),
                                 QStringLiteral("ﾘｯﾁﾃｷｽﾄ(書式付)で貼付")));
    pasteModes->addAction(action(PopupMenu::Settings, QStringLiteral("Ctrl+V 文書貼付"),
                                 QStringLiteral("ﾃｷｽﾄ(書式無し)で貼付")));

    // Features this program does not offer from these menus.
    setShown(action(PopupMenu::Insert, QStringLiteral("ﾂｰﾙﾁｯﾌﾟ(&T)")), false);
    setShown(action(PopupMenu::Edit, QStringLiteral("他のﾍﾟｰｼﾞを参照")), false);
    setShown(action(PopupMenu::Edit, QStringLiteral("整形")), false);
    prepareObjectMenu({});
}

PopupMenus::~PopupMenus() = default;

QMenu* PopupMenus::menu(PopupMenu which) const
{
    return m_menus[int(which)].get();
}

QAction* PopupMenus::action(PopupMenu which, const QString& caption, const QString& child) const
{
    for (QAction* item : menu(which)->actions()) {
        if (item->text() != caption || item->isSeparator())
            continue;
        if (child.isEmpty())
            return item;
        if (!item->menu())
            return nullptr;
        for (QAction* sub : item->menu()->actions()) {
            if (sub->text() == child)
                return sub;
        }
        return nullptr;
    }
    return nullptr;
}

QAction* PopupMenus::repeatItem() const
{
    return itemAt(menu(PopupMenu::Edit), 1);
}

void PopupMenus::applyDocumentType(int type)
{
    QMenu* format = menu(PopupMenu::Format);
    for (int i = 0; i <= kStyleItemCount; ++i) { // the style items and the separator after them
        if (i != kBodyStyleItem)
            setShown(itemAt(format, i), type >= 1);
    }
    setShown(action(PopupMenu::Settings, QStringLiteral("ﾕｰｻﾞｰｽﾀｲﾙ")), type >= 1);
    for (const char16_t* caption : {u"文書(&D)", u"ﾍｯﾀﾞｰ", u"ﾌｯﾀｰ", u"ﾍﾟｰｼﾞ番号"})
        setShown(action(PopupMenu::Insert, QString::fromUtf16(caption)), type != 4);
    setShown(action(PopupMenu::Insert, QStringLiteral("ﾀｸﾞ(&G)")), type == -2);

    QMenu* insert = menu(PopupMenu::Insert);
    QAction* inlineFrame = action(PopupMenu::Insert, QStringLiteral("ｲﾝﾗｲﾝﾌﾚｰﾑ"));
    const int inlineIndex = int(insert->actions().indexOf(inlineFrame));
    for (QAction* item : {itemAt(insert, inlineIndex - 1), inlineFrame,
                          action(PopupMenu::Insert, QStringLiteral("javascript"))})
        setShown(item, type >= 2);
}

void PopupMenus::prepareObjectMenu(const ObjectMenuContext& context)
{
    const ObjectMenuLook look = objectMenuLook(context);
    QMenu* object = menu(PopupMenu::Object);
    for (int item = 0; item < kObjectItemCount; ++item)
        setShown(itemAt(object, item), look.shown[item]);
    for (int item : {kObjectEditItem, kObjectChosenFileLink, kObjectPropertiesItem})
        itemAt(object, item)->setEnabled(look.pictureItems);
    itemAt(object, kObjectOwnFileLink)->setEnabled(look.ownFileLink);
    aimCopyItem(itemAt(object, kObjectCopyBeforeItem), look.copyBefore, context.preceding);
    aimCopyItem(itemAt(object, kObjectCopyAfterItem), look.copyAfter, context.following);
}

void PopupMenus::prepareInsertMenu(int headerFooterFlags, bool editingHeaderOrFooter)
{
    const std::pair<const char16_t*, const char16_t*> items[] = {
        {u"ﾍｯﾀﾞｰ", u"各頁"}, {u"ﾍｯﾀﾞｰ", u"先頭頁"}, {u"ﾌｯﾀｰ", u"各頁"}, {u"ﾌｯﾀｰ", u"先頭頁"}};
    int flag = 1;
    for (const auto& [caption, child] : items) {
        if (QAction* item = action(PopupMenu::Insert, QString::fromUtf16(caption), QString::fromUtf16(child)))
            item->setChecked(headerFooterFlags & flag);
        flag *= 2;
    }
    action(PopupMenu::Insert, kPageNumberItem)->setEnabled(editingHeaderOrFooter);
}

void PopupMenus::choose(QAction* action, bool checked)
{
    const auto route = action->data().value<ItemRoute>();
    QVariant argument = route.argument;
    if (route.toggles)
        argument = checked ? route.argument.toInt() : -route.argument.toInt();
    switch (route.route) {
    case Route::OwnCaption:
        emit captionChosen(action->text(), argument);
        break;
    case Route::FixedCaption:
        emit captionChosen(route.caption, argument);
        break;
    case Route::Direct:
        emit commandChosen(route.job, argument);
        break;
    }
}

} // namespace dialogs
