#include "env/defaultanswers.h"

namespace env {

Answer DefaultAnswers::message(const MessageRequest& request) { return request.defaultAnswer; }
std::optional<QString> DefaultAnswers::input(const QString&, const QString&, const QString&) { return std::nullopt; }
QStringList DefaultAnswers::openFiles(FileRequest&) { return {}; }
QString DefaultAnswers::saveFile(FileRequest&) { return {}; }
QString DefaultAnswers::folder(const QString&, const QString&) { return {}; }
std::optional<QColor> DefaultAnswers::color(const QColor&, const QString&) { return std::nullopt; }
std::optional<FontRequest> DefaultAnswers::font(const FontRequest&) { return std::nullopt; }
bool DefaultAnswers::print(QPrinter&, const PrintRequest&) { return false; }

} // namespace env
