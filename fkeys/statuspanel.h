#pragma once
// The key bar's status panel: a message with one of four icons, each icon
// with its own text colour, so the kind of message shows at a glance.

#include <QFrame>
#include <QString>

class QLabel;

namespace fkeys {

class StatusPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kIconCount = 4;

    explicit StatusPanel(QWidget* parent = nullptr);

    // 0 plain, 1 error, 2 question, 3 warning. Changing the icon changes the
    // picture and the text colour; setting the same icon again changes nothing.
    void setIcon(int icon);
    int icon() const { return m_icon; }
    void setText(const QString& text);
    QString text() const;

    // Text colour of an icon as 0x00BBGGRR.
    static quint32 colorOf(int icon);

private:
    void showIcon();

    QLabel* m_picture = nullptr;
    QLabel* m_text = nullptr;
    int m_icon = 0;
};

} // namespace fkeys
