#include "formats/rtf/rtfreader.h"

#include "formats/rtf/rtfparser.h"

#include <QTextDocument>

namespace formats::rtf {

namespace {

// Loading a file is not an edit the user can take back.
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

} // namespace

ReadOutcome readRtf(const QByteArray& bytes, const engine::DocumentSet& target)
{
    ReadOutcome outcome;
    if (!target.body) {
        outcome.failure = Failure::NotRtf;
        return outcome;
    }
    const UndoPause pauses[] = {UndoPause(target.body), UndoPause(target.header), UndoPause(target.firstHeader),
                                UndoPause(target.footer), UndoPause(target.firstFooter)};
    QTextCursor edit(target.body);
    edit.beginEditBlock();
    Parser parser(target, outcome);
    parser.parse(bytes);
    edit.endEditBlock();
    return outcome;
}

QString failureMessage(Failure failure)
{
    switch (failure) {
    case Failure::None: break;
    case Failure::NotRtf: return QStringLiteral("ﾌｧｲﾙが壊れているか､RTF文書ではありません｡");
    case Failure::Malformed: return QStringLiteral("文書の中身が壊れています｡");
    case Failure::TooDeep: return QStringLiteral("文書の入れ子が深すぎます｡");
    case Failure::TooLarge: return QStringLiteral("文書が大きすぎます｡");
    }
    return {};
}

} // namespace formats::rtf
