#pragma once
// PictureLayoutPage: the settings dialog's page "画像ﾚｲｱｳﾄの既定値" — how
// inserted pictures sit in the text by default, and how pasted pictures are
// reduced in colour.
//
// The page exchanges two digits with the editor: the layout code (1
// "文字位置", 2 "左寄せ", 3 "右寄せ", 4 "ﾌﾛｰﾄ") and the colour code (0 none,
// 1 256 colours, 2 8-bit grey).

#include "dialogs/settingspage.h"

#include <array>
#include <memory>

class QButtonGroup;
class QRadioButton;

namespace dialogs {

class PictureLayoutPage : public SettingsPage {
public:
    static constexpr int kLayouts = 4;
    static constexpr int kColours = 3;

    PictureLayoutPage();
    ~PictureLayoutPage() override;

    QWidget* frame() override;
    QWidget* focusControl() override;
    // A layout code outside 1–4 selects the editor's default for the document
    // type (1 below type 0, else 2); a colour code outside 0–2 selects none.
    void fill(const PageContext& context, const QString& request) override;
    bool apply(QString& result) override;

    // The controls, for the dialog's tests.
    QRadioButton* layoutOption(int index) const { return m_layouts.at(size_t(index)); }
    QRadioButton* colourOption(int index) const { return m_colours.at(size_t(index)); }

private:
    std::unique_ptr<QWidget> m_frame;
    std::array<QRadioButton*, kLayouts> m_layouts{};
    std::array<QRadioButton*, kColours> m_colours{};
    QButtonGroup* m_layoutGroup = nullptr;
    QButtonGroup* m_colourGroup = nullptr;
};

} // namespace dialogs
