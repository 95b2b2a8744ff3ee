#pragma once
// DisplayPage: the settings dialog's page "表示設定" — the engine's view mode
// (page centring or normal) and its zoom (fixed percentages, fitted to the
// editor window, or typed).

#include "dialogs/settingspage.h"

#include <QSizeF>
#include <array>
#include <functional>
#include <memory>

class QButtonGroup;
class QLineEdit;
class QRadioButton;

namespace dialogs {

// What the page needs of the editor that opens it.
struct DisplayHost {
    std::function<QSizeF()> windowTwips;           // the editor window's extent
    std::function<void(int mode, int zoom)> store; // keeps the view in the settings
};

class DisplayPage : public SettingsPage {
public:
    static constexpr int kViewOptions = 2; // index = view mode / 2
    static constexpr int kZoomOptions = 8; // in ZoomOption order

    explicit DisplayPage(DisplayHost host);
    ~DisplayPage() override;

    QWidget* frame() override;
    QWidget* focusControl() override;
    void fill(const PageContext& context, const QString& request) override;
    // Sets the engine's view mode and zoom and stores them.
    bool apply(QString& result) override;

    // The controls, for the dialog's tests.
    QRadioButton* viewOption(int index) const { return m_view.at(size_t(index)); }
    QRadioButton* zoomOption(int index) const { return m_zoom.at(size_t(index)); }
    QLineEdit* zoomBox() const { return m_zoomBox; }

private:
    std::unique_ptr<QWidget> m_frame;
    std::array<QRadioButton*, kViewOptions> m_view{};
    std::array<QRadioButton*, kZoomOptions> m_zoom{};
    QButtonGroup* m_viewGroup = nullptr;
    QButtonGroup* m_zoomGroup = nullptr;
    QLineEdit* m_zoomBox = nullptr;
    DisplayHost m_host;
    engine::TextEngine* m_engine = nullptr;
};

} // namespace dialogs
