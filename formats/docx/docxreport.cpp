#include "formats/docx/docxreport.h"

namespace formats::docx {

QString describe(Loss loss)
{
    switch (loss) {
    case Loss::Footnotes:
        return QStringLiteral("脚注は読み込めないため省きました｡");
    case Loss::Endnotes:
        return QStringLiteral("文末脚注は読み込めないため省きました｡");
    case Loss::Comments:
        return QStringLiteral("ｺﾒﾝﾄは省きました｡");
    case Loss::Equations:
        return QStringLiteral("数式は読み込めないため省きました｡");
    case Loss::Charts:
        return QStringLiteral("ｸﾞﾗﾌは読み込めないため省きました｡");
    case Loss::TrackedChanges:
        return QStringLiteral("変更履歴は反映後の内容で読み込みました｡");
    case Loss::UndrawablePictures:
        return QStringLiteral("表示できない形式の図は省きました｡");
    }
    return {};
}

} // namespace formats::docx
