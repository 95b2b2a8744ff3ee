#pragma once
// DocumentOpener: brings a document file into the editor's engine — in place
// of the document, at the caret, into the text frame that has the focus, or
// into every text frame. The file is first read whole into a scratch engine,
// so a file that cannot be read leaves the document, its name and its flags
// as they were; HTML is read together with its folder, so the pictures beside
// it are found. The host's data transfer (Word 97–2003 bytes) comes in the
// same way.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace dialogs {
class Frmt;
}

namespace engine {
class TextEngine;
}

namespace editor {

class DocumentOpener {
public:
    // Where a file goes.
    struct Placement {
        int frameFocus = 0;  // 0 the main text, > 0 that text frame, −1 every text frame
        bool insert = false; // at the caret rather than in place of the document
    };
    enum class Result {
        Ignored,  // no such file, or a kind the editor does not open: nothing happened
        Failed,   // nothing was placed; the user was told why where there was something to tell
        Replaced, // the file is the document now
        Inserted, // the file's content went into the document
    };
    struct Opened {
        Result result = Result::Ignored;
        QString title; // the file's own title; "" when it has none
    };

    // `formats` gives the user's standard line spacing, which HTML paragraphs
    // without their own keep.
    DocumentOpener(engine::TextEngine& engine, const dialogs::Frmt& formats);

    // Opens `path` as `placement` says. Before the document is replaced,
    // `prepareReplace` runs; when it answers false the document is kept.
    Opened open(const QString& path, Placement placement, const std::function<bool()>& prepareReplace);

    // The text of `path` as one paragraph: its paragraph ends become line
    // breaks, its pictures are left out. nullopt, after telling the user,
    // when the file cannot be read.
    std::optional<QString> paragraphText(const QString& path) const;

    // Word 97–2003 `bytes` of the host's data transfer in place of the whole
    // document (after `prepareReplace`, which may keep the document by
    // answering false), or at the selection when `insert`. Bytes that cannot
    // be read are told to the user before anything is asked or changed.
    // True when placed.
    bool transfer(const QByteArray& bytes, bool insert, const std::function<bool()>& prepareReplace);
    // The same bytes in place of the content of text frame `frame`; the
    // caret stays in that frame.
    bool transferIntoFrame(const QByteArray& bytes, int frame);

private:
    std::unique_ptr<engine::TextEngine> scratchEngine() const;
    // Word 97–2003 bytes in the engine's own format; nullopt, after telling
    // the user, for bytes that cannot be read.
    std::optional<QByteArray> snapshotOfWord(const QByteArray& bytes) const;
    std::unique_ptr<engine::TextEngine> read(const QString& path) const;
    bool readHtml(engine::TextEngine& scratch, const QString& path) const;
    bool place(const QByteArray& content, Placement placement);
    bool insertAtCaret(const QByteArray& content);
    bool fillEveryFrame(const QByteArray& content, bool insertIntoFirst);

    engine::TextEngine& m_engine;
    const dialogs::Frmt& m_formats;
    mutable QString m_refusalReason; // the limit the last file read was over
};

} // namespace editor
