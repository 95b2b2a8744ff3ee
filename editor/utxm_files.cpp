// uTxm's file jobs: opening and inserting documents, the update, save-as and
// the browser preview. The work is DocumentOpener's, OpenDialog's and
// DocumentSaver's; this part applies their results to the editor's state.

#include "editor/utxm.h"

#include "engine/textengine.h"

#include <QFileInfo>

namespace editor {

uTxm::Outcome uTxm::fileJob(int job, QVariant& argument)
{
    switch (job) {
    case 1:
        return OpenDlg(true, false);
    case 3:
        return OpenFl(argument.toString(), false);
    case 5:
        return saveAs(argument);
    case 8:
        return m_saver.ViewHtm() ? Outcome::Unchanged : Outcome::Skipped;
    case 10:
        return OpenDlg(false, false);
    case 30:
        return OpenDlg(false, true);
    case 32:
        return insertTextFile();
    default:
        return Outcome::Skipped;
    }
}

bool uTxm::saveIntoDatabase()
{
    return m_saver.SaveDoc();
}

bool uTxm::txSaveAs(QString& vFL, bool bNoAct)
{
    return m_saver.txSaveAs(vFL, bNoAct);
}

void uTxm::SaveHtm(qint16, bool& bOk, const QString& vFL)
{
    m_saver.SaveHtm(bOk, vFL);
}

// A file that replaced the document is its file now, unmodified, and its
// title is the document's; one that
// went into the document (at the caret or into text frames) never becomes
// its file, so that an update cannot overwrite it with the combined document.
// A file another program has open is opened as the user answers, read-only
// or to be edited, or not at all.
uTxm::Outcome uTxm::OpenFl(const QString& path, bool insert)
{
    ModifiedState::BusyScope busy(m_modified);
    const int focus = m_frameFocus;
    DocumentHold::Access access = DocumentHold::Access::Cancelled;
    const DocumentOpener::Opened opened = m_opener.open(path, {focus, insert}, [this, &path, &access] {
        access = m_hold.askAccess(path);
        return access != DocumentHold::Access::Cancelled && prepareForLoading();
    });
    if (focus < 0)
        m_frameFocus = focus; // filling every frame is a mode, not where the caret went
    switch (opened.result) {
    case DocumentOpener::Result::Replaced:
        m_currentFile = QFileInfo(path).absoluteFilePath();
        m_hold.opened(m_currentFile, access);
        setTitle(opened.title);
        m_modified.setModified(false);
        return Outcome::Unchanged;
    case DocumentOpener::Result::Inserted:
        m_modified.setModified(true);
        return Outcome::Changed;
    case DocumentOpener::Result::Ignored:
    case DocumentOpener::Result::Failed:
        break;
    }
    return Outcome::Skipped;
}

uTxm::Outcome uTxm::OpenDlg(bool noProposal, bool insert)
{
    txIME(false);
    const QString path = m_openDialog.chooseDocument(noProposal);
    return path.isEmpty() ? Outcome::Skipped : OpenFl(path, insert);
}

// The document reset before a file replaces the document: the update rule
// for a modified document, then no name, no modification and the display
// settings afresh (the page settings come with the file).
bool uTxm::prepareForLoading()
{
    if (!mayReplace())
        return false;
    m_modified.setModified(false);
    forgetDocument();
    loadOptions(EditorOptions::Level::DisplayOnly);
    return true;
}

uTxm::Outcome uTxm::insertTextFile()
{
    txIME(false);
    const QString path = m_openDialog.chooseTextSource();
    const std::optional<QString> text = path.isEmpty() ? std::nullopt : m_opener.paragraphText(path);
    if (!text)
        return Outcome::Skipped;
    m_engine->setSelectedText(*text);
    return Outcome::Changed;
}

uTxm::Outcome uTxm::saveAs(QVariant& name)
{
    QString file = name.toString();
    if (!txSaveAs(file))
        return Outcome::Skipped;
    name = file;
    return Outcome::Unchanged;
}

DocumentSaver::Host uTxm::saverHost()
{
    return {
        .title = [this] { return Title(); },
        .documentType = [this] { return m_documentType; },
        .inputMethodOff = [this] { txIME(false); },
        .numbering = [this] { return m_numbering; },
        .documentNumber = [this] {
            return m_numberSource ? std::optional<qint32>(m_numberSource->nTmpNo()) : std::nullopt;
        },
        .askSaveFolder = [this](QString* folder) { emit eAskSavePh(folder); },
        .savedAs = [this](const QString& file) { emit eSaveAs(file); },
        .savedToDatabase = [this] { emit eSaveDB(); },
    };
}

} // namespace editor
