#pragma once
// The main window: the document-database tree on the left, the editor on the
// right with the function-key strip below it, and the menu bar. It brings the
// program up, routes every menu choice and key to the editor, answers the
// editor's and the tree's events, and keeps its screen settings between runs.

#include "app/menurouter.h"
#include "editor/documentnumbering.h"
#include "fkeys/menuhost.h"

#include <QMainWindow>
#include <QString>

class QSplitter;

namespace browser {
class uTrE;
}
namespace editor {
class uTxm;
}
namespace fkeys {
class uFky;
}

namespace app {

class MainMenuBar;

class fmDoc : public QMainWindow, public MenuRouterHost, public fkeys::MenuHost, public editor::DocumentNumberSource {
    Q_OBJECT
public:
    explicit fmDoc(QWidget* parent = nullptr);
    ~fmDoc() override;

    // Brings the window up: screen settings, command line, keys, tree and
    // editor; shows it.
    void Act(const QStringList& arguments);
    // Unless the user keeps an edited document (the update question answered
    // Cancel, or its save failed), stores the screen settings and ends the program.
    void SaveScreen() override;
    void ShowFky(bool bShow);
    void ShowTree(bool bShow);

    // Menu routing, also used by the function keys.
    void fnMenu(int iMenu, int iNdx) override;
    QString formName() const override { return QStringLiteral("fmDoc"); }
    const fkeys::MenuRegistry& menuItems() const override;

    browser::uTrE* tree() const { return m_tree; }
    editor::uTxm* editor() const { return m_editor; }
    fkeys::uFky* keyBar() const { return m_keys; }
    MainMenuBar* menus() const { return m_menus; }
    // The document named on the command line ("" when none).
    QString startFile() const { return m_startFile; }
    bool functionKeysShown() const { return m_showFkeys; }
    bool treeShown() const { return m_showTree; }
    // The main window gives documents no numbers: a new document the editor
    // is told to save by number goes to the work folder's file.
    qint32 nTmpNo() const override { return 0; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // MenuRouterHost
    void rtAct(int job, const QVariant& argument) override;
    void exploreHighlightedFolder() override;
    void toggleDisplayItem(int index) override;
    void refreshTree() override;

    void buildPanes();
    void connectEvents();
    void readScreenSettings();
    void offerRecovery();
    void takeCommandLine(const QStringList& arguments);
    void placeWindow();
    QString storedFolderText() const;
    void onItemChosen(const QString& array, int index);
    void onTopMenuOpening(int topIndex);
    void chooseDocumentFolder(int index);
    void onJobDone(int job);
    void refreshUndoItems();
    int treeWidthTwips() const;
    void setTreePaneWidth(int pixels);
    void onDocumentPicked(const QString& path);
    void onSavedAs(const QVariant& file);
    void onLinkClicked(const QString& kind, const QString& text, const QString& name);

    QSplitter* m_splitter = nullptr;
    QWidget* m_treePane = nullptr;
    browser::uTrE* m_tree = nullptr;
    editor::uTxm* m_editor = nullptr;
    fkeys::uFky* m_keys = nullptr;
    MainMenuBar* m_menus = nullptr;
    QString m_folder;
    QString m_startFile;
    bool m_showFkeys = false;
    bool m_showTree = true;
    int nTreeW = 0;    // tree pane width in twips kept while the tree is hidden
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
};

// The document path of a command line: every double quote removed, cut at
// the first tab; "" unless it names an existing file.
QString documentFromCommandLine(const QStringList& arguments);

} // namespace app
