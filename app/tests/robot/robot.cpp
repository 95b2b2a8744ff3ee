// A user for the real executable, loaded into it with LD_PRELOAD by the tests
// that start the program itself (under the offscreen platform, which takes no
// input from outside). It starts with the application and then, as the
// environment asks:
//   FUMI_ROBOT_TYPE    text typed into the editor once the main window shows
//   FUMI_ROBOT_ANSWER  "yes" or "no": the button every message box is answered with
//   FUMI_ROBOT_CLOSE   "1": the main window is closed once the first box is answered
//   FUMI_ROBOT_LOG     file that gets every message box's text and "typed" once typing is done

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

namespace {

void log(const QString& line)
{
    QFile file(qEnvironmentVariable("FUMI_ROBOT_LOG"));
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write(line.toUtf8() + '\n');
}

QMainWindow* mainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<QMainWindow*>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

// The editor's text view: the window's first QTextEdit that takes typing.
QTextEdit* editorView(QMainWindow& window)
{
    for (QTextEdit* edit : window.findChildren<QTextEdit*>())
        if (edit->isVisible() && !edit->isReadOnly())
            return edit;
    return nullptr;
}

// ASCII as key presses, the rest as an input method's committed text.
void type(QTextEdit& view, const QString& text)
{
    view.setFocus();
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(&view, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(&view, &release);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QCoreApplication::sendEvent(&view, &commit);
        }
    }
}

class Robot : public QObject {
public:
    Robot()
    {
        m_timer.setInterval(100);
        connect(&m_timer, &QTimer::timeout, this, [this] { step(); });
        m_timer.start();
    }

private:
    void step()
    {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answer(*box);
            return;
        }
        QMainWindow* window = mainWindow();
        if (!window)
            return;
        if (!m_typed && !qEnvironmentVariableIsEmpty("FUMI_ROBOT_TYPE")) {
            if (QTextEdit* view = editorView(*window)) {
                type(*view, qEnvironmentVariable("FUMI_ROBOT_TYPE"));
                m_typed = true;
                log(QStringLiteral("typed"));
            }
        }
        if (m_answered && !m_closed && qEnvironmentVariable("FUMI_ROBOT_CLOSE") == QLatin1String("1")) {
            m_closed = true;
            // Later, not from inside this step: a timer does not fire again
            // while its own slot runs, so the robot would miss the questions
            // closing asks.
            QTimer::singleShot(0, window, &QWidget::close);
        }
    }

    void answer(QMessageBox& box)
    {
        log(box.text());
        const bool yes = qEnvironmentVariable("FUMI_ROBOT_ANSWER") == QLatin1String("yes");
        QAbstractButton* button = box.button(yes ? QMessageBox::Yes : QMessageBox::No);
        if (!button)
            button = box.button(QMessageBox::Ok);
        if (button)
            button->click();
        else
            box.reject();
        m_answered = true;
    }

    QTimer m_timer;
    bool m_typed = false;
    bool m_answered = false;
    bool m_closed = false;
};

void startRobot()
{
    // Created once the event loop runs, so that it lives in the main thread's loop.
    QTimer::singleShot(0, qApp, [] { new Robot; });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startRobot)
