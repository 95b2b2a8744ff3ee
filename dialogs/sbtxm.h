#pragma once
// sbTxm: the editor's settings dialog frame and menu holder — opens one page
// by its code, applies it on OK, and turns its pop-up menu items into editor
// commands.

#include "dialogs/commandtranslator.h"
#include "dialogs/pagecodes.h"
#include "dialogs/settingspage.h"

#include <QDialog>
#include <map>
#include <QVariant>
#include <memory>

class QPushButton;
class QWidget;

namespace dialogs {

class PopupMenus;

// How Act ended.
enum class PageResult {
    NoPage,    // the code has no page built: nothing was shown
    Cancelled, // shown and closed without applying
    Applied,   // shown and applied with OK
};

class sbTxm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidthTwips = 7300;
    static constexpr int kHeightTwips = 2700;

    explicit sbTxm(QWidget* parent = nullptr);
    ~sbTxm() override;

    void cOn(engine::TextEngine* vTx);
    void cOff();
    void cTyp(int iTy);

    // Opens the dialog on page `code` and returns when it closes; "LK_OBJ"
    // and "RP" come back as "LK" and "FD". `result` goes in as the page's
    // request and comes back as its answer ("" unless the page was applied).
    // A code whose page is not built opens nothing.
    PageResult Act(QString& code, QString& result);
    // Runs the redo/repeat item as if it had been chosen; nothing when it is disabled.
    void RepertJb();

    // Makes `page` the page of `code` (a normalised code).
    void addPage(const QString& code, std::unique_ptr<SettingsPage> page);

    PopupMenus& menus() const { return *m_menus; }
    // The command chosen last in a pop-up menu (0 for none) and its argument.
    int command() const { return m_command.job; }
    QVariant commandArgument() const { return m_command.argument; }
    QString pageCode() const { return m_pageCode; }
    int documentType() const { return m_documentType; }
    engine::TextEngine* engine() const { return m_engine; }

    // The dialog's place, in pixels at `dpi`, centred on `mainWindow`: the
    // frame's fixed size, or `atLeast` where that is larger.
    static QRect placement(const QRect& mainWindow, double dpi, const QSize& atLeast = {});

signals:
    // A pop-up menu item asks the editor to run `job`.
    void commandChosen(int job, const QVariant& argument);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void chooseCaption(const QString& caption, const QVariant& argument);
    void chooseCommand(const MenuCommand& command);
    void pressOk();
    void showOnly(SettingsPage* page);
    void placeOverMainWindow();

    PopupMenus* m_menus = nullptr;
    CommandTranslator m_translator;
    MenuCommand m_command;
    std::map<QString, std::unique_ptr<SettingsPage>> m_pages;
    SettingsPage* m_current = nullptr;
    QWidget* m_pageArea = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    engine::TextEngine* m_engine = nullptr;
    QString m_pageCode;
    QString m_result;
    int m_documentType = 0;
};

} // namespace dialogs
