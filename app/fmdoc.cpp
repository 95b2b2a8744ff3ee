#include "app/fmdoc.h"

#include "app/fkeytable.h"
#include "app/linkopener.h"
#include "app/mainmenubar.h"
#include "app/menutable.h"
#include "app/startup.h"
#include "browser/utre.h"
#include "editor/recoveryoffer.h"
#include "editor/utxm.h"
#include "engine/textengine.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/mclt.h"
#include "env/settingstext.h"
#include "env/shell.h"
#include "env/yini.h"
#include "fkeys/ufky.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace app {

namespace {

const QString kScreenGroup = QStringLiteral("TX_SCREEN");
const QString kShown = QStringLiteral("表示");
const QString kHidden = QStringLiteral("非表示");
const QString kTreeWidthKey = QStringLiteral("TREE_W");   // twips, 0 for the default width
const QString kDocumentPatterns = QStringLiteral("*.htm;*.html;*.rtf");
constexpr int kDocumentTypeHtml = 4;
constexpr int kDefaultTreeWidth = 2130;   // twips
constexpr int kHiddenTreeWidth = 30;      // twips
constexpr int kKeyStripHeight = 300;      // twips

int toPixelsX(int twips) { return static_cast<int>(std::lround(twips / env::twipsPerPixelX())); }
int toPixelsY(int twips) { return static_cast<int>(std::lround(twips / env::twipsPerPixelY())); }
// Window values are kept as single-precision numbers of twips.
QString twipsText(int pixels, double factor)
{
    return env::numberText(static_cast<float>(pixels * factor));
}

// A first start takes three quarters of the work area, centred.
QRect designGeometry()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const QSize size(area.width() * 3 / 4, area.height() * 3 / 4);
    return QRect(area.topLeft() + QPoint((area.width() - size.width()) / 2,
                                         (area.height() - size.height()) / 2),
                 size);
}

// The argument words of the table sub-menus, by array.
QString tableSubMenuText(const QString& array)
{
    if (array == QLatin1String("mnTins"))
        return QStringLiteral("表挿入");
    if (array == QLatin1String("mnTdel"))
        return QStringLiteral("表削除");
    if (array == QLatin1String("mnTslc"))
        return QStringLiteral("表選択");
    if (array == QLatin1String("mnProp"))
        return QStringLiteral("表属性");
    return {};
}

// `folder`, created when it is missing; "" (after telling the user) when it
// cannot be made.
QString existingFolder(const QString& folder)
{
    if (folder.isEmpty() || QDir().mkpath(folder))
        return folder;
    env::dialogs().inform(QStringLiteral("ﾌｫﾙﾀﾞ ") + folder + QStringLiteral(" を作成できません｡"));
    return {};
}

} // namespace

QString documentFromCommandLine(const QStringList& arguments)
{
    QString text = arguments.join(u' ');
    text.remove(u'"');
    const qsizetype tab = text.indexOf(u'\t');
    if (tab >= 0)
        text.truncate(tab);
    if (text.isEmpty() || !text.contains(u'/'))
        return {};
    const QFileInfo info(text);
    return info.isFile() ? info.absoluteFilePath() : QString();
}

fmDoc::fmDoc(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QApplication::applicationDisplayName());
    m_menus = new MainMenuBar(menuBar());
    buildPanes();
    connectEvents();
    setGeometry(designGeometry());
}

fmDoc::~fmDoc()
{
    // The editor empties its engine as it goes, after this window's own parts.
    disconnect(m_editor->GetObj(), nullptr, this, nullptr);
    if (m_keys)
        m_keys->cOff();
}

