#include "app/fkeytable.h"

#include "fkeys/ufky.h"

#include <algorithm>

namespace app {

namespace {
FunctionKeyRow row(const char* key, int group, int index, const char* caption, const char* tip)
{
    return {QString::fromUtf8(key), group, index, QString::fromUtf8(caption), QString::fromUtf8(tip)};
}
} // namespace

const QList<FunctionKeyRow>& functionKeyRows()
{
    static const QList<FunctionKeyRow> rows = {
        row("F2", 5, 0, "表題1", "指定範囲の書式を表題1のｽﾀｲﾙにします"),
        row("F3", 5, 1, "表題2", "指定範囲の書式を表題2のｽﾀｲﾙにします"),
        row("F4", 5, 2, "表題3", "指定範囲の書式を表題3のｽﾀｲﾙにします"),
        row("F5", 5, 3, "本文", "指定範囲の書式を本文のｽﾀｲﾙにします"),
        row("F6", 5, 4, "強調", "指定範囲の書式を強調のｽﾀｲﾙにします"),
        row("F7", 5, 5, "補足", "指定範囲の書式を補足のｽﾀｲﾙにします"),
        row("F8", 2, 1, "上書", "現在の文書を更新します"),
        row("F9", 2, 2, "別保存", "現在の文書を名前をつけて保存します"),
        row("F10", 2, 0, "新規", "新規文書を作成します"),
        row("F11", 2, 4, "ﾌﾞﾗｳｻﾞ", "ﾌﾞﾗｳｻﾞで表示します"),
        row("F12", 2, 6, "ﾋﾞｭｰ", "ﾍﾟｰｼﾞﾋﾞｭ-を表示します"),
        row("C1", 3, 0, "Undo", "編集を元に戻します"),
        row("C2", 3, 1, "Redo", "取り消した編集を復活します"),
        row("C3", 3, 11, "検索", "現在の文書の指定文字を検索します"),
        row("C4", 3, 12, "置換", "現在の文書の指定文字を他に置換えします"),
        row("C5", 6, 1, "ﾃｷｽﾄ", "外部ﾃｷｽﾄﾌｧｲﾙ(txt)から取り込みます"),
        row("C6", 6, 3, "画像", "外部画像ﾌｧｲﾙから画像を取り込みます"),
        row("C7", 6, 10, "ﾘﾝｸ", "ﾊｲﾊﾟｰﾘﾝｸを挿入します"),
        row("C8", 6, 12, "改頁", "改頁を挿入します"),
        row("C9", 15, 0, "文書", "文書書式(印刷ﾍﾟｰｼﾞの設定)をします"),
        row("C10", 2, 9, "ﾌｫﾙﾀﾞ", "現在の文書ﾌｫﾙﾀﾞをｴｸｽﾌﾟﾛｰﾗｰで開きます"),
        row("C11", 3, 9, "選択", "現在の文書の全てを選択します"),
        row("C12", 5, 7, "ﾌｫﾝﾄ", "指定範囲のﾌｫﾝﾄ･ｻｲｽﾞ･文字色を設定します"),
    };
    return rows;
}

QKeySequence keySequenceOf(const QString& keyName)
{
    const int number = keyName.mid(1).toInt();
    const QKeyCombination key(Qt::Key(Qt::Key_F1 + number - 1));
    return keyName.startsWith(u'C') ? QKeySequence(Qt::CTRL | key.key()) : QKeySequence(key);
}

QList<QKeySequence> menuItemKeys(int group, int index, const QKeySequence& own, bool stripShown)
{
    if (!stripShown)
        return own.isEmpty() ? QList<QKeySequence>{} : QList<QKeySequence>{own};
    QList<QKeySequence> keys;
    const auto& rows = functionKeyRows();
    const bool taken = std::any_of(rows.begin(), rows.end(),
                                   [&](const FunctionKeyRow& r) { return keySequenceOf(r.key) == own; });
    if (!own.isEmpty() && !taken)
        keys << own;
    for (const FunctionKeyRow& r : rows)
        if (r.group == group && r.index == index)
            keys << keySequenceOf(r.key);
    return keys;
}

void SetFkeys(fkeys::uFky& bar, fkeys::MenuHost* host)
{
    bar.cOn(host, true);
    for (const FunctionKeyRow& r : functionKeyRows())
        bar.cKey(r.key, r.group, r.index, r.caption, r.toolTip);
}

} // namespace app
