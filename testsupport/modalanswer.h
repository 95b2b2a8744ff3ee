#pragma once
// Answers the next modal dialog a test's command opens: once it is open,
// `act` works its controls, then the push button captioned `button` is
// clicked (the dialog is rejected when it has no such button or is still
// open afterwards). A dialog that never opens leaves seen() false.

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <functional>

namespace testsupport {

class ModalAnswer {
public:
    explicit ModalAnswer(const QString& button, std::function<void(QDialog&)> act = {})
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this, button, act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            m_timer.stop();
            ++m_seen;
            m_title = dialog->windowTitle();
            if (act)
                act(*dialog);
            for (QPushButton* pushed : dialog->findChildren<QPushButton*>())
                if (dialog->isVisible() && pushed->text() == button)
                    pushed->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        m_timer.start();
    }

    bool seen() const { return m_seen > 0; }
    QString title() const { return m_title; }

private:
    QTimer m_timer;
    int m_seen = 0;
    QString m_title;
};

} // namespace testsupport
