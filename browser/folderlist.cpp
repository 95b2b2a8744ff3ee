#include "browser/folderlist.h"

#include "browser/drives.h"

#include <QStyle>
#include <QTreeWidgetItemIterator>

namespace browser {

namespace {
constexpr int kPathRole = Qt::UserRole;
} // namespace

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setIndentation(fontMetrics().averageCharWidth() * 2);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString path = item->data(0, kPathRole).toString();
        if (path != m_folder)
            emit opened(path);
    });
}

QTreeWidgetItem* FolderList::addItem(QTreeWidgetItem* parent, const QString& text,
                                     const QString& path, const QIcon& icon)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setIcon(0, icon);
    item->setData(0, kPathRole, path);
    item->setToolTip(0, path);
    return item;
}

void FolderList::showFolder(const QString& root, const QString& folder, const QStringList& subfolders)
{
    clear();
    m_folder = folder;
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* item = addItem(nullptr, root, root, open);
    QString path = root;
    const QString below = isInside(folder, root) ? folder.mid(root.size()) : QString();
    for (const QString& part : below.split(u'/', Qt::SkipEmptyParts)) {
        path = path == u"/" ? path + part : path + u'/' + part;
        item = addItem(item, part, path, open);
    }
    const QString prefix = folder == u"/" ? folder : folder + u'/';
    for (const QString& name : subfolders)
        addItem(item, name, prefix + name, closed);
    expandAll();
    setCurrentItem(item);
    scrollToItem(item, QAbstractItemView::PositionAtTop);
}

QString FolderList::highlighted() const
{
    const QTreeWidgetItem* item = currentItem();
    return item ? item->data(0, kPathRole).toString() : m_folder;
}

bool FolderList::highlight(const QString& path)
{
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if ((*it)->data(0, kPathRole).toString() == path) {
            setCurrentItem(*it);
            return true;
        }
    }
    return false;
}

} // namespace browser
