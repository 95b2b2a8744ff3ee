#include "picture/failure.h"

namespace picture {

QString failureMessage(Failure failure)
{
    switch (failure) {
    case Failure::None:
        break;
    case Failure::Unreadable:
        return QStringLiteral("画像のﾌｧｲﾙを開けません｡");
    case Failure::NotAPicture:
        return QStringLiteral("画像として読めないﾃﾞｰﾀです｡");
    case Failure::TooLarge:
        return QStringLiteral("画像が大きすぎるため取り込めません｡");
    case Failure::Damaged:
        return QStringLiteral("画像のﾃﾞｰﾀが壊れています｡");
    case Failure::MetafileNotConverted:
        return QStringLiteral("ﾒﾀﾌｧｲﾙ(EMF/WMF)を画像に変換できませんでした｡");
    }
    return {};
}

} // namespace picture
