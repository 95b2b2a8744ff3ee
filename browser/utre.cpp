#include "browser/utre.h"

#include "browser/drivelist.h"
#include "browser/filelistmodel.h"
#include "browser/fileoperations.h"
#include "browser/folderlist.h"
#include "browser/folderlisting.h"
#include "browser/sptre.h"
#include "env/globals.h"
#include "env/mclt.h"
#include "env/openguard.h"
#include "env/shell.h"
#include "env/yini.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>

namespace browser {

namespace {

// Changes reported by the file-system watcher are gathered this long, so a
// burst of them costs one reading of the folder.
constexpr int kWatchDelayMs = 150;
constexpr int kPaneDir = 2;
constexpr int kPaneFile = 3;

// A splitter pane named as the layout names it, holding one control.
QWidget* pane(const QString& name, QWidget* content)
{
    auto* holder = new QWidget;
    holder->setObjectName(name);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    return holder;
}

} // namespace

// Marks the tree busy for one change of its own lists and restores the
// previous state afterwards, so nested changes stay busy until the outer ends.
class uTrE::Busy {
public:
    explicit Busy(bool& flag) : m_flag(flag), m_before(flag) { m_flag = true; }
    ~Busy() { m_flag = m_before; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    bool& m_flag;
    bool m_before;
};

uTrE::uTrE(QWidget* parent) : QWidget(parent)
{
    buildPanes();
    connectEvents();
    m_check.setInterval(kCheckIntervalMs);
    m_watchDelay.setSingleShot(true);
    m_watchDelay.setInterval(kWatchDelayMs);
}

void uTrE::buildPanes()
{
    m_drives = new DriveList;
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_pick = new QToolButton;
    m_pick->setObjectName(QStringLiteral("cmRet"));
    m_pick->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_pick->setToolTip(QStringLiteral("ﾌｫﾙﾀﾞの指定"));
    auto* driveRow = new QWidget;
    auto* row = new QHBoxLayout(driveRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(m_drives, 1);
    row->addWidget(m_pick);

    m_path = new QLineEdit;
    m_path->setReadOnly(true);
    m_path->setFrame(false);
    m_path->setFocusPolicy(Qt::ClickFocus);

    m_folders = new FolderList;
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setContextMenuPolicy(Qt::CustomContextMenu);

    m_model = new FileListModel(this);
    m_files = new QListView;
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setModel(m_model);
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_files->setUniformItemSizes(true);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    m_files->setIconSize(QSize(iconSize, iconSize));
    m_files->setContextMenuPolicy(Qt::CustomContextMenu);

    m_panes = new QSplitter(Qt::Vertical);
    m_panes->setChildrenCollapsible(false);
    m_panes->addWidget(pane(QStringLiteral("pDrive"), driveRow));
    m_panes->addWidget(pane(QStringLiteral("pImg"), m_path));
    m_panes->addWidget(pane(QStringLiteral("pDir"), m_folders));
    m_panes->addWidget(pane(QStringLiteral("pFile"), m_files));
    // The drive row and the path line keep their height; folders and files share the rest.
    for (int fixed = 0; fixed < kPaneDir; ++fixed)
        m_panes->widget(fixed)->setMaximumHeight(m_panes->widget(fixed)->sizeHint().height());
    m_panes->setStretchFactor(kPaneDir, 1);
    m_panes->setStretchFactor(kPaneFile, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panes);

    m_menus = new spTrE(this);
}

void uTrE::connectEvents()
{
    connect(m_drives, &DriveList::driveChosen, this, &uTrE::openFolder);
    connect(m_folders, &FolderList::opened, this, &uTrE::openFolder);
    connect(m_pick, &QToolButton::clicked, this, &uTrE::pickFolder);
    connect(m_files, &QListView::clicked, this, &uTrE::fileClicked);
    connect(m_files, &QListView::activated, this, &uTrE::fileActivated);
    connect(m_files, &QListView::customContextMenuRequested, this, &uTrE::showFileMenu);
    connect(m_folders, &FolderList::customContextMenuRequested, this, &uTrE::showFolderMenu);
    connect(m_menus, &spTrE::fileChosen, this, &uTrE::runFileItem);
    connect(m_menus, &spTrE::folderChosen, this, [this] {
        env::gxIni().W_ExpFd(m_folders->highlighted(), false);
    });
    connect(&m_check, &QTimer::timeout, this, [this] { refresh(false); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!m_watchDelay.isActive())
            m_watchDelay.start();
    });
    connect(&m_watchDelay, &QTimer::timeout, this, [this] { refresh(true); });
}

// ---- public operations -------------------------------------------------

void uTrE::cOn(const QString& sPh, const QString& sFt, const QString& sFtS)
{
    if (!sFt.isEmpty())
        m_listPatterns = NamePatterns(sFt);
    m_documents = NamePatterns(sFtS);
    const Busy busy(m_busy);
    m_check.start();
    if (sPh.isEmpty())
        return;
    const QFileInfo info(sPh);
    if (info.isDir()) {
        if (showFolder(sPh))
            selectRow(0);
        return;
    }
    if (!showFolder(info.absolutePath()))
        return;
    const QString name = info.fileName();
    const int row = name.contains(u'.') ? static_cast<int>(m_model->names().indexOf(name)) : -1;
    selectRow(row >= 0 ? row : 0);
    if (row >= 0)
        m_files->scrollTo(m_model->index(row), QAbstractItemView::PositionAtTop);
}

QString uTrE::GetPth(int iTyp) const
{
    if (iTyp >= 2)
        return m_folders->highlighted();
    const QString folder = m_folders->folder();
    return iTyp == 1 && !folder.isEmpty() ? mClt::withSlash(folder) : folder;
}

QString uTrE::GetFile() const
{
    return pathOfRow(currentRow());
}

void uTrE::SetFile(const QString& sFL)
{
    const int row = m_model->rowOf(QFileInfo(sFL).fileName());
    if (row < 0)
        return;
    {
        const Busy busy(m_busy);
        selectRow(row);
    }
    fileClicked();
}

QString uTrE::sGetFls(bool bChk) const
{
    QStringList paths;
    if (bChk) {
        paths = selectedPaths();
    } else {
        for (int row = 0; row < m_model->rowCount(); ++row)
            paths << pathOfRow(row);
    }
    return paths.join(u'\t');
}

void uTrE::SetPth(const QString& sPh)
{
    const Busy busy(m_busy);
    showFolder(sPh);
}

void uTrE::UdtFld(const QString& sFL)
{
    refresh(true, sFL);
}

int uTrE::DirHi() const
{
    return qRound(m_panes->sizes().value(kPaneDir) * env::twipsPerPixelY());
}

void uTrE::setDirHi(int twips)
{
    QList<int> sizes = m_panes->sizes();
    const int wanted = qMax(0, qRound(twips / env::twipsPerPixelY()));
    sizes[kPaneFile] = qMax(0, sizes[kPaneFile] + sizes[kPaneDir] - wanted);
    sizes[kPaneDir] = wanted;
    m_panes->setSizes(sizes);
}

void uTrE::NoSelc()
{
    const Busy busy(m_busy);
    m_files->selectionModel()->clear();
}

// ---- lists ---------------------------------------------------------------

bool uTrE::showFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    m_drives->selectDriveOf(path);
    m_stamp.take(path);
    FolderContent content = readFolder(path, m_listPatterns);
    m_subfolders = content.subfolders;
    m_folders->showFolder(m_drives->rootOf(path), path, m_subfolders);
    m_model->setNames(content.files, m_documents);
    m_path->setText(path);
    m_path->setToolTip(path);
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_watcher.addPath(path);
    return true;
}

// Reads the shown folder again when forced or when its stamp changed, and
// keeps the selection: by name, so files appearing before it do not shift it;
// by row when the selected files are gone, so the next one becomes current.
void uTrE::refresh(bool force, const QString& reselect)
{
    const QString folder = m_folders->folder();
    if (m_busy || folder.isEmpty() || (!force && !m_stamp.changed(folder)))
        return;
    if (!QFileInfo(folder).isDir())
        return;   // vanished: keep what is shown, as for any invalid path
    const Busy busy(m_busy);
    m_stamp.take(folder);
    const FolderContent content = readFolder(folder, m_listPatterns);
    const QStringList& subfolders = content.subfolders;
    if (subfolders != m_subfolders) {
        const QString highlighted = m_folders->highlighted();
        m_subfolders = subfolders;
        m_folders->showFolder(m_drives->rootOf(folder), folder, m_subfolders);
        m_folders->highlight(highlighted);
    }
    const QStringList& names = content.files;
    if (names == m_model->names() && reselect.isEmpty())
        return;
    const QModelIndex current = m_files->currentIndex();
    const int formerRow = current.isValid() ? current.row() : -1;
    QStringList selectedNames;
    for (const QModelIndex& index : m_files->selectionModel()->selectedRows())
        selectedNames << m_model->names().value(index.row());
    const QString currentName = m_model->names().value(formerRow);
    if (selectedNames.removeOne(currentName))
        selectedNames.prepend(currentName);
    const int scroll = m_files->verticalScrollBar()->value();
    m_model->setNames(names, m_documents);
    m_files->verticalScrollBar()->setValue(scroll);
    restoreSelection(selectedNames, formerRow, reselect);
}

void uTrE::restoreSelection(const QStringList& selectedNames, int formerRow, const QString& reselect)
{
    if (!reselect.isEmpty()) {
        const int row = m_model->rowOf(QFileInfo(reselect).fileName());
        if (row >= 0) {
            selectRow(row);
            return;
        }
    }
    if (selectNames(selectedNames) || selectedNames.isEmpty() || formerRow < 0)
        return;
    if (m_model->rowCount() > 0)
        selectRow(qMin(formerRow, m_model->rowCount() - 1));
}

// Selects the listed files that are there, the first of them current.
bool uTrE::selectNames(const QStringList& names)
{
    QItemSelection selection;
    for (const QString& name : names) {
        const int row = m_model->rowOf(name);
        if (row >= 0)
            selection.select(m_model->index(row), m_model->index(row));
    }
    if (selection.isEmpty())
        return false;
    m_files->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_files->selectionModel()->setCurrentIndex(selection.first().topLeft(), QItemSelectionModel::NoUpdate);
    return true;
}

void uTrE::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row);
    m_files->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_files->scrollTo(index);
}

