#pragma once
// TablePage: the settings dialog's page "表の設定" — asks for the rows,
// columns and column width of a new table and inserts it at the caret.

#include "dialogs/settingspage.h"

#include <memory>

class QComboBox;
class QListWidget;

namespace dialogs {

class TablePage : public SettingsPage {
public:
    static constexpr int kMaxRows = 20;
    static constexpr int kMaxColumns = 20;
    static constexpr int kMaxWidthCentimetres = 10;
    static constexpr int kTwipsPerCentimetre = 567;

    TablePage();
    ~TablePage() override;

    QWidget* frame() override;
    QWidget* focusControl() override;
    void fill(const PageContext& context, const QString& request) override;
    // Inserts the table; answers "表" when one was inserted.
    bool apply(QString& result) override;

    // The controls, for the dialog's tests.
    QListWidget* rowList() const { return m_rows; }
    QListWidget* columnList() const { return m_columns; }
    QComboBox* widthBox() const { return m_width; }

private:
    int columnWidthTwips() const;
    bool fitsTheText(int columns, int widthTwips) const;

    std::unique_ptr<QWidget> m_frame;
    QListWidget* m_rows = nullptr;
    QListWidget* m_columns = nullptr;
    QComboBox* m_width = nullptr;
    engine::TextEngine* m_engine = nullptr;
};

} // namespace dialogs
