#pragma once
// UserFormatPage: the settings dialog's page "ﾕｰｻﾞｰ定義書式" — a sample text
// in the six styles, a header and a footer sample, each shown in its user
// format and restyled with the font and paragraph dialogs. OK reads the
// formats back from the samples, keeps the heading sizes in order and
// stores them.

#include "dialogs/settingspage.h"

#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRect;
class QWidget;

namespace env {
class yIni;
}

namespace engine {
class EngineView;
}

namespace dialogs {

class Frmt;
struct UserFormat;

class UserFormatPage : public SettingsPage {
public:
    static constexpr int kStyleCount = 6;
    static constexpr int kParagraphStyleCount = 4; // the headings and 本文
    // Opens the paragraph dialog on the engine's selection.
    using ParagraphDialog = std::function<void(engine::TextEngine&)>;

    // The sample's paragraphs, "." separating them.
    static const QString kSampleText;
    // The style names in record order, as the sample shows them.
    static QStringList styleNames();
    // The record a style name shows, −1 for any other name.
    static int styleIndex(const QString& name);
    // Alignment list entries and paragraph attribute A, both ways; an
    // attribute the list does not name shows as its first entry.
    static int alignmentOfEntry(int entry);
    static int entryOfAlignment(int attributeA);

    // `formats` are the editor's, changed and stored in `settings` on OK.
    UserFormatPage(Frmt& formats, env::yIni& settings, ParagraphDialog paragraphDialog);
    ~UserFormatPage() override;

    QWidget* frame() override;
    QWidget* focusControl() override;
    void fill(const PageContext& context, const QString& request) override;
    bool apply(QString& result) override;

    // The controls, for the dialog's tests.
    engine::TextEngine& sample() const { return *m_sample; }
    engine::TextEngine& headerSample() const { return *m_header.engine; }
    engine::TextEngine& footerSample() const { return *m_footer.engine; }
    QPushButton* fontButton(int style) const { return m_fontButtons[size_t(style)]; }
    QPushButton* paragraphButton(int style) const { return m_paragraphButtons[size_t(style)]; }
    QPushButton* headerFontButton() const { return m_header.font; }
    QPushButton* footerFontButton() const { return m_footer.font; }
    QComboBox* headerAlignment() const { return m_header.alignment; }
    QComboBox* footerAlignment() const { return m_footer.alignment; }
    QCheckBox* enterBox() const { return m_enterShift; }
    QCheckBox* headingFirstBox() const { return m_headingFirst; }
    QComboBox* lineSpacingList() const { return m_lineSpacing; }
    engine::EngineView* sampleView() const { return m_sampleView; }

private:
    // The header or the footer sample with its controls.
    struct PartSample {
        std::unique_ptr<engine::TextEngine> engine;
        engine::EngineView* view = nullptr;
        QComboBox* alignment = nullptr;
        QPushButton* font = nullptr;
    };

    void buildLayout();
    QWidget* makeSampleArea();
    QWidget* makePartRow(PartSample& part, const QString& name, const QString& text);
    QWidget* makeOptions();
    void fillSample();
    void fillPart(PartSample& part, int record);
    void fillLineSpacing(float factor);
    void selectStyle(int style);
    void showStyle(int style, const UserFormat& format);
    UserFormat readStyle(int style, UserFormat format) const;
    UserFormat readPart(const PartSample& part, UserFormat format) const;
    void chooseStyleFont(int style);
    void chooseStyleParagraph(int style);
    void choosePartFont(PartSample& part);
    void alignPart(PartSample& part, int entry);
    void placeButtons();
    void fitPart(PartSample& part);
    static void fitHeight(engine::EngineView& view, const QRect& lastLine);
    // The sample text with its paragraphs ending in "\n", one position each
    // as in the engine.
    static QString sampleParagraphs();

    Frmt& m_formats;
    env::yIni& m_settings;
    ParagraphDialog m_paragraphDialog;
    // The engines before the frame: their views go first.
    std::unique_ptr<engine::TextEngine> m_sample;
    PartSample m_header;
    PartSample m_footer;
    std::unique_ptr<QWidget> m_frame;
    engine::EngineView* m_sampleView = nullptr;
    QWidget* m_buttonColumn = nullptr;
    std::array<QPushButton*, kStyleCount> m_fontButtons{};
    std::array<QPushButton*, kStyleCount> m_paragraphButtons{}; // null for 強調 and 補足
    QCheckBox* m_enterShift = nullptr;
    QCheckBox* m_headingFirst = nullptr;
    QComboBox* m_lineSpacing = nullptr;
    bool m_placing = false;
};

} // namespace dialogs
