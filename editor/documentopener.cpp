#include "editor/documentopener.h"

#include "dialogs/frmt.h"
#include "editor/documentkinds.h"
#include "engine/fieldformat.h"
#include "engine/filebytes.h"
#include "engine/textengine.h"
#include "env/dialogs.h"
#include "formats/html/htmlimport.h"
#include "formats/readwarning.h"
#include "html/scratchsave.h"

#include <QFileInfo>
#include <QList>
#include <QTextDocument>

namespace editor {

namespace {

using engine::FormatCode;

bool opensKindOf(const QString& path)
{
    const documentkinds::DocumentKind* kind = documentkinds::kindOf(documentkinds::extensionOf(path));
    return kind && kind->opens;
}

void tell(const QString& path, const QString& what)
{
    env::dialogs().inform(QStringLiteral("ﾌｧｲﾙ: ") + QFileInfo(path).fileName() + u' ' + what);
}

// A file that came in with something lost is still opened; the user hears
// what, one line per kind, in one message.
void tellWhatWasLost(const QString& path, const engine::TextEngine& scratch)
{
    const QStringList warnings = formats::readWarnings(QFileInfo(path).fileName(), scratch.lastReadReport());
    if (!warnings.isEmpty())
        env::dialogs().inform(warnings.join(u'\n'));
}

} // namespace

DocumentOpener::DocumentOpener(engine::TextEngine& engine, const dialogs::Frmt& formats)
    : m_engine(engine)
    , m_formats(formats)
{
}

DocumentOpener::Opened DocumentOpener::open(const QString& path, Placement placement,
                                            const std::function<bool()>& prepareReplace)
{
    if (path.isEmpty() || !QFileInfo(path).isFile() || !opensKindOf(path))
        return {};
    const std::unique_ptr<engine::TextEngine> scratch = read(path);
    const std::optional<QByteArray> content = scratch ? scratch->saveToMemory(FormatCode::Snapshot) : std::nullopt;
    const bool replacing = placement.frameFocus == 0 && !placement.insert;
    if (content && replacing && !prepareReplace())
        return {Result::Failed, {}};
    if (!content || !place(*content, placement)) {
        tell(path, QStringLiteral("を読み込めません｡") + m_refusalReason);
        return {Result::Failed, {}};
    }
    tellWhatWasLost(path, *scratch);
    return {replacing ? Result::Replaced : Result::Inserted,
            scratch->document()->metaInformation(QTextDocument::DocumentTitle)};
}

std::optional<QString> DocumentOpener::paragraphText(const QString& path) const
{
    const std::unique_ptr<engine::TextEngine> scratch = QFileInfo(path).isFile() && opensKindOf(path) ? read(path) : nullptr;
    if (!scratch) {
        tell(path, QStringLiteral("をｲﾝﾎﾟｰﾄできません｡") + m_refusalReason);
        return std::nullopt;
    }
    tellWhatWasLost(path, *scratch);
    QString text = scratch->plainText();
    text.remove(QChar(QChar::ObjectReplacementCharacter));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\v"));
    for (const QChar paragraphEnd : {u'\r', u'\n', u'\f'})
        text.replace(paragraphEnd, u'\v');
    return text;
}

std::optional<QByteArray> DocumentOpener::snapshotOfWord(const QByteArray& bytes) const
{
    const std::unique_ptr<engine::TextEngine> scratch = scratchEngine();
    const std::optional<QByteArray> content = scratch->loadFromMemory(bytes, FormatCode::Doc, false)
        ? scratch->saveToMemory(FormatCode::Snapshot)
        : std::nullopt;
    if (!content)
        env::dialogs().inform(QStringLiteral("ﾃﾞｰﾀを読み込めません｡") + formats::readRefusal(scratch->lastReadReport()));
    return content;
}

bool DocumentOpener::transferIntoFrame(const QByteArray& bytes, int frame)
{
    const std::optional<QByteArray> content = snapshotOfWord(bytes);
    return content && m_engine.makeTextFrameCurrent(frame)
        && m_engine.loadFromMemory(*content, FormatCode::Snapshot, false);
}

bool DocumentOpener::transfer(const QByteArray& bytes, bool insert, const std::function<bool()>& prepareReplace)
{
    const std::optional<QByteArray> content = snapshotOfWord(bytes);
    if (!content)
        return false;
    if (insert)
        return m_engine.loadFromMemory(*content, FormatCode::Snapshot, true);
    // The whole document is replaced, also while the caret is in a text frame.
    return prepareReplace() && m_engine.makeTextFrameCurrent(0)
        && m_engine.loadFromMemory(*content, FormatCode::Snapshot, false);
}

// An engine of its own for what is read, which starts with the editor's page
// setup (without headers and footers) as a load into the editor's would.
std::unique_ptr<engine::TextEngine> DocumentOpener::scratchEngine() const
{
    auto scratch = std::make_unique<engine::TextEngine>();
    engine::PageSetup setup = m_engine.pageSetup();
    setup.headerFooterFlags = 0;
    scratch->setPageSetup(setup);
    return scratch;
}

std::unique_ptr<engine::TextEngine> DocumentOpener::read(const QString& path) const
{
    m_refusalReason.clear();
    std::unique_ptr<engine::TextEngine> scratch = scratchEngine();
    // A save of this folder that was stopped half-way is finished first (an
    // HTML document is then read with the pictures it was written with), and
    // the scratch of saves that cannot be finished goes.
    html::ScratchSave::recoverFolder(QFileInfo(path).absolutePath());
    const QString extension = documentkinds::extensionOf(path);
    const bool read = extension == u"htm"
        ? readHtml(*scratch, path)
        : scratch->loadFile(path, documentkinds::kindOf(extension)->format, false);
    if (!read && m_refusalReason.isEmpty())
        m_refusalReason = formats::readRefusal(scratch->lastReadReport());
    return read ? std::move(scratch) : nullptr;
}

bool DocumentOpener::readHtml(engine::TextEngine& scratch, const QString& path) const
{
    const formats::HtmlImport codec(m_formats.lineSpacing());
    const std::optional<QByteArray> bytes = engine::readFileBytes(path, codec.maxInputBytes());
    if (!bytes)
        return false;
    const bool read = codec.readFrom(*bytes, QFileInfo(path).absolutePath(), scratch.documentSet());
    m_refusalReason = codec.refusalReason();
    return read;
}

bool DocumentOpener::place(const QByteArray& content, Placement placement)
{
    if (placement.frameFocus > 0)
        return m_engine.makeTextFrameCurrent(placement.frameFocus)
            && m_engine.loadFromMemory(content, FormatCode::Snapshot, false);
    if (placement.frameFocus < 0)
        return fillEveryFrame(content, placement.insert);
    if (placement.insert)
        return insertAtCaret(content);
    return m_engine.loadFromMemory(content, FormatCode::Snapshot, false);
}

// The file gets paragraphs of its own: it goes between two new paragraph
// ends in place of the selection, and one more follows it.
bool DocumentOpener::insertAtCaret(const QByteArray& content)
{
    const int caret = m_engine.selectionStart();
    m_engine.setSelectedText(QStringLiteral("\n\n"));
    m_engine.setSelection(caret + 1, 0);
    if (!m_engine.loadFromMemory(content, FormatCode::Snapshot, true)) {
        m_engine.undo();
        return false;
    }
    m_engine.setSelectedText(QStringLiteral("\n"));
    return true;
}

// The first frame takes the file as asked, every further frame the same
// content in place of its own; the caret goes back to the main text.
bool DocumentOpener::fillEveryFrame(const QByteArray& content, bool insertIntoFirst)
{
    QList<int> frames;
    for (int id = m_engine.nextObject(engine::kObjectKindTextFrame, 0); id > 0;
         id = m_engine.nextObject(engine::kObjectKindTextFrame, id))
        frames << id;
    bool filled = true;
    bool first = true;
    for (const int id : frames) {
        if (!m_engine.makeTextFrameCurrent(id))
            continue;
        filled = m_engine.loadFromMemory(content, FormatCode::Snapshot, first && insertIntoFirst) && filled;
        first = false;
    }
    m_engine.makeTextFrameCurrent(0);
    return filled;
}

} // namespace editor
