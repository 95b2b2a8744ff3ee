#pragma once
// The folder list: the path from the drive's root down to the shown folder,
// with the shown folder's sub-folders below it. A click highlights a folder;
// a double click or Enter opens it.

#include <QTreeWidget>

namespace browser {

class FolderList : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // Lists `folder` (below the drive root `root`) with its `subfolders`; the
    // shown folder becomes the highlighted one.
    void showFolder(const QString& root, const QString& folder, const QStringList& subfolders);
    const QString& folder() const { return m_folder; }
    // The folder under the cursor, which may not be open yet.
    QString highlighted() const;
    // Puts the cursor on the listed folder `path`; false when it is not listed.
    bool highlight(const QString& path);

signals:
    void opened(const QString& folder);

protected:
    // The list is always fully open: expand and collapse marks would only mislead.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    QTreeWidgetItem* addItem(QTreeWidgetItem* parent, const QString& text, const QString& path,
                             const QIcon& icon);

    QString m_folder;
};

} // namespace browser
