#pragma once
// DocumentHold: the editor's claim on the file its document is — the lock it
// holds on that file, so that other programs see the document open, and
// whether the document was opened read-only because another program has the
// file open. Opening a file another holds asks the user first; a read-only
// document is never written over the file it came from.

#include "env/documentlock.h"

#include <QString>
#include <optional>

namespace editor {

class DocumentHold {
public:
    enum class Access {
        Cancelled, // the user chose not to open the file
        Editing,   // opened to be edited and saved as usual
        ReadOnly,  // opened while another has it open: never written over
    };

    // How `path` is to be opened: Editing when nobody else has it open,
    // else as the user answers (Yes read-only, No editing, Cancel not at all).
    Access askAccess(const QString& path) const;
    // The document is `path` now, opened with `access`. Editing takes the
    // lock where it can; a file another still holds gets no lock of ours.
    void opened(const QString& path, Access access);
    // The document was written to `path` and is that file now, to be edited.
    void savedAs(const QString& path) { opened(path, Access::Editing); }
    // The document is no file any more: the lock is given up.
    void release();

    bool readOnly() const { return !m_readOnlyFile.isEmpty(); }
    // Whether writing to `path` is refused: the document is read-only and
    // `path` is the file it came from.
    bool refusesWriteTo(const QString& path) const;
    // Who else has `path` open, as the user is told ("name、time"); nullopt
    // when nobody else does.
    std::optional<QString> otherHolder(const QString& path) const;
    // The file whose lock is held; "" when none.
    const QString& lockedFile() const { return m_lock.document(); }

private:
    env::DocumentLock m_lock;
    QString m_readOnlyFile;
};

} // namespace editor
