#pragma once
// The dialogs the user sees: Qt's message, input and system dialogs, and
// the program's own font dialog.

#include "env/dialogs.h"

namespace app {

class QtDialogs final : public env::Dialogs {
public:
    env::Answer message(const env::MessageRequest& request) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    QStringList openFiles(env::FileRequest& request) override;
    QString saveFile(env::FileRequest& request) override;
    QString folder(const QString& title, const QString& start) override;
    std::optional<QColor> color(const QColor& initial, const QString& title) override;
    std::optional<env::FontRequest> font(const env::FontRequest& initial) override;
    bool print(QPrinter& printer, const env::PrintRequest& request) override;
};

} // namespace app
