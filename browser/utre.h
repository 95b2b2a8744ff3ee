#pragma once
// The document-database tree: a drive list, a folder list and a file list
// showing one folder of the database. It tells the host which document the
// user picked, notices changes made by other programs, and offers the file
// operations of its pop-up menus.

#include "browser/fileclipboard.h"
#include "browser/folderstamp.h"
#include "browser/namepatterns.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>

class QLineEdit;
class QListView;
class QModelIndex;
class QSplitter;
class QToolButton;

namespace browser {

class DriveList;
class FileListModel;
class FolderList;
class spTrE;

class uTrE : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCheckIntervalMs = 1500;

    explicit uTrE(QWidget* parent = nullptr);

    // Starts the tree on folder or file `sPh` with the file-list pattern
    // `sFt` ("*.*") and the document patterns `sFtS` ("*.htm;*.html;*.rtf").
    // A file path selects that file, a folder path the first file.
    void cOn(const QString& sPh, const QString& sFt = {}, const QString& sFtS = {});
    // 0: the shown folder; 1: the same ending in "/"; 2 and above: the
    // highlighted folder of the folder list.
    QString GetPth(int iTyp = 0) const;
    // Full path of the selected current file, or "".
    QString GetFile() const;
    // Selects file `sFL` (exact name first, else ignoring case) as a click does.
    void SetFile(const QString& sFL);
    // Tab-separated full paths of the listed files (only the selected ones with bChk).
    QString sGetFls(bool bChk = false) const;
    // Shows folder `sPh`; a path that is no folder changes nothing. No event.
    void SetPth(const QString& sPh);
    // Reads the folder again now and selects `sFL` when given.
    void UdtFld(const QString& sFL = {});
    // Height of the folder pane in twips.
    int DirHi() const;
    void setDirHi(int twips);
    // Clears the file selection.
    void NoSelc();

    // True while the tree changes its own lists; list events are ignored then.
    bool isBusy() const { return m_busy; }
    // Whether `fileName` matches the document patterns.
    bool IsDocFile(const QString& fileName) const { return m_documents.matches(fileName); }

signals:
    // A document was picked (its full path), or "" after a file operation.
    void eStFile(const QString& path);
    void eSelect();
    // The user showed another folder.
    void eCngDr(const QString& path);

private:
    class Busy;

    void buildPanes();
    void connectEvents();
    bool showFolder(const QString& folder);
    void refresh(bool force, const QString& reselect = {});
    void restoreSelection(const QStringList& selectedNames, int formerRow, const QString& reselect);
    bool selectNames(const QStringList& names);
    void selectRow(int row);
    int currentRow() const;
    QString pathOfRow(int row) const;
    QStringList selectedPaths() const;

    void openFolder(const QString& folder);
    void pickFolder();
    void fileClicked();
    void fileActivated();
    void showFileMenu(const QPoint& position);
    void showFolderMenu(const QPoint& position);
    void runFileItem(int index);
    void putOnClipboard(DropEffect effect);
    void pasteFiles();
    void trashFiles();
    void renameFile();
    void createDocument();
    void afterFileOperation(const QStringList& select);

    DriveList* m_drives = nullptr;
    QToolButton* m_pick = nullptr;
    QLineEdit* m_path = nullptr;
    FolderList* m_folders = nullptr;
    QListView* m_files = nullptr;
    FileListModel* m_model = nullptr;
    QSplitter* m_panes = nullptr;
    spTrE* m_menus = nullptr;

    QTimer m_check;
    QFileSystemWatcher m_watcher;
    QTimer m_watchDelay;
    FolderStamp m_stamp;
    NamePatterns m_listPatterns;
    NamePatterns m_documents;
    QStringList m_subfolders;
    bool m_busy = false;
    QString m_pickedByClick;
    QElapsedTimer m_pickTime;
};

} // namespace browser
