#include "formats/rtf/rtfreader.h"
#include "formats/word/undopause.h"

#include "formats/rtf/rtfparser.h"

#include <QTextDocument>

namespace formats::rtf {

using word::UndoPause;

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
