#pragma once
// The tree's two pop-up menus: "ﾌｫﾙﾀﾞ" for the folder list and "ﾌｧｲﾙ" for
// the file list, with their items at fixed indexes.

#include <QObject>
#include <array>

class QAction;
class QMenu;
class QWidget;

namespace browser {

class spTrE : public QObject {
    Q_OBJECT
public:
    // Indexes of `mnFile`; 3 and 6 are separators.
    enum FileItem { Cut = 0, Copy = 1, Paste = 2, Delete = 4, Rename = 5, NewFile = 7 };
    // Index of `mnFld`.
    enum FolderItem { Explore = 0 };

    explicit spTrE(QWidget* parent);

    QMenu* folderMenu() const { return m_folder; }
    QMenu* fileMenu() const { return m_file; }
    QAction* mnFile(int index) const;

    // Enables cut, copy, delete and rename when a file is selected (bFL) and
    // paste when the clipboard holds files to paste (bCp).
    void SetFmnu(bool bFL, bool bCp);

signals:
    void fileChosen(int index);
    void folderChosen(int index);

private:
    static constexpr int kFileItems = 8;

    QMenu* m_folder = nullptr;
    QMenu* m_file = nullptr;
    std::array<QAction*, kFileItems> m_fileItems{};
};

} // namespace browser
