#include "env/dialogs.h"

#include <QtGlobal>

namespace env {

namespace {
Dialogs* installed = nullptr;
}

Dialogs& dialogs()
{
    Q_ASSERT_X(installed, "env::dialogs", "no dialog implementation installed");
    return *installed;
}

Dialogs* setDialogs(Dialogs* d)
{
    Dialogs* previous = installed;
    installed = d;
    return previous;
}

void Dialogs::inform(const QString& text)
{
    message({text, {}, Buttons::Ok, Answer::Ok, Icon::None});
}

Answer Dialogs::ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon)
{
    return message({text, {}, buttons, defaultAnswer, icon});
}

QString Dialogs::openFile(FileRequest& request)
{
    request.multiple = false;
    const QStringList files = openFiles(request);
    return files.isEmpty() ? QString() : files.first();
}

} // namespace env
