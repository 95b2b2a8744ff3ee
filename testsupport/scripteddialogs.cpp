#include "testsupport/scripteddialogs.h"

#include <QPrinter>

namespace testsupport {

namespace {
struct FilesAnswer {
    QStringList files;
    int filterIndex = 0;
};
}

} // namespace testsupport

Q_DECLARE_METATYPE(testsupport::FilesAnswer)
Q_DECLARE_METATYPE(testsupport::PrintChoice)

namespace testsupport {

ScriptedDialogs::ScriptedDialogs() : m_previous(env::setDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs() { env::setDialogs(m_previous); }

void ScriptedDialogs::answerFiles(const QStringList& files, int filterIndex)
{
    m_script.push_back(QVariant::fromValue(FilesAnswer{files, filterIndex}));
}

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Asked& a : m_asked)
        if (a.kind == QLatin1String("message"))
            texts << a.text;
    return texts;
}

std::optional<QVariant> ScriptedDialogs::next()
{
    if (m_script.empty())
        return std::nullopt;
    QVariant v = m_script.front();
    m_script.pop_front();
    return v;
}

env::Answer ScriptedDialogs::message(const env::MessageRequest& request)
{
    m_asked.push_back({QStringLiteral("message"), request.text, request.buttons, {}});
    if (request.buttons == env::Buttons::Ok)
        return env::Answer::Ok;   // a plain OK box needs no script
    const auto v = next();
    return v ? static_cast<env::Answer>(v->toInt()) : request.defaultAnswer;
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString&,
                                              const QString&)
{
    m_asked.push_back({QStringLiteral("input"), prompt, env::Buttons::OkCancel, {}});
    const auto v = next();
    if (!v || v->userType() != QMetaType::QString)
        return std::nullopt;
    return v->toString();
}

QStringList ScriptedDialogs::fileAnswer(const QString& kind, env::FileRequest& request)
{
    m_asked.push_back({kind, request.title, env::Buttons::OkCancel, request});
    const auto v = next();
    if (!v || !v->canConvert<FilesAnswer>())
        return {};
    const auto a = v->value<FilesAnswer>();
    if (a.filterIndex > 0)
        request.filterIndex = a.filterIndex;
    return a.files;
}

QStringList ScriptedDialogs::openFiles(env::FileRequest& request)
{
    const QStringList files = fileAnswer(QStringLiteral("open"), request);
    return request.multiple ? files : files.mid(0, 1);
}

QString ScriptedDialogs::saveFile(env::FileRequest& request)
{
    return fileAnswer(QStringLiteral("save"), request).value(0);
}

QString ScriptedDialogs::folder(const QString& title, const QString&)
{
    m_asked.push_back({QStringLiteral("folder"), title, env::Buttons::OkCancel, {}});
    const auto v = next();
    return v && v->userType() == QMetaType::QString ? v->toString() : QString();
}

std::optional<QColor> ScriptedDialogs::color(const QColor&, const QString& title)
{
    m_asked.push_back({QStringLiteral("color"), title, env::Buttons::OkCancel, {}});
    const auto v = next();
    if (!v || v->userType() != QMetaType::QColor)
        return std::nullopt;
    return v->value<QColor>();
}

std::optional<env::FontRequest> ScriptedDialogs::font(const env::FontRequest& initial)
{
    m_asked.push_back({QStringLiteral("font"), {}, env::Buttons::OkCancel, {}, {}, initial});
    const auto v = next();
    if (!v || v->userType() != qMetaTypeId<env::FontRequest>())
        return std::nullopt;
    return v->value<env::FontRequest>();
}

void ScriptedDialogs::answerPrint(const PrintChoice& choice)
{
    m_script.push_back(QVariant::fromValue(choice));
}

bool ScriptedDialogs::print(QPrinter& printer, const env::PrintRequest& request)
{
    m_asked.push_back({QStringLiteral("print"), {}, env::Buttons::OkCancel, {}, request});
    const auto v = next();
    if (v && v->userType() == qMetaTypeId<PrintChoice>()) {
        const auto choice = v->value<PrintChoice>();
        if (!choice.printerName.isEmpty())
            printer.setPrinterName(choice.printerName);
        const bool range = choice.fromPage > 0;
        printer.setPrintRange(range ? QPrinter::PageRange : QPrinter::AllPages);
        printer.setFromTo(range ? choice.fromPage : 0, range ? choice.toPage : 0);
        printer.setCopyCount(choice.copies);
        return true;
    }
    return v && v->userType() == QMetaType::Bool && v->toBool();
}

} // namespace testsupport
