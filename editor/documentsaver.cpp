#include "editor/documentsaver.h"

#include "dialogs/frmt.h"
#include "editor/documenthold.h"
#include "editor/documentkinds.h"
#include "editor/documentnumbering.h"
#include "editor/modifiedstate.h"
#include "engine/textengine.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/mclt.h"
#include "env/yini.h"
#include "formats/docx/docxcodec.h"
#include "formats/rtf/rtfcodec.h"
#include "formats/html/enginehtmlexport.h"
#include "formats/html/tooltiptable.h"
#include "html/yhtm.h"

#include <QFileInfo>
#include <QTextDocument>
#include <algorithm>

namespace editor {

namespace {

using engine::FormatCode;

constexpr int kHtmlDocument = 4;

html::TextStyle textStyleOf(const dialogs::UserFormat& record)
{
    return {record.fontName, record.size, quint32(record.textColor)};
}

// The dialect's style definitions are the user formats of the three
// headings (records 0–2) and of the body text (record 3).
html::StyleSet htmlStyles(const dialogs::Frmt& formats)
{
    html::StyleSet styles;
    for (int level = 0; level < int(styles.headings.size()); ++level)
        styles.headings[size_t(level)] = textStyleOf(formats.record(level));
    styles.body = textStyleOf(formats.record(3));
    styles.lineSpacing = formats.lineSpacing();
    return styles;
}

QString folderOf(const QString& name)
{
    return QFileInfo(name).absolutePath();
}

QString withExtension(const QString& name, QStringView extension)
{
    return QFileInfo(name).fileName().contains(u'.') ? name : name + u'.' + extension.toString();
}

void tellCannotSave(const QString& name, const QString& why = {})
{
    env::dialogs().inform(QStringLiteral("ﾌｧｲﾙ: ") + QFileInfo(name).fileName() + QStringLiteral(" を保存できません｡")
                          + why);
}

bool isParagraphEnd(QChar c)
{
    return c == u'\n' || c == u'\f';
}

bool endsFirstLine(QChar c)
{
    return c == u'\r' || c == u'\v' || isParagraphEnd(c);
}

// Characters that cannot stand in a file name (here or on other systems).
bool unfitForFileName(QChar c)
{
    return c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c);
}

// A file name from the document's first line: its text before the first
// paragraph end, cut before a line break. A document without a paragraph end,
// or whose text starts with character 1, gives none; characters no file name
// can hold become "_".
QString proposalFrom(const QString& text)
{
    if (std::none_of(text.begin(), text.end(), isParagraphEnd) || text.startsWith(QChar(1)))
        return {};
    QString line = text.left(std::find_if(text.begin(), text.end(), endsFirstLine) - text.begin());
    line.remove(QChar(QChar::ObjectReplacementCharacter));
    std::replace_if(line.begin(), line.end(), unfitForFileName, QChar(u'_'));
    return mClt::trimSpaces(line);
}

} // namespace

DocumentSaver::DocumentSaver(engine::TextEngine& engine, const dialogs::Frmt& formats, ModifiedState& modified,
                             QString& currentFile, DocumentHold& hold, Host host)
    : m_engine(engine)
    , m_formats(formats)
    , m_modified(modified)
    , m_currentFile(currentFile)
    , m_hold(hold)
    , m_host(std::move(host))
{
}

bool DocumentSaver::SaveDoc(const QString& file)
{
    const QString folder = chooseFolder();
    if (file.isEmpty() && m_host.documentType() < 1) {
        if (!SaveNum())
            return false;
        m_host.savedToDatabase();
        m_modified.setModified(false);
        return true;
    }
    QString name = file.isEmpty() ? m_currentFile : file;
    if (name.isEmpty() && m_host.documentType() == kHtmlDocument) {
        bool written = false;
        SaveHtm(written);
        return written;
    }
    if (name.isEmpty()) {
        const QString proposal = proposalFrom(m_engine.plainText());
        name = askName(folder, QStringLiteral("名前を付けて保存"), {u"doc"}, 1,
                       proposal.isEmpty() ? QString() : proposal + QStringLiteral(".doc"));
    }
    if (m_hold.refusesWriteTo(name)) {
        QString other;
        return offerSaveAs(name, other);
    }
    if (name.isEmpty() || write(name) == Written::Nothing)
        return false;
    if (adopt(name))
        m_host.savedAs(m_currentFile);
    return true;
}