// The current row counts only while it is selected: with several files
// selectable, the cursor can rest on a file that is not picked.
int uTrE::currentRow() const
{
    const QModelIndex index = m_files->currentIndex();
    return index.isValid() && m_files->selectionModel()->isSelected(index) ? index.row() : -1;
}

QString uTrE::pathOfRow(int row) const
{
    if (row < 0 || row >= m_model->rowCount())
        return {};
    return GetPth(1) + m_model->names()[row];
}

QStringList uTrE::selectedPaths() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_files->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QStringList paths;
    for (const int row : rows)
        paths << pathOfRow(row);
    return paths;
}

// ---- user events -------------------------------------------------------

void uTrE::openFolder(const QString& folder)
{
    if (m_busy)
        return;
    {
        const Busy busy(m_busy);
        if (!showFolder(folder))
            return;
    }
    emit eCngDr(GetPth());
}

// A cancelled picker changes nothing and tells the host nothing.
void uTrE::pickFolder()
{
    if (m_busy)
        return;
    const QString chosen = env::BrowseFld(GetPth());
    if (chosen.isEmpty())
        return;
    openFolder(chosen);
}

void uTrE::fileClicked()
{
    const QString path = GetFile();
    if (m_busy || path.isEmpty() || !IsDocFile(QFileInfo(path).fileName()))
        return;
    m_pickedByClick = path;
    m_pickTime.start();
    emit eStFile(path);
}

