#include "formats/convertfile.h"

#include "engine/textengine.h"
#include "env/dialogs.h"
#include "env/mclt.h"
#include "formats/enginehtmlexport.h"
#include "formats/htmlimport.h"
#include "formats/tooltiptable.h"
#include "html/yhtm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

namespace formats {

namespace {

enum class Kind { Text, Html, Unsupported };

Kind kindOf(const QString& extension)
{
    const QString lower = extension.toLower();
    if (lower == u"txt")
        return Kind::Text;
    if (lower == u"htm" || lower == u"html")
        return Kind::Html;
    return Kind::Unsupported;
}

// Takes the messages a conversion would show, so that they become the
// conversion's one-line reason instead of a window.
class MessageCapture : public env::Dialogs {
public:
    MessageCapture() : m_previous(env::setDialogs(this)) {}
    ~MessageCapture() override { env::setDialogs(m_previous); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    QString last() const { return m_last; }

    env::Answer message(const env::MessageRequest& request) override
    {
        m_last = request.text;
        return request.buttons == env::Buttons::Ok ? env::Answer::Ok : env::Answer::Cancel;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    QStringList openFiles(env::FileRequest&) override { return {}; }
    QString saveFile(env::FileRequest&) override { return {}; }
    QString folder(const QString&, const QString&) override { return {}; }
    std::optional<QColor> color(const QColor&) override { return std::nullopt; }
    std::optional<QFont> font(const QFont&) override { return std::nullopt; }
    bool print(QPrinter&) override { return false; }

private:
    env::Dialogs* m_previous;
    QString m_last;
};

QString fileMessage(const QString& name, const QString& what)
{
    return QStringLiteral("ﾌｧｲﾙ: ") + name + u' ' + what;
}

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// `reason`: the limit an HTML file was over, when it names one.
bool load(engine::TextEngine& engine, const QFileInfo& input, Kind kind, QString& reason)
{
    if (kind == Kind::Text)
        return engine.loadFile(input.absoluteFilePath(), engine::FormatCode::PlainText, false);
    // Read here rather than through the engine, so that pictures beside the
    // file are found.
    const HtmlImport codec;
    QFile file(input.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly) || file.size() > codec.maxInputBytes())
        return false;
    const bool read = codec.readFrom(file.readAll(), input.absolutePath(), engine.documentSet());
    reason = codec.refusalReason();
    return read;
}

bool saveHtml(engine::TextEngine& engine, const QString& path, const QString& title, QString* error)
{
    const MessageCapture messages;
    html::yHtm writer(html::StyleSet::defaults());
    QTextDocument& body = *engine.document();
    if (writer.cSaveHtm(engineExport(engine), false, path, toolTipTable(body), title))
        return true;
    return fail(error, messages.last());
}

} // namespace

bool convertFile(const QString& input, const QString& targetExtension, const QString& outDir, QString* error)
{
    const QFileInfo source(input);
    if (!source.isFile())
        return fail(error, fileMessage(input, QStringLiteral("が見つかりません｡")));
    const Kind from = kindOf(source.suffix());
    if (from == Kind::Unsupported)
        return fail(error, fileMessage(input, QStringLiteral("の形式 (.%1) の読み込みにはまだ対応していません｡").arg(source.suffix())));
    const Kind to = kindOf(targetExtension);
    if (to == Kind::Unsupported)
        return fail(error, QStringLiteral("変換先の形式 (.%1) にはまだ対応していません｡").arg(targetExtension));

    engine::TextEngine engine;
    QString reason;
    if (!load(engine, source, from, reason))
        return fail(error, fileMessage(input, QStringLiteral("を読み込めません｡") + reason));

    const QString folder = outDir.isEmpty() ? source.absolutePath() : QDir(outDir).absolutePath();
    const QString target = folder + u'/' + source.completeBaseName() + u'.' + targetExtension.toLower();
    if (!mClt::MakeFolders(folder))
        return fail(error, fileMessage(target, QStringLiteral("を保存できません｡")));
    if (to == Kind::Html) {
        const QString title = engine.document()->metaInformation(QTextDocument::DocumentTitle);
        return saveHtml(engine, target, title.isEmpty() ? source.completeBaseName() : title, error);
    }
    if (!engine.saveFile(target, engine::FormatCode::PlainText))
        return fail(error, fileMessage(target, QStringLiteral("を保存できません｡")));
    return true;
}

} // namespace formats
