#pragma once
// Answers with nobody at the screen (benchmarks, fuzzing): every message box
// gets its default button, as if Enter were pressed, and every other dialog
// is cancelled.

#include "env/dialogs.h"

namespace env {

class DefaultAnswers : public Dialogs {
public:
    Answer message(const MessageRequest& request) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& initial) override;
    QStringList openFiles(FileRequest& request) override;
    QString saveFile(FileRequest& request) override;
    QString folder(const QString& title, const QString& start) override;
    std::optional<QColor> color(const QColor& initial, const QString& title) override;
    std::optional<FontRequest> font(const FontRequest& initial) override;
    bool print(QPrinter& printer, const PrintRequest& request) override;
};

} // namespace env