void fmDoc::buildPanes()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_treePane = new QWidget(m_splitter);
    m_treePane->setObjectName(QStringLiteral("pTrE"));
    auto* treeLayout = new QVBoxLayout(m_treePane);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    m_tree = new browser::uTrE(m_treePane);
    treeLayout->addWidget(m_tree);

    auto* right = new QWidget(m_splitter);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    m_editor = new editor::uTxm(right);
    m_editor->setNumberSource(this);
    m_editor->setObjectName(QStringLiteral("pTxm"));
    m_keys = new fkeys::uFky(right);
    m_keys->setObjectName(QStringLiteral("pFky"));
    m_keys->setFixedHeight(toPixelsY(kKeyStripHeight));
    rightLayout->addWidget(m_editor, 1);
    rightLayout->addWidget(m_keys);

    m_splitter->addWidget(m_treePane);
    m_splitter->addWidget(right);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({toPixelsX(kDefaultTreeWidth), width()});
    setCentralWidget(m_splitter);
}

void fmDoc::connectEvents()
{
    connect(m_menus, &MainMenuBar::itemChosen, this, &fmDoc::onItemChosen);
    connect(m_menus, &MainMenuBar::topMenuOpening, this, &fmDoc::onTopMenuOpening);
    connect(m_tree, &browser::uTrE::eStFile, this, &fmDoc::onDocumentPicked);
    connect(m_editor, &editor::uTxm::eAskSavePh, this, [this](QString* path) {
        *path = m_tree->GetPth(0);
    });
    connect(m_editor, &editor::uTxm::eSaveAs, this, &fmDoc::onSavedAs);
    connect(m_editor, &editor::uTxm::eClckLink, this, &fmDoc::onLinkClicked);
    connect(m_editor, &editor::uTxm::eRtAct, this, &fmDoc::onJobDone);
    connect(m_editor->GetObj(), &engine::TextEngine::changed, this, &fmDoc::refreshUndoItems);
}

const fkeys::MenuRegistry& fmDoc::menuItems() const
{
    return m_menus->registry();
}

void fmDoc::Act(const QStringList& arguments)
{
    m_menus->action(QStringLiteral("mnLocal"), 7)->setVisible(false);
    env::gbActing = true;
    readScreenSettings();
    takeCommandLine(arguments);
    SetFkeys(*m_keys, this);
    m_keys->cKyS();
    m_tree->cOn(m_folder, QStringLiteral("*.*"), kDocumentPatterns);
    m_editor->cOn(static_cast<qint32>(winId()), kDocumentTypeHtml);
    if (!env::gsWrkPh.isEmpty())
        m_editor->keepRecoveryCopy(env::gsWrkPh);
    if (!m_startFile.isEmpty())
        m_tree->SetFile(m_startFile);
    placeWindow();
    m_keys->StSize();
    m_menus->action(QStringLiteral("mnDisp"), 0)->setChecked(true);
    m_menus->action(QStringLiteral("mnDisp"), 1)->setChecked(m_showFkeys);
    ShowFky(m_showFkeys);
    env::gbActing = false;
    show();
    // The splitter shares out its width only once the window is laid out.
    if (nTreeW > 0)
        setTreePaneWidth(toPixelsX(nTreeW));
    QTimer::singleShot(0, this, &fmDoc::offerRecovery);
}

// What an earlier run lost is offered once the window is up and the program
// runs, so that the window is drawn behind the question.
void fmDoc::offerRecovery()
{
    if (env::gsWrkPh.isEmpty())
        return;
    if (const std::optional<QString> file = editor::offerLeftRecoveries(*m_editor, env::gsWrkPh))
        setWindowTitle(file->isEmpty() ? QApplication::applicationDisplayName() : *file);
}

