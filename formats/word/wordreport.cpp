#include "formats/word/wordreport.h"

namespace formats::word {

QString describe(Loss loss)
{
    switch (loss) {
    case Loss::Footnotes:
        return QStringLiteral("脚注は本文の後にまとめました｡");
    case Loss::Endnotes:
        return QStringLiteral("文末脚注は本文の後にまとめました｡");
    case Loss::Comments:
        return QStringLiteral("ｺﾒﾝﾄは省きました｡");
    case Loss::Equations:
        return QStringLiteral("数式は文字だけを読み込みました｡");
    case Loss::Charts:
        return QStringLiteral("ｸﾞﾗﾌは編集できない図として読み込みました｡");
    case Loss::TrackedChanges:
        return QStringLiteral("変更履歴は反映後の内容で読み込みました｡");
    case Loss::UndrawablePictures:
        return QStringLiteral("表示できない形式の図は枠だけを残しました｡");
    }
    return {};
}

} // namespace formats::word
