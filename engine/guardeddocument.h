#pragma once
// The one document class of the program: a QTextDocument whose resources
// (pictures, backgrounds, imported style sheets) are read only through a
// guarded loader. Qt's own loader reads whatever a document names, whole and
// without a limit, so a file naming /dev/zero, a FIFO or a huge file would
// exhaust memory or block for ever. The guarded loader reads regular local
// files of at most kMaxResourceBytes, checked before reading, and nothing
// else: no devices, FIFOs or sockets, no remote addresses. Inline data:
// addresses are decoded as Qt does, since they hold no more than the
// document itself.
//
// Every document the program makes — engine documents, scratch engines, the
// clipboard's and layout copies — is of this class.

#include <QTextBlock>
#include <QTextDocument>

#include <memory>

namespace engine {

class GuardedDocument : public QTextDocument {
public:
    static constexpr qint64 kMaxResourceBytes = qint64(64) * 1024 * 1024;

    explicit GuardedDocument(QObject* parent = nullptr);

    // A copy of `source` of this class (QTextDocument::clone makes a plain
    // document, which would read resources unguarded).
    static std::unique_ptr<GuardedDocument> copyOf(const QTextDocument& source);

    // Makes the pictures of `paragraphs` paragraphs of `source` from `first`
    // on known to `copy` under their own names. Qt keeps pictures added by
    // addResource out of reach of anything but the document's own lookup.
    static void copyPictures(const QTextDocument& source, QTextDocument& copy, QTextBlock first, int paragraphs);

    // The bytes of the local file `url` names, or nothing when it is not a
    // regular file of at most kMaxResourceBytes.
    static QVariant readLocalResource(const QUrl& url);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};

} // namespace engine