void fmDoc::readScreenSettings()
{
    env::yIni& ini = env::gxIni();
    ini.GetGtx(kScreenGroup);
    m_left = std::max(0, ini.vGtVal(QStringLiteral("LEFT"), 0));
    m_top = std::max(0, ini.vGtVal(QStringLiteral("TOP"), 0));
    m_width = ini.vGtVal(QStringLiteral("WIDTH"), 0);
    m_height = ini.vGtVal(QStringLiteral("HEIGHT"), 0);
    const QString stored = ini.vGtVal(QStringLiteral("PATH"), QString());
    m_showFkeys = ini.vGtVal(QStringLiteral("FUNC"), kHidden) != kHidden;
    nTreeW = std::max(0, ini.vGtVal(kTreeWidthKey, 0));

    // A relative folder lies below the user data folder; a folder that is
    // gone, or none at all, falls back to the database root.
    const QString folder = QDir::isAbsolutePath(stored) ? stored : env::gsUsrPh + stored;
    m_folder = !stored.isEmpty() && QFileInfo(folder).isDir()
        ? mClt::withSlash(folder)
        : env::gsUsrPh + QStringLiteral("Doc/");
}

void fmDoc::takeCommandLine(const QStringList& arguments)
{
    const QString document = documentFromCommandLine(arguments);
    if (document.isEmpty())
        return;
    const QFileInfo info(document);
    m_folder = mClt::withSlash(info.absolutePath());
    m_startFile = info.fileName();
}

void fmDoc::placeWindow()
{
    if (m_width <= 0 || m_height <= 0)
        return;
    env::FitWorkArea(m_left, m_top, m_width, m_height);
    move(toPixelsX(m_left), toPixelsY(m_top));
    resize(toPixelsX(m_width), toPixelsY(m_height));
}

QString fmDoc::storedFolderText() const
{
    const QString folder = m_tree->GetPth(1);
    if (folder.startsWith(env::gsUsrPh, Qt::CaseInsensitive))
        return folder.mid(env::gsUsrPh.size());
    return folder;
}

// An edited document is never given up unasked: the update rule runs first,
// and a Cancel (or a save that failed) keeps the window and the document.
void fmDoc::SaveScreen()
{
    bool cancelled = false;
    m_editor->ChkUdt(cancelled);
    if (cancelled)
        return;
    m_editor->cOff();
    env::yIni& ini = env::gxIni();
    ini.GetGtx(kScreenGroup);
    ini.SetVal(QStringLiteral("LEFT"), twipsText(x(), env::twipsPerPixelX()));
    ini.SetVal(QStringLiteral("TOP"), twipsText(y(), env::twipsPerPixelY()));
    ini.SetVal(QStringLiteral("WIDTH"), twipsText(width(), env::twipsPerPixelX()));
    ini.SetVal(QStringLiteral("HEIGHT"), twipsText(height(), env::twipsPerPixelY()));
    ini.SetVal(QStringLiteral("PATH"), storedFolderText());
    ini.SetVal(QStringLiteral("FUNC"), m_showFkeys ? kShown : kHidden);
    ini.SetVal(kTreeWidthKey, QString::number(treeWidthTwips()));
    ini.SetGtx();
    EndPrg();
}

void fmDoc::closeEvent(QCloseEvent* event)
{
    if (!isEnding())
        SaveScreen();
    if (isEnding())
        event->accept();
    else
        event->ignore();
}

void fmDoc::ShowFky(bool bShow)
{
    m_showFkeys = bShow;
    m_menus->useKeyStripKeys(bShow);
    m_keys->setVisible(bShow);
    if (bShow)
        m_keys->StSize();
}

void fmDoc::ShowTree(bool bShow)
{
    if (bShow) {
        if (nTreeW == 0)
            nTreeW = kDefaultTreeWidth;
    } else {
        nTreeW = treeWidthTwips();
    }
    m_showTree = bShow;
    m_tree->setVisible(bShow);
    setTreePaneWidth(toPixelsX(bShow ? nTreeW : kHiddenTreeWidth));
}

// The tree pane's width as the user left it: kept while the tree is hidden.
int fmDoc::treeWidthTwips() const
{
    if (!m_showTree)
        return nTreeW;
    return static_cast<int>(std::lround(m_splitter->sizes().value(0) * env::twipsPerPixelX()));
}

