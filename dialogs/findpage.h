#pragma once
// FindPage: the settings dialog's page "検索･置換" — a tab strip over three
// panels: find, replace, and replace with formatted text. It has no OK; the
// user closes the dialog when done. The search boxes share one history and
// the replacement box has its own, the newest text first.

#include "dialogs/findsession.h"
#include "dialogs/settingspage.h"

#include <QString>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTabBar;

namespace engine {
class EngineView;
class TextEngine;
}

namespace dialogs {

class Frmt;

class FindPage : public SettingsPage {
public:
    enum Panel { FindPanel = 0, ReplacePanel = 1, FormattedPanel = 2 };
    // The buttons of a panel: find from the top, back and on; replace one,
    // replace all and search on.
    enum FindButton { FromTop = 0, Backward = 1, Next = 2 };
    enum ReplaceButton { ReplaceOne = 0, ReplaceAll = 1, ReplaceNext = 2 };
    enum Conversion { FullWidth = 0, HalfWidth, Upper, Lower, Proper };
    static constexpr int kHistoryLength = 20;

    // `formats` gives the formatted box the body format; it outlives the page.
    explicit FindPage(const Frmt& formats);
    ~FindPage() override;

    QWidget* frame() override;
    QWidget* focusControl() override;
    void fill(const PageContext& context, const QString& request) override;
    bool apply(QString& result) override;

    // The controls, for the dialog's tests.
    QTabBar* tabs() const { return m_tabs; }
    int currentPanel() const;
    QComboBox* searchBox(Panel panel) const { return m_search.at(panel); }
    QComboBox* replacementBox() const { return m_replacement; }
    QCheckBox* matchCaseBox(Panel panel) const { return m_matchCase.at(panel); }
    QCheckBox* ignoreWidthBox(Panel panel) const { return m_ignoreWidth.at(panel); }
    QCheckBox* ignoreKanaBox(Panel panel) const { return m_ignoreKana.at(panel); }
    QPushButton* findButton(FindButton which) const { return m_findButtons.at(which); }
    QPushButton* replaceButton(Panel panel, ReplaceButton which) const;
    QPushButton* conversionButton(Conversion which) const { return m_conversions.at(which); }
    QPushButton* undoButton(Panel panel) const;
    QPushButton* fontButton() const { return m_fontButton; }
    engine::TextEngine& formattedBox() const { return *m_box; }
    const FindSession& session() const { return m_session; }

private:
    QWidget* makeFindPanel();
    QWidget* makeReplacePanel();
    QWidget* makeFormattedPanel();
    QComboBox* makeSearchBox(int index);
    void addMatchBoxes(Panel panel, QGridLayout* grid, int row);
    QPushButton* makeUndoButton(Panel panel);
    void showPanel(int panel);

    int flags(Panel panel) const;
    void find(FindButton which);
    void replace(Panel panel, ReplaceButton which);
    Replacement replacement(Panel panel) const;
    void convert(Conversion which);
    void chooseBoxFont();
    void undo();
    void updateUndoButtons();
    void resetFormattedBox();

    const Frmt& m_formats;
    std::unique_ptr<engine::TextEngine> m_box; // before the frame: the box's view goes first
    std::unique_ptr<QWidget> m_frame;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_panels = nullptr;
    QStandardItemModel* m_searchHistory = nullptr;
    std::array<QComboBox*, 3> m_search{};
    QComboBox* m_replacement = nullptr;
    std::array<QCheckBox*, 3> m_matchCase{};
    std::array<QCheckBox*, 3> m_ignoreWidth{};
    std::array<QCheckBox*, 3> m_ignoreKana{};
    std::array<QPushButton*, 3> m_findButtons{};
    std::array<QPushButton*, 3> m_replaceButtons{};
    std::array<QPushButton*, 3> m_formattedButtons{};
    std::array<QPushButton*, 5> m_conversions{};
    std::array<QPushButton*, 2> m_undoButtons{};
    QPushButton* m_fontButton = nullptr;
    engine::EngineView* m_boxView = nullptr;
    engine::TextEngine* m_engine = nullptr;
    FindSession m_session;
};

// Puts `box`'s text first in its list unless the list has it already
// (letter case ignored); the oldest beyond FindPage::kHistoryLength go.
void rememberText(QComboBox& box);

} // namespace dialogs
