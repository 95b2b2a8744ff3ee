#pragma once
// Numbered documents of the database. A new document that has no file yet
// is saved by its host's number into the numbered-documents folder, "_doc"
// in the folder "Dbs" of the user data folder, as "0007.doc" (at least four
// digits); without a number it goes to the work folder's "temp.doc". Both
// are Word 97–2003 files whatever the document came from.

#include <QString>
#include <QtGlobal>

namespace engine {
class TextEngine;
}

namespace editor {

// The host that files new documents by number. The number is asked for at
// the moment of saving, since the host may give the document one any time
// before; 0 means none.
class DocumentNumberSource {
public:
    virtual ~DocumentNumberSource() = default;
    virtual qint32 nTmpNo() const = 0;
};

// Creates every missing level of `folder`; true when it is a folder
// afterwards (a file of that name is no folder).
bool EnsureFld(const QString& folder);

QString numberedDocumentsFolder();
// The file of document `number` (not 0) in the numbered-documents folder.
QString numberedFileName(qint32 number);
// The file a new document without a number is saved to.
QString workFileName();

// Pictures get the object setting of pictures not placed as characters
// before a numbered save; a picture that cannot be reached is left as it is.
// The selection stays where it was.
void preparePictures(engine::TextEngine& engine);

} // namespace editor
