#pragma once
// vStatus: where the caret is (page, line, column) and the style there.

#include <QToolBar>

class QLabel;

namespace bars {

struct CaretPlace {
    int page = 0;   // 0 where pages are not laid out
    int line = 1;   // paragraph number, from 1
    int column = 1; // character in the paragraph, from 1
};

class StatusBar : public QToolBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    void showPlace(const CaretPlace& place);
    QLabel* placeLabel() const { return m_place; }
    // The style caption at the caret.
    QLabel* styleLabel() const { return m_style; }

private:
    QLabel* m_place;
    QLabel* m_style;
};

// "ﾍﾟｰｼﾞ 2　行 14　列 3" (the page only where it is known).
QString placeText(const CaretPlace& place);

} // namespace bars
