#pragma once
// DocumentSaver: writes the editor's document to files — the update of the
// current file, save-as in any of the six kinds (PDF as an export), the
// program's HTML dialect, and the browser preview in the work folder — with
// the save dialogs, the save folder, and the current file name and modified
// flag a save changes.
//
// A document written whole to a file it can be opened from again becomes
// that file: the name is current and the document unmodified. A PDF export
// and the preview leave both alone, since neither can be opened again.
// Every failure is told to the user and changes nothing. A document opened
// read-only (DocumentHold) is not written over its file: the user is offered
// save-as instead, and the file saved as is the document's, to be edited.
// No save goes over another file that another program has open.

#include "engine/documentcodec.h"

#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>

namespace dialogs {
class Frmt;
}

namespace engine {
class TextEngine;
}

namespace editor {

class DocumentHold;
class ModifiedState;

class DocumentSaver {
public:
    // What the saver asks of the editor it works for, and what it tells it.
    struct Host {
        std::function<QString()> title;
        std::function<int()> documentType;
        std::function<void()> inputMethodOff;
        std::function<bool()> numbering;              // new database documents are written by number
        std::function<std::optional<qint32>()> documentNumber; // the host's number; none without a host that numbers
        std::function<void(QString*)> askSaveFolder;  // the host may put its folder in
        std::function<void(const QString&)> savedAs;  // the document is now this file
        std::function<void()> savedToDatabase;
    };

    DocumentSaver(engine::TextEngine& engine, const dialogs::Frmt& formats, ModifiedState& modified,
                  QString& currentFile, DocumentHold& hold, Host host);

    // The update: to `file`, else to the current file, else by number (new
    // database documents) or to a file the user names. True when written.
    bool SaveDoc(const QString& file = {});
    // Save-as to `vFL` (blanks trimmed), or to the file the user names when
    // it is empty; `vFL` gets the name written. `bNoAct` suppresses the offer
    // to open an exported PDF. True when written.
    bool txSaveAs(QString& vFL, bool bNoAct = false);
    // Saves as the HTML dialect to `vFL`, else to the current file, else to
    // the file the user names. `bOk` becomes true after a write and is left
    // alone otherwise.
    void SaveHtm(bool& bOk, const QString& vFL = {});
    // Writes the dialect to the work folder's "$Wrk.htm" and hands it to the
    // desktop to show. True when written.
    bool ViewHtm();

    // The folder of the last save.
    QString saveFolder() const { return m_saveFolder; }

private:
    enum class Written { Nothing, Document, Export };

    bool SaveNum();
    std::optional<QString> numberedTarget();
    QString chooseFolder();
    QString askName(const QString& folder, const QString& title, std::initializer_list<QStringView> extensions,
                    int filterIndex, const QString& proposal, QStringView htmlCaption = {});
    QString askSaveAsName();
    Written write(const QString& name);
    bool writeHtml(const QString& name);
    bool writeWithEngine(const QString& name, engine::FormatCode format);
    bool writePdf(const QString& name);
    bool adopt(const QString& name);
    bool offerSaveAs(const QString& name, QString& written, bool bNoAct = false);

    engine::TextEngine& m_engine;
    const dialogs::Frmt& m_formats;
    ModifiedState& m_modified;
    QString& m_currentFile;
    DocumentHold& m_hold;
    Host m_host;
    QString m_saveFolder;
    QString m_lastSaveAsName; // the save-as dialog's proposal, kept between uses
};

} // namespace editor
