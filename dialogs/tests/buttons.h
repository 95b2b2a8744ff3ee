#pragma once
// Finds a dialog's push button by the caption the user reads on it.

#include <QPushButton>
#include <QString>
#include <QWidget>

namespace dialogstest {

// The first button below `parent` captioned `text`, or nullptr.
inline QPushButton* buttonCaptioned(const QWidget& parent, const QString& text)
{
    for (QPushButton* button : parent.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

} // namespace dialogstest