// A double click opens what its own first click has not already picked:
// documents go to the host, other files to their associated program once
// the guard has judged them (programs only when the user agrees).
void uTrE::fileActivated()
{
    const QString path = GetFile();
    if (m_busy || path.isEmpty())
        return;
    if (!IsDocFile(QFileInfo(path).fileName())) {
        env::OpenGuard().openFile(path);
        return;
    }
    const bool justPicked = path == m_pickedByClick && m_pickTime.isValid()
                            && m_pickTime.elapsed() < 2 * QApplication::doubleClickInterval();
    if (!justPicked)
        emit eStFile(path);
}

void uTrE::showFileMenu(const QPoint& position)
{
    if (m_busy)
        return;
    m_menus->SetFmnu(currentRow() >= 0, FileClipboard::canPaste());
    m_menus->fileMenu()->popup(m_files->viewport()->mapToGlobal(position));
}

void uTrE::showFolderMenu(const QPoint& position)
{
    if (m_busy)
        return;
    m_menus->folderMenu()->popup(m_folders->viewport()->mapToGlobal(position));
}

void uTrE::runFileItem(int index)
{
    if (m_busy)
        return;
    switch (index) {
    case spTrE::Cut: putOnClipboard(DropEffect::Move); break;
    case spTrE::Copy: putOnClipboard(DropEffect::Copy); break;
    case spTrE::Paste: pasteFiles(); break;
    case spTrE::Delete: trashFiles(); break;
    case spTrE::Rename: renameFile(); break;
    case spTrE::NewFile: createDocument(); break;
    default: break;
    }
}

// ---- file operations ---------------------------------------------------

void uTrE::putOnClipboard(DropEffect effect)
{
    const QStringList paths = selectedPaths();
    if (!paths.isEmpty())
        FileClipboard::put(paths, effect);
}

void uTrE::pasteFiles()
{
    const auto files = FileClipboard::read();
    if (!files || files->effect == DropEffect::None)
        return;
    QStringList arrived;
    {
        const Busy busy(m_busy);
        arrived = FileOperations(this).paste(*files, GetPth());
    }
    if (!arrived.isEmpty())
        afterFileOperation(arrived);
}

// The file that takes the deleted one's place becomes current and is shown.
void uTrE::trashFiles()
{
    const QStringList paths = selectedPaths();
    bool moved = false;
    {
        const Busy busy(m_busy);
        moved = FileOperations(this).moveToTrash(paths);
    }
    if (!moved)
        return;
    afterFileOperation({});
    fileClicked();
}

void uTrE::renameFile()
{
    const QString path = GetFile();
    if (path.isEmpty())
        return;
    QString renamed;
    {
        const Busy busy(m_busy);
        renamed = FileOperations(this).rename(path);
    }
    if (!renamed.isEmpty())
        refresh(true, renamed);
}

// A new document is created, selected and picked, ready to be written.
void uTrE::createDocument()
{
    if (GetPth().isEmpty())
        return;
    QString created;
    {
        const Busy busy(m_busy);
        created = FileOperations(this).createDocument(GetPth(), m_documents);
    }
    if (created.isEmpty())
        return;
    refresh(true, created);
    fileClicked();
}

// The host has no document picked any more; the lists show the result.
void uTrE::afterFileOperation(const QStringList& select)
{
    emit eStFile(QString());
    refresh(true);
    selectNames(select);
}

} // namespace browser
