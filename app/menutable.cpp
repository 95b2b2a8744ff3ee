#include "app/menutable.h"

#include <QHash>

namespace app {

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

MenuItemSpec item(int index, const char* caption, QKeySequence shortcut = {})
{
    return {index, s(caption), shortcut, true, false, {}};
}
MenuItemSpec off(int index, const char* caption, QKeySequence shortcut = {})
{
    return {index, s(caption), shortcut, false, false, {}};
}
MenuItemSpec sep(int index) { return {index, s("-"), {}, true, false, {}}; }
MenuItemSpec sub(int index, const char* caption, const char* array, bool enabled = true)
{
    return {index, s(caption), {}, enabled, false, s(array)};
}

QList<MenuSpec> buildMenus()
{
    MenuItemSpec chart = sub(7, "ｸﾞﾗﾌ･ﾁｬｰﾄ(&G)", "mnChart");
    chart.hidden = true;
    return {
        {s("mnFile"), s("ﾌｧｲﾙ(&F)"), 0,
         {item(0, "新規作成(&N)", QKeySequence(Qt::CTRL | Qt::Key_N)),
          item(1, "上書き保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S)),
          item(2, "名を付けて保存(&A)", QKeySequence(Qt::CTRL | Qt::Key_F4)), sep(3),
          item(4, "ﾌﾞﾗｳｻﾞでﾌﾟﾚﾋﾞｭｰ(&B)"), sep(5),
          item(6, "ﾍﾟｰｼﾞﾋﾞｭｰ(&V)", QKeySequence(Qt::CTRL | Qt::Key_F5)),
          item(7, "印刷(&P)", QKeySequence(Qt::CTRL | Qt::Key_P)), sep(8),
          item(9, "現在のﾌｫﾙﾀﾞを開く", QKeySequence(Qt::CTRL | Qt::Key_F7)),
          sub(10, "文書ﾌｫﾙﾀﾞの指定(&F)", "mnOpnFd"), sep(11), item(12, "終了(&X)")}},
        {s("mnEdit"), s("編集(&E)"), 1,
         {off(0, "元に戻す(&U)", QKeySequence(Qt::CTRL | Qt::Key_Z)),
          off(1, "やり直し(&R)", QKeySequence(Qt::CTRL | Qt::Key_Y)), sep(2),
          off(3, "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_X)),
          off(4, "ｺﾋﾟｰ(&C)", QKeySequence(Qt::CTRL | Qt::Key_C)), sub(5, "貼り付け", "mnPast", false),
          sep(7), item(8, "ｸﾘｱ(&A)", QKeySequence(Qt::Key_Delete)),
          item(9, "全て選択(&L)", QKeySequence(Qt::CTRL | Qt::Key_A)), sep(10),
          item(11, "検索(&F)", QKeySequence(Qt::CTRL | Qt::Key_F)),
          item(12, "置換(&R)", QKeySequence(Qt::CTRL | Qt::Key_F12))}},
        {s("mnDisp"), s("表示(&V)"), 2, {item(0, "ﾂﾘｰﾋﾞｭｰ"), item(1, "ﾌｧﾝｸｼｮﾝﾒﾆｭｰ"), item(2, "再表示")}},
        {s("mnLocal"), s("挿入(&I)"), 3,
         {item(0, "文書(&D)"), item(1, "ﾃｷｽﾄ(&T)", QKeySequence(Qt::Key_F9)), sep(2), item(3, "画像(&P)"),
          item(4, "画像(ｻｲｽﾞを指定して取込)"), item(5, "画像 WMF形式 (&W)"), sep(6), chart,
          item(8, "ﾃｷｽﾄﾌﾚｰﾑ(&F)"), sep(9), item(10, "ﾊｲﾊﾟｰﾘﾝｸ(&L)"), sep(11),
          item(12, "改頁(&B)", QKeySequence(Qt::Key_F12))}},
        {s("mnSelc"), s("書式(&S)"), 4,
         {item(0, "表題1 の書式", QKeySequence(Qt::Key_F2)), item(1, "表題2 の書式", QKeySequence(Qt::Key_F3)),
          item(2, "表題3 の書式", QKeySequence(Qt::Key_F4)), item(3, "本文 の書式", QKeySequence(Qt::Key_F5)),
          item(4, "本文強調の書式", QKeySequence(Qt::Key_F6)), item(5, "補足 の書式", QKeySequence(Qt::Key_F7)),
          sep(6), item(7, "ﾌｫﾝﾄ(&W)", QKeySequence(Qt::Key_F8)), item(9, "段落(&P)"), sep(11),
          item(12, "書式のｺﾋﾟｰ"), item(13, "書式の貼り付け")}},
        {s("mnTbl"), s("表(&T)"), 5,
         {sub(0, "挿入", "mnTins"), sub(1, "削除", "mnTdel"), sub(2, "選択", "mnTslc"),
          sub(4, "ﾌﾟﾛﾊﾟﾃｨ", "mnProp")}},
        {s("mnUser"), s("設定(&U)"), 6,
         {item(0, "文書ﾍﾟｰｼﾞ(&P)"), item(1, "ﾍﾟｰｼﾞ表示"), item(2, "ﾕｰｻﾞｰｽﾀｲﾙ"), item(3, "IME･更新確認"),
          sep(4), item(5, "既定のﾌﾞﾘﾝﾀ設定"), sep(6), item(7, "「送る」にｼｮｰﾄｶｯﾄ作成")}},
        {s("mnOpnFd"), {}, -1,
         {item(0, "参照"), item(1, "My Documentを開く"), item(2, "Aplication Data Documnetを開く")}},
        {s("mnPast"), {}, -1,
         {item(0, "ﾃｷｽﾄとして貼付"), item(1, "書式付ﾃｷｽﾄとして貼付"), item(2, "画像として貼り付け")}},
        {s("mnChart"), {}, -1, {item(0, "ｸﾞﾗﾌ"), item(1, "ﾁｬｰﾄ")}},
        {s("mnTins"), {}, -1,
         {item(0, "表"), sep(1), item(2, "左側に列"), item(3, "右側に列"), sep(4), item(5, "上に行"),
          item(6, "下に行")}},
        {s("mnTdel"), {}, -1, {item(0, "表"), item(1, "列"), item(2, "行")}},
        {s("mnTslc"), {}, -1, {item(0, "表"), item(1, "行"), item(2, "ｾﾙ")}},
        {s("mnProp"), {}, -1, {item(0, "表"), item(1, "行"), item(2, "ｾﾙ")}},
    };
}

} // namespace

const QList<MenuSpec>& mainMenus()
{
    static const QList<MenuSpec> menus = buildMenus();
    return menus;
}

const MenuSpec* findMenu(const QString& array)
{
    for (const MenuSpec& m : mainMenus())
        if (m.array == array)
            return &m;
    return nullptr;
}

int menuGroupOf(const QString& array)
{
    static const QHash<QString, int> groups = {
        {QStringLiteral("mnFile"), 2},  {QStringLiteral("mnEdit"), 3},  {QStringLiteral("mnSelc"), 5},
        {QStringLiteral("mnLocal"), 6}, {QStringLiteral("mnDisp"), 12}, {QStringLiteral("mnUser"), 15},
    };
    return groups.value(array, -1);
}

QString menuCaption(const QString& array, int index)
{
    if (const MenuSpec* m = findMenu(array))
        for (const MenuItemSpec& i : m->items)
            if (i.index == index)
                return i.caption;
    return {};
}

} // namespace app
