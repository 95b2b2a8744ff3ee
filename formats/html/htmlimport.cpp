#include "formats/html/htmlimport.h"

#include "formats/html/enginehtmlexport.h"
#include "formats/html/htmltext.h"
#include "formats/html/importfinisher.h"
#include "formats/html/importpreparer.h"
#include "formats/html/picturefiles.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>

namespace formats {

namespace {

// Loading a file is not an edit the user can take back.
class WithoutUndo {
public:
    explicit WithoutUndo(QTextDocument& document)
        : m_document(document)
        , m_enabled(document.isUndoRedoEnabled())
    {
        m_document.setUndoRedoEnabled(false);
    }
    ~WithoutUndo() { m_document.setUndoRedoEnabled(m_enabled); }
    WithoutUndo(const WithoutUndo&) = delete;
    WithoutUndo& operator=(const WithoutUndo&) = delete;

private:
    QTextDocument& m_document;
    bool m_enabled;
};

QString reasonFor(ImportPreparer::Refusal refusal)
{
    switch (refusal) {
    case ImportPreparer::Refusal::TooManyCells:
        return QStringLiteral("表のｾﾙは %1 個までです｡").arg(ImportPreparer::kMaxTableCells);
    case ImportPreparer::Refusal::TooDeep:
        return QStringLiteral("要素の入れ子は %1 段までです｡").arg(ImportPreparer::kMaxNesting);
    case ImportPreparer::Refusal::None: break;
    }
    return {};
}

} // namespace

HtmlImport::HtmlImport(float lineSpacing)
    : m_lineSpacing(lineSpacing)
{
}

bool HtmlImport::read(const QByteArray& bytes, const engine::DocumentSet& target)
{
    return readFrom(bytes, QString(), target);
}

bool HtmlImport::readFrom(const QByteArray& bytes, const QString& folder, const engine::DocumentSet& target) const
{
    m_refusalReason.clear();
    if (!target.body || bytes.size() > maxInputBytes())
        return false;
    engine::DecodedText decoded = decodeHtml(bytes);
    if (target.report)
        target.report->unreadableCharacters = decoded.unreadable;
    return readText(std::move(decoded.text), folder, target);
}

bool HtmlImport::readText(QString html, const QString& folder, const engine::DocumentSet& target) const
{
    m_refusalReason.clear();
    if (!target.body)
        return false;
    ImportPreparer preparer(std::move(html));
    const std::optional<QString> prepared = preparer.prepare();
    m_refusalReason = reasonFor(preparer.refusal());
    if (!prepared)
        return false;
    const ImportNotes notes = preparer.takeNotes();
    QTextDocument& document = *target.body;
    ImportFinisher finisher(document, notes, {folder, m_lineSpacing});
    if (!finisher.canFindPictures())
        return false;
    const WithoutUndo withoutUndo(document);
    // Straight into the fresh document: inserting at a cursor would build the
    // whole document twice, once as a fragment and once as its copy.
    document.setHtml(*prepared);
    // In one edit block: outside one, every insertion by a cursor lays out
    // its paragraph again to keep the cursor's x position.
    QTextCursor edit(&document);
    edit.beginEditBlock();
    finisher.finish();
    edit.endEditBlock();
    return true;
}

bool HtmlImport::write(const engine::DocumentSet& source, QIODevice& out)
{
    if (!source.body)
        return false;
    const auto* file = qobject_cast<const QFileDevice*>(&out);
    std::optional<QString> text;
    if (file && !file->fileName().isEmpty()) {
        const QFileInfo target(file->fileName());
        text = engineHtml(*source.body, {target.absoluteFilePath(), target.absolutePath(), kPicturesAsSaved});
    } else {
        text = engineHtmlInMemory(*source.body);
    }
    if (!text)
        return false;
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + text->toUtf8();
    return out.write(bytes) == bytes.size();
}

void registerHtmlCodec(float lineSpacing)
{
    engine::registerCodec(engine::FormatCode::Html, std::make_shared<HtmlImport>(lineSpacing));
}

} // namespace formats
