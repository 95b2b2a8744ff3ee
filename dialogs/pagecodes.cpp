#include "dialogs/pagecodes.h"

#include <array>
#include <utility>

namespace dialogs {

namespace {

const std::array<std::pair<QString, QString>, 8> kTitles = {{
    {QStringLiteral("TB"), QStringLiteral("表の設定")},
    {QStringLiteral("PG"), QStringLiteral("ﾍﾟｰｼﾞ設定")},
    {QStringLiteral("US"), QStringLiteral("ﾕｰｻﾞｰ定義書式")},
    {QStringLiteral("DP"), QStringLiteral("表示設定")},
    {QStringLiteral("LK"), QStringLiteral("ﾘﾝｸ先の設定")},
    {QStringLiteral("IM"), QStringLiteral("IME･更新保存の設定")},
    {QStringLiteral("TF"), QStringLiteral("画像ﾚｲｱｳﾄの既定値")},
    {QStringLiteral("FD"), QStringLiteral("検索･置換")},
}};

} // namespace

PageCode normalisedPageCode(const QString& code)
{
    if (code == u"LK_OBJ")
        return {QStringLiteral("LK"), true, false};
    if (code == u"RP")
        return {QStringLiteral("FD"), false, true};
    return {code, false, false};
}

QString pageTitle(const QString& code)
{
    for (const auto& [page, title] : kTitles) {
        if (page == code)
            return title;
    }
    return {};
}

} // namespace dialogs
