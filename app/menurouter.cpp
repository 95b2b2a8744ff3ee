#include "app/menurouter.h"

#include "app/menutable.h"

#include <QHash>
#include <QStringList>

namespace app {

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

const QHash<QString, int>& jobTable()
{
    static const QHash<QString, int> table = {
        {s("新規作成"), 2}, {s("上書き保存"), 4}, {s("名を付けて保存"), 5}, {s("ﾍﾟｰｼﾞﾋﾞｭｰ"), 7},
        {s("印刷"), 6}, {s("ﾌﾞﾗｳｻﾞでﾌﾟﾚﾋﾞｭｰ"), 8}, {s("元に戻す"), 11}, {s("やり直し"), 12},
        {s("切り取り"), 13}, {s("ｺﾋﾟｰ"), 14}, {s("ｸﾘｱ"), 20}, {s("全て選択"), 21}, {s("検索"), 22},
        {s("置換"), 23}, {s("ﾍﾟｰｼﾞ表示"), 26}, {s("文書"), 30}, {s("ﾃｷｽﾄ"), 32},
        {s("画像 WMF形式"), 35}, {s("ﾃｷｽﾄﾌﾚｰﾑ"), 40}, {s("ﾊｲﾊﾟｰﾘﾝｸ"), 50}, {s("改頁"), 54},
        {s("ｽﾀｲﾙ"), 60}, {s("ﾌｫﾝﾄ"), 61}, {s("段落"), 63}, {s("文書ﾍﾟｰｼﾞ"), 65},
        {s("ﾕｰｻﾞｰｽﾀｲﾙ"), 66}, {s("既定のﾌﾞﾘﾝﾀ設定"), 69}, {s("IME･更新確認"), 68},
        {s("書式のｺﾋﾟｰ"), 70}, {s("書式の貼り付け"), 71}, {s("表挿入"), 80}, {s("表削除"), 82},
        {s("表選択"), 83}, {s("ｸﾞﾘｯﾄﾞ"), 84}, {s("表属性"), 85}, {s("Refresh"), 88},
    };
    return table;
}

// The argument word of a table sub-menu item.
QString tableArgument(const QString& subMenu, int index)
{
    static const QHash<QString, QStringList> words = {
        {s("表挿入"), {s("表"), {}, s("左"), s("右"), {}, s("上"), s("下")}},
        {s("表削除"), {s("表"), s("列"), s("行")}},
        {s("表選択"), {s("表"), s("行"), s("ｾﾙ")}},
        {s("表属性"), {s("表"), s("行"), s("ｾﾙ")}},
    };
    return words.value(subMenu).value(index);
}

struct Choice {
    QString text;
    QVariant argument;
};

// The text and argument a choice stands for; an empty text means the choice
// was handled here or does nothing.
Choice choiceFor(MenuRouterHost& host, int iMenu, int iNdx, const QString& sRet)
{
    switch (iMenu) {
    case TableGroup:
        return {sRet, tableArgument(sRet, iNdx)};
    case FileGroup:
        if (iNdx < 8)
            return {menuCaption(QStringLiteral("mnFile"), iNdx), {}};
        if (iNdx == 9)
            host.exploreHighlightedFolder();
        else if (iNdx == 12)
            host.SaveScreen();
        return {};
    case EditGroup:
        return {menuCaption(QStringLiteral("mnEdit"), iNdx), {}};
    case FormatGroup:
        if (iNdx < 6)
            return {s("ｽﾀｲﾙ"), iNdx};
        return {menuCaption(QStringLiteral("mnSelc"), iNdx), {}};
    case InsertGroup:
        return {menuCaption(QStringLiteral("mnLocal"), iNdx), {}};
    case DisplayGroup:
        if (iNdx == 2)
            return {s("Refresh"), {}};
        if (iNdx == 0 || iNdx == 1)
            host.toggleDisplayItem(iNdx);
        return {};
    case SettingsGroup:
        return {menuCaption(QStringLiteral("mnUser"), iNdx), {}};
    default:
        return {};
    }
}

bool writesFiles(int job)
{
    return job == 2 || job == 4 || job == 5 || job == 8;
}

} // namespace

QString commandText(const QString& caption)
{
    QString text = caption;
    const qsizetype paren = text.indexOf(u'(');
    if (paren >= 0)
        text.truncate(paren);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

int jobForText(const QString& text, int menuIndex)
{
    if (text == s("画像"))
        return menuIndex == 3 ? 33 : 34;
    return jobTable().value(text, 0);
}

void fnMenu(MenuRouterHost& host, int iMenu, int iNdx, const QString& sRet)
{
    const Choice choice = choiceFor(host, iMenu, iNdx, sRet);
    if (choice.text.isEmpty())
        return;
    const int job = jobForText(commandText(choice.text), iNdx);
    host.rtAct(job, choice.argument);
    if (writesFiles(job))
        host.refreshTree();
}

} // namespace app
