#pragma once
// LinkPage: the settings dialog's page "ﾘﾝｸ先の設定" — asks for a link's
// target and, for text links, its caption, with the target picked from a
// file, a favourite shortcut or the web browser's search page.
//
// The page exchanges "caption<TAB>target" with the editor. For an object
// link the caption box is hidden and the caption comes back as one blank.

#include "dialogs/settingspage.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dialogs {

// The address an Internet shortcut (".url") or a freedesktop link entry
// (".desktop", Type=Link) points to: the value of its first "URL=" line; ""
// when there is none.
QString shortcutTarget(const QString& contents);

class LinkPage : public SettingsPage {
public:
    // Shortcut files larger than this are not shortcuts; they are not read.
    static constexpr qint64 kMaxShortcutBytes = 64 * 1024;
    // The search page the browser button opens.
    static constexpr char kSearchPage[] = "https://duckduckgo.com/";

    LinkPage();
    ~LinkPage() override;

    QWidget* frame() override;
    QWidget* focusControl() override;
    void fill(const PageContext& context, const QString& request) override;
    bool apply(QString& result) override;

    // The controls, for the dialog's tests.
    QLineEdit* targetBox() const { return m_target; }
    QLineEdit* captionBox() const { return m_caption; }
    QCheckBox* keepCaptionBox() const { return m_keepCaption; }
    QLabel* messageLabel() const { return m_message; }
    QPushButton* button(int index) const { return m_buttons.at(index); }

private:
    void keepCaptionToggled(bool keep);
    void chooseFile();
    void chooseFavourite();
    void searchInBrowser();
    // After a target was picked: offer the proposed caption, or confirm at
    // once when the existing caption is kept.
    void targetChosen(const QString& target, const QString& proposedCaption);

    std::unique_ptr<QWidget> m_frame;
    QLineEdit* m_target = nullptr;
    QLineEdit* m_caption = nullptr;
    QCheckBox* m_keepCaption = nullptr;
    QLabel* m_message = nullptr;
    std::array<QPushButton*, 3> m_buttons{};
    QString m_existingCaption;
    QString m_proposedCaption;
    bool m_objectLink = false;
    std::function<void()> m_confirm;
};

} // namespace dialogs