bool DocumentSaver::txSaveAs(QString& vFL, bool bNoAct)
{
    const QString given = mClt::trimSpaces(vFL);
    const QString name = given.isEmpty() ? askSaveAsName() : withExtension(given, u"doc");
    if (name.isEmpty())
        return false;
    if (m_hold.refusesWriteTo(name))
        return offerSaveAs(name, vFL, bNoAct);
    const Written written = write(name);
    if (written == Written::Nothing)
        return false;
    vFL = name;
    if (written == Written::Document) {
        adopt(name);
        m_host.savedAs(m_currentFile);
    } else if (!bNoAct && env::dialogs().ask(name + QStringLiteral(" に出力しました　起動しますか"), env::Buttons::YesNo,
                                             env::Answer::Yes, env::Icon::None)
                   == env::Answer::Yes) {
        env::gxIni().W_ExpFd(name, true);
    }
    return true;
}

void DocumentSaver::SaveHtm(bool& bOk, const QString& vFL)
{
    QString name = vFL.isEmpty() ? m_currentFile : vFL;
    if (name.isEmpty())
        name = askName(chooseFolder(), QStringLiteral("名前を付けて保存"), {u"htm"}, 1, {});
    if (m_hold.refusesWriteTo(name)) {
        QString other;
        bOk = offerSaveAs(name, other) || bOk;
        return;
    }
    if (name.isEmpty() || !writeHtml(name))
        return;
    bOk = true;
    if (adopt(name))
        m_host.savedAs(m_currentFile);
}

bool DocumentSaver::ViewHtm()
{
    const QString preview = env::gsWrkPh + QStringLiteral("$Wrk.htm");
    if (!writeHtml(preview))
        return false;
    env::gxIni().W_ExpFd(preview, true);
    return true;
}

// The numbered save of a new database document: its pictures prepared, then,
// when numbering is on, the document written as Word 97–2003 to its numbered
// file or, without a number, to the work file. With numbering off nothing is
// written: the host files the document itself when told it was saved. (Fields
// need no preparation: a field is a run of its text, so an empty one cannot
// exist to reach the file.) True unless something failed, which was told.
bool DocumentSaver::SaveNum()
{
    preparePictures(m_engine);
    if (!m_host.numbering())
        return true;
    const std::optional<QString> target = numberedTarget();
    return target && writeWithEngine(*target, FormatCode::Doc);
}

// The file a numbered save writes, its folder made; none (and the user told)
// when the host gives no number or the folder cannot be made.
std::optional<QString> DocumentSaver::numberedTarget()
{
    const std::optional<qint32> number = m_host.documentNumber();
    if (!number) {
        env::dialogs().inform(QStringLiteral("文書番号が分からないため､文書を保存できません｡"));
        return std::nullopt;
    }
    if (*number == 0)
        return workFileName();
    const QString target = numberedFileName(*number);
    if (!EnsureFld(numberedDocumentsFolder())) {
        tellCannotSave(target, QStringLiteral("ﾌｫﾙﾀﾞ ") + numberedDocumentsFolder() + QStringLiteral(" を作れません｡"));
        return std::nullopt;
    }
    return target;
}

// The host may name the folder; without one the dialogs start in the user's
// documents folder.
QString DocumentSaver::chooseFolder()
{
    m_host.askSaveFolder(&m_saveFolder);
    return m_saveFolder.isEmpty() ? env::gxIni().FsGtSpFld(5) : m_saveFolder;
}

// The save dialog offering `extensions`; a name chosen without an extension
// gets the one of the filter it was chosen under. "" when cancelled.
QString DocumentSaver::askName(const QString& folder, const QString& title,
                               std::initializer_list<QStringView> extensions, int filterIndex,
                               const QString& proposal, QStringView htmlCaption)
{
    m_host.inputMethodOff();
    env::FileRequest request;
    request.title = title;
    request.folder = folder;
    request.fileName = proposal;
    request.filters = documentkinds::dialogFilters(extensions, htmlCaption);
    request.filterIndex = filterIndex;
    const QString chosen = env::dialogs().saveFile(request);
    if (chosen.isEmpty())
        return {};
    const int chosenFilter = std::clamp(request.filterIndex, 1, int(extensions.size()));
    return withExtension(chosen, *(extensions.begin() + chosenFilter - 1));
}

