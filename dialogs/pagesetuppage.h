#pragma once
// PageSetupPage: the settings dialog's page "ﾍﾟｰｼﾞ設定" — paper from the
// paper table or typed, orientation and the four margins, in centimetres.
// OK gives them to the open document; "規定値として設定" stores them as the
// default page of new documents instead.
//
// Every box remembers the twips it was last filled with: while its text
// still reads as it was filled, that exact value is what OK applies, so a
// margin of 850.5 twips shown as "1.50" stays 850.5 rather than 850.

#include "dialogs/settingspage.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace env {
class yIni;
}

namespace engine {
struct PageSetup;
}

namespace dialogs {

// The preview rectangle: the paper's shape, to scale, centred in its frame.
class PaperPreview : public QWidget {
public:
    static constexpr int kFrameWidthTwips = 3500;
    static constexpr int kFrameHeightTwips = 1000;

    explicit PaperPreview(QWidget* parent = nullptr);
    // Sizes in centimetres as the boxes show them.
    void showPaper(double widthCentimetres, double heightCentimetres);
    // The rectangle in twips of the frame.
    QRectF paperTwips() const { return m_paper; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF m_paper;
};

class PageSetupPage : public SettingsPage {
public:
    // Indexes of the six boxes.
    enum Box { Width, Height, Left, Top, Right, Bottom };

    // `settings` holds the default page ("TX_PAGE").
    explicit PageSetupPage(env::yIni& settings);
    ~PageSetupPage() override;

    QWidget* frame() override;
    QWidget* focusControl() override;
    void fill(const PageContext& context, const QString& request) override;
    bool apply(QString& result) override;

    // The controls, for the dialog's tests.
    QComboBox* paperList() const { return m_paper; }
    QRadioButton* portraitOption() const { return m_portrait; }
    QRadioButton* landscapeOption() const { return m_landscape; }
    QLineEdit* box(Box which) const { return m_boxes[which].edit; }
    QPushButton* defaultButton() const { return m_default; }
    const PaperPreview& preview() const { return *m_preview; }
    bool landscape() const { return m_isLandscape; }
    // Whether the values typed now may be applied.
    bool valid() const;

private:
    struct LengthBox {
        QLineEdit* edit = nullptr;
        double twips = 0;   // what the box was last filled with
        QString shown;      // its text then
    };

    void buildLayout();
    void connectControls();
    void setBox(Box which, double twips);
    double boxTwips(Box which) const;
    engine::PageSetup typedPage(engine::PageSetup page) const;
    void selectPaper();
    void choosePaper();
    void switchOrientation(bool landscape);
    void boxEdited();
    void storeAsDefault();
    void redrawPreview();

    env::yIni& m_settings;
    std::unique_ptr<QWidget> m_frame;
    QComboBox* m_paper = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    std::array<LengthBox, 6> m_boxes;
    PaperPreview* m_preview = nullptr;
    QPushButton* m_default = nullptr;
    engine::TextEngine* m_engine = nullptr;
    std::function<void(bool)> m_allowOk;
    bool m_isLandscape = false;
    bool m_busy = false;
};

} // namespace dialogs
