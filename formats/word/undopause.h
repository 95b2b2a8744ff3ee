#pragma once
// Reading a file into a document is not an edit the user can take back:
// the codecs pause the document's undo while they fill it.

#include <QTextDocument>

namespace formats::word {

class UndoPause {
public:
    explicit UndoPause(QTextDocument* document)
        : m_document(document)
        , m_enabled(document && document->isUndoRedoEnabled())
    {
        if (m_document)
            m_document->setUndoRedoEnabled(false);
    }
    ~UndoPause()
    {
        if (m_document)
            m_document->setUndoRedoEnabled(m_enabled);
    }
    UndoPause(const UndoPause&) = delete;
    UndoPause& operator=(const UndoPause&) = delete;

private:
    QTextDocument* m_document;
    bool m_enabled;
};

} // namespace formats::word
