#pragma once
// The function-key bar at the bottom of a host form: a strip of keys bound to
// the form's menu items, a status panel and a progress bar. A pressed key runs
// its menu item through the host; each key follows its menu item's state.

#include "fkeys/keybindings.h"
#include "fkeys/keystrip.h"
#include "fkeys/parentindex.h"

#include <QWidget>

class QAction;
class QProgressBar;

namespace fkeys {

class FunctionKeyFilter;
class MenuHost;
class StatusPanel;

class uFky : public QWidget {
    Q_OBJECT
public:
    // The layout that draws the keys in three groups of four.
    static inline const QString kFullGroupLayout = QStringLiteral("4|4|4");

    explicit uFky(QWidget* parent = nullptr);

    // Starts the bar on `xFm` (not owned; it must outlive the bar or call cOff).
    void cOn(MenuHost* xFm, bool bFullGrp = false);
    void cOff();
    // Binds key `sFkY` ("F2", "C10") to menu item (iMn, iNdx) and captions it
    // "F2 <sCp>"; an empty tool tip takes the menu caption before its "(".
    void cKey(const QString& sFkY, int iMn, int iNdx, const QString& sCp, const QString& sTP = {});
    // Re-captions a key; a bound menu item takes `sCp` as its caption.
    void cCap(const QString& sFkY, const QString& sCp);
    // Builds the parent index from the host form's menu structure.
    void cKyS();
    // Enables (or, with bVsbl, shows) the menu items `sNdx` ("0.3.4") of group
    // iMnu, together with the keys bound to them and to the items below them.
    void SetEnb(int iMnu, const QString& sNdx, bool bCan, bool bVsbl = false);
    // Every bound key takes its menu item's enabled state.
    void SetEnbByMenu();
    // Enables or disables the keys named in `sFmn` ("f2,c3,"), in any letter case.
    void SetEnbKy(const QString& sFmn, bool bCan);
    // Shows the plain group "F".
    void SetDef();
    // Shows a message; fOpt 1, 2 and 4 pick the warning, question and error icons.
    void PanelTx(const QString& sTx, int fOpt = 0);
    // n >= 1 starts a progress display up to n in the panel's place; n < 1 ends it.
    void pbMax(int n);
    void pbVAL(int value);
    // Lays out strip and panel for the bar's size and ends any progress display.
    void StSize();

    const KeyBindings& bindings() const { return m_bindings; }
    KeyStrip* strip() const { return m_strip; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QAction* menuItem(const MenuCode& code) const;
    void pressKey(const KeyId& key);
    bool claims(const KeyId& key) const;
    void arrange();
    void runPendingEvents();
    QRect toPixels(const QRect& twips) const;

    MenuHost* m_host = nullptr;
    KeyBindings m_bindings;
    ParentIndex m_parents;
    KeyStrip* m_strip = nullptr;
    StatusPanel* m_panel = nullptr;
    QProgressBar* m_progress = nullptr;
    FunctionKeyFilter* m_keys = nullptr;
};

} // namespace fkeys