void fmDoc::setTreePaneWidth(int pixels)
{
    const QList<int> sizes = m_splitter->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    m_splitter->setSizes({pixels, std::max(0, total - pixels)});
}

void fmDoc::fnMenu(int iMenu, int iNdx)
{
    app::fnMenu(*this, iMenu, iNdx);
}

void fmDoc::rtAct(int job, const QVariant& argument)
{
    m_editor->rtAct(job, argument);
}

void fmDoc::exploreHighlightedFolder()
{
    env::gxIni().W_ExpFd(m_tree->GetPth(2), false);
}

// The pane's own state decides, not the check mark: a checkable item has
// already flipped its mark when it was triggered.
void fmDoc::toggleDisplayItem(int index)
{
    const bool show = index == 1 ? !m_showFkeys : !m_showTree;
    m_menus->action(QStringLiteral("mnDisp"), index)->setChecked(show);
    if (index == 1)
        ShowFky(show);
    else
        ShowTree(show);
}

void fmDoc::refreshTree()
{
    m_tree->UdtFld();
}

void fmDoc::onItemChosen(const QString& array, int index)
{
    if (array == QLatin1String("mnOpnFd"))
        chooseDocumentFolder(index);
    else if (array == QLatin1String("mnPast"))
        rtAct(15, QStringList{QStringLiteral("TXT"), QStringLiteral("RTX"), QStringLiteral("PIC")}.value(index));
    else if (array == QLatin1String("mnChart"))
        rtAct(index == 0 ? 42 : 43, {});
    else if (array == QLatin1String("mnUser") && index == 7)
        env::gxIni().W_SendTo();
    else if (const QString sub = tableSubMenuText(array); !sub.isEmpty())
        app::fnMenu(*this, TableGroup, index, sub);
    else if (const int group = menuGroupOf(array); group >= 0)
        fnMenu(group, index);
}

void fmDoc::chooseDocumentFolder(int index)
{
    QString folder;
    if (index == 0)
        folder = env::BrowseFld(m_tree->GetPth());
    else if (index == 1)
        folder = existingFolder(env::gxIni().FsGtSpFld(5));
    else if (index == 2)
        folder = existingFolder(env::gsUsrPh + QStringLiteral("Doc"));
    if (!folder.isEmpty() && mClt::withSlash(folder) != m_tree->GetPth(1))
        m_tree->SetPth(folder);
}

void fmDoc::onTopMenuOpening(int topIndex)
{
    switch (topIndex) {
    case 0:
        m_menus->apply(fileMenuStates(m_editor->ChkJbMn0()));
        break;
    case 1:
        m_menus->apply(editMenuStates(m_editor->ChkJbMn1()));
        break;
    case 3:
        m_menus->apply(insertMenuStates(m_editor->ChkJbMn3()));
        break;
    case 5:
        m_menus->apply(tableMenuStates(m_editor->ChkJbMn5()));
        break;
    default:
        break;
    }
    m_keys->SetEnbByMenu();
}

void fmDoc::refreshUndoItems()
{
    m_menus->apply(undoMenuStates(m_editor->canUndo(), m_editor->canRedo()));
    m_keys->SetEnbByMenu();
}

// After a new document the caption no longer names the old one's file.
void fmDoc::onJobDone(int job)
{
    refreshUndoItems();
    if (job == 2 && m_editor->currentFile().isEmpty())
        setWindowTitle(QApplication::applicationDisplayName());
}

void fmDoc::onDocumentPicked(const QString& path)
{
    rtAct(3, path);
    setWindowTitle(path);
}

void fmDoc::onSavedAs(const QVariant& file)
{
    const QString path = file.toString();
    setWindowTitle(path);
    if (path.startsWith(m_tree->GetPth(1), Qt::CaseInsensitive))
        m_tree->UdtFld(path);
}

void fmDoc::onLinkClicked(const QString&, const QString&, const QString& name)
{
    openLink(name, QFileInfo(m_editor->currentFile()).absolutePath());
}

} // namespace app
