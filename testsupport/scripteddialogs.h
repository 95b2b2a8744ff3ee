#pragma once
// A dialog implementation for tests: every request is recorded, and answers
// come from a script queued beforehand. With nothing queued, every dialog is
// cancelled (message boxes answer their default button).

#include "env/dialogs.h"

#include <QVariant>
#include <deque>
#include <vector>

namespace testsupport {

// What a scripted user chooses in the print dialog: a printer (empty keeps
// the one shown), pages (0 and 0: all) and copies.
struct PrintChoice {
    QString printerName;
    int fromPage = 0;
    int toPage = 0;
    int copies = 1;
};

struct Asked {
    QString kind;   // "message", "input", "open", "save", "folder", "color", "font", "print"
    QString text;   // message text, prompt, or dialog title
    env::Buttons buttons = env::Buttons::Ok;
    env::FileRequest file;  // for open/save
    env::PrintRequest print; // for print
    env::FontRequest font;   // for font: what the dialog opened on
};

class ScriptedDialogs : public env::Dialogs {
public:
    ScriptedDialogs();    // installs itself
    ~ScriptedDialogs() override;   // restores the previous implementation

    // Queue the next answers, consumed in order by whatever dialog comes next.
    void answer(env::Answer a) { m_script.push_back(QVariant::fromValue(static_cast<int>(a))); }
    void answerText(const QString& s) { m_script.push_back(s); }
    void answerFiles(const QStringList& files, int filterIndex = 0);
    void answerColor(const QColor& c) { m_script.push_back(c); }
    void answerFont(const env::FontRequest& f) { m_script.push_back(QVariant::fromValue(f)); }
    void answerPrint(bool ok) { m_script.push_back(ok); }
    // Confirms the print dialog with `choice` applied to the printer.
    void answerPrint(const PrintChoice& choice);

    const std::vector<Asked>& asked() const { return m_asked; }
    QStringList messages() const;   // texts of the message boxes, in order
    void clear() { m_asked.clear(); m_script.clear(); }
    size_t unanswered() const { return m_script.size(); }

    env::Answer message(const env::MessageRequest& request) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    QStringList openFiles(env::FileRequest& request) override;
    QString saveFile(env::FileRequest& request) override;
    QString folder(const QString& title, const QString& start) override;
    std::optional<QColor> color(const QColor& initial, const QString& title) override;
    std::optional<env::FontRequest> font(const env::FontRequest& initial) override;
    bool print(QPrinter& printer, const env::PrintRequest& request) override;

private:
    std::optional<QVariant> next();
    // Records a file dialog and takes its scripted files, if any.
    QStringList fileAnswer(const QString& kind, env::FileRequest& request);

    std::vector<Asked> m_asked;
    std::deque<QVariant> m_script;
    env::Dialogs* m_previous = nullptr;
};

} // namespace testsupport

Q_DECLARE_METATYPE(env::FontRequest)