// Save-as proposes the name of the current file, else the name last
// chosen here, without its extension.
QString DocumentSaver::askSaveAsName()
{
    const QString folder = chooseFolder();
    const QString proposal = QFileInfo(m_currentFile.isEmpty() ? m_lastSaveAsName : m_currentFile).baseName();
    const QString name = askName(folder, QStringLiteral("文書の保存"), {u"doc", u"docx", u"rtf", u"htm", u"pdf", u"txt"},
                                 m_host.documentType() == kHtmlDocument ? 4 : 1, proposal, u"HTML");
    if (!name.isEmpty())
        m_lastSaveAsName = name;
    return name;
}

// Writes the document in the format the name's extension announces, after
// making the folders it lacks.
DocumentSaver::Written DocumentSaver::write(const QString& name)
{
    const QString extension = documentkinds::extensionOf(name);
    const documentkinds::DocumentKind* kind = documentkinds::kindOf(extension);
    if (!kind) {
        tellCannotSave(name, QStringLiteral("拡張子は .doc .docx .rtf .htm .html .pdf .txt のいずれかにしてください｡"));
        return Written::Nothing;
    }
    if (!EnsureFld(folderOf(name))) {
        tellCannotSave(name);
        return Written::Nothing;
    }
    // Another file than the document's own that another program has open
    // is not written over; the document's own the user chose to edit.
    const std::optional<QString> holder =
        QFileInfo(name).absoluteFilePath() == m_currentFile ? std::nullopt : m_hold.otherHolder(name);
    if (holder) {
        tellCannotSave(name, QStringLiteral("他のﾌﾟﾛｸﾞﾗﾑ(") + *holder + QStringLiteral(")で開かれています｡"));
        return Written::Nothing;
    }
    if (kind->format == FormatCode::Pdf)
        return writePdf(name) ? Written::Export : Written::Nothing;
    const bool written = kind->format == FormatCode::Html ? writeHtml(name) : writeWithEngine(name, kind->format);
    return written ? Written::Document : Written::Nothing;
}

// The dialect writer tells the user itself when it cannot save.
bool DocumentSaver::writeHtml(const QString& name)
{
    html::yHtm writer(htmlStyles(m_formats));
    return writer.cSaveHtm(formats::engineExport(m_engine), false, name, formats::toolTipTable(*m_engine.document()),
                           m_host.title());
}

bool DocumentSaver::writeWithEngine(const QString& name, FormatCode format)
{
    // Formats that keep a title take the title box's; Word and RTF documents
    // take the user's formats as they are at this save as their styles.
    m_engine.document()->setMetaInformation(QTextDocument::DocumentTitle, m_host.title());
    if (format == FormatCode::Doc || format == FormatCode::Docx || format == FormatCode::Rtf)
        formats::word::useStyles(format, htmlStyles(m_formats));
    if (m_engine.saveFile(name, format))
        return true;
    tellCannotSave(name, m_engine.lastWriteRefusal());
    return false;
}

// PDF pages are laid out as the page view shows them; the view returns to
// the mode it was in.
bool DocumentSaver::writePdf(const QString& name)
{
    const engine::ViewMode mode = m_engine.viewMode();
    const bool switched = mode != engine::ViewMode::PageLayout;
    if (switched)
        m_engine.setViewMode(engine::ViewMode::PageLayout);
    const bool written = writeWithEngine(name, FormatCode::Pdf);
    if (switched)
        m_engine.setViewMode(mode);
    m_engine.refresh();
    return written;
}

// The document is the file `name` now; true when that is another file than
// before, whose lock the document takes.
bool DocumentSaver::adopt(const QString& name)
{
    const QString file = QFileInfo(name).absoluteFilePath();
    m_saveFolder = folderOf(file);
    m_modified.setModified(false);
    const bool renamed = file != m_currentFile;
    m_currentFile = file;
    if (renamed)
        m_hold.savedAs(file);
    return renamed;
}

// `name` is the file a read-only document came from: it is not written, and
// the user may choose another name instead (`written` gets it). True when
// the document was written there.
bool DocumentSaver::offerSaveAs(const QString& name, QString& written, bool bNoAct)
{
    const QString question = QStringLiteral("ﾌｧｲﾙ: ") + QFileInfo(name).fileName()
        + QStringLiteral(" は読み取り専用で開いているため上書きできません｡名前を付けて保存しますか");
    if (env::dialogs().ask(question, env::Buttons::YesNo, env::Answer::Yes, env::Icon::Question) != env::Answer::Yes)
        return false;
    written.clear();
    return txSaveAs(written, bNoAct);
}

} // namespace editor
