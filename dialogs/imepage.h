#pragma once
// ImePage: the settings dialog's page "IME･更新保存の設定" — whether the
// input method is switched on when a document opens, and what happens to an
// edited document when another one is opened.
//
// The page exchanges "IME value<TAB>update rule" with the editor: "ON" or
// "OFF", and "確認", "上書" or "無視".

#include "dialogs/settingspage.h"

#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QRadioButton;

namespace dialogs {

class ImePage : public SettingsPage {
public:
    static constexpr int kRules = 3;

    ImePage();
    ~ImePage() override;

    QWidget* frame() override;
    QWidget* focusControl() override;
    void fill(const PageContext& context, const QString& request) override;
    bool apply(QString& result) override;

    // The controls, for the dialog's tests.
    QCheckBox* imeBox() const { return m_ime; }
    QRadioButton* ruleOption(int index) const { return m_rules.at(size_t(index)); }

private:
    std::unique_ptr<QWidget> m_frame;
    QCheckBox* m_ime = nullptr;
    std::array<QRadioButton*, kRules> m_rules{};
    QButtonGroup* m_ruleGroup = nullptr;
};

} // namespace dialogs
